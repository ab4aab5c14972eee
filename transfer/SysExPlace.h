#pragma once
// Puts what a .syx file or a received dump held (a CSysExHaul) into a
// document of its kind: the one place where imported entries are written.
// Fixed-size kinds merge only the blocks that arrived, so the rest of each
// record keeps the document's bytes; patterns and motions take the value and
// the data separately, each only when it arrived. Nothing outside the
// addressed entries is touched. No widgets: the command line can use it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vantorel {

class CDocKind;
class CDocument;
class CSysExBank;
class CSysExItems;
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

// Where block b of a record lies, numbered as the reader numbers them.
struct CBlockRange {
    size_t nOffset;
    size_t nSize;
};

// Copies the blocks of record n that arrived into pTarget (nRecordSize bytes).
bool MergeRecord(const CSysExBank& bank, int n, uint8_t* pTarget, size_t nRecordSize, const CBlockRange* pRanges,
                 size_t nRanges);

// Every record of a bank of fixed records, each into its place.
template <class TRecord, size_t N>
int MergeBank(const CSysExBank& bank, std::array<TRecord, N>& records, const CBlockRange* pRanges, size_t nRanges,
              const CPlacement& placement)
{
    int nPlaced = 0;
    for (size_t n = 0; n < N; ++n) {
        const int t = placement.Target(int(n));
        if (t >= 0 && size_t(t) < N)
            nPlaced += MergeRecord(bank, int(n), records[size_t(t)].Data(), TRecord::kSize, pRanges, nRanges) ? 1 : 0;
    }
    return nPlaced;
}

// Item n of variable entries: value and data, each only when it arrived.
bool MergeItem(const CSysExItems& items, int n, class CVarEntry& entry);

template <class TEntry, size_t N>
int MergeItems(const CSysExItems& items, std::array<TEntry, N>& entries, const CPlacement& placement)
{
    int nPlaced = 0;
    for (size_t n = 0; n < N; ++n) {
        const int t = placement.Target(int(n));
        if (t >= 0 && size_t(t) < N)
            nPlaced += MergeItem(items, int(n), entries[size_t(t)]) ? 1 : 0;
    }
    return nPlaced;
}

// Which of nCount items starting at dwFirst, dwStep apart, holds dwAddress; -1 for none.
int ItemAt(uint32_t dwAddress, uint32_t dwFirst, uint32_t dwStep, int nCount);

} // namespace vantorel
