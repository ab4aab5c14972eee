#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/core/DocEdit.h"
#include "framework/core/Object.h"
#include "framework/core/SafeFile.h"

namespace vantorel {

class CArchive;
class CDocument;

// What a file of a document kind can be: a header that is checked before the
// rest is read, and the largest size a valid file has. Anything larger is
// refused without being read, so a huge or endless file never fills memory.
struct CFileBounds {
    // For kinds that know no better; no library file comes near it.
    static constexpr uint64_t kDefaultMaxSize = uint64_t{16} << 20;
    size_t nHeaderSize = 0;
    uint64_t nMaxSize = kDefaultMaxSize;
    // The body has one size, so the file ends at nMaxSize: bytes after that
    // are never read, and a longer file is not refused for them.
    bool bFixedBody = false;
};

// What a document needs of a view: a place to send change notices.
class CViewBase {
public:
    virtual ~CViewBase();
    // pHint null: repaint everything; a CHintRect: repaint that rectangle; anything else: ignore.
    virtual void OnUpdate(CViewBase* pSender, long lHint, CObject* pHint) = 0;
    CDocument* GetDocument() const { return m_pDocument; }

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
};

// A document owns its records; views show them. Not a widget.
class CDocument : public CObject {
public:
    // What a load found. A file that ends too early is not a result: the
    // archive throws CArchiveException, and the open is abandoned.
    enum class LoadResult { Ok, HeaderMismatch };

    CDocument() = default;
    ~CDocument() override;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    const char* GetRuntimeClassName() const override { return "CDocument"; }

    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const std::string& title) { m_strTitle = title; }
    const std::string& GetPathName() const { return m_strPathName; }
    void SetPathName(const std::string& path) { m_strPathName = path; }
    // The file at the path name as this document last read or wrote it, so
    // that a save can tell whether it changed on disk since; none when unknown.
    const std::optional<CFileStamp>& GetFileStamp() const { return m_fileStamp; }
    void SetFileStamp(const std::optional<CFileStamp>& stamp) { m_fileStamp = stamp; }

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool bModified = true);

    void AddView(CViewBase* pView);
    void RemoveView(CViewBase* pView);
    const std::vector<CViewBase*>& GetViews() const { return m_views; }

    // Tells every view but pSender about a change.
    void UpdateAllViews(CViewBase* pSender, long lHint = 0, CObject* pHint = nullptr);

    // Storing: writes header and body. Loading: reads them; a header that fails
    // its checks returns HeaderMismatch having read nothing more.
    virtual LoadResult Serialize(CArchive& ar) = 0;
    // This kind's file bounds; the document manager checks them on open.
    virtual CFileBounds GetFileBounds() const { return {}; }

    // ---- entries and their edits ------------------------------------------
    // A kind with entries (records, blocks, variable entries) shows them as
    // bytes here; every change the program makes goes through an edit, so it
    // marks the document modified, repaints the changed rows and can be undone.
    virtual int GetEntryCount() const { return 0; }
    virtual std::vector<uint8_t> GetEntryBytes(int nEntry) const;
    CEntrySnapshot SnapshotEntries() const;

    // Writes bytes into entries as one edit named strName. Entries that would
    // not change are left out; when none changes nothing happens (false).
    bool ApplyEntries(const std::string& strName,
                      const std::vector<std::pair<int, std::vector<uint8_t>>>& entries);
    // Writes nCount bytes over entry nEntry from byte nOffset on, as one edit
    // as above. Bytes past the end of the entry are left out.
    bool ApplyEntryBytes(const std::string& strName, int nEntry, size_t nOffset, const uint8_t* pBytes,
                         size_t nCount);

    // A group of edits that is one undo step (a Get, an import). While it is
    // open every edit is written and repainted at once, but the history hears
    // of them only when the outermost group closes: as one edit named after
    // the group, of the entries that then differ from before it. A group that
    // changed nothing adds no step and leaves the document unmodified.
    void BeginEditGroup(const std::string& strName);
    // True when the group closed with a step.
    bool EndEditGroup();
    // Undo (bAfter false) or redo (true) of an edit: writes one side back and
    // repaints; the history is not told.
    void WriteEditSide(const CDocEdit& edit, bool bAfter);

    void SetEditHistory(IEditHistory* pHistory) { m_pHistory = pHistory; }
    IEditHistory* GetEditHistory() const { return m_pHistory; }

    // Called whenever the modified flag changes (frames show a "*" in the title).
    std::function<void(bool)> m_onModifiedChanged;

    // Program-wide listeners told when any document is about to be destroyed
    // (the copy buffer forgets entries that point into it).
    static int AddDestroyListener(std::function<void(CDocument*)> fn);
    static void RemoveDestroyListener(int token);

protected:
    virtual void SetEntryBytes(int nEntry, const std::vector<uint8_t>& bytes);
    // Repaints after the entries changed; everything unless a kind knows better.
    virtual void OnEntriesChanged(const std::vector<int>& entries);

private:
    // Marks modified, repaints, and hands the edit to the history.
    void Commit(CDocEdit edit);

    void AddToGroup(CDocEdit edit);

    IEditHistory* m_pHistory = nullptr;
    int m_nGroupDepth = 0;
    CDocEdit m_group; // the open group's changes, in the order first changed
    std::string m_strTitle;
    std::string m_strPathName;
    std::optional<CFileStamp> m_fileStamp;
    bool m_bModified = false;
    std::vector<CViewBase*> m_views;
};

// Opens an edit group on doc for as long as it lives (see BeginEditGroup).
class CEditGroup {
public:
    CEditGroup(CDocument& doc, const std::string& strName) : m_doc(doc) { m_doc.BeginEditGroup(strName); }
    ~CEditGroup() { m_doc.EndEditGroup(); }
    CEditGroup(const CEditGroup&) = delete;
    CEditGroup& operator=(const CEditGroup&) = delete;

private:
    CDocument& m_doc;
};

} // namespace vantorel
