#pragma once
// A kind of document, described once: what the user and the files call it,
// its entries and their labels, how to make a document of it, the Get and
// Send plans of a whole document or of one entry, the layouts of its Get,
// Send and progress dialogs, and what a .syx stream (a CSysExHaul) holds of
// it. No widgets: the windows, the command line,
// .syx import and export and Receive Dump all ask a kind instead of
// switching over kinds. The widget parts of a kind (its window, icons and
// menus) hang off the same registration in app/.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Document.h"
#include "transfer/engine/TransferPlan.h"
#include "transfer/plans/EntryLayout.h"
#include "transfer/plans/TransferLayout.h"

namespace vantorel {

struct CPlacement;
struct CSysExHaul;
struct CSysExLayout;

// The words of a kind, as data.
struct CKindWords {
    const char* szWord;     // "patch": KIND on the command line
    const char* szFile;     // "patch.pat": the file a backup keeps
    const char* szExt;      // ".pat": its library files
    std::string_view type;  // the library file header's type string
    int nEntries;           // entries of a document
    const char* szRange;    // its entries' labels, for a message ("11 to 88")
    const char* szFileKind; // what its library files hold ("patch bank"), for the desktop
    CTransferNoun noun;     // what an import of it counts in ("patch", "patches")
};

class CDocKind {
public:
    CDocKind(const CKindWords& words, const CTransferLayouts& dialogs) : m_words(words), m_dialogs(dialogs) {}
    virtual ~CDocKind() = default;
    CDocKind(const CDocKind&) = delete;
    CDocKind& operator=(const CDocKind&) = delete;

    const char* Word() const { return m_words.szWord; }
    const char* BackupFile() const { return m_words.szFile; }
    const char* Extension() const { return m_words.szExt; }
    std::string_view FileType() const { return m_words.type; }
    int EntryCount() const { return m_words.nEntries; }
    const char* LabelRange() const { return m_words.szRange; }
    const char* FileKind() const { return m_words.szFileKind; }
    CTransferNoun Noun() const { return m_words.noun; }
    // Its Get, Send and progress dialogs.
    const CTransferLayouts& Dialogs() const { return m_dialogs; }

    // ---- documents and entries ---------------------------------------------
    virtual std::unique_ptr<CDocument> NewDocument() const = 0;
    virtual bool IsKindOf(const CDocument& doc) const = 0;
    // Entry n as its window labels it, without padding: "A11", "11",
    // "system", "C#2", "A1".
    virtual std::string EntryLabel(int n) const = 0;
    // The entry a label names; letters in any case, surrounding spaces ignored.
    std::optional<int> ParseEntryLabel(std::string_view label) const;
    // What entry n of doc is called: a name, a row, a row with its size.
    virtual std::string EntryName(const CDocument& doc, int n) const = 0;
    // True when entry n holds what a Get would bring back in both documents.
    virtual bool SameEntry(const CDocument& a, const CDocument& b, int n) const;
    // The parts of entry n's bytes, for a compare; by default one part, the data.
    virtual CEntryLayout EntryLayout(int n) const;
    // Bytes at the head of an entry's bytes that hold its name; 0 when the
    // kind's entries have no name of their own.
    virtual size_t NameSize() const { return 0; }
    // Entries of another kind held whole inside each entry of this one (a
    // performance's two patches): nCount of them, nSize bytes each, the first
    // at nOffset of the entry's bytes and each next one right after it.
    struct CInnerEntries {
        const CDocKind* pKind = nullptr;
        int nCount = 0;
        size_t nOffset = 0;
        size_t nSize = 0;
    };
    virtual CInnerEntries InnerEntries() const { return {}; }

    // ---- transfers ----------------------------------------------------------
    // nEntry -1: the whole document; otherwise one entry. Null for a document
    // of another kind or an entry outside it. doc outlives the plan.
    virtual std::unique_ptr<CGetPlan> MakeGetPlan(CDocument& doc, int nEntry) const = 0;
    virtual std::unique_ptr<CSendPlan> MakeSendPlan(const CDocument& doc, int nEntry) const = 0;
    // Inner entry nInner (counted from 0) of entry nEntry, one of the entries
    // InnerEntries() describes (a performance's patch): fetched into or sent
    // from doc, by a plan of the inner kind. Null for a kind without inner
    // entries, a document of another kind or an entry outside it.
    virtual std::unique_ptr<CGetPlan> MakeInnerGetPlan(CDocument& doc, int nEntry, int nInner) const;
    virtual std::unique_ptr<CSendPlan> MakeInnerSendPlan(const CDocument& doc, int nEntry, int nInner) const;

    // ---- audition -----------------------------------------------------------
    // Whether a click on one of its entries with Send Data on sounds it on the
    // synthesizer at once: the list windows and the Library window ask.
    virtual bool HasAudition() const { return false; }
    // The plan of that audition for one entry's bytes, which it copies; null
    // for a kind without an audition or bytes that are not one entry of it.
    virtual std::unique_ptr<CSendPlan> MakeAuditionPlan(std::span<const uint8_t> entry) const;

    // ---- what a .syx stream held of it --------------------------------------
    // Where its entries lie in the synthesizer's memory: the reader's part
    // of a haul for this kind is made from it.
    virtual const CSysExLayout& SysExLayout() const = 0;
    // Entries of the kind the haul holds.
    virtual int TakenCount(const CSysExHaul& haul) const;
    // Whether entry n arrived (any of its blocks).
    virtual bool IsTaken(const CSysExHaul& haul, int n) const;
    // The entries the haul holds, in order.
    std::vector<int> TakenEntries(const CSysExHaul& haul) const;
    // The one entry the haul holds, or -1 when it holds none or more (and
    // always for a kind whose entries cannot move).
    int SingleEntry(const CSysExHaul& haul) const;
    // Whether an import may put an entry into another (and a summary names
    // the entries); the system's blocks are not entries one could move.
    virtual bool HasMovableEntries() const { return true; }
    // What the user is told the haul holds (the system: its blocks).
    virtual int ShownCount(const CSysExHaul& haul) const { return TakenCount(haul); }
    // Writes the entries the haul holds into doc (of this kind) through its
    // edits named strEdit, merging only what arrived, each where placement
    // puts it; returns the number of entries written. The entries are doc's
    // entries as bytes: a record's blocks at their offsets, or an item.
    virtual int Merge(const CSysExHaul& haul, CDocument& doc, const CPlacement& placement,
                      const std::string& strEdit) const;
    // The entry a data set at dwAddress belongs to, as the user knows it
    // ("A13: Warm Pad 001"); nothing when the address is not this kind's.
    virtual std::optional<std::string> DescribeDataSet(uint32_t dwAddress, const CSysExHaul& haul) const = 0;

private:
    CKindWords m_words;
    CTransferLayouts m_dialogs;
};

// What every kind of one document class shares.
template <class TDoc>
class CDocKindT : public CDocKind {
public:
    using CDocKind::CDocKind;
    std::unique_ptr<CDocument> NewDocument() const override { return std::make_unique<TDoc>(); }
    bool IsKindOf(const CDocument& doc) const override { return dynamic_cast<const TDoc*>(&doc) != nullptr; }

protected:
    static const TDoc& As(const CDocument& doc) { return static_cast<const TDoc&>(doc); }
    static TDoc* Cast(CDocument& doc) { return dynamic_cast<TDoc*>(&doc); }
    static const TDoc* Cast(const CDocument& doc) { return dynamic_cast<const TDoc*>(&doc); }
    bool InRange(int nEntry) const { return nEntry >= -1 && nEntry < EntryCount(); }
};

// The kinds a program has, in the order of File New's list, and the ways to
// find one.
class CKindRegistry {
public:
    explicit CKindRegistry(std::vector<const CDocKind*> kinds) : m_kinds(std::move(kinds)) {}

    const std::vector<const CDocKind*>& All() const { return m_kinds; }
    const CDocKind* FromWord(std::string_view word) const;
    // The kind whose library files carry this 16-byte header type.
    const CDocKind* FromType(std::string_view type) const;
    // The kind whose library files end as path does (any case).
    const CDocKind* FromExtension(std::string_view path) const;
    const CDocKind* Of(const CDocument& doc) const;
    // Every kind's layout, in order: what a CSysExReader reads.
    std::vector<const CSysExLayout*> SysExLayouts() const;
    // True when the haul holds anything of any kind.
    bool HaulHasEntries(const CSysExHaul& haul) const;
    // The entry a data set the haul has taken addresses, as the user knows
    // it, from the message's address.
    std::string DescribeDataSet(const uint8_t* p, size_t n, const CSysExHaul& haul) const;

private:
    std::vector<const CDocKind*> m_kinds;
};

// A kind registers itself in its own file, with its place in File New's list
// (the registry's order): const CKindRegistrar kRegistered(PatchKind, 1);
// The widget parts of the kind hang off it in app/ (app/DocKinds.cpp).
class CKindRegistrar {
public:
    CKindRegistrar(const CDocKind& (*pKind)(), int nPlace);
};
// Every registered kind, by place.
std::vector<const CDocKind*> RegisteredKinds();

// True for a path ending in ext, compared in any case.
bool PathEndsWith(std::string_view path, std::string_view ext);

} // namespace vantorel
