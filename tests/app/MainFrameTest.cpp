// The main frame: menus per active kind, the toolbar and its enabling, the
// status bar, the Send Data switch and the settings it keeps in the profile.
#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "app/AppTestSupport.h"
#include "app/DocKinds.h"
#include "app/Resource.h"
#include "data/PatchDoc.h"
#include "views/CopyBuffer.h"
#include "views/PatchView.h"
#include "views/PerformView.h"
#include "views/ProgramSwitches.h"
#include "support/MessageBoxRecorder.h"
#include "support/GuiTestPeers.h"

namespace vantorel::test {
namespace {

using MainFrameTest = AppTest;

QStringList MenuTitles(QMainWindow* w)
{
    QStringList t;
    for (QAction* a : w->menuBar()->actions())
        t << a->text();
    return t;
}

// Item texts of one menu-bar menu; "-" for a separator.
QStringList Items(QMainWindow* w, int nMenu, std::vector<int>* pIds = nullptr)
{
    QStringList t;
    QMenu* m = w->menuBar()->actions().at(nMenu)->menu();
    for (QAction* a : m->actions()) {
        t << (a->isSeparator() ? QStringLiteral("-") : a->text());
        if (pIds)
            pIds->push_back(a->isSeparator() ? 0 : a->data().toInt());
    }
    return t;
}

const QStringList kSetupItems{"&Tool Bar",         "&Status Bar", "Send &Data",      "&MIDI Setup...",
                              "&Preview Setup...", "-",           "&Receive Dump..."};

TEST_F(MainFrameTest, WithoutAWindowTheMenuIsFileSetupHelp)
{
    MakeFrame();
    EXPECT_EQ(m_pFrame->windowTitle(), QStringLiteral("Vantorel"));
    EXPECT_EQ(MenuTitles(m_pFrame.get()), (QStringList{"&File", "&Setup", "&Library", "&Help"}));
    std::vector<int> ids;
    EXPECT_EQ(Items(m_pFrame.get(), 0, &ids),
              (QStringList{"&New...\tCtrl+N", "&Open...\tCtrl+O", "-", "Get &Everything...", "-",
                           "&Import SysEx...", "-", "E&xit"}));
    EXPECT_EQ(ids, (std::vector<int>{57600, 57601, 0, 32871, 0, 32793, 0, 57665}));
    ids.clear();
    EXPECT_EQ(Items(m_pFrame.get(), 1, &ids), kSetupItems);
    EXPECT_EQ(ids, (std::vector<int>{59392, 59393, 32776, 32770, 32771, 0, 32795}));
    ids.clear();
    EXPECT_EQ(Items(m_pFrame.get(), 3, &ids), (QStringList{"&User Guide", "-", "&About Vantorel..."}));
    EXPECT_EQ(ids, (std::vector<int>{32873, 0, 57664}));
}

TEST_F(MainFrameTest, EachKindShowsEditAndItsOwnMenuBetweenFileAndSetup)
{
    MakeFrame();
    struct Expected {
        QString title;
        QStringList items;
        std::vector<int> ids;
    };
    const Expected kinds[] = {
        {"&Patch", {"&Get Patch...", "&Send Patch..."}, {32780, 32781}},
        {"&Performance", {"&Get Performance...", "&Send Performance..."}, {32782, 32783}},
        {"S&ystem", {"&Get System...", "&Send System..."}, {32786, 32787}},
        {"&Pattern", {"&Get Pattern...", "&Send Pattern..."}, {32784, 32785}},
        {"&Motion", {"&Get Motion...", "&Send Motion..."}, {32788, 32789}},
    };
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        CDocument* doc = nullptr;
        OpenKind(k, &doc);
        EXPECT_EQ(m_pFrame->windowTitle(),
                  QStringLiteral("Vantorel - ") + QString::fromStdString(doc->GetTitle()));
        EXPECT_EQ(MenuTitles(m_pFrame.get()),
                  (QStringList{"&File", "&Edit", kinds[k].title, "&Setup", "&Window", "&Library", "&Help"}));
        std::vector<int> ids;
        EXPECT_EQ(
            Items(m_pFrame.get(), 0, &ids),
            (QStringList{"&New...\tCtrl+N", "&Open...\tCtrl+O", "&Close", "&Save\tCtrl+S", "Save &As...",
                         "Save A&ll", "-", "Get &Everything...", "&Back Up To Folder...", "-",
                         "&Import SysEx...", "&Export SysEx...", "-", "Co&mpare...", "-", "E&xit"}));
        EXPECT_EQ(ids, (std::vector<int>{57600, 57601, 57602, 57603, 57604, 32870, 0, 32871, 32872, 0, 32793,
                                         32794, 0, 32874, 0, 57665}));
        ids.clear();
        EXPECT_EQ(Items(m_pFrame.get(), 2, &ids), kinds[k].items);
        EXPECT_EQ(ids, kinds[k].ids);
        EXPECT_EQ(Items(m_pFrame.get(), 3), kSetupItems);
        ids.clear();
        EXPECT_EQ(Items(m_pFrame.get(), 4, &ids), (QStringList{"&Cascade", "&Tile", "&Arrange Icons"}));
        EXPECT_EQ(ids, (std::vector<int>{57650, 57652, 57649}));
    }
    // The Window menu lists the open windows when it opens.
    QMenu* window = m_pFrame->menuBar()->actions().at(4)->menu();
    emit window->aboutToShow();
    const QStringList items = Items(m_pFrame.get(), 4);
    ASSERT_EQ(items.size(), 3 + 1 + 5);
    EXPECT_EQ(items[4], QStringLiteral("&1 Alpha1"));
    EXPECT_EQ(items[8], QStringLiteral("&5 Epsilon1"));
}

// The frame with its Edit menu open, written to $VANTOREL_SCREENSHOT_DIR/edit-menu.png
// when that variable is set (how docs/edit-menu.png is made).
void SaveEditMenuPicture(QMainWindow* frame)
{
    const char* dir = std::getenv("VANTOREL_SCREENSHOT_DIR");
    if (!dir)
        return;
    frame->resize(640, 420);
    QApplication::processEvents();
    QImage shot = frame->grab().toImage();
    QAction* edit = frame->menuBar()->actions().at(1);
    QMenu* menu = edit->menu();
    const QPoint at = frame->menuBar()->mapTo(frame, frame->menuBar()->actionGeometry(edit).bottomLeft());
    emit menu->aboutToShow();
    menu->popup(frame->mapToGlobal(at));
    QApplication::processEvents();
    QPainter p(&shot);
    p.drawPixmap(at, menu->grab());
    p.end();
    menu->hide();
    shot.save(QString::fromUtf8(dir) + "/edit-menu.png");
}

TEST_F(MainFrameTest, TheEditMenuNamesTheStepToUndoAndUndoReachesTheSavedState)
{
    m_pManager = std::make_unique<CDocManager>();
    RegisterDocumentKinds(*m_pManager);
    m_pFrame = std::make_unique<CMainFrame>(m_pManager.get());
    m_pFrame->SetAppTarget(&m_app);
    m_pFrame->show();
    auto* doc = dynamic_cast<CPatchDoc*>(m_pManager->OpenNewDocument(m_pManager->GetTemplates()[0].get()));
    ASSERT_NE(doc, nullptr);
    std::vector<int> ids;
    EXPECT_EQ(MenuTitles(m_pFrame.get()).mid(0, 3), (QStringList{"&File", "&Edit", "&Patch"}));
    EXPECT_EQ(Items(m_pFrame.get(), 1, &ids),
              (QStringList{"&Undo\tCtrl+Z", "&Redo\tCtrl+Y", "-", "&Copy\tCtrl+C", "&Paste\tCtrl+V", "-",
                           "Re&name...\tF2", "&Initialize\tDel"}));
    EXPECT_EQ(ids, (std::vector<int>{57643, 57644, 0, 57634, 57637, 0, 32850, 57632}));
    EXPECT_EQ(m_pFrame->CommandAction(57644)->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                   QKeySequence(Qt::CTRL | Qt::Key_Y)}));
    EXPECT_EQ(m_pFrame->CommandAction(57632)->shortcut(), QKeySequence(Qt::Key_Delete));
    // Nothing done and nothing selected.
    for (int id : {57643, 57644, 57634, 57637, 32850, 57632})
        EXPECT_FALSE(Enabled(id)) << id;

    CPatchRecord named;
    named.SetName("LEAD");
    ASSERT_TRUE(doc->RenamePatch(0, named.NameField()));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(Enabled(57643));
    EXPECT_EQ(m_pFrame->CommandAction(57643)->text(), QStringLiteral("&Undo Rename\tCtrl+Z"));
    EXPECT_TRUE(m_pFrame->RouteCommand(57643));
    EXPECT_EQ(doc->m_aPatch[0], CPatchRecord());
    EXPECT_FALSE(doc->IsModified()); // no "*" and no question on closing
    EXPECT_FALSE(m_pFrame->windowTitle().contains('*'));
    EXPECT_EQ(m_pFrame->CommandAction(57643)->text(), QStringLiteral("&Undo\tCtrl+Z"));
    EXPECT_EQ(m_pFrame->CommandAction(57644)->text(), QStringLiteral("&Redo Rename\tCtrl+Y"));
    EXPECT_TRUE(m_pFrame->RouteCommand(57644));
    EXPECT_EQ(doc->m_aPatch[0].GetName(), named.GetName());
    EXPECT_TRUE(doc->IsModified());

    // With a row selected the row commands are there too.
    SetSendDataSwitch(0);
    CScrollView* view = m_pManager->GetFrame(doc)->GetActiveView();
    CScrollViewTestPeer::LButtonDown(*view, MK_LBUTTON, QPoint(50, 21));
    m_pFrame->UpdateAllCmdUI();
    for (int id : {57634, 32850, 57632})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(57637)); // nothing held to paste
    SaveEditMenuPicture(m_pFrame.get());
}

// The menu and its keys follow what the user does in a list window without
// anything else refreshing them: a click selects a row, and Ctrl+C, F2 and
// Delete are there for that row at once; Shift-click picks it up for Ctrl+V.
TEST_F(MainFrameTest, TheRowCommandsFollowAClickWithoutARefresh)
{
    m_pManager = std::make_unique<CDocManager>();
    RegisterDocumentKinds(*m_pManager);
    m_pFrame = std::make_unique<CMainFrame>(m_pManager.get());
    m_pFrame->SetAppTarget(&m_app);
    m_pFrame->show();
    auto* doc = dynamic_cast<CPatchDoc*>(m_pManager->OpenNewDocument(m_pManager->GetTemplates()[0].get()));
    ASSERT_NE(doc, nullptr);
    SetSendDataSwitch(0);
    QCoreApplication::processEvents();
    for (int id : {57634, 57637, 32850, 57632})
        ASSERT_FALSE(Enabled(id)) << id;

    QWidget* viewport = m_pManager->GetFrame(doc)->GetActiveView()->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(50, 21));
    QCoreApplication::processEvents();
    for (int id : {57634, 32850, 57632})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(57637)); // nothing held to paste

    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, QPoint(50, 21));
    QCoreApplication::processEvents();
    EXPECT_TRUE(Enabled(57637));
    // The buffer empties with no click or key of the user's (its document went).
    CCopyBuffer::Get().Empty();
    QCoreApplication::processEvents();
    EXPECT_FALSE(Enabled(57637));
}

TEST_F(MainFrameTest, ToolbarHoldsSeventeenButtonsInOrder)
{
    MakeFrame();
    std::vector<int> ids;
    for (QAction* a : m_pFrame->GetToolBar()->actions())
        ids.push_back(a->isSeparator() ? 0 : a->data().toInt());
    const std::vector<int> expected{57600, 57601, 57603, 0,     32780, 32781, 0, 32782, 32783,
                                    0,     32786, 32787, 0,     32784, 32785, 0, 32788, 32789,
                                    0,     32772, 0,     32775, 0,     32860, 0, 57664};
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(m_pFrame->GetToolBar()->iconSize(), QSize(16, 15));
    for (QAction* a : m_pFrame->GetToolBar()->actions()) {
        if (a->isSeparator())
            continue;
        EXPECT_FALSE(a->icon().isNull()) << a->data().toInt();
        EXPECT_FALSE(a->toolTip().isEmpty()) << a->data().toInt();
        EXPECT_FALSE(a->statusTip().isEmpty()) << a->data().toInt();
    }
    EXPECT_EQ(m_pFrame->CommandAction(ID_PREVIEW)->toolTip(), QStringLiteral("Preview"));
    EXPECT_EQ(m_pFrame->CommandAction(ID_CLEAR_COPY_BUFFER)->statusTip(),
              QStringLiteral("Clear Copy Buffer"));
    EXPECT_EQ(m_pFrame->CommandAction(ID_SEND_DATA)->toolTip(), QStringLiteral("SendData"));
    EXPECT_EQ(m_pFrame->CommandAction(ID_MIDI_SETUP)->statusTip(), QStringLiteral("MIDI Setup"));
}

TEST(MainFrameCommands, TheBankCommandsAreTheWindowsBankCommandsAndNoOneEntryCommand)
{
    // The menu and the toolbar fetch or send a whole bank; the context menu's
    // Get Patch and Get Performance act on one entry under other numbers.
    EXPECT_EQ(ID_GET_PATCH_BANK, 32780);
    EXPECT_EQ(ID_SEND_PATCH_BANK, 32781);
    EXPECT_EQ(ID_GET_PATCH_BANK, CPatchView::ID_GET_PATCH_BANK);
    EXPECT_EQ(ID_SEND_PATCH_BANK, CPatchView::ID_SEND_PATCH_BANK);
    EXPECT_EQ(ID_GET_PERFORMANCE_BANK, CPerformView::ID_GET_PERFORMANCE_BANK);
    EXPECT_EQ(ID_SEND_PERFORMANCE_BANK, CPerformView::ID_SEND_PERFORMANCE_BANK);
    EXPECT_EQ(CPatchView::ID_GET_PATCH, 32802);
    EXPECT_EQ(CPatchView::ID_SEND_PATCH, 32803);
    EXPECT_EQ(CPerformView::ID_GET_PATCH, CPatchView::ID_GET_PATCH);
    EXPECT_EQ(CPerformView::ID_GET_PERFORMANCE, 32806);
}

TEST_F(MainFrameTest, ButtonsWithoutAReceiverAreDisabled)
{
    MakeFrame();
    for (int id : {57600, 57601, 32772, 32775, 57664})
        EXPECT_TRUE(Enabled(id)) << id;
    for (int id : {57603, 32780, 32781, 32782, 32783, 32784, 32785, 32786, 32787, 32788, 32789})
        EXPECT_FALSE(Enabled(id)) << id;
    // A patch window that handles Get Patch enables it, and Save with it.
    CTestView* view = OpenKind(0);
    view->Handle(ID_GET_PATCH_BANK);
    m_pFrame->UpdateAllCmdUI();
    EXPECT_TRUE(Enabled(ID_GET_PATCH_BANK));
    EXPECT_TRUE(Enabled(57603));
    EXPECT_FALSE(Enabled(ID_SEND_PATCH_BANK));
    m_pFrame->CommandAction(ID_GET_PATCH_BANK)->trigger();
    EXPECT_EQ(view->m_calls[ID_GET_PATCH_BANK], 1);
    // Another kind's window becomes active: Get Patch goes dark again.
    OpenKind(1);
    EXPECT_FALSE(Enabled(ID_GET_PATCH_BANK));
}

TEST_F(MainFrameTest, AcceleratorsAndStatusBar)
{
    MakeFrame();
    EXPECT_EQ(m_pFrame->CommandAction(57600)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(m_pFrame->CommandAction(57601)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(m_pFrame->CommandAction(57603)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    // The platform's standard keys, which the above are here.
    EXPECT_EQ(m_pFrame->CommandAction(57600)->shortcut(), QKeySequence(QKeySequence::New));
    EXPECT_EQ(m_pFrame->CommandAction(57601)->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(m_pFrame->CommandAction(57603)->shortcut(), QKeySequence(QKeySequence::Save));
    EXPECT_EQ(m_pFrame->GetReadyPane()->text(), QStringLiteral("Ready"));
    QStringList panes;
    for (QLabel* l : m_pFrame->statusBar()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
        panes << l->text();
    EXPECT_EQ(panes, (QStringList{"Ready", "CAP", "NUM", "SCRL"}));
}

// Status bar prompt and tooltip of each command, as the program's string
// table gives them ("prompt\ntooltip"); the Get and Send commands of the
// other kinds follow the patch pair's form.
TEST_F(MainFrameTest, CommandPromptsAndTooltipsFollowTheStringTable)
{
    const std::pair<int, const char*> table[] = {
        {ID_MIDI_SETUP, "MIDI Setup\nMIDI Setup"},
        {ID_PREVIEW_SETUP, "Preview Setup\nPreview Setup"},
        {ID_PREVIEW, "Preview\nPreview"},
        {ID_CLEAR_COPY_BUFFER, "Clear Copy Buffer\nClear Copy Buffer"},
        {ID_SEND_DATA, "Send Data\nSendData"},
        {ID_GET_PATCH_BANK, "Get Patch\nGet Patch"},
        {ID_SEND_PATCH_BANK, "Send Patch\nSend Patch"},
        {ID_GET_PERFORMANCE_BANK, "Get Performance\nGet Performance"},
        {ID_SEND_PERFORMANCE_BANK, "Send Performance\nSend Performance"},
        {ID_GET_SYSTEM, "Get System\nGet System"},
        {ID_SEND_SYSTEM, "Send System\nSend System"},
        {ID_GET_PATTERN, "Get Pattern\nGet Pattern"},
        {ID_SEND_PATTERN, "Send Pattern\nSend Pattern"},
        {ID_GET_MOTION, "Get Motion\nGet Motion"},
        {ID_SEND_MOTION, "Send Motion\nSend Motion"},
    };
    MakeFrame();
    for (const auto& [id, text] : table) {
        SCOPED_TRACE(id);
        const QStringList parts = QString::fromLatin1(text).split('\n');
        QAction* a = m_pFrame->CommandAction(id);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->statusTip(), parts[0]);
        EXPECT_EQ(a->toolTip(), parts[1]);
        // Pointing at the item shows its prompt in the status bar.
        a->showStatusText(m_pFrame.get());
        EXPECT_EQ(m_pFrame->statusBar()->currentMessage(), parts[0]);
        m_pFrame->statusBar()->clearMessage();
    }
}

TEST_F(MainFrameTest, MainWindowReopensWhereAndAsLargeAsItWasLeft)
{
    MakeFrame();
    const QRect avail = m_pFrame->screen()->availableGeometry();
    const QRect left(avail.left() + 30, avail.top() + 40, avail.width() / 2, avail.height() / 2);
    m_pFrame->setGeometry(left);
    DestroyFrame();
    MakeFrame();
    EXPECT_EQ(m_pFrame->geometry(), left);
}

TEST_F(MainFrameTest, MainWindowNeverOpensLargerThanTheScreenNorOffIt)
{
    // A first start, and settings from a larger screen placed far off this one.
    for (bool bFromLargerScreen : {false, true}) {
        SCOPED_TRACE(bFromLargerScreen);
        if (bFromLargerScreen) {
            WriteProfileInt("Window", "Left", -4000);
            WriteProfileInt("Window", "Top", 3000);
            WriteProfileInt("Window", "Width", 5000);
            WriteProfileInt("Window", "Height", 4000);
        }
        MakeFrame();
        const QRect avail = m_pFrame->screen()->availableGeometry();
        EXPECT_TRUE(avail.contains(m_pFrame->frameGeometry()))
            << m_pFrame->frameGeometry().x() << "," << m_pFrame->frameGeometry().y() << " "
            << m_pFrame->frameGeometry().width() << "x" << m_pFrame->frameGeometry().height();
        DestroyFrame();
    }
}

TEST_F(MainFrameTest, FirstStartHasSendDataOnAndTheDefaultPreview)
{
    SetSendDataSwitch(0);
    MakeFrame();
    EXPECT_EQ(GetSendDataSwitch(), 1);
    EXPECT_TRUE(m_pFrame->CommandAction(ID_SEND_DATA)->isChecked());
    EXPECT_EQ(m_pFrame->m_nPreviewNote, 60);
    EXPECT_EQ(m_pFrame->m_nPreviewVelocity, 80);
    EXPECT_EQ(m_pFrame->m_nPreviewToneLen, 500);
    DestroyFrame();
    EXPECT_EQ(GetProfileString("Setup", "SendData"), "1");
    EXPECT_EQ(GetProfileString("Preview", "NoteNum"), "60");
    EXPECT_EQ(GetProfileString("Preview", "Velocity"), "80");
    EXPECT_EQ(GetProfileString("Preview", "ToneLen"), "500");
}

TEST_F(MainFrameTest, SendDataTogglesWithItsCheckMarkAndIsWrittenBackAsOneOrZero)
{
    MakeFrame();
    QAction* send = m_pFrame->CommandAction(ID_SEND_DATA);
    send->trigger();
    EXPECT_EQ(GetSendDataSwitch(), 0);
    EXPECT_FALSE(send->isChecked());
    send->trigger();
    EXPECT_EQ(GetSendDataSwitch(), 1);
    EXPECT_TRUE(send->isChecked());
    send->trigger();
    // Not in the profile until the frame goes.
    EXPECT_EQ(GetProfileString("Setup", "SendData"), "");
    DestroyFrame();
    EXPECT_EQ(GetProfileString("Setup", "SendData"), "0");
}

TEST_F(MainFrameTest, SendDataOtherThanOneReadsAsOffAndIsWrittenBackAsZero)
{
    WriteProfileString("Setup", "SendData", "2");
    MakeFrame();
    EXPECT_EQ(GetSendDataSwitch(), 0);
    EXPECT_FALSE(m_pFrame->CommandAction(ID_SEND_DATA)->isChecked());
    DestroyFrame();
    EXPECT_EQ(GetProfileString("Setup", "SendData"), "0");
}

TEST_F(MainFrameTest, ProfileValuesAreTakenAsTheyAreAndWrittenBack)
{
    WriteProfileInt("Preview", "NoteNum", 200);
    WriteProfileInt("Preview", "Velocity", -3);
    WriteProfileInt("Preview", "ToneLen", 123456);
    MakeFrame();
    EXPECT_EQ(m_pFrame->m_nPreviewNote, 200);
    EXPECT_EQ(m_pFrame->m_nPreviewVelocity, -3);
    EXPECT_EQ(m_pFrame->m_nPreviewToneLen, 123456);
    DestroyFrame();
    EXPECT_EQ(GetProfileInt("Preview", "NoteNum", 0), 200);
    EXPECT_EQ(GetProfileInt("Preview", "Velocity", 0), -3);
    EXPECT_EQ(GetProfileInt("Preview", "ToneLen", 0), 123456);
}

// Another instance of the program changed settings while this one ran: on
// closing, this one writes only what it changed itself, and the rest stays.
TEST_F(MainFrameTest, ClosingKeepsTheSettingsAnotherInstanceChangedMeanwhile)
{
    WriteProfileInt("Preview", "ToneLen", 500);
    MakeFrame();
    {
        QSettings other(QString::fromStdString(GetProfilePath()), QSettings::IniFormat);
        other.setValue("Setup/SendData", "0");
        other.setValue("Preview/NoteNum", "72");
        other.setValue("Preview/ToneLen", "300");
    }
    m_pFrame->m_nPreviewVelocity = 100; // changed here only
    m_pFrame->m_nPreviewToneLen = 250;  // changed in both: this later change wins
    DestroyFrame();
    EXPECT_EQ(GetProfileString("Setup", "SendData"), "0");
    EXPECT_EQ(GetProfileString("Preview", "NoteNum"), "72");
    EXPECT_EQ(GetProfileString("Preview", "Velocity"), "100");
    EXPECT_EQ(GetProfileString("Preview", "ToneLen"), "250");
}

TEST_F(MainFrameTest, BadProfileContentsStartWithDefaults)
{
    {
        QFile f(QString::fromStdString(GetProfilePath()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Setup]\nSendData=yes\n[Preview]\nNoteNum=abc\nVelocity=\nToneLen=99999999999999999999\n"
                "[MIDI]\nMidiInDevice=zz\nMidiOutDevice=\"\x01\x02\"\n[Recent%20File%20List]\nFile1=\n"
                "garbage line without equals\n\xff\xfe\x00\x01[[[\n");
    }
    MakeFrame();
    EXPECT_EQ(GetSendDataSwitch(), 1);
    EXPECT_EQ(m_pFrame->m_nPreviewNote, 60);
    EXPECT_EQ(m_pFrame->m_nPreviewVelocity, 80);
    EXPECT_EQ(m_pFrame->m_nPreviewToneLen, INT_MAX); // an integer, read as far as an int goes
    CDocManager other;
    other.LoadRecentFileList();
    EXPECT_TRUE(other.GetRecentFiles().empty());
    CMessageBoxRecorder boxes;
    m_pFrame->CommandAction(ID_PREVIEW)->trigger(); // device numbers fall back to 0
    ASSERT_FALSE(m_midi.m_calls.empty());
    EXPECT_EQ(m_midi.m_calls[0].m_strName, "OutOpen");
    EXPECT_EQ(m_midi.m_calls[0].m_handle, 0u);
    m_pFrame->StopPreview();
}

TEST_F(MainFrameTest, ToolBarAndStatusBarCommandsShowAndHideTheBars)
{
    MakeFrame();
    QAction* tool = m_pFrame->CommandAction(ID_VIEW_TOOLBAR);
    QAction* status = m_pFrame->CommandAction(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(tool->isChecked());
    EXPECT_TRUE(status->isChecked());
    tool->trigger();
    status->trigger();
    EXPECT_TRUE(m_pFrame->GetToolBar()->isHidden());
    EXPECT_TRUE(m_pFrame->statusBar()->isHidden());
    EXPECT_FALSE(tool->isChecked());
    EXPECT_FALSE(status->isChecked());
    // Shortcuts still reach their commands with the toolbar hidden.
    EXPECT_TRUE(m_pFrame->CommandAction(57600)->isEnabled());
    EXPECT_TRUE(m_pFrame->actions().contains(m_pFrame->CommandAction(57600)));
}

} // namespace
} // namespace vantorel::test
