#pragma once
// Keeps the registered document kinds and the open documents, each in its
// one child window, and runs File New, Open, Save and Save As over them. The
// pieces with a job of their own live beside it: the New list (NewDialog.h),
// the file dialogs (FileDialog.h), reading and writing files
// (DocumentFiles.h) and the recent-file list (RecentFiles.h).
#include <QIcon>
#include <QMetaObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Document.h"
#include "framework/gui/DocTemplate.h"
#include "framework/gui/FileDialog.h"
#include "framework/gui/RecentFiles.h"

class QMdiArea;

namespace vantorel {

class CChildFrame;
class CUndoHistory;

class CDocManager {
public:
    CDocManager();
    ~CDocManager(); // closes what is still open without asking
    CDocManager(const CDocManager&) = delete;
    CDocManager& operator=(const CDocManager&) = delete;

    // Kinds in registration order: the order of File New's list and of the
    // Open dialog's filters; the first kind opens files of unknown extension.
    CDocTemplate* AddDocTemplate(std::unique_ptr<CDocTemplate> pTemplate);
    const std::vector<std::unique_ptr<CDocTemplate>>& GetTemplates() const { return m_templates; }
    // Child-window icon of a kind (by resource id).
    void SetKindIcon(int nResourceId, const QIcon& icon) { m_icons[nResourceId] = icon; }

    // Where the child windows go. Must be set before documents are opened.
    void SetMdiArea(QMdiArea* pArea);
    QMdiArea* GetMdiArea() const;

    // Told after anything that can change what the commands or the main
    // title show: a document opened, closed or saved, its modified flag
    // changed. One listener: the main frame.
    void SetChangeHandler(std::function<void()> handler) { m_onChange = std::move(handler); }

    // File New: with more than one kind, the "New" list dialog (first kind
    // selected); the document is titled docName + running number (Patch1, ...).
    CDocument* OnFileNew();
    // File Open: the file dialog (one or more files), then OpenDocumentFile for
    // each. The last one opened; null when cancelled or none opened.
    CDocument* OnFileOpen();
    // A new document of one kind in a new child window.
    CDocument* OpenNewDocument(CDocTemplate* pTemplate);
    // Opens a file (a file already open is brought to the front instead).
    // Failures are shown in a message box; null then, and no window opens.
    CDocument* OpenDocumentFile(const QString& strPath);
    // The kind a file name opens as: by extension, else the first kind.
    CDocTemplate* TemplateForPath(const QString& strPath) const;

    // Save (bSaveAs false: asks for a name only when the document has none)
    // and Save As. A failure is shown and leaves the document as it was.
    bool DoSave(CDocument* pDoc, bool bSaveAs);
    // "Save changes to %1?" when modified: Yes saves (false if that fails or is
    // cancelled), No goes on, Cancel stops. True when the document may close.
    bool SaveModified(CDocument* pDoc);
    // Before the program ends: the question above for each modified
    // document; with more than one, each question also offers "Save All",
    // which saves that one and every one after it. True when all may close.
    bool SaveAllModified();
    // File > Save All: saves every modified document, asking a name for each
    // one that has none. Stops at the first that is cancelled or fails.
    bool SaveAll();
    // Documents with changes not saved yet.
    std::vector<CDocument*> GetModifiedDocuments() const;
    // Closes a document and its window without asking.
    void CloseDocument(CDocument* pDoc);
    void CloseAllDocuments();

    std::vector<CDocument*> GetDocuments() const;
    // The document's window, or null.
    CChildFrame* GetFrame(const CDocument* pDoc) const;
    CDocument* FindOpenDocument(const QString& strPath) const;
    // The title its window shows: the document's title, and when another open
    // file has the same name, its folder too ("patch.pat - 2026-12-07"; the
    // whole folder when the folders' names are the same as well).
    std::string GetDisplayTitle(const CDocument* pDoc) const;

    // The recent-file list, most recent first.
    const std::vector<std::string>& GetRecentFiles() const { return m_recent.Get(); }
    void LoadRecentFileList() { m_recent.Load(); }
    void AddToRecentFileList(const std::string& strPath) { m_recent.Add(strPath); }

    // Called by CChildFrame.
    bool CanCloseFrame(CChildFrame* pFrame);
    void OnFrameClosed(CChildFrame* pFrame);

private:
    struct DocEntry {
        std::unique_ptr<CDocument> pDoc;
        std::unique_ptr<CUndoHistory> pHistory; // declared after pDoc: goes first
        CDocTemplate* pTemplate = nullptr;
        CChildFrame* pFrame = nullptr; // raw: cleared when the frame closes or is destroyed
        QMetaObject::Connection frameDestroyed;
    };
    DocEntry* Find(const CDocument* pDoc) const;
    DocEntry* FindByFrame(const void* pFrame) const;
    // A new document of a kind, or null after the failure's message.
    std::unique_ptr<CDocument> MakeDocument(const CDocTemplate& tmpl) const;
    // Gives a document its window and keeps it; null (document gone) when
    // the window cannot be made.
    CDocument* Adopt(std::unique_ptr<CDocument> doc, CDocTemplate* pTemplate);
    CChildFrame* CreateFrame(CDocument* pDoc, CDocTemplate* pTemplate);
    // The one way a document goes, once its window is closed or gone;
    // bNotify tells the listener (not while a frame is being destroyed).
    void Release(DocEntry* pEntry, bool bNotify);
    void NotifyChange() const;
    // Saves those of docs still open and modified; false at the first that is not saved.
    bool SaveEach(const std::vector<CDocument*>& docs);
    // Every window's title again: a name may have come or gone.
    void UpdateFrameTitles() const;
    QWidget* DialogParent() const;

    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::map<const CDocTemplate*, int> m_untitledCount;
    std::map<int, QIcon> m_icons;
    std::vector<std::unique_ptr<DocEntry>> m_docs;
    QPointer<QMdiArea> m_pMdiArea;
    CRecentFiles m_recent;
    std::function<void()> m_onChange;
    bool m_bClosingAll = false;
};

} // namespace vantorel
