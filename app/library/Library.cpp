#include "app/library/Library.h"

#include <QFileInfo>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

#include "app/library/LibraryDialogs.h"
#include "app/library/LibraryScanner.h"
#include "app/library/LibraryWindow.h"
#include "framework/core/FileNames.h"
#include "framework/core/MessageBox.h"
#include "framework/core/Profile.h"
#include "framework/gui/ChildFrame.h"
#include "framework/gui/DocManager.h"
#include "library/LibraryIndex.h"
#include "transfer/kinds/DocumentKinds.h"
#include "views/ListView.h"

namespace vantorel {

namespace {
constexpr const char* kSection = "Library";
constexpr const char* kKeyShown = "Window"; // 1 when it was open at the end of the last run
} // namespace

CLibrary::CLibrary(QMainWindow& frame, CDocManager& docManager) : m_frame(frame), m_docManager(docManager)
{
    m_pWindow = new CLibraryWindow(&frame);
    m_pWindow->hide();
    frame.addDockWidget(Qt::LeftDockWidgetArea, m_pWindow);
    m_pWindow->hide();
    m_pWindow->SetOpenHandler([this](const CLibraryEntry& e) { OpenEntry(e); });
    // Open again at start when it was open at the end of the last run: once
    // the frame shows, so that what opening the index says has a window.
    if (GetProfileInt(kSection, kKeyShown, 0) != 0)
        QTimer::singleShot(0, this, [this] { ShowWindow(); });
}

CLibrary::~CLibrary()
{
    m_pScanner.reset(); // waits for a running scan before the index goes
    if (m_pWindow)
        m_pWindow->SetIndex(nullptr);
}

CLibraryWindow* CLibrary::Window() const
{
    return m_pWindow;
}

CLibraryIndex* CLibrary::Index()
{
    if (m_pIndex || m_bOpenFailed)
        return m_pIndex.get();
    std::string strError;
    m_pIndex = CLibraryIndex::Open(CLibraryIndex::DefaultPath(), strError);
    if (!m_pIndex) {
        m_bOpenFailed = true; // said once; the program goes on without
        AfxMessageBox(strError, MB_OK);
        return nullptr;
    }
    if (!m_pIndex->Notice().empty())
        AfxMessageBox(m_pIndex->Notice(), MB_OK);
    m_pScanner = std::make_unique<CLibraryScanner>(*m_pIndex, m_frame.statusBar());
    connect(m_pScanner.get(), &CLibraryScanner::indexChanged, this, [this] { m_pWindow->Reload(); });
    // A first scan takes a while: what it has found so far shows until the
    // list holds a page (reading again later would move what the user looks at).
    connect(m_pScanner.get(), &CLibraryScanner::progressed, this, [this] {
        if (m_pWindow->Model().rowCount() < CLibraryModel::kPageSize)
            m_pWindow->Reload();
    });
    m_pWindow->SetIndex(m_pIndex.get());
    // What changed while the program was not running.
    if (!m_pIndex->Folders().empty())
        m_pScanner->Start();
    return m_pIndex.get();
}

bool CLibrary::IsScanning() const
{
    return m_pScanner && m_pScanner->IsScanning();
}

bool CLibrary::IsWindowShown() const
{
    return m_pWindow && m_pWindow->isVisible();
}

void CLibrary::ShowWindow()
{
    Index();
    m_pWindow->show();
    m_pWindow->raise();
}

void CLibrary::ToggleWindow()
{
    if (IsWindowShown())
        m_pWindow->hide();
    else
        ShowWindow();
}

void CLibrary::Find()
{
    ShowWindow();
    m_pWindow->FocusSearch();
}

void CLibrary::ShowFolders()
{
    CLibraryIndex* pIndex = Index();
    if (!pIndex)
        return;
    CLibraryFoldersDlg dlg(*pIndex, OfferedFolders(), &m_frame);
    dlg.exec();
    if (dlg.Changed()) {
        m_pWindow->Reload();
        Scan();
    }
}

void CLibrary::Scan()
{
    if (Index())
        m_pScanner->Start();
}

void CLibrary::StopScan()
{
    if (m_pScanner)
        m_pScanner->Stop();
}

void CLibrary::ShowProblems()
{
    if (CLibraryIndex* pIndex = Index())
        ShowLibraryProblems(*pIndex, &m_frame);
}

void CLibrary::ShowDuplicates()
{
    if (CLibraryIndex* pIndex = Index())
        ShowLibraryDuplicates(*pIndex, &m_frame);
}

std::vector<std::string> CLibrary::OfferedFolders() const
{
    std::vector<std::string> folders;
    auto offer = [&folders](const std::string& strFile) {
        if (strFile.empty())
            return;
        const std::string dir = EncodeFileName(QFileInfo(DecodeFileName(strFile)).absolutePath());
        if (std::find(folders.begin(), folders.end(), dir) == folders.end())
            folders.push_back(dir);
    };
    for (const CDocument* pDoc : m_docManager.GetDocuments())
        offer(pDoc->GetPathName());
    for (const std::string& file : m_docManager.GetRecentFiles())
        offer(file);
    return folders;
}

void CLibrary::OpenEntry(const CLibraryEntry& entry)
{
    const QString strPath = DecodeFileName(entry.strFile);
    if (!DocumentKinds().FromExtension(entry.strFile)) {
        // A .syx file is imported, as when it is dropped on the window.
        if (m_onOpenFiles)
            m_onOpenFiles({strPath});
        return;
    }
    CDocument* pDoc = m_docManager.OpenDocumentFile(strPath);
    CChildFrame* pFrame = pDoc ? m_docManager.GetFrame(pDoc) : nullptr;
    if (!pFrame)
        return;
    pFrame->ActivateFrame();
    if (auto* pView = dynamic_cast<CListView*>(pFrame->GetActiveView())) {
        pView->ShowEntry(entry.nEntry, entry.nPart);
        pView->setFocus();
    }
}

} // namespace vantorel
