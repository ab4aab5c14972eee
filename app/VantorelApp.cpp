#include "app/VantorelApp.h"

#include <QApplication>

#include "app/AboutBox.h"
#include "app/MainFrame.h"
#include "app/Resource.h"
#include "framework/core/MessageBox.h"
#include "framework/core/QtTimerService.h"
#include "framework/gui/QtMessageBox.h"
#include "app/DefaultMidiService.h"
#include "res/Strings.h"
#include "app/DocKinds.h"

namespace vantorel {

namespace {
CVantorelApp* g_pApp = nullptr;
}

CVantorelApp* CVantorelApp::Get() { return g_pApp; }

CVantorelApp::CVantorelApp()
{
    g_pApp = this;
    OnCommand(ID_FILE_NEW, [this] { m_docManager.OnFileNew(); });
    OnCommand(ID_FILE_OPEN, [this] { m_docManager.OnFileOpen(); });
    OnCommand(ID_APP_ABOUT, [this] {
        CAboutBox dlg(m_pMainFrame.get());
        dlg.DoModal();
    });
}

CVantorelApp::~CVantorelApp()
{
    // The frame writes its settings and closes what is still open while the
    // services it uses are still there.
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
    if (options.bShowMainWindow) {
        m_pMainFrame->show();
        m_pMainFrame->repaint();
    }
    return true;
}

} // namespace vantorel
