#pragma once
// Runs File New, Open, Save and Save As over the registered document kinds,
// owns the open documents, keeps each document's child frames and asks to
// save modified documents before they close. Also keeps the recent-file
// list of 4 in the profile ("Recent File List", "File1" to "File4").
#include <QIcon>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/Document.h"
#include "framework/gui/DocTemplate.h"

class QFileInfo;
class QMdiArea;
class QObject;

namespace vantorel {

class CChildFrame;
enum class FileFault;

// What a file dialog is asked; tests answer it through the file-dialog hook.
struct CFileDialogRequest {
    bool bOpen = true;          // Open, or Save As
    QString strCaption;         // "Open" or "Save As"
    QStringList filters;        // in order, e.g. "Patch Files (*.pat)", ..., "All Files (*.*)"
    QString strSelectedFilter;  // the filter shown first
    QString strDefaultName;     // Save As: the suggested file
    QString strDefaultSuffix;   // Save As: added to a name given without one ("pat")
};
// Returns the chosen path, or an empty text when the user cancelled.
using FileDialogHook = std::function<QString(const CFileDialogRequest&)>;

class CDocManager {
public:
    static constexpr int kRecentFileCount = 4;

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

    // Where the child frames go. Must be set before documents are opened.
    void SetMdiArea(QMdiArea* pArea);
    QMdiArea* GetMdiArea() const;

    // File New: with more than one kind, the "New" list dialog (first kind
    // selected); the document is titled docName + running number (Patch1, ...).
    CDocument* OnFileNew();
    // File Open: the file dialog, then OpenDocumentFile. Null when cancelled or failed.
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
    bool SaveAllModified();
    // Closes a document and all its windows without asking.
    void CloseDocument(CDocument* pDoc);
    void CloseAllDocuments();

    std::vector<CDocument*> GetDocuments() const;
    CDocTemplate* GetTemplateOf(const CDocument* pDoc) const;
    std::vector<CChildFrame*> GetFrames(const CDocument* pDoc) const;
    CDocument* FindOpenDocument(const QString& strPath) const;

    // The recent-file list, most recent first.
    const std::vector<std::string>& GetRecentFiles() const { return m_recent; }
    void LoadRecentFileList();
    void AddToRecentFileList(const std::string& strPath);

    // Replaces the file dialogs (tests). Returns the previous hook.
    static FileDialogHook SetFileDialogHook(FileDialogHook hook);

    // Called by CChildFrame.
    bool CanCloseFrame(CChildFrame* pFrame);
    void OnFrameClosed(CChildFrame* pFrame);

private:
    struct DocEntry {
        std::unique_ptr<CDocument> pDoc;
        CDocTemplate* pTemplate = nullptr;
        std::vector<CChildFrame*> frames; // raw: removed when each frame closes or is destroyed
    };
    DocEntry* Find(const CDocument* pDoc);
    const DocEntry* Find(const CDocument* pDoc) const;
    CChildFrame* CreateFrame(CDocument* pDoc, CDocTemplate* pTemplate);
    void ForgetFrame(QObject* pFrameObject);
    // Reads a regular file within the kind's bounds into doc; false after its one message.
    bool LoadDocumentFile(CDocument& doc, const QFileInfo& fi);
    static void ShowSaveFault(FileFault fault, const QFileInfo& fi);
    void DestroyDocument(CDocument* pDoc);
    QString RunFileDialog(const CFileDialogRequest& request) const;
    void WriteRecentFileList() const;
    QWidget* DialogParent() const;

    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::map<const CDocTemplate*, int> m_untitledCount;
    std::map<int, QIcon> m_icons;
    std::vector<std::unique_ptr<DocEntry>> m_docs;
    struct FrameLink {
        CChildFrame* pFrame;
        QMetaObject::Connection connection;
    };
    std::map<QObject*, FrameLink> m_frameObjects;
    QPointer<QMdiArea> m_pMdiArea;
    std::vector<std::string> m_recent;
    bool m_bClosingAll = false;
};

// Filter text of a kind for the file dialogs: the filter name with its
// pattern rebuilt from the extension ("Patch Files (*.pat)").
QString FilterForTemplate(const CDocTemplate& tmpl);

} // namespace vantorel
