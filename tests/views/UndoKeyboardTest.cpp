// Undo and redo in every kind of window, the clean state after a save, the
// one step of a whole Get (also a cancelled one), the list windows worked
// from the keyboard, and several entries at once: selected with Ctrl, copied
// and pasted (also through the system clipboard), dragged and moved.
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

#include "DataWindowTestSupport.h"
#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "framework/gui/DocumentFiles.h"
#include "framework/gui/UndoHistory.h"
#include "transfer/SysExExport.h"
#include "transfer/plans/PatchPlan.h"
#include "transfer/plans/VarPlan.h"
#include "views/EditCommands.h"
#include "views/EntryClip.h"
#include "views/MotionView.h"
#include "views/NameDlg.h"
#include "views/PatchView.h"
#include "views/PatternView.h"
#include "views/PerformView.h"
#include "views/RowOrder.h"
#include "views/SystemView.h"
#include "support/GuiTestPeers.h"
#include "support/ListViewTestPeer.h"

namespace vantorel::test {
namespace {

using namespace edit_commands;

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

    template <class View, class Doc>
    CListView* OpenAny(CDocument** ppDoc)
    {
        Doc* pDoc = nullptr;
        CListView* view = OpenWindow<View, Doc>(&pDoc);
        *ppDoc = pDoc;
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

    // Mouse events at a row (x 50) as the mouse gives them.
    static void MouseAt(CListView* view, QEvent::Type type, int y, Qt::KeyboardModifiers mods = {},
                        Qt::MouseButton button = Qt::LeftButton)
    {
        const QPoint pt = Show(view, 50, y);
        QMouseEvent e(type, pt, view->viewport()->mapToGlobal(pt), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, mods);
        QCoreApplication::sendEvent(view->viewport(), &e);
    }
    static void CtrlClick(CListView* view, int y, Qt::KeyboardModifiers mods = Qt::ControlModifier)
    {
        MouseAt(view, QEvent::MouseButtonPress, y, mods);
        MouseAt(view, QEvent::MouseButtonRelease, y, mods);
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
    EXPECT_EQ(0,
              std::memcmp(pDoc->m_aPerform[5].Data(), m_device.Performance(4).data(), CPerformRecord::kSize));

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

namespace vantorel::test {
namespace {

// ---------------------------------------------------------------- several entries

// Patches named "P0" ... "P127", so that every move and copy shows.
void NamePatches(CPatchDoc& doc, const char* szPrefix)
{
    for (int i = 0; i < CPatchDoc::kPatchCount; ++i)
        doc.m_aPatch[size_t(i)].SetName(szPrefix + std::to_string(i));
}
std::vector<std::string> Names(const CPatchDoc& doc, int nFirst, int nCount)
{
    std::vector<std::string> names;
    for (int i = nFirst; i < nFirst + nCount; ++i) {
        std::string name = doc.m_aPatch[size_t(i)].GetName();
        names.push_back(name.substr(0, name.find(' ')));
    }
    return names;
}
// Entries of doc as another instance copies them: their messages back to back.
QMimeData* CopiedFrom(const CDocKind& kind, const CDocument& doc, const std::vector<int>& entries)
{
    CSysExBytes bytes;
    for (int n : entries) {
        const CSysExBytes one = JoinSysEx(ExportSysEx(kind, doc, n).messages);
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    auto* pData = new QMimeData;
    pData->setData(kSysExMimeType,
                   QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    return pData;
}

// Drops data on a window at a viewport point as a drag from anywhere would.
void DropOn(CListView* view, const QMimeData& data, const QPoint& pt)
{
    QDragEnterEvent enter(pt, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(view->viewport(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(pt), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(view->viewport(), &drop);
    QCoreApplication::processEvents(); // what a drop does happens after the drag
}

TEST(RowOrder, MovesPutTheEntriesTogetherWhereTheyAreDroppedAndShiftTheOthers)
{
    struct Case {
        std::vector<int> selected;
        int nTarget;
        std::vector<int> order;
    };
    const Case moves[] = {{{1}, 4, {0, 2, 3, 4, 1, 5}},
                          {{4}, 1, {0, 4, 1, 2, 3, 5}},
                          {{0, 2}, 3, {1, 3, 4, 0, 2, 5}},
                          {{1, 2}, 5, {0, 3, 4, 5, 1, 2}}}; // as far down as they fit
    for (const Case& c : moves)
        EXPECT_EQ(OrderAfterMove(c.selected, c.nTarget, 6), c.order);
    EXPECT_EQ(OrderAfterStep({1, 2}, +1, 5), (std::vector<int>{0, 3, 1, 2, 4}));
    EXPECT_EQ(OrderAfterStep({1, 3}, -1, 5), (std::vector<int>{1, 0, 3, 2, 4}));
    EXPECT_TRUE(OrderAfterStep({0, 2}, -1, 5).empty());
    EXPECT_TRUE(OrderAfterStep({4}, +1, 5).empty());
}

TEST_F(UndoTest, SeveralEntriesCopiedOncePasteIntoManyPlacesEachAsOneStep)
{
    CPatchDoc* pSource = nullptr;
    CPatchDoc* pDest = nullptr;
    CPatchView* source = OpenWithHistory<CPatchView, CPatchDoc>(&pSource);
    CPatchView* dest = OpenWithHistory<CPatchView, CPatchDoc>(&pDest);
    NamePatches(*pSource, "S");
    NamePatches(*pDest, "D");
    pDest->SetTitle("best.pat");
    source->setFocus();

    // A click, a range down with Ctrl+Shift, one taken out and one added with Ctrl.
    CtrlClick(source, RowY(2), {});
    QTest::keyClick(source, Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(source, Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(source->SelectedRows(), (std::vector<int>{2, 3, 4}));
    CtrlClick(source, RowY(3));
    CtrlClick(source, RowY(9));
    EXPECT_EQ(source->SelectedRows(), (std::vector<int>{2, 4, 9}));
    // A range from there comes on top of them, and shrinks back.
    QTest::keyClick(source, Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(source->SelectedRows(), (std::vector<int>{2, 4, 9, 10}));
    QTest::keyClick(source, Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(source->SelectedRows(), (std::vector<int>{2, 4, 9}));
    const QImage picture = Picture(source);
    EXPECT_EQ(Px(picture, 100, RowY(9)), kDark); // drawn as the selection is
    EXPECT_EQ(Px(picture, 100, RowY(3)), kGrey);
    source->ExecuteCommand(ID_EDIT_COPY);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding()); // several entries are not picked up

    Click(dest, 50, RowY(10));
    ASSERT_TRUE(dest->ExecuteCommand(ID_EDIT_PASTE));
    EXPECT_EQ(Names(*pDest, 9, 5), (std::vector<std::string>{"D9", "S2", "S4", "S9", "D13"}));
    EXPECT_EQ(dest->SelectedRows(), (std::vector<int>{10, 11, 12}));
    Click(dest, 50, RowY(40));
    dest->ExecuteCommand(ID_EDIT_PASTE); // the copy is kept
    EXPECT_EQ(Names(*pDest, 40, 3), (std::vector<std::string>{"S2", "S4", "S9"}));
    // Into the patch column of a performance window: one patch row after another.
    CPerformDoc* pPerform = nullptr;
    CPerformView* perform = OpenWithHistory<CPerformView, CPerformDoc>(&pPerform);
    Click(perform, kPatchX, LowerY(1));
    perform->ExecuteCommand(ID_EDIT_PASTE);
    EXPECT_EQ(pPerform->m_aPerform[1].m_aPatch[1], pSource->m_aPatch[2]);
    EXPECT_EQ(pPerform->m_aPerform[2].m_aPatch[0], pSource->m_aPatch[4]);
    EXPECT_EQ(pPerform->m_aPerform[2].m_aPatch[1], pSource->m_aPatch[9]);
    EXPECT_EQ(CUndoHistory::Of(pPerform)->Count(), 1);

    // Past the end: refused with the reason, nothing written.
    Click(dest, 50, RowY(126));
    dest->ExecuteCommand(ID_EDIT_PASTE);
    EXPECT_EQ(Names(*pDest, 126, 2), (std::vector<std::string>{"D126", "D127"}));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0],
              "3 entries do not fit from the selected entry of best.pat to the end of the list (2 "
              "rows are left). Select an entry higher up and try again.");

    CUndoHistory* h = CUndoHistory::Of(pDest);
    EXPECT_EQ(h->Count(), 2);
    EXPECT_EQ(h->UndoName(), "Paste");
    dest->ExecuteCommand(ID_EDIT_UNDO);
    dest->ExecuteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Names(*pDest, 10, 3), (std::vector<std::string>{"D10", "D11", "D12"}));
    EXPECT_FALSE(pDest->IsModified());
}

TEST_F(UndoTest, DraggedEntriesMoveWithinTheWindowAndCopyIntoAnother)
{
    CPatchDoc* pDoc = nullptr;
    CPatchDoc* pOther = nullptr;
    CPatchView* view = OpenWithHistory<CPatchView, CPatchDoc>(&pDoc);
    CPatchView* other = OpenWithHistory<CPatchView, CPatchDoc>(&pOther);
    NamePatches(*pDoc, "P");
    view->setFocus();
    int nDrags = 0;
    QPoint ptDrop;
    CListView* target = nullptr;
    CListViewTestPeer::SetDragHook([&](const QMimeData& data) {
        ++nDrags;
        DropOn(target, data, ptDrop);
    });

    // A press without moving is a click; past the drag distance it is a drag.
    CtrlClick(view, RowY(1), {});
    CtrlClick(view, RowY(2), Qt::ControlModifier);
    MouseAt(view, QEvent::MouseButtonPress, RowY(2));
    MouseAt(view, QEvent::MouseButtonRelease, RowY(2));
    EXPECT_EQ(view->SelectedRows(), std::vector<int>{2}); // the click happens on release
    CtrlClick(view, RowY(1), Qt::ControlModifier);
    target = view;
    ptDrop = Show(view, 50, RowY(5));
    MouseAt(view, QEvent::MouseButtonPress, RowY(1));
    MouseAt(view, QEvent::MouseMove, RowY(1) + QApplication::startDragDistance());
    MouseAt(view, QEvent::MouseButtonRelease, RowY(1) + QApplication::startDragDistance());
    EXPECT_EQ(nDrags, 1);
    EXPECT_EQ(Names(*pDoc, 0, 8), (std::vector<std::string>{"P0", "P3", "P4", "P5", "P6", "P1", "P2", "P7"}));
    EXPECT_EQ(view->SelectedRows(), (std::vector<int>{5, 6}));

    // Alt+Up moves them one row up, the passed one goes below them.
    QTest::keyClick(view, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(Names(*pDoc, 3, 4), (std::vector<std::string>{"P5", "P1", "P2", "P6"}));

    // Onto another window they are copied.
    target = other;
    ptDrop = Show(other, 50, RowY(20));
    MouseAt(view, QEvent::MouseButtonPress, RowY(4));
    MouseAt(view, QEvent::MouseMove, RowY(4) + 2 * QApplication::startDragDistance());
    EXPECT_EQ(Names(*pOther, 20, 2), (std::vector<std::string>{"P1", "P2"}));
    EXPECT_EQ(CUndoHistory::Of(pOther)->Count(), 1);

    CUndoHistory* h = CUndoHistory::Of(pDoc);
    EXPECT_EQ(h->Count(), 2);
    EXPECT_EQ(h->UndoName(), "Move");
    view->ExecuteCommand(ID_EDIT_UNDO);
    view->ExecuteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Names(*pDoc, 0, 8), (std::vector<std::string>{"P0", "P1", "P2", "P3", "P4", "P5", "P6", "P7"}));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(UndoTest, InitializeTakesEverySelectedEntryAsOneStepAndOneEntryCommandsWait)
{
    struct Case {
        const char* szWindow;
        std::function<CListView*(CDocument**)> open;
        int nRowHeight;
        int nInitializeId, nGetId, nSendId;
    };
    const Case cases[] = {
        {"patch", [this](CDocument** pp) { return OpenAny<CPatchView, CPatchDoc>(pp); }, 16,
         CPatchView::ID_INIT_PATCH, CPatchView::ID_GET_PATCH, CPatchView::ID_SEND_PATCH},
        {"performance", [this](CDocument** pp) { return OpenAny<CPerformView, CPerformDoc>(pp); }, 32,
         CPerformView::ID_INIT_PERFORMANCE, CPerformView::ID_GET_PERFORMANCE,
         CPerformView::ID_SEND_PERFORMANCE},
        {"motion", [this](CDocument** pp) { return OpenAny<CMotionView, CMotionDoc>(pp); }, 16,
         CMotionView::ID_INITIALIZE_MOTION_DATA, CMotionView::ID_GET_MOTION_DATA,
         CMotionView::ID_SEND_MOTION_DATA},
    };
    AnswerDialogs("UNUSED");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.szWindow);
        CDocument* pDoc = nullptr;
        CListView* view = c.open(&pDoc);
        for (int n = 0; n < 4; ++n) { // none as Initialize leaves it (a motion window has 4)
            std::vector<uint8_t> bytes = pDoc->GetEntryBytes(n);
            bytes[0] = uint8_t(0x30 + n);
            pDoc->ApplyEntries({}, {{n, bytes}});
        }
        m_histories.push_back(std::make_unique<CUndoHistory>(*pDoc));
        const CEntrySnapshot original = pDoc->SnapshotEntries();
        const auto y = [&](int nRow) { return nRow * c.nRowHeight + 5; };
        const auto initialized = [&] {
            std::vector<int> rows;
            for (int n = 0; n < 4; ++n)
                if (pDoc->GetEntryBytes(n) != original.at(size_t(n)))
                    rows.push_back(n);
            return rows;
        };
        CtrlClick(view, y(0), {});
        CtrlClick(view, y(2));
        CtrlClick(view, y(3));

        // Delete: all three, one step that undoes all three.
        QTest::keyClick(view, Qt::Key_Delete);
        EXPECT_EQ(initialized(), (std::vector<int>{0, 2, 3}));
        EXPECT_EQ(pDoc->GetEntryBytes(3), pDoc->GetEntryBytes(0));
        CUndoHistory* h = CUndoHistory::Of(pDoc);
        EXPECT_EQ(h->Count(), 1);
        EXPECT_EQ(h->UndoName(), "Initialize");
        view->ExecuteCommand(ID_EDIT_UNDO);
        EXPECT_EQ(pDoc->SnapshotEntries(), original);

        // A right click on one of them keeps them; the commands of one entry are disabled.
        std::vector<CListView::CMenuItem> shown;
        int nChoose = c.nGetId;
        CListViewTestPeer::SetPopupHook([&](const std::vector<CListView::CMenuItem>& items, const QPoint&) {
            shown = items;
            return nChoose;
        });
        MouseAt(view, QEvent::MouseButtonPress, y(2), {}, Qt::RightButton);
        EXPECT_EQ(view->SelectedRows(), (std::vector<int>{0, 2, 3}));
        std::vector<int> disabled;
        for (const auto& item : shown)
            if (!item.bEnabled)
                disabled.push_back(item.nId);
        EXPECT_EQ(disabled, (std::vector<int>{c.nGetId, c.nSendId}));
        EXPECT_EQ(pDoc->SnapshotEntries(), original); // nothing fetched
        nChoose = c.nInitializeId;
        MouseAt(view, QEvent::MouseButtonPress, y(3), {}, Qt::RightButton);
        EXPECT_EQ(initialized(), (std::vector<int>{0, 2, 3}));
        EXPECT_EQ(h->Count(), 1);
        CListViewTestPeer::SetPopupHook({});
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(UndoTest, ClipboardSysExFromAnotherInstancePastesIntoTheSelectedEntries)
{
    CPatchDoc* pDoc = nullptr;
    CPatchView* view = OpenWithHistory<CPatchView, CPatchDoc>(&pDoc);
    NamePatches(*pDoc, "P");

    // Our copy goes to the clipboard as the entries' exclusive messages.
    Click(view, 50, RowY(6));
    CtrlClick(view, RowY(8));
    view->ExecuteCommand(ID_EDIT_COPY);
    const QByteArray copied = QGuiApplication::clipboard()->mimeData()->data(kSysExMimeType);
    CPatchDoc other;
    NamePatches(other, "X");
    for (int n : {6, 8})
        other.m_aPatch[size_t(n)] = pDoc->m_aPatch[size_t(n)];
    const std::unique_ptr<QMimeData> expected(CopiedFrom(PatchKind(), other, {6, 8}));
    EXPECT_EQ(copied, expected->data(kSysExMimeType));

    // Another instance copies two of its patches: they take over.
    QGuiApplication::clipboard()->setMimeData(CopiedFrom(PatchKind(), other, {30, 31}));
    Click(view, 50, RowY(100));
    view->ExecuteCommand(ID_EDIT_PASTE);
    EXPECT_EQ(Names(*pDoc, 99, 4), (std::vector<std::string>{"P99", "X30", "X31", "P102"}));
    EXPECT_EQ(CUndoHistory::Of(pDoc)->Count(), 1);

    // Messages of another kind have nothing for this window.
    const CMotionDoc motions;
    QGuiApplication::clipboard()->setMimeData(CopiedFrom(MotionKind(), motions, {0}));
    view->ExecuteCommand(ID_EDIT_PASTE);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Can't Copy in Here."});
    EXPECT_EQ(CUndoHistory::Of(pDoc)->Count(), 1);
}

} // namespace
} // namespace vantorel::test
