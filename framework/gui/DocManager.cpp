#include "framework/gui/DocManager.h"

#include <QFileInfo>
#include <QMdiArea>

#include <algorithm>
#include <filesystem>

#include "framework/core/FileNames.h"
#include "framework/core/MessageBox.h"
#include "framework/gui/ChildFrame.h"
#include "framework/gui/DocumentFiles.h"
#include "framework/gui/NewDialog.h"
#include "framework/gui/ScrollView.h"
#include "framework/gui/UndoHistory.h"
#include "res/Strings.h"
#include "res/strings/app.h"

namespace vantorel {

namespace {
// Paths and titles are kept as the file system's bytes.
QString Local(const std::string& s)
{
    return DecodeFileName(s);
}
} // namespace

CDocManager::CDocManager() = default;

CDocManager::~CDocManager()
{
    m_bClosingAll = true;
    m_onChange = nullptr;
    CloseAllDocuments();
    // Frames that could not close (no event loop) still must not point here.
    for (auto& e : m_docs) {
        QObject::disconnect(e->frameDestroyed);
        if (e->pFrame)
            e->pFrame->m_pManager = nullptr;
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

void CDocManager::SetMdiArea(QMdiArea* pArea)
{
    m_pMdiArea = pArea;
}

QMdiArea* CDocManager::GetMdiArea() const
{
    return m_pMdiArea;
}

QWidget* CDocManager::DialogParent() const
{
    return m_pMdiArea ? m_pMdiArea->window() : nullptr;
}

void CDocManager::NotifyChange() const
{
    if (m_onChange && !m_bClosingAll)
        m_onChange();
}

CDocument* CDocManager::OnFileNew()
{
    if (m_templates.empty()) {
        AfxMessageBox(res::kFailedToCreateDocument);
        return nullptr;
    }
    CDocTemplate* pTemplate = m_templates.front().get();
    if (m_templates.size() > 1) {
        pTemplate = CNewDialog::Choose(m_templates, DialogParent());
        if (!pTemplate)
            return nullptr;
    }
    return OpenNewDocument(pTemplate);
}

std::unique_ptr<CDocument> CDocManager::MakeDocument(const CDocTemplate& tmpl) const
{
    std::unique_ptr<CDocument> doc;
    try {
        doc = tmpl.CreateDocument();
    } catch (const std::exception&) {
        doc.reset();
    }
    if (!doc)
        AfxMessageBox(res::kFailedToCreateDocument);
    return doc;
}

CDocument* CDocManager::OpenNewDocument(CDocTemplate* pTemplate)
{
    if (!pTemplate)
        return nullptr;
    std::unique_ptr<CDocument> doc = MakeDocument(*pTemplate);
    if (!doc)
        return nullptr;
    const int n = ++m_untitledCount[pTemplate];
    doc->SetTitle(pTemplate->GetDocString(CDocTemplate::docName) + std::to_string(n));
    doc->SetModifiedFlag(false);
    CDocument* pDoc = Adopt(std::move(doc), pTemplate);
    if (!pDoc)
        AfxMessageBox(res::kFailedToCreateDocument);
    return pDoc;
}

CDocument* CDocManager::OnFileOpen()
{
    // Each file opens on its own: one that fails says so and the rest open.
    CDocument* pLast = nullptr;
    for (const QString& path : AskOpenPaths(m_templates, DialogParent()))
        if (CDocument* pDoc = OpenDocumentFile(path))
            pLast = pDoc;
    return pLast;
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
        if ((!canonical.isEmpty() && other.canonicalFilePath() == canonical) ||
            other.absoluteFilePath() == absolute)
            return e->pDoc.get();
    }
    return nullptr;
}

std::string CDocManager::GetDisplayTitle(const CDocument* pDoc) const
{
    if (!pDoc)
        return {};
    const std::string& title = pDoc->GetTitle();
    if (pDoc->GetPathName().empty())
        return title;
    std::vector<std::string> others; // open files of the same name
    for (const auto& e : m_docs) {
        const CDocument* pOther = e->pDoc.get();
        if (pOther != pDoc && !pOther->GetPathName().empty() && pOther->GetTitle() == title)
            others.push_back(pOther->GetPathName());
    }
    if (others.empty())
        return title;
    return title + " - " + FolderThatTellsApart(pDoc->GetPathName(), others);
}

void CDocManager::UpdateFrameTitles() const
{
    if (m_bClosingAll)
        return;
    for (const auto& e : m_docs)
        if (e->pFrame)
            e->pFrame->UpdateTitle();
}

CDocument* CDocManager::OpenDocumentFile(const QString& strPath)
{
    if (strPath.isEmpty())
        return nullptr;
    if (CDocument* open = FindOpenDocument(strPath)) {
        if (CChildFrame* frame = GetFrame(open))
            frame->ActivateFrame();
        return open;
    }
    CDocTemplate* pTemplate = TemplateForPath(strPath);
    if (!pTemplate) {
        AfxMessageBox(res::kFailedToOpenDocument);
        return nullptr;
    }
    std::unique_ptr<CDocument> doc = MakeDocument(*pTemplate);
    if (!doc || !CDocumentFiles::Read(*doc, strPath))
        return nullptr;
    CDocument* pDoc = Adopt(std::move(doc), pTemplate);
    if (!pDoc) {
        AfxMessageBox(res::kFailedToOpenDocument);
        return nullptr;
    }
    AddToRecentFileList(pDoc->GetPathName());
    return pDoc;
}

CDocument* CDocManager::Adopt(std::unique_ptr<CDocument> doc, CDocTemplate* pTemplate)
{
    auto entry = std::make_unique<DocEntry>();
    entry->pDoc = std::move(doc);
    entry->pTemplate = pTemplate;
    CDocument* pDoc = entry->pDoc.get();
    entry->pHistory = std::make_unique<CUndoHistory>(*pDoc);
    QObject::connect(entry->pHistory.get(), &CUndoHistory::changed, entry->pHistory.get(),
                     [this] { NotifyChange(); });
    m_docs.push_back(std::move(entry));
    if (!CreateFrame(pDoc, pTemplate)) {
        Release(Find(pDoc), false);
        return nullptr;
    }
    UpdateFrameTitles();
    NotifyChange();
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

    DocEntry* entry = Find(pDoc);
    entry->pFrame = frame;
    // A frame deleted without closing (its area going first) takes its document with it.
    const void* key = frame;
    entry->frameDestroyed = QObject::connect(frame, &QObject::destroyed, frame, [this, key] {
        // No command states are asked for here: the frame is half destroyed.
        if (DocEntry* e = FindByFrame(key)) {
            e->pFrame = nullptr;
            Release(e, false);
        }
    });
    pDoc->m_onModifiedChanged = [this, frame](bool) {
        frame->UpdateTitle();
        NotifyChange();
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
    QString path = Local(pDoc->GetPathName());
    if (bSaveAs || path.isEmpty()) {
        path = AskSavePath(*pDoc, *entry->pTemplate, DialogParent());
        if (path.isEmpty())
            return false;
    }
    if (!CDocumentFiles::Write(*pDoc, path))
        return false;
    UpdateFrameTitles();
    AddToRecentFileList(pDoc->GetPathName());
    NotifyChange(); // the title may be new
    return true;
}

namespace {
std::string SaveChangesText(const CDocument& doc)
{
    return QString::fromLatin1(res::kSaveChanges).arg(Local(doc.GetTitle())).toLocal8Bit().toStdString();
}
} // namespace

bool CDocManager::SaveModified(CDocument* pDoc)
{
    if (!pDoc || !pDoc->IsModified())
        return true;
    switch (AfxMessageBox(SaveChangesText(*pDoc), MB_YESNOCANCEL)) {
    case IDYES: return DoSave(pDoc, false);
    case IDNO: return true;
    default: return false;
    }
}

bool CDocManager::SaveAllModified()
{
    const std::vector<CDocument*> modified = GetModifiedDocuments();
    if (modified.size() < 2)
        return SaveModified(modified.empty() ? nullptr : modified.front());
    for (auto it = modified.begin(); it != modified.end(); ++it) {
        CDocument* pDoc = *it;
        if (!Find(pDoc) || !pDoc->IsModified())
            continue;
        switch (AfxMessageBox(SaveChangesText(*pDoc), MB_SAVEALLYESNOCANCEL)) {
        case IDSAVEALL: return SaveEach({it, modified.end()});
        case IDYES:
            if (!DoSave(pDoc, false))
                return false;
            break;
        case IDNO: break;
        default: return false;
        }
    }
    return true;
}

bool CDocManager::SaveAll()
{
    return SaveEach(GetModifiedDocuments());
}

bool CDocManager::SaveEach(const std::vector<CDocument*>& docs)
{
    for (CDocument* pDoc : docs)
        if (Find(pDoc) && pDoc->IsModified() && !DoSave(pDoc, false))
            return false;
    return true;
}

std::vector<CDocument*> CDocManager::GetModifiedDocuments() const
{
    std::vector<CDocument*> docs;
    for (const auto& e : m_docs)
        if (e->pDoc->IsModified())
            docs.push_back(e->pDoc.get());
    return docs;
}

void CDocManager::CloseDocument(CDocument* pDoc)
{
    DocEntry* entry = Find(pDoc);
    if (!entry)
        return;
    if (entry->pFrame)
        entry->pFrame->ForceClose(); // comes back through OnFrameClosed
    // A frame that did not close (or none at all) must not keep the document.
    if (DocEntry* left = Find(pDoc)) {
        if (left->pFrame)
            left->pFrame->m_pManager = nullptr;
        left->pFrame = nullptr;
        Release(left, true);
    }
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

CChildFrame* CDocManager::GetFrame(const CDocument* pDoc) const
{
    const DocEntry* e = Find(pDoc);
    return e ? e->pFrame : nullptr;
}

CDocManager::DocEntry* CDocManager::Find(const CDocument* pDoc) const
{
    for (const auto& e : m_docs)
        if (e->pDoc.get() == pDoc)
            return e.get();
    return nullptr;
}

CDocManager::DocEntry* CDocManager::FindByFrame(const void* pFrame) const
{
    // The frame may be half destroyed: compare addresses only.
    for (const auto& e : m_docs)
        if (e->pFrame && static_cast<const void*>(e->pFrame) == pFrame)
            return e.get();
    return nullptr;
}

bool CDocManager::CanCloseFrame(CChildFrame* pFrame)
{
    DocEntry* e = FindByFrame(pFrame);
    return !e || SaveModified(e->pDoc.get());
}

void CDocManager::OnFrameClosed(CChildFrame* pFrame)
{
    if (DocEntry* e = FindByFrame(pFrame)) {
        e->pFrame = nullptr;
        Release(e, true);
    }
}

void CDocManager::Release(DocEntry* pEntry, bool bNotify)
{
    auto it =
        std::find_if(m_docs.begin(), m_docs.end(), [pEntry](const auto& e) { return e.get() == pEntry; });
    if (it == m_docs.end())
        return;
    // Out of the list first: the document's destruction may call back.
    std::unique_ptr<DocEntry> entry = std::move(*it);
    m_docs.erase(it);
    QObject::disconnect(entry->frameDestroyed);
    entry->pDoc->m_onModifiedChanged = nullptr;
    entry.reset();
    if (bNotify) {
        UpdateFrameTitles();
        NotifyChange();
    }
}

} // namespace vantorel
