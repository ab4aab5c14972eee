#pragma once
// The application object: installs the real services, loads the recent-file
// list, registers the document kinds and opens the main window. It handles
// File New, File Open, About, and the SysEx commands.
#include <QPointer>
#include <QStringList>

#include <memory>

#include "framework/gui/CmdTarget.h"
#include "framework/gui/DocManager.h"

namespace vantorel {

class CMainFrame;
class CQtTimerService;
class CReceiveDumpDlg;

class CVantorelApp : public CCmdTarget {
public:
    struct COptions {
        // The Qt timer service, the default MIDI service and real message
        // boxes; tests install their own and leave this off.
        bool bInstallServices = true;
        // Register the five kinds (tests register kinds of their own).
        bool bRegisterKinds = true;
        bool bShowMainWindow = true;
    };

    CVantorelApp();
    ~CVantorelApp() override;
    CVantorelApp(const CVantorelApp&) = delete;
    CVantorelApp& operator=(const CVantorelApp&) = delete;

    // Start-up; false when the main window could not be made.
    bool InitInstance(const COptions& options);
    bool InitInstance() { return InitInstance(COptions{}); }

    CMainFrame* GetMainFrame() const { return m_pMainFrame.get(); }
    CDocManager& GetDocManager() { return m_docManager; }

    // Files named on the command line or dropped on the main window: .syx
    // files are imported, the others open as with File > Open.
    void OpenFiles(const QStringList& paths);
    // The Receive Dump window while it is open.
    CReceiveDumpDlg* GetReceiveDump() const;

    // The running application, or null.
    static CVantorelApp* Get();

private:
    CDocManager m_docManager;
    std::unique_ptr<CQtTimerService> m_pTimerService;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    bool m_bInstalledServices = false;
    QPointer<CReceiveDumpDlg> m_pReceiveDump;
};

} // namespace vantorel
