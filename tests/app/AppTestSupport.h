#pragma once
// Shared set-up for the shell's tests: an empty profile, a virtual clock, a
// scripted MIDI service, and a main frame over five test document kinds that
// carry the program's kind ids 130 to 134 (so the menus per kind show)
// without depending on the list windows.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>

#include <memory>

#include <QAction>
#include <QMenuBar>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "framework/core/MessageBox.h"
#include "support/MessageBoxRecorder.h"
#include "framework/core/Profile.h"
#include "framework/core/VirtualClock.h"
#include "framework/gui/ChildFrame.h"
#include "framework/gui/Dialog.h"
#include "framework/gui/DocManager.h"
#include "framework/TestDocKinds.h"
#include "midi/FakeMidiService.h"
#include "views/CopyBuffer.h"
#include "support/GuiTestPeers.h"

namespace vantorel::test {

// Stands in for the application object: handles New, Open and About by
// counting them.
class CStandInApp : public CCmdTarget {
public:
    CStandInApp()
    {
        for (int id : {57600, 57601, 57664})
            OnCommand(id, [this, id] { ++m_calls[id]; });
    }
    std::map<int, int> m_calls;
};

class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile::remove(QString::fromStdString(GetProfilePath()));
        CTimerService::Install(&m_clock);
        m_midi.m_ins = {"In A", "In B", "In C"};
        m_midi.m_outs = {"Out A", "Out B"};
        CMidiService::Install(&m_midi);
        CCopyBuffer::Get().Empty();
    }
    void TearDown() override
    {
        CDialogTestPeer::SetModalHook({});
        m_pFrame.reset();
        m_pManager.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CCopyBuffer::Get().Empty();
        CMidiService::Install(nullptr);
        CTimerService::Install(nullptr);
    }
    // The frame reads the profile when it is made: write settings first.
    void MakeFrame()
    {
        m_pManager = std::make_unique<CDocManager>();
        const char* names[] = {"Alpha", "Beta", "Gamma", "Delta", "Epsilon"};
        for (int k = 0; k < 5; ++k)
            m_pManager->AddDocTemplate(MakeTestTemplate(130 + k, names[k],
                                                        "." + std::string(names[k]).substr(0, 3),
                                                        std::string(names[k]) + "DOCUMENT"));
        m_pFrame = std::make_unique<CMainFrame>(m_pManager.get());
        m_pFrame->SetAppTarget(&m_app);
        m_pFrame->show();
    }
    // Destroys the frame, which writes its settings.
    void DestroyFrame()
    {
        m_pFrame.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    CTestView* OpenKind(int nKindIndex, CDocument** ppDoc = nullptr)
    {
        CDocument* doc = m_pManager->OpenNewDocument(m_pManager->GetTemplates()[size_t(nKindIndex)].get());
        if (ppDoc)
            *ppDoc = doc;
        return dynamic_cast<CTestView*>(m_pManager->GetFrame(doc)->GetActiveView());
    }
    bool Enabled(int nId) const { return m_pFrame->CommandAction(nId)->isEnabled(); }

    CStandInApp m_app;
    CVirtualClock m_clock;
    CFakeMidiService m_midi;
    std::unique_ptr<CDocManager> m_pManager;
    std::unique_ptr<CMainFrame> m_pFrame;
};

// The whole application with the program's five document kinds, over the
// test's clock and MIDI service.
class AppStartTest : public AppTest {
protected:
    void StartApp()
    {
        m_pApp = std::make_unique<CVantorelApp>();
        CVantorelApp::COptions options;
        options.bInstallServices = false; // the test's clock and MIDI service stay
        ASSERT_TRUE(m_pApp->InitInstance(options));
    }
    void TearDown() override
    {
        SetFileDialogPresenter({});
        m_pApp.reset();
        AppTest::TearDown();
    }
    CMainFrame* Frame() { return m_pApp->GetMainFrame(); }
    QStringList MenuTitles()
    {
        QStringList t;
        for (QAction* a : Frame()->menuBar()->actions())
            t << a->text();
        return t;
    }
    std::unique_ptr<CVantorelApp> m_pApp;
};

} // namespace vantorel::test
