// Start-up of the whole application with the program's five document kinds:
// the empty main window, the kinds in their order with their strings, File
// New and Open through the application's commands, message-box captions, the
// progress window of a Get, and the settings written when the application ends.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

#include "app/AppTestSupport.h"
#include "app/Resource.h"
#include "framework/gui/DC.h"
#include "framework/gui/DocumentFiles.h"
#include "framework/gui/QtMessageBox.h"
#include "res/strings/transfer.h"
#include "transfer/TransferDlg.h"
#include "views/ProgramSwitches.h"
#include "support/FileDialogScript.h"
#include "support/MessageBoxRecorder.h"
#include "support/GuiTestPeers.h"

namespace vantorel::test {
namespace {

TEST_F(AppStartTest, StartsWithAnEmptyMainWindow)
{
    StartApp();
    EXPECT_EQ(CVantorelApp::Get(), m_pApp.get());
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("Vantorel"));
    EXPECT_TRUE(Frame()->GetMdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(MenuTitles(), (QStringList{"&File", "&Setup", "&Library", "&Help"}));
    EXPECT_EQ(Frame()->GetReadyPane()->text(), QStringLiteral("Ready"));
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_PREVIEW, ID_CLEAR_COPY_BUFFER, ID_APP_ABOUT})
        EXPECT_TRUE(Frame()->CommandAction(id)->isEnabled()) << id;
    for (int id : std::initializer_list<int>{ID_FILE_SAVE, ID_GET_PATCH_BANK, ID_SEND_PATCH_BANK,
                                             ID_GET_PERFORMANCE_BANK, ID_SEND_PERFORMANCE_BANK, ID_GET_SYSTEM,
                                             ID_SEND_SYSTEM, ID_GET_PATTERN, ID_SEND_PATTERN, ID_GET_MOTION,
                                             ID_SEND_MOTION})
        EXPECT_FALSE(Frame()->CommandAction(id)->isEnabled()) << id;
}

TEST_F(AppStartTest, RegistersTheFiveKindsInOrderWithTheirStrings)
{
    StartApp();
    const auto& templates = m_pApp->GetDocManager().GetTemplates();
    ASSERT_EQ(templates.size(), 5u);
    const std::pair<int, const char*> expected[] = {
        {130, "\nPatch\nPatch\nPatch Files (*.pat)\n.pat\nPatch.Document\nPatch Document"},
        {131, "\nPerformance\nPerformance\nPerformance Files (*.pfm)\n.pfm\nPerformance.Document\n"
              "Performance Document"},
        {132, "\nSystem\nSystem\nSystem Files (*.syp)\n.syp\nSystem.Document\nSystem Document"},
        {133,
         "\nPattern\nPattern Data\nPattern Data Files (*.ptn)\n.ptn\nPattern.Document\nPattern Document"},
        {134, "\nMotion\nMotion Data\nMotion Data Files (*.mtn)\n.mtn\nMotion.Document\nMotion Document"},
    };
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(templates[i]->GetResourceId(), expected[i].first);
        std::string joined;
        for (int f = CDocTemplate::windowTitle; f <= CDocTemplate::regFileTypeName; ++f)
            joined += (f ? "\n" : "") + templates[i]->GetDocString(CDocTemplate::DocStringIndex(f));
        EXPECT_EQ(joined, expected[i].second);
    }
}

TEST_F(AppStartTest, FileNewOffersFiveKindsAndNumbersTheWindow)
{
    StartApp();
    QStringList entries;
    int initial = -2;
    QStringList shownWhole;
    bool bScrollBar = true;
    CDialogTestPeer::SetModalHook([&](CDialog* d) {
        auto* list = d->findChild<QListWidget*>();
        for (int i = 0; i < list->count(); ++i) {
            entries << list->item(i)->text();
            if (list->viewport()->rect().contains(list->visualItemRect(list->item(i))))
                shownWhole << list->item(i)->text();
        }
        bScrollBar = list->verticalScrollBar()->isVisible();
        initial = list->currentRow();
        list->setCurrentRow(3);
        d->ClickButton(IDOK);
    });
    Frame()->CommandAction(ID_FILE_NEW)->trigger();
    EXPECT_EQ(entries, (QStringList{"Patch", "Performance", "System", "Pattern Data", "Motion Data"}));
    // All five in view at once, with no scroll bar.
    EXPECT_EQ(shownWhole, entries);
    EXPECT_FALSE(bScrollBar);
    EXPECT_EQ(initial, 0);
    CDocument* doc = Frame()->GetActiveDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetTitle(), "Pattern1");
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("Vantorel - Pattern1"));
    EXPECT_EQ(MenuTitles(),
              (QStringList{"&File", "&Edit", "&Pattern", "&Setup", "&Window", "&Library", "&Help"}));
    // The pattern window handles its own Get and Send.
    EXPECT_TRUE(Frame()->CommandAction(ID_GET_PATTERN)->isEnabled());
    EXPECT_FALSE(Frame()->CommandAction(ID_GET_PATCH_BANK)->isEnabled());
    EXPECT_TRUE(Frame()->CommandAction(ID_FILE_SAVE)->isEnabled());
}

TEST_F(AppStartTest, NewWindowsOpenInsideTheWorkspace)
{
    StartApp();
    CDocManager& docs = m_pApp->GetDocManager();
    QMdiArea* area = Frame()->GetMdiArea();
    // Patch, Performance, Patch, Patch, then enough more to wrap the cascade.
    for (int kind : {0, 1, 0, 0, 2, 3, 4, 0, 1, 0}) {
        ASSERT_NE(docs.OpenNewDocument(docs.GetTemplates()[size_t(kind)].get()), nullptr);
        const QRect inside = area->viewport()->rect();
        const QRect placed = area->subWindowList(QMdiArea::CreationOrder).back()->geometry();
        EXPECT_TRUE(inside.contains(placed))
            << "window " << area->subWindowList().size() << " at " << placed.x() << "," << placed.y() << " "
            << placed.width() << "x" << placed.height() << " in " << inside.width() << "x" << inside.height();
    }
    // Each opens at its own place, not on top of the one before.
    const auto windows = area->subWindowList(QMdiArea::CreationOrder);
    EXPECT_NE(windows[0]->pos(), windows[1]->pos());
    EXPECT_NE(windows[1]->pos(), windows[2]->pos());
}

TEST_F(AppStartTest, OpenFiltersAndKindsFollowTheRegistrationOrder)
{
    StartApp();
    QTemporaryDir dir;
    CFileDialogScript files;
    // Make a pattern file by saving a new pattern document.
    CDocManager& mgr = m_pApp->GetDocManager();
    CDocument* pattern = mgr.OpenNewDocument(mgr.GetTemplates()[3].get());
    files.m_answers = {dir.filePath("song.ptn")};
    ASSERT_TRUE(mgr.DoSave(pattern, false));
    mgr.CloseDocument(pattern);
    // Its bytes under a foreign extension open as a patch bank, and fail there.
    QFile::copy(dir.filePath("song.ptn"), dir.filePath("song.txt"));

    CMessageBoxRecorder boxes;
    files.m_answers = {dir.filePath("song.ptn")};
    Frame()->CommandAction(ID_FILE_OPEN)->trigger();
    ASSERT_GE(files.m_requests.size(), 2u);
    EXPECT_EQ(files.m_requests.back().filters,
              (QStringList{"Patch Files (*.pat)", "Performance Files (*.pfm)", "System Files (*.syp)",
                           "Pattern Data Files (*.ptn)", "Motion Data Files (*.mtn)", "All Files (*.*)"}));
    ASSERT_NE(Frame()->GetActiveDocument(), nullptr);
    EXPECT_EQ(Frame()->GetActiveDocument()->GetTitle(), "song.ptn");
    EXPECT_EQ(MenuTitles().value(2), QStringLiteral("&Pattern"));

    files.m_answers = {dir.filePath("song.txt")};
    Frame()->CommandAction(ID_FILE_OPEN)->trigger();
    EXPECT_EQ(boxes.m_texts, std::vector<std::string>{"File Error!!"});
    EXPECT_EQ(Frame()->GetMdiArea()->subWindowList().size(), 1);
}

// A patch, performance or system file may hold bytes after its body: they are
// never read and cause no message, however many there are.
TEST_F(AppStartTest, LibraryFilesWithBytesAfterAFixedBodyOpenAsTheBodyAlone)
{
    StartApp();
    QTemporaryDir dir;
    CDocManager& mgr = m_pApp->GetDocManager();
    const struct {
        int nKind;
        const char* szName;
        qint64 nTail;
    } cases[] = {
        {0, "tail.pat", 1},
        {1, "tail.pfm", 777},
        {2, "tail.syp", qint64(1536) << 20}, // sparse: reading it whole would fill memory
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        CDocument* saved = mgr.OpenNewDocument(mgr.GetTemplates()[size_t(c.nKind)].get());
        ASSERT_NE(saved, nullptr);
        std::vector<uint8_t> entry = saved->GetEntryBytes(1);
        entry[5] ^= 0x21;
        ASSERT_TRUE(saved->ApplyEntries("Change", {{1, entry}}));
        ASSERT_TRUE(CDocumentFiles::Write(*saved, dir.filePath(c.szName)));
        mgr.CloseDocument(saved);
        QFile file(dir.filePath(c.szName));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const qint64 nBody = file.size();
        ASSERT_TRUE(file.seek(nBody) && file.write("K", 1) == 1 && file.resize(nBody + c.nTail));
        file.close();

        CMessageBoxRecorder boxes;
        CDocument* opened = mgr.OpenDocumentFile(dir.filePath(c.szName));
        ASSERT_NE(opened, nullptr);
        EXPECT_TRUE(boxes.m_texts.empty()) << boxes.m_texts.front();
        EXPECT_EQ(opened->GetEntryBytes(1), entry);
        EXPECT_FALSE(opened->IsModified());
        mgr.CloseDocument(opened);
    }
}

// A Get whose synthesizer stays silent explains why in the progress window,
// whole, and in a shorter form that fits the status bar at 1280 pixels.
TEST_F(AppStartTest, ASilentSynthesizerIsExplainedWholeInTheProgressWindowAndBrieflyInTheStatusBar)
{
    StartApp();
    Frame()->resize(1280, 800);
    CDocManager& docs = m_pApp->GetDocManager();
    ASSERT_TRUE(docs.OpenNewDocument(docs.GetTemplates().front().get()));
    CMessageBoxRecorder boxes(IDOK); // the backup question
    CDialogTestPeer::SetModalHook([&](CDialog* d) {
        auto* pGet = dynamic_cast<CTransferDlg*>(d);
        ASSERT_TRUE(pGet);
        pGet->ClickButton(IDOK);
        CProgressDlg& progress = pGet->Progress();
        const QSize described = progress.size();
        m_clock.AdvanceMs(3'500); // the service never answers: three silent seconds

        // Every word of the note, on lines the box holds, above the Cancel button.
        const QLabel* pBox = progress.GetStatic(1000);
        const QRect inside = pBox->contentsRect();
        const QFontMetrics fm(MakeFont(CFontSpec{15, 7, 400, "Courier New"}));
        const QStringList& lines = progress.GetProgressLines();
        EXPECT_EQ(lines.join(' ').toStdString(), res::kNoAnswer);
        for (const QString& line : lines)
            EXPECT_LE(5 + fm.horizontalAdvance(line), inside.width()) << line.toStdString();
        EXPECT_LE(lines.size() * 15, inside.height());
        EXPECT_LT(pBox->geometry().bottom(), progress.GetButton(IDCANCEL)->geometry().top());
        EXPECT_LE(progress.GetButton(IDCANCEL)->geometry().bottom(), progress.height());
        // Only as much taller as the lines need; as wide as described.
        EXPECT_EQ(progress.width(), described.width());
        EXPECT_GT(progress.height(), described.height());
        EXPECT_LT(inside.height(), (lines.size() + 1) * 15);

        // The status bar's form fits left of the key indicators.
        const QStatusBar* pBar = Frame()->statusBar();
        EXPECT_EQ(pBar->currentMessage().toStdString(), res::kNoAnswerStatus);
        int nIndicators = pBar->width();
        for (const QLabel* pane : pBar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
            if (pane->text() == QStringLiteral("CAP"))
                nIndicators = pane->x();
        EXPECT_LT(pBar->fontMetrics().horizontalAdvance(pBar->currentMessage()), nIndicators);

        // The next answer's text takes one line again, in the described size.
        progress.ShowText("A11: INIT PATCH");
        EXPECT_EQ(progress.size(), described);
        progress.ClickButton(IDCANCEL);
    });
    Frame()->UpdateAllCmdUI();
    Frame()->CommandAction(ID_GET_PATCH_BANK)->trigger();
    CDialogTestPeer::SetModalHook({});
    EXPECT_EQ(boxes.m_texts.size(), 1u) << "the backup question only";
}

// Files saved in two folders under one name: their windows carry the folder,
// the File menu lists them most recent first and opens one again, and each
// file dialog opens where the last one was answered.
TEST_F(AppStartTest, RecentFilesOpenFromTheFileMenuAndSameNamesShowTheirFolder)
{
    StartApp();
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("2026-12-07")) &&
                QDir(dir.path()).mkpath(QStringLiteral("b")));
    CDocManager& mgr = m_pApp->GetDocManager();
    CFileDialogScript files;
    files.m_answers = {dir.filePath("2026-12-07/patch.pat"), dir.filePath("b/patch.pat")};
    CDocument* first = mgr.OpenNewDocument(mgr.GetTemplates()[0].get());
    ASSERT_TRUE(mgr.DoSave(first, false));
    CDocument* second = mgr.OpenNewDocument(mgr.GetTemplates()[0].get());
    ASSERT_TRUE(mgr.DoSave(second, false));
    EXPECT_EQ(files.m_requests[1].strFolder, dir.filePath("2026-12-07"));
    EXPECT_EQ(mgr.GetFrame(first)->windowTitle(), QStringLiteral("patch.pat - 2026-12-07[*]"));
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("Vantorel - patch.pat - b"));
    mgr.CloseDocument(first);
    EXPECT_EQ(mgr.GetFrame(second)->windowTitle(), QStringLiteral("patch.pat[*]"));

    QMenu* file = Frame()->menuBar()->actions().at(0)->menu();
    emit file->aboutToShow();
    QStringList recent;
    QAction* pReopen = nullptr;
    for (QAction* a : file->actions())
        if (a->objectName().startsWith(QStringLiteral("RecentFile"))) {
            recent << a->text();
            pReopen = a;
        }
    ASSERT_EQ(recent.size(), 2);
    EXPECT_TRUE(recent[0].startsWith(QStringLiteral("&1 ")) &&
                recent[0].endsWith(QStringLiteral("b/patch.pat")));
    EXPECT_TRUE(recent[1].startsWith(QStringLiteral("&2 ")) &&
                recent[1].endsWith(QStringLiteral("07/patch.pat")));
    pReopen->trigger();
    ASSERT_EQ(mgr.GetDocuments().size(), 2u);
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("Vantorel - patch.pat - 2026-12-07"));
}

TEST_F(AppStartTest, AboutCommandRunsTheAboutBox)
{
    StartApp();
    std::vector<int> shown;
    CDialogTestPeer::SetModalHook([&](CDialog* d) {
        shown.push_back(d->GetTemplate().nId);
        d->ClickButton(IDOK);
    });
    Frame()->CommandAction(ID_APP_ABOUT)->trigger();
    EXPECT_EQ(shown, std::vector<int>{IDD_ABOUTBOX});
}

TEST_F(AppStartTest, EndingTheApplicationWritesTheFramesSettings)
{
    WriteProfileString("Setup", "SendData", "1");
    StartApp();
    Frame()->CommandAction(ID_SEND_DATA)->trigger();
    Frame()->m_nPreviewToneLen = 250;
    m_pApp.reset();
    EXPECT_EQ(GetProfileString("Setup", "SendData"), "0");
    EXPECT_EQ(GetProfileInt("Preview", "ToneLen", 0), 250);
    EXPECT_EQ(CVantorelApp::Get(), nullptr);
}

TEST_F(AppStartTest, ExitAsksToSaveModifiedDocuments)
{
    StartApp();
    CDocManager& mgr = m_pApp->GetDocManager();
    CDocument* doc = mgr.OpenNewDocument(mgr.GetTemplates()[0].get());
    doc->SetModifiedFlag(true);
    {
        CMessageBoxRecorder cancel(IDCANCEL);
        Frame()->CommandAction(ID_APP_EXIT)->trigger();
        EXPECT_EQ(cancel.m_texts, std::vector<std::string>{"Save changes to Patch1?"});
        EXPECT_TRUE(Frame()->isVisible());
    }
    CMessageBoxRecorder no(IDNO);
    Frame()->CommandAction(ID_APP_EXIT)->trigger();
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_TRUE(mgr.GetDocuments().empty());
}

TEST(QtMessageBoxes, AreCaptionedWithTheApplicationTitleAndMapTheirButtons)
{
    InstallQtMessageBoxHandler(QStringLiteral("Sondavel"));
    QString caption, text;
    auto answerWith = [&](QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [&, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            caption = box->windowTitle();
            text = box->text();
            box->button(button)->click();
        });
    };
    answerWith(QMessageBox::Ok);
    EXPECT_EQ(AfxMessageBox("File Error!!"), IDOK);
    EXPECT_EQ(caption, QStringLiteral("Sondavel"));
    EXPECT_EQ(text, QStringLiteral("File Error!!"));
    answerWith(QMessageBox::Cancel);
    EXPECT_EQ(AfxMessageBox("Continue?", MB_OKCANCEL), IDCANCEL);
    answerWith(QMessageBox::No);
    EXPECT_EQ(AfxMessageBox("Save changes to Patch1?", MB_YESNOCANCEL), IDNO);
    answerWith(QMessageBox::Yes);
    EXPECT_EQ(AfxMessageBox("Save changes to Patch1?", MB_YESNOCANCEL), IDYES);
    answerWith(QMessageBox::Cancel);
    EXPECT_EQ(AfxMessageBox("Save changes to Patch1?", MB_YESNOCANCEL), IDCANCEL);
    SetMessageBoxHandler({});
}

} // namespace
} // namespace vantorel::test
