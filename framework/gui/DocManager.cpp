#include "framework/gui/DocManager.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QMdiArea>
#include <QRegularExpression>

#include <algorithm>
#include <new>

#include "framework/Archive.h"
#include "framework/MessageBox.h"
#include "framework/Profile.h"
#include "framework/SafeFile.h"
#include "framework/gui/ChildFrame.h"
#include "framework/gui/Dialog.h"
#include "framework/gui/ScrollView.h"
#include "res/Strings.h"
#include "res/strings/app.h"

namespace vantorel {

namespace {
constexpr const char* kRecentSection = "Recent File List";

FileDialogHook& Hook()
{
    static FileDialogHook hook;
    return hook;
}

std::string Arg(const char* pattern, const QString& value)
{
    return QString::fromLatin1(pattern).arg(value).toLocal8Bit().toStdString();
}

QString Local(const std::string& s) { return QString::fromLocal8Bit(s.c_str()); }

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The "New" list dialog: one entry per kind, the first selected.
enum : int { kNewTypeDialogId = 30721, kNewTypeListId = 100 };

const CDlgTemplate& NewTypeTemplate()
{
    static const CDlgTemplate tmpl{kNewTypeDialogId,
                                   res::kNewDialogCaption,
                                   160,
                                   64,
                                   {
                                       {-1, CtlKind::Static, res::kNewDialogLabel, 6, 5, 100, 8},
                                       {kNewTypeListId, CtlKind::ListBox, "", 6, 15, 100, 42},
                                       {IDOK, CtlKind::DefButton, res::kOk, 114, 6, 40, 14},
                                       {IDCANCEL, CtlKind::Button, res::kCancel, 114, 24, 40, 14},
                                   },
                                   true};
    return tmpl;
}

class CNewTypeDlg : public CDialog {
public:
    CNewTypeDlg(const std::vector<std::unique_ptr<CDocTemplate>>& templates, QWidget* parent)
        : CDialog(NewTypeTemplate(), parent), m_templates(templates)
    {
    }
    CDocTemplate* m_pSelected = nullptr;

protected:
    void OnInitDialog() override
    {
        QListWidget* list = GetListBox(kNewTypeListId);
        list->clear();
        for (const auto& t : m_templates)
            list->addItem(Local(t->GetDocString(CDocTemplate::fileNewName)));
        if (list->count() > 0)
            list->setCurrentRow(0);
        QObject::connect(list, &QListWidget::itemDoubleClicked, this, [this] { ClickButton(IDOK); });
    }
    void OnOK() override
    {
        const int row = GetListBox(kNewTypeListId)->currentRow();
        if (row < 0 || row >= int(m_templates.size()))
            return; // nothing chosen: the dialog stays
        m_pSelected = m_templates[size_t(row)].get();
        EndDialog(IDOK);
    }

private:
    const std::vector<std::unique_ptr<CDocTemplate>>& m_templates;
};

// A file name that can stand as a default: cut at characters that file
// names should not carry, as the title may be anything.
QString SafeFileStem(const QString& title)
{
    QString stem = title;
    const int bad = stem.indexOf(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|#%;]")));
    if (bad >= 0)
        stem.truncate(bad);
    stem = stem.trimmed();
    return stem;
}

QString ExtensionOf(const CDocTemplate& tmpl) { return Local(tmpl.GetDocString(CDocTemplate::filterExt)); }
} // namespace

QString FilterForTemplate(const CDocTemplate& tmpl)
{
    QString name = Local(tmpl.GetDocString(CDocTemplate::filterName));
    const int paren = name.lastIndexOf('(');
    if (paren >= 0)
        name = name.left(paren).trimmed();
    return name + QStringLiteral(" (*") + ExtensionOf(tmpl) + QStringLiteral(")");
}

CDocManager::CDocManager() = default;

CDocManager::~CDocManager()
{
    m_bClosingAll = true;
    CloseAllDocuments();
    // Frames that could not close (no event loop) still must not point here.
    for (auto& [obj, link] : m_frameObjects) {
        QObject::disconnect(link.connection);
        link.pFrame->m_pManager = nullptr;
    }
    m_docs.clear();
}

CDocTemplate* CDocManager::AddDocTemplate(std::unique_ptr<CDocTemplate> pTemplate)
{
    if (!pTemplate)
        return nullptr;
    m_templates.push_back(std::move(pTemplate));
    return m_templates.back().get();
}

void CDocManager::SetMdiArea(QMdiArea* pArea) { m_pMdiArea = pArea; }

QMdiArea* CDocManager::GetMdiArea() const { return m_pMdiArea; }

QWidget* CDocManager::DialogParent() const { return m_pMdiArea ? m_pMdiArea->window() : nullptr; }

FileDialogHook CDocManager::SetFileDialogHook(FileDialogHook hook)
{
    FileDialogHook previous = Hook();
    Hook() = std::move(hook);
    return previous;
}

QString CDocManager::RunFileDialog(const CFileDialogRequest& request) const
{
    if (Hook())
        return Hook()(request);
    QFileDialog dlg(DialogParent(), request.strCaption);
    dlg.setNameFilters(request.filters);
    if (!request.strSelectedFilter.isEmpty())
        dlg.selectNameFilter(request.strSelectedFilter);
    if (request.bOpen) {
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
    } else {
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setDefaultSuffix(request.strDefaultSuffix);
        if (!request.strDefaultName.isEmpty())
            dlg.selectFile(request.strDefaultName);
    }
    if (dlg.exec() != QDialog::Accepted)
        return {};
    return dlg.selectedFiles().value(0);
}

CDocument* CDocManager::OnFileNew()
{
    if (m_templates.empty()) {
        AfxMessageBox(res::kFailedToCreateDocument);
        return nullptr;
    }
    CDocTemplate* pTemplate = m_templates.front().get();
    if (m_templates.size() > 1) {
        CNewTypeDlg dlg(m_templates, DialogParent());
        if (dlg.DoModal() != IDOK || !dlg.m_pSelected)
            return nullptr;
        pTemplate = dlg.m_pSelected;
    }
    return OpenNewDocument(pTemplate);
}

CDocument* CDocManager::OpenNewDocument(CDocTemplate* pTemplate)
{
    if (!pTemplate)
        return nullptr;
    std::unique_ptr<CDocument> doc;
    try {
        doc = pTemplate->CreateDocument();
    } catch (const std::exception&) {
        doc.reset();
    }
    if (!doc) {
        AfxMessageBox(res::kFailedToCreateDocument);
        return nullptr;
    }
    const int n = ++m_untitledCount[pTemplate];
    doc->SetTitle(pTemplate->GetDocString(CDocTemplate::docName) + std::to_string(n));
    doc->SetModifiedFlag(false);

    auto entry = std::make_unique<DocEntry>();
    entry->pDoc = std::move(doc);
    entry->pTemplate = pTemplate;
    CDocument* pDoc = entry->pDoc.get();
    m_docs.push_back(std::move(entry));
    if (!CreateFrame(pDoc, pTemplate)) {
        DestroyDocument(pDoc);
        AfxMessageBox(res::kFailedToCreateDocument);
        return nullptr;
    }
    return pDoc;
}

CDocument* CDocManager::OnFileOpen()
{
    CFileDialogRequest req;
    req.bOpen = true;
    req.strCaption = QString::fromLatin1(res::kOpenDialogCaption);
    for (const auto& t : m_templates)
        req.filters << FilterForTemplate(*t);
    req.filters << QString::fromLatin1(res::kAllFilesFilter);
    req.strSelectedFilter = req.filters.front();
    const QString path = RunFileDialog(req);
    if (path.isEmpty())
        return nullptr;
    return OpenDocumentFile(path);
}

CDocTemplate* CDocManager::TemplateForPath(const QString& strPath) const
{
    if (m_templates.empty())
        return nullptr;
    const QString name = QFileInfo(strPath).fileName();
    for (const auto& t : m_templates) {
        const QString ext = ExtensionOf(*t);
        if (!ext.isEmpty() && name.size() > ext.size() && name.endsWith(ext, Qt::CaseInsensitive))
            return t.get();
    }
    return m_templates.front().get();
}

CDocument* CDocManager::FindOpenDocument(const QString& strPath) const
{
    const QFileInfo fi(strPath);
    const QString canonical = fi.canonicalFilePath();
    const QString absolute = fi.absoluteFilePath();
    for (const auto& e : m_docs) {
        const std::string& p = e->pDoc->GetPathName();
        if (p.empty())
            continue;
        const QFileInfo other(Local(p));
        if ((!canonical.isEmpty() && other.canonicalFilePath() == canonical) || other.absoluteFilePath() == absolute)
            return e->pDoc.get();
    }
    return nullptr;
}

bool CDocManager::LoadDocumentFile(CDocument& doc, const QFileInfo& fi)
{
    const QString name = fi.fileName();
    CFileReader file;
    switch (file.Open(LocalPath(fi.filePath()))) {
    case FileFault::None: break;
    case FileFault::NotFound: AfxMessageBox(Arg(res::kFileNotFound, name)); return false;
    case FileFault::NotRegular: AfxMessageBox(Arg(res::kOpenNotRegularFile, name)); return false;
    case FileFault::AccessDenied: AfxMessageBox(Arg(res::kFileAccessDenied, name)); return false;
    default: AfxMessageBox(Arg(res::kReadFault, name)); return false;
    }
    // Larger than any file of this kind: refused unread.
    const CFileBounds bounds = doc.GetFileBounds();
    if (file.GetSize() > bounds.nMaxSize) {
        AfxMessageBox(res::kUnexpectedFileFormat);
        return false;
    }
    std::vector<uint8_t> bytes;
    bool bReadOk = file.Read(bytes, bounds.nHeaderSize) == FileFault::None;
    try {
        // A header of another kind stops the open before the body is read.
        if (bReadOk && bounds.nHeaderSize > 0 && bytes.size() == bounds.nHeaderSize) {
            CArchive header(bytes.data(), bytes.size());
            try {
                if (doc.Serialize(header) == CDocument::LoadResult::HeaderMismatch) {
                    // Not this kind's file: opening it as one would show defaults
                    // that a later Save would write over the file.
                    AfxMessageBox(res::kFileError);
                    return false;
                }
            } catch (const CArchiveException&) {
                // The header matched and the body follows.
            }
        }
        // One byte more than allowed tells a file that grew since it was measured.
        bReadOk = bReadOk && file.Read(bytes, size_t(bounds.nMaxSize + 1 - bytes.size())) == FileFault::None;
        if (!bReadOk) {
            AfxMessageBox(Arg(res::kReadFault, name));
            return false;
        }
        if (bytes.size() > bounds.nMaxSize) {
            AfxMessageBox(res::kUnexpectedFileFormat);
            return false;
        }
        // An empty file is not loaded: the document keeps its initial contents.
        if (bytes.empty())
            return true;
        CArchive ar(bytes.data(), bytes.size());
        if (doc.Serialize(ar) == CDocument::LoadResult::HeaderMismatch) {
            AfxMessageBox(res::kFileError);
            return false;
        }
    } catch (const CArchiveException&) {
        AfxMessageBox(res::kUnexpectedFileFormat);
        return false;
    } catch (const std::exception&) {
        AfxMessageBox(res::kFailedToOpenDocument);
        return false;
    }
    return true;
}

CDocument* CDocManager::OpenDocumentFile(const QString& strPath)
{
    if (strPath.isEmpty())
        return nullptr;
    if (CDocument* open = FindOpenDocument(strPath)) {
        const auto frames = GetFrames(open);
        if (!frames.empty())
            frames.front()->ActivateFrame();
        return open;
    }
    CDocTemplate* pTemplate = TemplateForPath(strPath);
    if (!pTemplate) {
        AfxMessageBox(res::kFailedToOpenDocument);
        return nullptr;
    }

    const QFileInfo fi(strPath);
    std::unique_ptr<CDocument> doc;
    try {
        doc = pTemplate->CreateDocument();
    } catch (const std::exception&) {
        doc.reset();
    }
    if (!doc) {
        AfxMessageBox(res::kFailedToCreateDocument);
        return nullptr;
    }
    if (!LoadDocumentFile(*doc, fi))
        return nullptr;
    const QString path = fi.absoluteFilePath();
    doc->SetPathName(path.toLocal8Bit().toStdString());
    doc->SetTitle(fi.fileName().toLocal8Bit().toStdString());
    doc->SetModifiedFlag(false);

    auto entry = std::make_unique<DocEntry>();
    entry->pDoc = std::move(doc);
    entry->pTemplate = pTemplate;
    CDocument* pDoc = entry->pDoc.get();
    m_docs.push_back(std::move(entry));
    if (!CreateFrame(pDoc, pTemplate)) {
        DestroyDocument(pDoc);
        AfxMessageBox(res::kFailedToOpenDocument);
        return nullptr;
    }
    AddToRecentFileList(pDoc->GetPathName());
    return pDoc;
}

CChildFrame* CDocManager::CreateFrame(CDocument* pDoc, CDocTemplate* pTemplate)
{
    if (!m_pMdiArea)
        return nullptr;
    auto* frame = new CChildFrame(this, pDoc, pTemplate);
    CScrollView* view = nullptr;
    try {
        view = pTemplate->CreateView(frame);
    } catch (const std::exception&) {
        view = nullptr;
    }
    if (!view) {
        frame->m_pManager = nullptr;
        delete frame;
        return nullptr;
    }
    pDoc->AddView(view);
    frame->setWidget(view);
    if (auto it = m_icons.find(pTemplate->GetResourceId()); it != m_icons.end())
        frame->setWindowIcon(it->second);

    QObject* key = frame;
    Find(pDoc)->frames.push_back(frame);
    m_frameObjects[key] = FrameLink{frame, QObject::connect(frame, &QObject::destroyed, frame,
                                                             [this, key] { ForgetFrame(key); })};
    pDoc->m_onModifiedChanged = [this, pDoc](bool) {
        for (CChildFrame* f : GetFrames(pDoc))
            f->UpdateTitle();
    };

    m_pMdiArea->addSubWindow(frame);
    const QSize area = m_pMdiArea->viewport()->size();
    if (area.width() > 100 && area.height() > 100)
        frame->resize(area.width() * 3 / 4, area.height() * 3 / 4);
    frame->UpdateTitle();
    frame->show();
    view->OnInitialUpdate();
    m_pMdiArea->setActiveSubWindow(frame);
    return frame;
}

bool CDocManager::DoSave(CDocument* pDoc, bool bSaveAs)
{
    DocEntry* entry = Find(pDoc);
    if (!entry)
        return false;
    const CDocTemplate& tmpl = *entry->pTemplate;
    QString path = Local(pDoc->GetPathName());
    if (bSaveAs || path.isEmpty()) {
        CFileDialogRequest req;
        req.bOpen = false;
        req.strCaption = QString::fromLatin1(res::kSaveAsDialogCaption);
        req.filters << FilterForTemplate(tmpl) << QString::fromLatin1(res::kAllFilesFilter);
        req.strSelectedFilter = req.filters.front();
        QString ext = ExtensionOf(tmpl);
        req.strDefaultSuffix = ext.startsWith('.') ? ext.mid(1) : ext;
        if (!path.isEmpty()) {
            req.strDefaultName = path;
        } else {
            QString stem = SafeFileStem(Local(pDoc->GetTitle()));
            if (!stem.isEmpty())
                req.strDefaultName = stem + ext;
        }
        path = RunFileDialog(req);
        if (path.isEmpty())
            return false;
    }

    std::vector<uint8_t> bytes;
    try {
        CArchive ar(bytes);
        pDoc->Serialize(ar);
    } catch (const std::exception&) {
        AfxMessageBox(res::kFailedToSaveDocument);
        return false;
    }

    const QFileInfo fi(path);
    const FileFault fault = WriteFileAtomic(LocalPath(fi.absoluteFilePath()), bytes.data(), bytes.size());
    if (fault != FileFault::None) {
        ShowSaveFault(fault, fi);
        return false;
    }

    pDoc->SetPathName(fi.absoluteFilePath().toLocal8Bit().toStdString());
    pDoc->SetTitle(fi.fileName().toLocal8Bit().toStdString());
    pDoc->SetModifiedFlag(false);
    for (CChildFrame* f : GetFrames(pDoc))
        f->UpdateTitle();
    AddToRecentFileList(pDoc->GetPathName());
    return true;
}

void CDocManager::ShowSaveFault(FileFault fault, const QFileInfo& fi)
{
    const QString name = fi.fileName();
    switch (fault) {
    case FileFault::NoFolder: AfxMessageBox(Arg(res::kFileNotFound, fi.absolutePath())); break;
    case FileFault::NotRegular: AfxMessageBox(Arg(res::kSaveNotRegularFile, name)); break;
    case FileFault::AccessDenied: AfxMessageBox(Arg(res::kSaveAccessDenied, name)); break;
    case FileFault::DiskFull: AfxMessageBox(Arg(res::kSaveDiskFull, name)); break;
    default: AfxMessageBox(Arg(res::kSaveWriteFault, name)); break;
    }
}

bool CDocManager::SaveModified(CDocument* pDoc)
{
    if (!pDoc || !pDoc->IsModified())
        return true;
    const std::string text = Arg(res::kSaveChanges, Local(pDoc->GetTitle()));
    switch (AfxMessageBox(text, MB_YESNOCANCEL)) {
    case IDYES: return DoSave(pDoc, false);
    case IDNO: return true;
    default: return false;
    }
}

bool CDocManager::SaveAllModified()
{
    for (CDocument* pDoc : GetDocuments())
        if (!SaveModified(pDoc))
            return false;
    return true;
}

void CDocManager::CloseDocument(CDocument* pDoc)
{
    DocEntry* entry = Find(pDoc);
    if (!entry)
        return;
    const auto frames = entry->frames;
    for (CChildFrame* f : frames)
        f->ForceClose();
    // Frames that did not close (or none at all) must not keep the document.
    if (Find(pDoc))
        DestroyDocument(pDoc);
}

void CDocManager::CloseAllDocuments()
{
    for (CDocument* pDoc : GetDocuments())
        CloseDocument(pDoc);
}

std::vector<CDocument*> CDocManager::GetDocuments() const
{
    std::vector<CDocument*> docs;
    for (const auto& e : m_docs)
        docs.push_back(e->pDoc.get());
    return docs;
}

CDocTemplate* CDocManager::GetTemplateOf(const CDocument* pDoc) const
{
    const DocEntry* e = Find(pDoc);
    return e ? e->pTemplate : nullptr;
}

std::vector<CChildFrame*> CDocManager::GetFrames(const CDocument* pDoc) const
{
    const DocEntry* e = Find(pDoc);
    return e ? e->frames : std::vector<CChildFrame*>{};
}

CDocManager::DocEntry* CDocManager::Find(const CDocument* pDoc)
{
    for (auto& e : m_docs)
        if (e->pDoc.get() == pDoc)
            return e.get();
    return nullptr;
}

const CDocManager::DocEntry* CDocManager::Find(const CDocument* pDoc) const
{
    for (const auto& e : m_docs)
        if (e->pDoc.get() == pDoc)
            return e.get();
    return nullptr;
}

bool CDocManager::CanCloseFrame(CChildFrame* pFrame)
{
    DocEntry* e = Find(pFrame->GetDocument());
    if (!e)
        return true;
    // Only the last window of a document closes the document.
    if (e->frames.size() > 1)
        return true;
    return SaveModified(e->pDoc.get());
}

void CDocManager::OnFrameClosed(CChildFrame* pFrame)
{
    QObject* key = pFrame;
    if (auto it = m_frameObjects.find(key); it != m_frameObjects.end()) {
        QObject::disconnect(it->second.connection);
        m_frameObjects.erase(it);
    }
    CDocument* pDoc = pFrame->GetDocument();
    DocEntry* e = Find(pDoc);
    if (!e)
        return;
    std::erase(e->frames, pFrame);
    if (e->frames.empty())
        DestroyDocument(pDoc);
}

void CDocManager::ForgetFrame(QObject* pFrameObject)
{
    // The frame is being destroyed: compare addresses only.
    auto it = m_frameObjects.find(pFrameObject);
    if (it == m_frameObjects.end())
        return;
    CChildFrame* frame = it->second.pFrame;
    m_frameObjects.erase(it);
    for (auto& e : m_docs) {
        if (std::find(e->frames.begin(), e->frames.end(), frame) == e->frames.end())
            continue;
        std::erase(e->frames, frame);
        if (e->frames.empty())
            DestroyDocument(e->pDoc.get());
        return;
    }
}

void CDocManager::DestroyDocument(CDocument* pDoc)
{
    auto it = std::find_if(m_docs.begin(), m_docs.end(), [pDoc](const auto& e) { return e->pDoc.get() == pDoc; });
    if (it == m_docs.end())
        return;
    // Take it out of the list first: the document's destruction may call back.
    std::unique_ptr<DocEntry> entry = std::move(*it);
    m_docs.erase(it);
    entry->pDoc->m_onModifiedChanged = nullptr;
    entry.reset();
}

void CDocManager::LoadRecentFileList()
{
    m_recent.clear();
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const std::string path = GetProfileString(kRecentSection, "File" + std::to_string(i));
        if (!path.empty() && std::find(m_recent.begin(), m_recent.end(), path) == m_recent.end())
            m_recent.push_back(path);
    }
}

void CDocManager::AddToRecentFileList(const std::string& strPath)
{
    if (strPath.empty())
        return;
    std::erase(m_recent, strPath);
    m_recent.insert(m_recent.begin(), strPath);
    if (m_recent.size() > size_t(kRecentFileCount))
        m_recent.resize(size_t(kRecentFileCount));
    WriteRecentFileList();
}

void CDocManager::WriteRecentFileList() const
{
    for (int i = 0; i < kRecentFileCount; ++i) {
        const std::string key = "File" + std::to_string(i + 1);
        if (size_t(i) < m_recent.size())
            WriteProfileString(kRecentSection, key, m_recent[size_t(i)]);
        else
            DeleteProfileKey(kRecentSection, key);
    }
}

} // namespace vantorel
