// Undo and redo in every kind of window, the clean state after a save, the
// one step of a whole Get (also a cancelled one), and the list windows worked
// from the keyboard.
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "DataWindowTestSupport.h"
#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "framework/gui/DocumentFiles.h"
#include "framework/gui/UndoHistory.h"
#include "views/EditCommands.h"
#include "views/MotionView.h"
#include "views/NameDlg.h"
#include "views/PatchView.h"
#include "views/PatternView.h"
#include "views/PerformView.h"
#include "views/SystemView.h"
#include "support/GuiTestPeers.h"
#include "support/ListViewTestPeer.h"

namespace vantorel::test {
namespace {

using namespace edit_commands;

int RowY(int row) { return row * 16 + 5; }
int PerfY(int p) { return 32 * p + 10; }
int UpperY(int p) { return 32 * p + 4; }
int LowerY(int p) { return 32 * p + 20; }
constexpr int kNameX = 60;
constexpr int kPatchX = 200;

class UndoTest : public CDataWindowTest {
protected:
    void TearDown() override
    {
        m_histories.clear(); // before the documents they hold on to
        CDataWindowTest::TearDown();
    }

    // A window as the document manager makes one, with its undo stack.
    template <class View, class Doc>
    View* OpenWithHistory(Doc** ppDoc)
    {
        View* view = OpenWindow<View, Doc>(ppDoc);
        m_histories.push_back(std::make_unique<CUndoHistory>(**ppDoc));
        return view;
    }

    // Name dialogs get strName and OK; transfers run to their end.
    void AnswerDialogs(const char* strName)
    {
        CDialogTestPeer::SetModalHook([this, strName](CDialog* dlg) {
            if (auto* n = dynamic_cast<CNameDlg*>(dlg)) {
                for (int id : {CPatchNameDlg::kEditId, CPerformNameDlg::kEditId})
                    if (QLineEdit* e = n->GetEdit(id))
                        e->setText(QString::fromLatin1(strName));
                n->ClickButton(IDOK);
                ++m_nNameDialogs;
            } else if (auto* t = dynamic_cast<CTransferDlg*>(dlg)) {
                t->ClickButton(IDOK);
                m_clock.RunUntil([t] { return t->IsEnded(); }, 600'000'000LL);
            } else if (dynamic_cast<CCompleteDlg*>(dlg)) {
                dlg->ClickButton(IDOK);
            }
        });
    }

    // Undoes every step through the window's Undo command, compares with
    // original, then redoes them all and compares with the edited bytes.
    // Nothing goes to the synthesizer meanwhile, Send Data on or not.
    void ExpectUndoRedoRoundTrip(CListView* view, CDocument& doc, const CEntrySnapshot& original, int nSteps)
    {
        CUndoHistory* h = CUndoHistory::Of(&doc);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(h->Count(), nSteps);
        const CEntrySnapshot edited = doc.SnapshotEntries();
        ASSERT_NE(edited, original);
        EXPECT_TRUE(doc.IsModified());
        SetSendDataSwitch(1);
        TakeSent();
        for (int i = 0; i < nSteps; ++i)
            ASSERT_TRUE(view->ExecuteCommand(ID_EDIT_UNDO));
        EXPECT_FALSE(h->CanUndo());
        EXPECT_EQ(doc.SnapshotEntries(), original);
        EXPECT_FALSE(doc.IsModified());
        for (int i = 0; i < nSteps; ++i)
            ASSERT_TRUE(view->ExecuteCommand(ID_EDIT_REDO));
        EXPECT_EQ(doc.SnapshotEntries(), edited);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_TRUE(TakeSent().empty());
        SetSendDataSwitch(0);
    }

    std::vector<std::unique_ptr<CUndoHistory>> m_histories;
    int m_nNameDialogs = 0;
};

// ---------------------------------------------------------------- every edit of every kind

TEST_F(UndoTest, PatchEditsUndoToTheOriginalAndRedoToTheEdits)
{
    CPatchDoc* pDoc = nullptr;
    CPatchView* view = OpenWithHistory<CPatchView, CPatchDoc>(&pDoc);
    const CEntrySnapshot original = pDoc->SnapshotEntries();
    AnswerDialogs("RENAMED");

    RightClickChoose(view, 50, RowY(3), CPatchView::ID_EDIT_PATCH_NAME);
    RightClickChoose(view, 50, RowY(7), CPatchView::ID_GET_PATCH);
    ShiftClick(view, 50, RowY(7));
    Click(view, 50, RowY(9));
    RightClickChoose(view, 50, RowY(7), CPatchView::ID_INIT_PATCH);
    EXPECT_EQ(pDoc->m_aPatch[3].GetName(), "RENAMED         ");
    EXPECT_EQ(0, std::memcmp(pDoc->m_aPatch[9].Data(), m_device.Patch(7).data(), CPatchRecord::kSize));

    // A patch copied from a bank that has closed since.
    CPatchDoc* pOther = nullptr;
    CPatchView* other = OpenWindow<CPatchView, CPatchDoc>(&pOther);
    pOther->m_aPatch[0].SetName("FROM A CLOSED BANK");
    ShiftClick(other, 50, RowY(0));
    Click(view, 50, RowY(20));
    delete other->GetParentFrame();
    m_docs.pop_back();
    EXPECT_EQ(pDoc->m_aPatch[20].GetName(), "FROM A CLOSED BA");

    ExpectUndoRedoRoundTrip(view, *pDoc, original, 5);
    EXPECT_EQ(CUndoHistory::Of(pDoc)->UndoName(), "Copy");
}

TEST_F(UndoTest, PerformanceEditsUndoToTheOriginalAndACopyIsOneStep)
{
    CPerformDoc* pDoc = nullptr;
    CPerformView* view = OpenWithHistory<CPerformView, CPerformDoc>(&pDoc);
    const CEntrySnapshot original = pDoc->SnapshotEntries();
    AnswerDialogs("NEW NAME");

    RightClickChoose(view, kNameX, PerfY(2), CPerformView::ID_EDIT_PERFORMANCE_NAME);
    RightClickChoose(view, kPatchX, LowerY(2), CPerformView::ID_EDIT_PATCH_NAME);
    RightClickChoose(view, kNameX, PerfY(4), CPerformView::ID_GET_PERFORMANCE);
    RightClickChoose(view, kPatchX, UpperY(3), CPerformView::ID_GET_PATCH);
    const int nBeforeCopy = CUndoHistory::Of(pDoc)->Count();
    ShiftClick(view, kNameX, PerfY(4));
    Click(view, kNameX, PerfY(5)); // the performance and both its patches: one step
    EXPECT_EQ(CUndoHistory::Of(pDoc)->Count(), nBeforeCopy + 1);
    ShiftClick(view, kPatchX, LowerY(5));
    Click(view, kPatchX, UpperY(6));
    RightClickChoose(view, kPatchX, LowerY(4), CPerformView::ID_INIT_PATCH);
    RightClickChoose(view, kNameX, PerfY(4), CPerformView::ID_INIT_PERFORMANCE);
    EXPECT_EQ(pDoc->m_aPerform[2].GetName(), "NEW NAME        ");
    EXPECT_EQ(pDoc->m_aPerform[2].m_aPatch[1].GetName(), "NEW NAME        ");
    EXPECT_EQ(0, std::memcmp(pDoc->m_aPerform[5].Data(), m_device.Performance(4).data(), CPerformRecord::kSize));

    ExpectUndoRedoRoundTrip(view, *pDoc, original, 8);
}

TEST_F(UndoTest, SystemEditsUndoToTheOriginal)
{
    CSystemDoc* pDoc = nullptr;
    CSystemView* view = OpenWithHistory<CSystemView, CSystemDoc>(&pDoc);
    const CEntrySnapshot original = pDoc->SnapshotEntries();
    AnswerDialogs("");

    CSystemDoc* pOther = nullptr;
    CSystemView* other = OpenWindow<CSystemView, CSystemDoc>(&pOther);
    pOther->TxRxSetting()[3] = 99;
    ShiftClick(other, 60, RowY(1));
    Click(view, 60, RowY(1));
    EXPECT_EQ(pDoc->TxRxSetting()[3], 99);
    ASSERT_TRUE(view->ExecuteCommand(CSystemView::ID_GET_SYSTEM));
    RightClickChoose(view, 60, RowY(0), CSystemView::ID_INITIALIZE_SYSTEM_PARAMETER);

    ExpectUndoRedoRoundTrip(view, *pDoc, original, 3);
}

// For each: Get all, initialise one entry, copy one onto another.
TEST_F(UndoTest, PatternAndMotionEditsUndoToTheOriginal)
{
    CPatternDoc* pPattern = nullptr;
    CPatternView* patterns = OpenWithHistory<CPatternView, CPatternDoc>(&pPattern);
    CMotionDoc* pMotion = nullptr;
    CMotionView* motions = OpenWithHistory<CMotionView, CMotionDoc>(&pMotion);
    AnswerDialogs("");
    const struct {
        CListView* view;
        CDocument* doc;
        int nIdGetAll;
        int nIdInit;
    } kinds[] = {
        {patterns, pPattern, CPatternView::ID_GET_PATTERN, CPatternView::ID_INITIALIZE_PATTERN_DATA},
        {motions, pMotion, CMotionView::ID_GET_MOTION, CMotionView::ID_INITIALIZE_MOTION_DATA},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.doc->GetRuntimeClassName());
        const CEntrySnapshot original = k.doc->SnapshotEntries();
        ASSERT_TRUE(k.view->ExecuteCommand(k.nIdGetAll));
        RightClickChoose(k.view, 100, RowY(1), k.nIdInit);
        ShiftClick(k.view, 100, RowY(2));
        Click(k.view, 100, RowY(3));
        EXPECT_EQ(k.doc->GetEntryBytes(3).size(), k.doc->GetEntryBytes(2).size());
        ExpectUndoRedoRoundTrip(k.view, *k.doc, original, 3);
    }
}

// ---------------------------------------------------------------- save, Get

TEST_F(UndoTest, UndoingBackToTheSavedStateLeavesTheDocumentUnmodified)
{
    CPatchDoc* pDoc = nullptr;
    CPatchView* view = OpenWithHistory<CPatchView, CPatchDoc>(&pDoc);
    AnswerDialogs("SAVED");
    RightClickChoose(view, 50, RowY(1), CPatchView::ID_EDIT_PATCH_NAME);
    QTemporaryDir dir;
    ASSERT_TRUE(CDocumentFiles::Write(*pDoc, dir.filePath("bank.pat")));
    EXPECT_FALSE(pDoc->IsModified());

    RightClickChoose(view, 50, RowY(1), CPatchView::ID_INIT_PATCH);
    EXPECT_TRUE(pDoc->IsModified());
    view->ExecuteCommand(ID_EDIT_UNDO);
    EXPECT_FALSE(pDoc->IsModified()); // what the file holds: no "*", no question
    view->ExecuteCommand(ID_EDIT_UNDO);
    EXPECT_TRUE(pDoc->IsModified()); // before the save
    view->ExecuteCommand(ID_EDIT_REDO);
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ(pDoc->m_aPatch[1].GetName(), "SAVED           ");
}

TEST_F(UndoTest, AWholeGetIsOneStepAlsoWhenCancelledPartWay)
{
    CPatchDoc* pDoc = nullptr;
    CPatchView* view = OpenWithHistory<CPatchView, CPatchDoc>(&pDoc);
    const CEntrySnapshot original = pDoc->SnapshotEntries();
    AnswerDialogs("");
    ASSERT_TRUE(view->ExecuteCommand(CPatchView::ID_GET_PATCH_BANK));
    EXPECT_EQ(CUndoHistory::Of(pDoc)->Count(), 1);
    EXPECT_EQ(CUndoHistory::Of(pDoc)->UndoName(), "Get");
    view->ExecuteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(pDoc->SnapshotEntries(), original);

    // Stopped part way: what arrived is one step, and undoing it restores all.
    CDialogTestPeer::SetModalHook([this, pDoc](CDialog* dlg) {
        if (auto* t = dynamic_cast<CTransferDlg*>(dlg)) {
            t->ClickButton(IDOK);
            m_clock.RunUntil([pDoc] { return pDoc->m_aPatch[2] != CPatchRecord(); }, 600'000'000LL);
            t->Progress().ClickButton(IDCANCEL);
            m_clock.RunUntil([t] { return t->IsEnded(); }, 600'000'000LL);
        } else if (dynamic_cast<CCompleteDlg*>(dlg)) {
            dlg->ClickButton(IDOK);
        }
    });
    view->ExecuteCommand(CPatchView::ID_GET_PATCH_BANK);
    EXPECT_NE(pDoc->m_aPatch[0], CPatchRecord());
    EXPECT_EQ(pDoc->m_aPatch[127], CPatchRecord());
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_EQ(CUndoHistory::Of(pDoc)->Count(), 1); // the first Get was undone and is replaced
    view->ExecuteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(pDoc->SnapshotEntries(), original);
    EXPECT_FALSE(pDoc->IsModified());

    // A Get that stored nothing pushes nothing.
    m_device.Faults().m_nDropEvery = 1;
    const int nBefore = CUndoHistory::Of(pDoc)->Count();
    view->ExecuteCommand(CPatchView::ID_GET_PATCH_BANK);
    EXPECT_EQ(CUndoHistory::Of(pDoc)->Count(), nBefore);
    EXPECT_FALSE(CUndoHistory::Of(pDoc)->CanUndo());
    EXPECT_FALSE(pDoc->IsModified());
}

TEST_F(UndoTest, TheStackKeepsALimitedNumberOfSteps)
{
    CPatchDoc* pDoc = nullptr;
    OpenWithHistory<CPatchView, CPatchDoc>(&pDoc);
    for (int i = 0; i < CUndoHistory::kUndoLimit + 20; ++i) {
        CPatchRecord rec;
        rec.Data()[100] = uint8_t(i % 2 + 1);
        pDoc->PutPatch(0, rec, "Copy");
    }
    EXPECT_EQ(CUndoHistory::Of(pDoc)->Count(), CUndoHistory::kUndoLimit);
}

// ---------------------------------------------------------------- keyboard

TEST_F(UndoTest, ThePatchWindowIsWorkedFromTheKeyboard)
{
    CPatchDoc* pDoc = nullptr;
    CPatchView* view = OpenWithHistory<CPatchView, CPatchDoc>(&pDoc);
    AnswerDialogs("KEYED");
    view->setFocus();

    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(view->GetSelection(), 0);
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_EQ(view->GetSelection(), 1);
    QTest::keyClick(view, Qt::Key_End);
    EXPECT_EQ(view->GetSelection(), 127);
    // Scrolled so that the last row shows.
    EXPECT_GE(view->GetScrollPosition().y() + view->viewport()->height(), 128 * 16);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(view->GetSelection(), 127);
    QTest::keyClick(view, Qt::Key_Home);
    EXPECT_EQ(view->GetSelection(), 0);
    EXPECT_EQ(view->GetScrollPosition().y(), 0);
    QTest::keyClick(view, Qt::Key_PageDown);
    const int nPage = view->GetSelection();
    EXPECT_GT(nPage, 1);
    QTest::keyClick(view, Qt::Key_PageUp);
    EXPECT_EQ(view->GetSelection(), 0);

    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(pDoc->m_aPatch[1].GetName(), "KEYED           ");
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(pDoc->m_aPatch[1], CPatchRecord());
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_F2);
    EXPECT_EQ(pDoc->m_aPatch[2].GetName(), "KEYED           ");
    EXPECT_EQ(m_nNameDialogs, 2);
    EXPECT_EQ(CUndoHistory::Of(pDoc)->Count(), 3);

    // Copy and Paste by command, Esc lets go of a held entry.
    view->ExecuteCommand(ID_EDIT_COPY);
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopyPatch);
    QTest::keyClick(view, Qt::Key_Down);
    view->ExecuteCommand(ID_EDIT_PASTE);
    EXPECT_EQ(pDoc->m_aPatch[3], pDoc->m_aPatch[2]);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    view->ExecuteCommand(ID_EDIT_COPY);
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());

    // The context menu opens on the selected row.
    std::vector<int> shown;
    CListViewTestPeer::SetPopupHook([&](const std::vector<CListView::CMenuItem>& items, const QPoint&) {
        for (const auto& item : items)
            shown.push_back(item.nId);
        return 0;
    });
    QTest::keyClick(view, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(view->GetContextRow(), 3);
    QTest::keyClick(view, Qt::Key_Menu);
    EXPECT_EQ(shown.size(), 12u);

    // With Send Data on a move auditions, once while it sends.
    SetSendDataSwitch(1);
    TakeSent();
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_TRUE(view->IsSending());
    EXPECT_EQ(view->GetSelection(), 4);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(view->GetSelection(), 5);
    m_clock.RunUntil([view] { return !view->IsSending(); }, 60'000'000LL);
    const auto sent = TakeSent();
    ASSERT_FALSE(sent.empty());
    for (const auto& m : sent)
        EXPECT_NE(MessageAddress(m.bytes), 0xFFFFFFFFu);
}

TEST_F(UndoTest, ThePerformanceWindowMovesBetweenAPerformanceAndItsPatches)
{
    CPerformDoc* pDoc = nullptr;
    CPerformView* view = OpenWithHistory<CPerformView, CPerformDoc>(&pDoc);
    AnswerDialogs("KEYED");
    view->setFocus();

    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(view->GetPerformanceSelection(), 1);
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(view->GetPerformanceSelection(), -1);
    EXPECT_EQ(view->GetPatchSelection(), 2);
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(view->GetPatchSelection(), 3);
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(view->GetPatchSelection(), 3);
    QTest::keyClick(view, Qt::Key_Down); // the first patch of the next performance
    EXPECT_EQ(view->GetPatchSelection(), 4);
    QTest::keyClick(view, Qt::Key_F2);
    EXPECT_EQ(pDoc->m_aPerform[2].m_aPatch[0].GetName(), "KEYED           ");
    QTest::keyClick(view, Qt::Key_Left);
    EXPECT_EQ(view->GetPatchSelection(), -1);
    EXPECT_EQ(view->GetPerformanceSelection(), 2);
    QTest::keyClick(view, Qt::Key_Enter);
    EXPECT_EQ(pDoc->m_aPerform[2].GetName(), "KEYED           ");
    EXPECT_EQ(pDoc->m_aPerform[2].m_aPatch[0].GetName(), "KEYED           ");
    QTest::keyClick(view, Qt::Key_Delete); // the performance with both its patches
    EXPECT_EQ(pDoc->m_aPerform[2], CPerformRecord());
    QTest::keyClick(view, Qt::Key_End);
    EXPECT_EQ(view->GetPerformanceSelection(), 63);
    EXPECT_EQ(CUndoHistory::Of(pDoc)->Count(), 3);
    view->ExecuteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(pDoc->m_aPerform[2].GetName(), "KEYED           ");
}

} // namespace
} // namespace vantorel::test
