// The Library window in the whole application, over real library files: a
// result opens its file with the entry selected, a click auditions what a
// click in its own window sends, Ctrl+C then Edit > Paste copies it into a
// bank as one undo step (or is refused where it does not fit), a result
// dragged onto a bank row, or copied and pasted there, lands there and is
// saved with the bank, a file saved into a folder shows without a scan, stars
// and tags follow the sound, and an index that cannot be opened is said once.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <set>

#include "app/AppTestSupport.h"
#include "app/DocKinds.h"
#include "app/Resource.h"
#include "app/library/Library.h"
#include "app/library/LibraryWindow.h"
#include "data/PatchDoc.h"
#include "data/PerformDoc.h"
#include "framework/gui/DocumentFiles.h"
#include "framework/gui/UndoHistory.h"
#include "library/LibraryIndex.h"
#include "res/Strings.h"
#include "support/FileDialogScript.h"
#include "support/LibraryWindowTestPeer.h"
#include "transfer/plans/DocKind.h"
#include "views/EditCommands.h"
#include "views/EntryClip.h"
#include "views/PatchView.h"
#include "views/PerformView.h"
#include "views/ProgramSwitches.h"

namespace vantorel::test {
namespace {

using Bytes = std::vector<uint8_t>;

class LibraryWindowTest : public AppStartTest {
protected:
    void SetUp() override
    {
        AppStartTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toLocal8Bit());
        QDir(m_dir.path()).mkdir(QStringLiteral("banks"));
        // Every byte differs from the initial entries, so a copy shows.
        CPatchDoc patches;
        for (size_t i = 0; i < 128; ++i)
            for (size_t k = 16; k < CPatchRecord::kSize; ++k)
                patches.m_aPatch[i].Data()[k] = uint8_t((i * 7 + k) & 0x7F);
        patches.m_aPatch[12].SetName("Velvet Pad");
        CPerformDoc performances;
        for (size_t p = 0; p < 64; ++p)
            for (size_t k = 16; k < CPerformRecord::kSize; ++k)
                performances.m_aPerform[p].Data()[k] = uint8_t((p * 5 + k * 3) & 0x7F);
        performances.m_aPerform[9].SetName("Stage Split");
        performances.m_aPerform[9].m_aPatch[1].SetName("Inner Bell");
        ASSERT_TRUE(CDocumentFiles::Write(patches, Banks("bank.pat")));
        ASSERT_TRUE(CDocumentFiles::Write(performances, Banks("show.pfm")));
        m_velvet.assign(patches.m_aPatch[12].Data(), patches.m_aPatch[12].Data() + CPatchRecord::kSize);
        m_bell.assign(performances.m_aPerform[9].m_aPatch[1].Data(),
                      performances.m_aPerform[9].m_aPatch[1].Data() + CPatchRecord::kSize);

        StartApp();
        CLibrary& library = Frame()->GetLibrary();
        library.ToggleWindow();
        CLibraryIndex* pIndex = library.Index();
        ASSERT_TRUE(pIndex);
        std::string strError;
        ASSERT_TRUE(pIndex->AddFolder(m_dir.filePath(QStringLiteral("banks")).toStdString(), strError))
            << strError;
        library.Scan();
        while (library.IsScanning())
            QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        CLibraryWindowTestPeer::SetDragHook({});
        AppStartTest::TearDown();
        qunsetenv("XDG_DATA_HOME");
    }
    QString Banks(const char* name) const
    {
        return m_dir.filePath(QStringLiteral("banks/") + QLatin1String(name));
    }
    CLibraryWindow& Window() { return *Frame()->GetLibrary().Window(); }
    // Types the search and makes the first result current.
    void Find(const char* text)
    {
        QTest::keyClicks(Window().SearchField(), QString::fromLatin1(text));
        ASSERT_EQ(Window().Model().rowCount(), 1) << text;
        Window().ResultView()->setCurrentIndex(Window().Model().index(0, 0));
        Window().ResultView()->setFocus();
    }
    void ClickResult()
    {
        CLibraryResultView* pView = Window().ResultView();
        QTest::mouseClick(pView->viewport(), Qt::LeftButton, {},
                          pView->visualRect(Window().Model().index(0, CLibraryModel::kName)).center());
    }
    // What the program sent: every long message until all is quiet.
    std::vector<Bytes> Sent()
    {
        m_clock.RunUntilIdle();
        std::vector<Bytes> sent;
        for (const auto& call : m_midi.m_calls)
            if (call.m_strName == "OutLongMsg")
                sent.push_back(call.m_bytes);
        m_midi.m_calls.clear();
        return sent;
    }
    // The results once they hold nRows, or after a few seconds.
    int WaitForResults(int nRows)
    {
        QElapsedTimer t;
        t.start();
        while (Window().Model().rowCount() != nRows && t.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return Window().Model().rowCount();
    }
    CPatchView* NewPatchBank()
    {
        CDocManager& manager = m_pApp->GetDocManager();
        EXPECT_TRUE(manager.OpenNewDocument(manager.GetTemplates().front().get()));
        return dynamic_cast<CPatchView*>(Frame()->GetActiveView());
    }

    QTemporaryDir m_dir;
    Bytes m_velvet, m_bell;
};

TEST_F(LibraryWindowTest, AResultOpensAuditionsAndPastesAsItsOwnWindowWould)
{
    struct Case {
        const char* szSearch;
        const char* szFile;
        int nEntry, nPart;    // selected in the opened window
        bool bPastesIntoBank; // a patch, or a performance's patch
    };
    const Case cases[] = {
        {"velvet", "bank.pat", 12, -1, true},
        {"inner bell", "show.pfm", 9, 1, true},
        {"stage split", "show.pfm", 9, -1, false},
    };
    SetSendDataSwitch(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.szSearch);
        Window().SearchField()->clear();
        Find(c.szSearch);

        // Enter: the file's window with the entry selected; again: the same window.
        QTest::keyClick(Window().ResultView(), Qt::Key_Return);
        CDocument* pDoc = Frame()->GetActiveDocument();
        ASSERT_TRUE(pDoc);
        EXPECT_EQ(QFileInfo(QString::fromStdString(pDoc->GetPathName())).fileName(), QLatin1String(c.szFile));
        auto* pPatchView = dynamic_cast<CPatchView*>(Frame()->GetActiveView());
        auto* pPerformView = dynamic_cast<CPerformView*>(Frame()->GetActiveView());
        ASSERT_TRUE(pPatchView || pPerformView);
        if (pPatchView)
            EXPECT_EQ(pPatchView->GetSelection(), c.nEntry);
        else if (c.nPart >= 0)
            EXPECT_EQ(pPerformView->GetPatchSelection(), c.nEntry * 2 + c.nPart);
        else
            EXPECT_EQ(pPerformView->GetPerformanceSelection(), c.nEntry);
        const size_t nOpen = m_pApp->GetDocManager().GetDocuments().size();
        QTest::keyClick(Window().ResultView(), Qt::Key_Return);
        EXPECT_EQ(m_pApp->GetDocManager().GetDocuments().size(), nOpen);

        // What the window sends for the entry (Up and back Down), then a click on the result.
        auto* pView = dynamic_cast<CListView*>(Frame()->GetActiveView());
        QTest::keyClick(pView, Qt::Key_Up);
        Sent();
        QTest::keyClick(pView, Qt::Key_Down);
        const std::vector<Bytes> fromWindow = Sent();
        ClickResult();
        EXPECT_FALSE(fromWindow.empty());
        EXPECT_EQ(Sent(), fromWindow);

        // Ctrl+C on the result, Edit > Paste into a new bank's A14.
        CPatchView* pBank = NewPatchBank();
        ASSERT_TRUE(pBank);
        pBank->ShowEntry(3);
        CMessageBoxRecorder boxes(IDOK);
        QTest::keyClick(Window().ResultView(), Qt::Key_C, Qt::ControlModifier);
        Frame()->UpdateAllCmdUI();
        Frame()->CommandAction(edit_commands::ID_EDIT_PASTE)->trigger();
        auto* pBankDoc = dynamic_cast<CPatchDoc*>(pBank->GetDocument());
        const Bytes pasted(pBankDoc->m_aPatch[3].Data(), pBankDoc->m_aPatch[3].Data() + CPatchRecord::kSize);
        if (c.bPastesIntoBank) {
            EXPECT_EQ(pasted, c.nPart >= 0 ? m_bell : m_velvet);
            EXPECT_TRUE(boxes.m_texts.empty());
            CUndoHistory::Of(pBankDoc)->Undo();
            EXPECT_EQ(pBankDoc->m_aPatch[3], CPatchRecord());
            EXPECT_FALSE(CUndoHistory::Of(pBankDoc)->CanUndo());
        } else {
            EXPECT_EQ(boxes.m_texts, std::vector<std::string>{res::kCantCopyInHere});
            EXPECT_FALSE(pBankDoc->IsModified());
        }
        CCopyBuffer::Get().Clear();
        m_pApp->GetDocManager().CloseAllDocuments();
    }
}

// A click on a result auditions exactly the entries whose kind has an
// audition, whatever the kind: the window asks the kind, not a list of its own.
TEST_F(LibraryWindowTest, AClickAuditionsExactlyTheKindsThatHaveAnAudition)
{
    for (const CKindWindow& w : KindWindows()) {
        const std::unique_ptr<CDocument> doc = w.pKind->NewDocument();
        ASSERT_TRUE(CDocumentFiles::Write(*doc, Banks("every") + QLatin1String(w.pKind->Extension())));
    }
    CLibrary& library = Frame()->GetLibrary();
    library.Scan();
    while (library.IsScanning())
        QCoreApplication::processEvents();
    SetSendDataSwitch(1);
    std::set<std::string> auditioned;
    for (size_t i = 0; i < KindWindows().size(); ++i) {
        const CDocKind* pKind = KindWindows()[i].pKind;
        SCOPED_TRACE(pKind->Word());
        Window().KindFilter()->setCurrentIndex(int(i) + 1);
        ASSERT_GT(Window().Model().rowCount(), 0);
        ASSERT_EQ(Window().Model().Entry(0)->pKind, pKind);
        Sent();
        ClickResult();
        const bool bSent = !Sent().empty();
        EXPECT_EQ(bSent, pKind->HasAudition());
        if (bSent)
            auditioned.insert(pKind->Word());
    }
    EXPECT_EQ(auditioned, (std::set<std::string>{"patch", "performance"}));
}

TEST_F(LibraryWindowTest, AResultDraggedOrCopiedIntoABankRowIsSavedWithTheBank)
{
    Find("inner bell");
    QByteArray dragged; // the messages the drag carries
    for (const bool bDrag : {true, false}) {
        SCOPED_TRACE(bDrag ? "drag" : "Ctrl+C, Ctrl+V");
        CPatchView* pBank = NewPatchBank();
        ASSERT_TRUE(pBank);
        // The drop as the window system delivers it: to the widget under the pointer.
        const QPoint ptRow(60, 5 * 16 + 6);
        CLibraryWindowTestPeer::SetDragHook([&](QMimeData& data) {
            dragged = data.data(kSysExMimeType);
            QWidget* pTarget = pBank->viewport();
            QDragEnterEvent enter(ptRow, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(pTarget, &enter);
            EXPECT_TRUE(enter.isAccepted());
            QDropEvent drop(ptRow, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(pTarget, &drop);
            EXPECT_TRUE(drop.isAccepted());
        });
        QWidget* pResults = Window().ResultView()->viewport();
        const QPoint ptResult =
            Window().ResultView()->visualRect(Window().Model().index(0, CLibraryModel::kName)).center();
        if (bDrag) {
            QTest::mousePress(pResults, Qt::LeftButton, {}, ptResult);
            const QPoint ptAway = ptResult + QPoint(QApplication::startDragDistance() + 5, 0);
            for (int i = 0; i < 2; ++i) { // the first move starts dragging, the next one the drag
                QMouseEvent move(QEvent::MouseMove, ptAway, pResults->mapToGlobal(ptAway), Qt::NoButton,
                                 Qt::LeftButton, {});
                QApplication::sendEvent(pResults, &move);
            }
            QCoreApplication::processEvents();
        } else {
            // The same messages go to the clipboard; nothing is picked up.
            pBank->ShowEntry(5);
            QTest::keyClick(Window().ResultView(), Qt::Key_C, Qt::ControlModifier);
            EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data(kSysExMimeType), dragged);
            EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
            QCoreApplication::processEvents(); // the commands follow the copy
            QTest::keyClick(pBank, Qt::Key_V, Qt::ControlModifier);
        }
        EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
        auto* pBankDoc = dynamic_cast<CPatchDoc*>(pBank->GetDocument());
        EXPECT_EQ(Bytes(pBankDoc->m_aPatch[5].Data(), pBankDoc->m_aPatch[5].Data() + CPatchRecord::kSize),
                  m_bell);
        EXPECT_EQ(CUndoHistory::Of(pBankDoc)->Count(), 1);

        const QString strSaved = Banks(bDrag ? "dragged.pat" : "pasted.pat");
        CPatchDoc expected;
        expected.m_aPatch[5] = *reinterpret_cast<const CPatchRecord*>(m_bell.data());
        ASSERT_TRUE(CDocumentFiles::Write(expected, m_dir.filePath(QStringLiteral("expected.pat"))));
        CFileDialogScript dialogs;
        dialogs.m_answers = {strSaved};
        ASSERT_TRUE(m_pApp->GetDocManager().DoSave(pBank->GetDocument(), true));
        QFile saved(strSaved), wanted(m_dir.filePath(QStringLiteral("expected.pat")));
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly) && wanted.open(QIODevice::ReadOnly));
        EXPECT_EQ(saved.readAll(), wanted.readAll());
    }
}

TEST_F(LibraryWindowTest, AFileSavedIntoOrRemovedFromAFolderShowsWithoutAScan)
{
    QTest::keyClicks(Window().SearchField(), QStringLiteral("dawn"));
    ASSERT_EQ(Window().Model().rowCount(), 0);
    CPatchDoc late;
    late.m_aPatch[40].SetName("Dawn Choir");
    ASSERT_TRUE(CDocumentFiles::Write(late, Banks("late.pat")));
    EXPECT_EQ(WaitForResults(1), 1);
    ASSERT_TRUE(QFile::remove(Banks("late.pat")));
    EXPECT_EQ(WaitForResults(0), 0);
}

TEST_F(LibraryWindowTest, AStarAndTagsFollowTheSoundIntoEveryFileHoldingIt)
{
    ASSERT_TRUE(QFile::copy(Banks("bank.pat"), Banks("backup.pat")));
    Frame()->GetLibrary().Scan();
    while (Frame()->GetLibrary().IsScanning())
        QCoreApplication::processEvents();
    QTest::keyClicks(Window().SearchField(), QStringLiteral("velvet"));
    ASSERT_EQ(Window().Model().rowCount(), 2);
    CLibraryResultView* pView = Window().ResultView();
    QTest::mouseClick(pView->viewport(), Qt::LeftButton, {},
                      pView->visualRect(Window().Model().index(1, CLibraryModel::kStar)).center());
    Window().TagsField()->setText(QStringLiteral("warm, strings"));
    emit Window().TagsField()->editingFinished();

    Window().SearchField()->clear();
    Window().StarredFilter()->setChecked(true);
    EXPECT_EQ(Window().Model().rowCount(), 2);
    Window().StarredFilter()->setChecked(false);
    Window().TagFilter()->setCurrentText(QStringLiteral("warm"));
    ASSERT_EQ(Window().Model().rowCount(), 2);
    for (int nRow : {0, 1})
        EXPECT_EQ(Window().Model().Entry(nRow)->strName, "Velvet Pad");
}

// An index that cannot be made: said once, and the program goes on without it.
TEST_F(AppStartTest, ALibraryThatCannotBeOpenedIsSaidOnce)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("data")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the data folder should be
    qputenv("XDG_DATA_HOME", blocker.fileName().toLocal8Bit());
    StartApp();
    CMessageBoxRecorder boxes(IDOK);
    for (int i = 0; i < 2; ++i) {
        Frame()->CommandAction(ID_LIBRARY_FIND)->trigger();
        Frame()->CommandAction(ID_LIBRARY_FOLDERS)->trigger();
    }
    qunsetenv("XDG_DATA_HOME");
    ASSERT_EQ(boxes.m_texts.size(), 1u);
    EXPECT_NE(boxes.m_texts[0].find("library.db"), std::string::npos) << boxes.m_texts[0];
    EXPECT_EQ(Frame()->GetLibrary().Index(), nullptr);
    EXPECT_EQ(Frame()->GetLibrary().Window()->Model().rowCount(), 0);
}

} // namespace
} // namespace vantorel::test
