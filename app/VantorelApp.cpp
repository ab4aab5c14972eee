#include "app/VantorelApp.h"

#include <QApplication>
#include <QStatusBar>

#include "app/AboutBox.h"
#include "app/BackupFolder.h"
#include "app/GetEverything.h"
#include "app/UserGuide.h"
#include "app/MainFrame.h"
#include "app/ReceiveDumpDlg.h"
#include "app/SysExFiles.h"
#include "transfer/kinds/DocumentKinds.h"
#include "app/Resource.h"
#include "framework/core/MessageBox.h"
#include "framework/core/QtTimerService.h"
#include "framework/gui/QtMessageBox.h"
#include "devices/DefaultMidiService.h"
#include "res/Strings.h"
#include "app/DocKinds.h"

namespace vantorel {

namespace {
CVantorelApp* g_pApp = nullptr;
// How long a line saying what was done stays in the status bar.
constexpr int kDoneMessageMs = 10'000;
} // namespace

CVantorelApp* CVantorelApp::Get()
{
    return g_pApp;
}

CVantorelApp::CVantorelApp()
{
    g_pApp = this;
    OnCommand(ID_FILE_NEW, [this] { m_docManager.OnFileNew(); });
    OnCommand(ID_FILE_OPEN, [this] { m_docManager.OnFileOpen(); });
    OnCommand(ID_APP_ABOUT, [this] {
        CAboutBox dlg(m_pMainFrame.get());
        dlg.DoModal();
    });
    const auto activeDoc = [this] { return m_pMainFrame ? m_pMainFrame->GetActiveDocument() : nullptr; };
    OnCommand(ID_IMPORT_SYSEX,
              [this, activeDoc] { OnImportSysEx(m_docManager, activeDoc(), m_pMainFrame.get()); });
    OnCommand(
        ID_EXPORT_SYSEX,
        [this, activeDoc] {
            if (CDocument* pDoc = activeDoc())
                ExportSysExFile(*pDoc, m_pMainFrame->GetActiveView(), m_pMainFrame.get());
        },
        [activeDoc](CCmdUI& ui) { ui.Enable(activeDoc() && DocumentKinds().Of(*activeDoc())); });
    OnCommand(
        ID_FILE_SAVE_ALL, [this] { m_docManager.SaveAll(); },
        [this](CCmdUI& ui) { ui.Enable(!m_docManager.GetModifiedDocuments().empty()); });
    OnCommand(ID_GET_EVERYTHING, [this] {
        if (m_pMainFrame)
            GetEverything(m_docManager, *m_pMainFrame);
    });
    OnCommand(
        ID_BACK_UP_TO_FOLDER,
        [this, activeDoc] {
            const QString done = BackUpToFolder(m_docManager, activeDoc(), m_pMainFrame.get());
            if (!done.isEmpty() && m_pMainFrame)
                m_pMainFrame->statusBar()->showMessage(done, kDoneMessageMs);
        },
        [this, activeDoc](CCmdUI& ui) { ui.Enable(!BackupDocuments(m_docManager, activeDoc()).empty()); });
    OnCommand(ID_HELP_USER_GUIDE, [] { OpenUserGuide(); });
    OnCommand(ID_RECEIVE_DUMP, [this] {
        if (m_pReceiveDump) {
            m_pReceiveDump->raise();
            m_pReceiveDump->activateWindow();
            return;
        }
        auto* pDlg = new CReceiveDumpDlg(m_docManager, m_pMainFrame.get());
        pDlg->setAttribute(Qt::WA_DeleteOnClose, false);
        m_pReceiveDump = pDlg;
        pDlg->show();
        if (!pDlg->Start())
            pDlg->Stop();
    });
}

CReceiveDumpDlg* CVantorelApp::GetReceiveDump() const
{
    return m_pReceiveDump.data();
}

void CVantorelApp::OpenFiles(const QStringList& paths)
{
    OpenHandedFiles(m_docManager, paths, m_pMainFrame ? m_pMainFrame->GetActiveDocument() : nullptr);
}

CVantorelApp::~CVantorelApp()
{
    // The frame writes its settings and closes what is still open while the
    // services it uses are still there.
    delete m_pReceiveDump.data();
    m_pMainFrame.reset();
    m_docManager.CloseAllDocuments();
    if (m_bInstalledServices) {
        CTimerService::Install(nullptr);
        SetMessageBoxHandler({});
    }
    m_pTimerService.reset();
    if (g_pApp == this)
        g_pApp = nullptr;
}

bool CVantorelApp::InitInstance(const COptions& options)
{
    if (options.bInstallServices) {
        InstallQtMessageBoxHandler(QString::fromLatin1(res::kAppTitle));
        m_pTimerService = std::make_unique<CQtTimerService>();
        CTimerService::Install(m_pTimerService.get());
        CreateDefaultMidiService();
        m_bInstalledServices = true;
    }
    // The profile's own settings: the recent-file list of 4.
    m_docManager.LoadRecentFileList();
    if (options.bRegisterKinds)
        RegisterDocumentKinds(m_docManager);

    m_pMainFrame = std::make_unique<CMainFrame>(&m_docManager);
    m_pMainFrame->SetAppTarget(this);
    m_pMainFrame->SetDropHandler([this](const QStringList& paths) { OpenFiles(paths); });
    if (options.bShowMainWindow) {
        m_pMainFrame->show();
        m_pMainFrame->repaint();
    }
    return true;
}

} // namespace vantorel
