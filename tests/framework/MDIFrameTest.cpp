// The main-window base: command routing through view, child frame, frame and
// application; automatic disabling; menus switched by the active kind; the
// bar toggles; tiling side by side.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>

#include "framework/core/MessageBox.h"
#include "framework/gui/ChildFrame.h"
#include "framework/gui/MDIFrameWnd.h"
#include "framework/TestDocKinds.h"

namespace vantorel::test {
namespace {

constexpr int kCmdA = 40001; // handled by views
constexpr int kCmdB = 40002; // handled by the frame
constexpr int kCmdC = 40003; // handled by the application
constexpr int kCmdD = 40004; // handled by no one

class CCountingTarget : public CCmdTarget {
public:
    void Handle(int nId, bool bEnabled = true)
    {
        OnCommand(
            nId, [this, nId] { ++m_calls[nId]; }, [bEnabled](CCmdUI& ui) { ui.Enable(bEnabled); });
    }
    std::map<int, int> m_calls;
};

class CTestFrame : public CMDIFrameWnd {
public:
    using CMDIFrameWnd::CMDIFrameWnd;
    void Handle(int nId)
    {
        OnCommand(nId, [this, nId] { ++m_calls[nId]; });
    }
    std::map<int, int> m_calls;
};

class MDIFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterTestKinds(m_manager);
        m_pFrame = std::make_unique<CTestFrame>(&m_manager);
        m_pFrame->SetAppTarget(&m_app);
        for (int id : {kCmdA, kCmdB, kCmdC, kCmdD})
            m_pFrame->AddCommandAction(id, QStringLiteral("Command %1").arg(id),
                                       QStringLiteral("Prompt\nTip"));
        m_pFrame->Handle(kCmdB);
        m_app.Handle(kCmdC);
        m_app.Handle(kCmdA); // also the application's, but views come first
        m_pFrame->resize(900, 600);
        m_pFrame->show();
    }
    void TearDown() override
    {
        m_pFrame.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    CTestView* NewView(int nKind)
    {
        CDocument* doc = m_manager.OpenNewDocument(m_manager.GetTemplates()[size_t(nKind)].get());
        return dynamic_cast<CTestView*>(m_manager.GetFrame(doc)->GetActiveView());
    }

    CDocManager m_manager;
    CCountingTarget m_app;
    std::unique_ptr<CTestFrame> m_pFrame;
};

TEST_F(MDIFrameTest, CommandsGoToTheFirstTargetThatHandlesThem)
{
    CTestView* view = NewView(0);
    view->Handle(kCmdA);
    EXPECT_TRUE(m_pFrame->RouteCommand(kCmdA));
    EXPECT_EQ(view->m_calls[kCmdA], 1);
    EXPECT_EQ(m_app.m_calls[kCmdA], 0);
    EXPECT_TRUE(m_pFrame->RouteCommand(kCmdB));
    EXPECT_EQ(m_pFrame->m_calls[kCmdB], 1);
    EXPECT_TRUE(m_pFrame->RouteCommand(kCmdC));
    EXPECT_EQ(m_app.m_calls[kCmdC], 1);
    EXPECT_FALSE(m_pFrame->RouteCommand(kCmdD));

    // A second window that does not handle A: A falls through to the application.
    NewView(1);
    EXPECT_TRUE(m_pFrame->RouteCommand(kCmdA));
    EXPECT_EQ(view->m_calls[kCmdA], 1);
    EXPECT_EQ(m_app.m_calls[kCmdA], 1);
}

TEST_F(MDIFrameTest, ActionsWithoutAReceiverAreDisabled)
{
    m_pFrame->UpdateAllCmdUI();
    EXPECT_TRUE(m_pFrame->CommandAction(kCmdB)->isEnabled());
    EXPECT_TRUE(m_pFrame->CommandAction(kCmdC)->isEnabled());
    EXPECT_FALSE(m_pFrame->CommandAction(kCmdD)->isEnabled());
    // The child frame's file commands exist only with a window.
    m_pFrame->AddCommandAction(ID_FILE_SAVE, QStringLiteral("Save"));
    m_pFrame->UpdateAllCmdUI();
    EXPECT_FALSE(m_pFrame->CommandAction(ID_FILE_SAVE)->isEnabled());
    NewView(0);
    EXPECT_TRUE(m_pFrame->CommandAction(ID_FILE_SAVE)->isEnabled());

    // An update handler may disable a command it handles; then it does not run.
    m_app.Handle(kCmdC, false);
    m_pFrame->UpdateAllCmdUI();
    EXPECT_FALSE(m_pFrame->CommandAction(kCmdC)->isEnabled());
    EXPECT_FALSE(m_pFrame->RouteCommand(kCmdC));
    EXPECT_EQ(m_app.m_calls[kCmdC], 0);

    // Triggering the action runs the command through the chain.
    m_pFrame->CommandAction(kCmdB)->trigger();
    EXPECT_EQ(m_pFrame->m_calls[kCmdB], 1);
    EXPECT_EQ(m_pFrame->CommandAction(kCmdB)->statusTip(), QStringLiteral("Prompt"));
    EXPECT_EQ(m_pFrame->CommandAction(kCmdB)->toolTip(), QStringLiteral("Tip"));
}

TEST_F(MDIFrameTest, MenuBarFollowsTheActiveWindowsKind)
{
    auto* none = new QMenu(QStringLiteral("None"), m_pFrame.get());
    auto* alpha = new QMenu(QStringLiteral("Alpha"), m_pFrame.get());
    auto* beta = new QMenu(QStringLiteral("Beta"), m_pFrame.get());
    m_pFrame->SetMenuBarMenus(CMDIFrameWnd::kNoDocumentMenu, {none});
    m_pFrame->SetMenuBarMenus(130, {alpha});
    m_pFrame->SetMenuBarMenus(131, {alpha, beta});
    auto titles = [this] {
        QStringList t;
        for (QAction* a : m_pFrame->menuBar()->actions())
            t << a->text();
        return t;
    };
    EXPECT_EQ(titles(), QStringList{"None"});
    CTestView* a = NewView(0);
    EXPECT_EQ(titles(), QStringList{"Alpha"});
    CTestView* b = NewView(1);
    EXPECT_EQ(titles(), (QStringList{"Alpha", "Beta"}));
    CChildFrame::FromView(a)->ActivateFrame();
    EXPECT_EQ(titles(), QStringList{"Alpha"});
    CChildFrame::FromView(a)->close();
    EXPECT_EQ(titles(), (QStringList{"Alpha", "Beta"}));
    CChildFrame::FromView(b)->close();
    EXPECT_EQ(titles(), QStringList{"None"});
}

TEST_F(MDIFrameTest, TitleCarriesTheActiveDocument)
{
    m_pFrame->SetTitleBase(QStringLiteral("Main"));
    EXPECT_EQ(m_pFrame->windowTitle(), QStringLiteral("Main"));
    NewView(1);
    EXPECT_EQ(m_pFrame->windowTitle(), QStringLiteral("Main - Beta1"));
}

TEST_F(MDIFrameTest, BarTogglesShowHideAndCheck)
{
    auto* bar = new QToolBar(m_pFrame.get());
    m_pFrame->addToolBar(bar);
    bar->show(); // made after the frame was shown
    m_pFrame->statusBar()->show();
    m_pFrame->SetControlBars(bar, m_pFrame->statusBar());
    m_pFrame->AddCommandAction(ID_VIEW_TOOLBAR, QStringLiteral("Tool Bar"));
    m_pFrame->AddCommandAction(ID_VIEW_STATUS_BAR, QStringLiteral("Status Bar"));
    m_pFrame->UpdateAllCmdUI();
    QAction* tool = m_pFrame->CommandAction(ID_VIEW_TOOLBAR);
    QAction* status = m_pFrame->CommandAction(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(tool->isChecked());
    EXPECT_TRUE(status->isChecked());
    tool->trigger();
    EXPECT_TRUE(bar->isHidden());
    EXPECT_FALSE(tool->isChecked());
    status->trigger();
    EXPECT_TRUE(m_pFrame->statusBar()->isHidden());
    EXPECT_FALSE(status->isChecked());
    tool->trigger();
    EXPECT_FALSE(bar->isHidden());
    EXPECT_TRUE(tool->isChecked());
}

TEST_F(MDIFrameTest, TilePlacesWindowsSideBySide)
{
    NewView(0);
    NewView(1);
    m_pFrame->RouteCommand(ID_WINDOW_TILE_VERT);
    const auto windows = m_pFrame->GetMdiArea()->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(windows.size(), 2);
    const QRect area = m_pFrame->GetMdiArea()->viewport()->rect();
    const QRect r0 = windows[0]->geometry();
    const QRect r1 = windows[1]->geometry();
    EXPECT_EQ(r0.top(), area.top());
    EXPECT_EQ(r1.top(), area.top());
    EXPECT_EQ(r0.height(), area.height());
    EXPECT_EQ(r1.height(), area.height());
    EXPECT_EQ(r0.left(), area.left());
    EXPECT_EQ(r0.right() + 1, r1.left());
    EXPECT_EQ(r1.right(), area.right());

    // Five windows: three columns, every window inside the area, none overlapping.
    NewView(0);
    NewView(1);
    NewView(0);
    m_pFrame->RouteCommand(ID_WINDOW_TILE_VERT);
    const auto all = m_pFrame->GetMdiArea()->subWindowList(QMdiArea::CreationOrder);
    for (int i = 0; i < all.size(); ++i) {
        EXPECT_TRUE(area.contains(all[i]->geometry())) << i;
        for (int j = i + 1; j < all.size(); ++j)
            EXPECT_FALSE(all[i]->geometry().intersects(all[j]->geometry())) << i << " " << j;
    }
}

// Nothing polls: each event that can change a command's state or the title
// brings them up to date before it returns, with no event loop run.
TEST_F(MDIFrameTest, StatesAndTitleAreRightRightAfterEachEventThatChangesThem)
{
    constexpr int kCmdModified = 40005; // enabled while the view's document is modified
    m_pFrame->AddCommandAction(kCmdModified, QStringLiteral("Modified only"));
    m_pFrame->AddCommandAction(ID_FILE_SAVE, QStringLiteral("Save"));
    m_pFrame->SetTitleBase(QStringLiteral("Main"));
    QAction* modifiedOnly = m_pFrame->CommandAction(kCmdModified);
    QAction* save = m_pFrame->CommandAction(ID_FILE_SAVE);

    // A document opened.
    CTestView* alpha = NewView(0);
    CDocument* doc = alpha->GetDocument();
    alpha->HandleWhen(kCmdModified, [doc] { return doc->IsModified(); });
    EXPECT_TRUE(save->isEnabled());
    EXPECT_EQ(m_pFrame->windowTitle(), QStringLiteral("Main - Alpha1"));

    // The modified flag set and cleared.
    EXPECT_FALSE(modifiedOnly->isEnabled());
    doc->SetModifiedFlag(true);
    EXPECT_TRUE(modifiedOnly->isEnabled());
    doc->SetModifiedFlag(false);
    EXPECT_FALSE(modifiedOnly->isEnabled());
    doc->SetModifiedFlag(true);

    // Another window activated, then this one again.
    NewView(1);
    EXPECT_FALSE(modifiedOnly->isEnabled());
    EXPECT_EQ(m_pFrame->windowTitle(), QStringLiteral("Main - Beta1"));
    CChildFrame::FromView(alpha)->ActivateFrame();
    EXPECT_TRUE(modifiedOnly->isEnabled());
    EXPECT_EQ(m_pFrame->windowTitle(), QStringLiteral("Main - Alpha1"));

    // A command run: Save As renames the document and clears its flag.
    CFileDialogScript files;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    files.m_answers = {dir.filePath(QStringLiteral("kept.alp"))};
    m_pFrame->AddCommandAction(ID_FILE_SAVE_AS, QStringLiteral("Save As"))->trigger();
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(modifiedOnly->isEnabled());
    EXPECT_EQ(m_pFrame->windowTitle(), QStringLiteral("Main - kept.alp"));

    // Saved outside any command (the save question when a window closes).
    doc->SetModifiedFlag(true);
    EXPECT_TRUE(m_manager.DoSave(doc, false));
    EXPECT_FALSE(modifiedOnly->isEnabled());

    // A state changed behind the frame's back shows when a menu opens.
    m_app.Handle(kCmdC, false);
    EXPECT_TRUE(m_pFrame->CommandAction(kCmdC)->isEnabled());
    auto* menu = new QMenu(QStringLiteral("Menu"), m_pFrame.get());
    m_pFrame->SetMenuBarMenus(CMDIFrameWnd::kNoDocumentMenu, {menu});
    emit menu->aboutToShow();
    EXPECT_FALSE(m_pFrame->CommandAction(kCmdC)->isEnabled());

    // Documents closed without a command: nothing is left enabled for them.
    m_manager.CloseAllDocuments();
    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(modifiedOnly->isEnabled());
    EXPECT_EQ(m_pFrame->windowTitle(), QStringLiteral("Main"));
}

TEST_F(MDIFrameTest, WindowCommandsNeedAWindow)
{
    for (int id : {ID_WINDOW_TILE_VERT, ID_WINDOW_CASCADE, ID_WINDOW_ARRANGE})
        m_pFrame->AddCommandAction(id, QStringLiteral("w"));
    m_pFrame->UpdateAllCmdUI();
    EXPECT_FALSE(m_pFrame->CommandAction(ID_WINDOW_TILE_VERT)->isEnabled());
    NewView(0);
    EXPECT_TRUE(m_pFrame->CommandAction(ID_WINDOW_TILE_VERT)->isEnabled());
    EXPECT_TRUE(m_pFrame->CommandAction(ID_WINDOW_CASCADE)->isEnabled());
    EXPECT_TRUE(m_pFrame->CommandAction(ID_WINDOW_ARRANGE)->isEnabled());
}

} // namespace
} // namespace vantorel::test
