#pragma once
// Puts what a .syx file or a received dump held (a CSysExHaul) into a
// document of its kind: the one place where imported entries are written.
// Fixed-size kinds merge only the blocks that arrived, so the rest of each
// record keeps the document's bytes; patterns and motions take the value and
// the data separately, each only when it arrived. Nothing outside the
// addressed entries is touched. No widgets: the command line can use it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace vantorel {

class CDocKind;
class CDocument;
class CSysExBank;
class CSysExItems;
struct CSysExBlock;
struct CSysExHaul;

// Writes every entry of kind that the haul holds into doc (a document of
// that kind) as one edit named strEdit (one undo step; the document is
// marked modified and its views repainted when any entry changed). Each
// entry goes to its own place; with nInto 0 or more, a haul holding a single
// entry of the kind puts it into entry nInto instead. Returns the number of
// entries written.
int PlaceHaul(const CSysExHaul& haul, const CDocKind& kind, CDocument& doc, const std::string& strEdit,
              int nInto = -1);

// Where entry n of a haul goes: its own place, or, for the one entry moved,
// nInto; -1 for an entry that stays out.
struct CPlacement {
    int nFrom = -1;
    int nInto = -1;
    int Target(int n) const { return nFrom < 0 ? n : n == nFrom ? nInto : -1; }
};

// ---- the pieces the kinds merge with ---------------------------------------

// Hands each block of record n that arrived (nRecordSize bytes; the blocks
// numbered as the reader numbers them) to put(offset, bytes, size); false when
// none of it arrived.
using FPutBytes = std::function<void(size_t nOffset, const uint8_t* pBytes, size_t nSize)>;
bool MergeRecord(const CSysExBank& bank, int n, size_t nRecordSize, std::span<const CSysExBlock> blocks,
                 const FPutBytes& put);

// Every record of a bank of fixed records (doc's entries), each into its
// place through the document's edits.
int MergeBank(const CSysExBank& bank, CDocument& doc, size_t nRecordSize, std::span<const CSysExBlock> blocks,
              const CPlacement& placement, const std::string& strEdit);

// Items of variable entries (doc's entries): value and data, each only when
// it arrived, through the document's edits.
int MergeItems(const CSysExItems& items, CDocument& doc, const CPlacement& placement,
               const std::string& strEdit);

// Which of nCount items starting at dwFirst, dwStep apart, holds dwAddress; -1 for none.
int ItemAt(uint32_t dwAddress, uint32_t dwFirst, uint32_t dwStep, int nCount);

} // namespace vantorel
