// The motion window: its bounds, whole-window repaints, copying motions
// within and between documents, the context menu, Initialize and saving,
// Get and Send through the commands, and what it draws.
#include <algorithm>

#include "DataWindowTestSupport.h"
#include "data/MotionDoc.h"
#include "data/PatternDoc.h"
#include "data/SystemDoc.h"
#include "res/Strings.h"
#include "transfer/MotionTransfer.h"
#include "views/MotionView.h"
#include "views/PatternView.h"
#include "views/SystemView.h"
#include "support/ListViewTestPeer.h"

namespace vantorel::test {
namespace {

class MotionViewTest : public CDataWindowTest {
protected:
    void SetUp() override
    {
        CDataWindowTest::SetUp();
        m_pView = OpenWindow<CMotionView, CMotionDoc>(&m_pDoc);
        m_pDoc->AddView(&m_repaints);
    }
    CMotionEntry& Entry(int i) { return m_pDoc->m_aMotion[size_t(i)]; }
    static void SetEntry(CVarEntry& e, std::vector<uint8_t> data, uint8_t value, uint32_t flag)
    {
        e.SetData(std::move(data));
        e.m_byValue = value;
        e.m_dwFlag = flag;
    }
    size_t WholeRepaints() const
    {
        return size_t(
            std::count(m_repaints.m_updates.begin(), m_repaints.m_updates.end(), CRepaintRecorder::Whole()));
    }

    CMotionDoc* m_pDoc = nullptr;
    CMotionView* m_pView = nullptr;
    CRepaintRecorder m_repaints;
};

// ---------------------------------------------------------------- hit-testing and selection

TEST_F(MotionViewTest, TheLastRowEndsAt63AndTheBottomBorderIsOutside)
{
    Click(m_pView, 50, 63);
    EXPECT_EQ(m_pView->GetSelection(), 3);
    Click(m_pView, 50, 64);
    EXPECT_EQ(m_pView->GetSelection(), -1);
    Click(m_pView, 50, 0);
    EXPECT_EQ(m_pView->GetSelection(), 0);
    Click(m_pView, 50, 65);
    EXPECT_EQ(m_pView->GetSelection(), -1);
}

TEST_F(MotionViewTest, X150IsInsideAndX151Outside)
{
    Click(m_pView, 150, RowY(1));
    EXPECT_EQ(m_pView->GetSelection(), 1);
    Click(m_pView, 151, RowY(2));
    EXPECT_EQ(m_pView->GetSelection(), -1);
    Click(m_pView, 0, RowY(2));
    EXPECT_EQ(m_pView->GetSelection(), 2);
}

TEST_F(MotionViewTest, SelectionChangesRepaintTheWholeDocument)
{
    Click(m_pView, 50, RowY(1));
    Click(m_pView, 50, RowY(1));
    Click(m_pView, 50, RowY(2));
    Click(m_pView, 50, 100);
    EXPECT_EQ(m_repaints.m_updates, std::vector<CRepaintRecorder::CUpdate>(3, CRepaintRecorder::Whole()));
}

// ---------------------------------------------------------------- copying

TEST_F(MotionViewTest, PastingWithinTheWindowCopiesDataBytesWithValueAndFlagOne)
{
    SetEntry(Entry(0), {10, 20, 30}, 8, 0);
    SetEntry(Entry(3), {1}, 50, 0);
    ShiftClick(m_pView, 10, RowY(0));
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopyMotion);
    EXPECT_EQ(CCopyBuffer::Get().ShownCursorId(), 144);
    m_repaints.m_updates.clear();

    Click(m_pView, 10, RowY(3));
    EXPECT_EQ(Entry(3).GetBytes(), (std::vector<uint8_t>{10, 20, 30}));
    EXPECT_EQ(Entry(3).m_byValue, 1);
    EXPECT_EQ(Entry(3).m_dwFlag, 1u);
    EXPECT_EQ(Entry(0).m_byValue, 8);
    EXPECT_EQ(m_pView->GetSelection(), 3);
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_GE(WholeRepaints(), 1u);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_EQ(CCopyBuffer::Get().ShownCursorId(), 0);
}

TEST_F(MotionViewTest, PastingIntoAnotherDocumentMarksOnlyThatOneAndRaisesItsFrame)
{
    CMotionDoc* pOther = nullptr;
    CMotionView* pOtherView = OpenWindow<CMotionView, CMotionDoc>(&pOther);
    SetEntry(Entry(1), std::vector<uint8_t>(700, 0x31), 1, 1);
    ShiftClick(m_pView, 100, RowY(1));
    m_area.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(m_pView->GetParentFrame()));

    Click(pOtherView, 100, RowY(2));
    EXPECT_EQ(pOther->m_aMotion[2].GetBytes(), std::vector<uint8_t>(700, 0x31));
    EXPECT_TRUE(pOther->IsModified());
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(m_area.activeSubWindow(), pOtherView->GetParentFrame());
    EXPECT_EQ(pOtherView->GetSelection(), 2);
}

TEST_F(MotionViewTest, DroppingAMotionOnItselfCopiesNothing)
{
    SetEntry(Entry(2), {5}, 9, 0);
    ShiftClick(m_pView, 100, RowY(2));
    ShiftClick(m_pView, 100, RowY(2));
    EXPECT_EQ(Entry(2).m_byValue, 9);
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
}

TEST_F(MotionViewTest, AMotionIsRefusedByAPatternWindowAndStaysPickedUp)
{
    CPatternDoc* pPatterns = nullptr;
    CPatternView* pPatternView = OpenWindow<CPatternView, CPatternDoc>(&pPatterns);
    CMotionDoc* pOther = nullptr;
    CMotionView* pOtherView = OpenWindow<CMotionView, CMotionDoc>(&pOther);
    SetEntry(Entry(0), {6, 6}, 1, 1);

    ShiftClick(m_pView, 100, RowY(0));
    Click(pPatternView, 100, RowY(0));
    EXPECT_EQ(Boxes(), std::vector<std::string>{res::kCantCopyInHere});
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopyMotion);
    EXPECT_FALSE(pPatterns->IsModified());
    EXPECT_EQ(pPatterns->m_aPattern[0].GetSize(), kInitialPatternData.size());

    Click(pOtherView, 100, RowY(3));
    EXPECT_EQ(pOther->m_aMotion[3].GetBytes(), (std::vector<uint8_t>{6, 6}));
}

TEST_F(MotionViewTest, OtherKindsAreRefusedInsideAndForgottenOutside)
{
    CSystemView* pSystemView = OpenWindow<CSystemView, CSystemDoc>();
    Click(m_pView, 100, RowY(1));
    ShiftClick(pSystemView, 5, 5);
    Click(m_pView, 100, RowY(0));
    EXPECT_EQ(Boxes(), std::vector<std::string>{res::kCantCopyInHere});
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopySystem);
    EXPECT_EQ(m_pView->GetSelection(), 1);

    Click(m_pView, 100, 64);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_EQ(m_pView->GetSelection(), -1);
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(MotionViewTest, AHeldMotionClickedOutsideIsForgotten)
{
    ShiftClick(m_pView, 100, RowY(3));
    ShiftClick(m_pView, 100, 65);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_EQ(m_pView->GetSelection(), -1);
    // Shift-click outside with nothing held: still nothing held.
    ShiftClick(m_pView, 160, 5);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
}

// ---------------------------------------------------------------- context menu, Initialize, saving

TEST_F(MotionViewTest, RightClickSelectsTheRowAndOffersItsMenu)
{
    EXPECT_EQ(RightClickChoose(m_pView, 100, RowY(3), 0), (std::vector<int>{32817, 0, 32818, 32819}));
    EXPECT_EQ(m_pView->GetSelection(), 3);
    EXPECT_EQ(m_pView->GetContextRow(), 3);
    EXPECT_EQ(WholeRepaints(), 1u);
}

TEST_F(MotionViewTest, RightClickBelowTheLastRowReachesNoEntry)
{
    RightClickChoose(m_pView, 100, RowY(1), 0);
    bool bShown = false;
    CListViewTestPeer::SetPopupHook([&](const std::vector<CListView::CMenuItem>&, const QPoint&) {
        bShown = true;
        return CMotionView::ID_INITIALIZE_MOTION_DATA;
    });
    for (int y : {64, 65, 80, 200})
        RightClick(m_pView, 100, y);
    EXPECT_FALSE(bShown);
    EXPECT_EQ(m_pView->GetSelection(), 1);
    EXPECT_EQ(m_pView->GetContextRow(), 1);
    EXPECT_EQ(Entry(1).GetSize(), kInitialMotionData.size());
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(MotionViewTest, InitializeEmptiesTheMotionRepaintsAndIsSavedAsSixBytes)
{
    SetEntry(Entry(2), {1, 2}, 4, 0);
    Click(m_pView, 100, RowY(2));
    m_repaints.m_updates.clear();
    RightClickChoose(m_pView, 100, RowY(2), CMotionView::ID_INITIALIZE_MOTION_DATA);
    EXPECT_EQ(Entry(2).GetSize(), 0u);
    EXPECT_EQ(Entry(2).m_byValue, 1);
    EXPECT_EQ(Entry(2).m_dwFlag, 1u);
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_EQ(m_repaints.m_updates, std::vector<CRepaintRecorder::CUpdate>{CRepaintRecorder::Whole()});

    std::vector<uint8_t> file;
    CArchive ar(file);
    m_pDoc->Serialize(ar);
    ASSERT_EQ(file.size(), 236u - 21);
    const size_t at = 128 + 2 * 27;
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + at, file.begin() + at + 6),
              (std::vector<uint8_t>{0x01, 0x01, 0x00, 0x00, 0x00, 0x00}));
}

// ---------------------------------------------------------------- Get and Send

class MotionTransferTest : public MotionViewTest {
protected:
    void SetUp() override
    {
        MotionViewTest::SetUp();
        for (int m = 0; m < 4; ++m) {
            m_device.Motion(m).m_nValue = uint8_t(m + 20);
            m_device.Motion(m).m_data.assign(size_t(100 + m * 150), uint8_t(0x40 + m));
        }
    }
    void ExpectFromDevice(int m)
    {
        EXPECT_EQ(Entry(m).GetBytes(), m_device.Motion(m).m_data) << m;
        EXPECT_EQ(Entry(m).m_byValue, m_device.Motion(m).m_nValue) << m;
    }
};

TEST_F(MotionTransferTest, EveryCommandIsHandledByTheWindow)
{
    for (int id : {32788, 32789, 32817, 32818, 32819})
        EXPECT_TRUE(m_pView->HandlesCommand(id)) << id;
}

TEST_F(MotionTransferTest, GetMotionFetchesAllFourMarksModifiedAndRepaints)
{
    int nSingle = 0;
    CDocument* pTarget = nullptr;
    AnswerTransfers(IDOK, [&](CTransferDlg* t) {
        auto* dlg = dynamic_cast<CGetMotionDlg*>(t);
        ASSERT_NE(dlg, nullptr);
        const auto* pPlan = static_cast<const CVarGetPlan*>(dlg->Plan());
        nSingle = pPlan->m_nSingle;
        pTarget = pPlan->m_pDoc;
    });
    m_pView->ExecuteCommand(CMotionView::ID_GET_MOTION);
    EXPECT_EQ(nSingle, -1);
    EXPECT_EQ(pTarget, m_pDoc);
    for (int m = 0; m < 4; ++m)
        ExpectFromDevice(m);
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_EQ(m_nComplete, 1);
    ASSERT_FALSE(m_repaints.m_updates.empty());
    EXPECT_EQ(m_repaints.m_updates.back(), CRepaintRecorder::Whole());
    EXPECT_EQ(m_deviceTexts,
              std::vector<std::string>{"MIDI IN:\n\tKQ-3300 Simulator\n\nMIDI OUT:\n\tKQ-3300 Simulator"});
}

TEST_F(MotionTransferTest, GetMotionDataFetchesTheContextRowOnly)
{
    int nSingle = -2;
    AnswerTransfers(IDOK, [&](CTransferDlg* t) {
        nSingle = static_cast<const CVarGetPlan*>(dynamic_cast<CGetMotionDlg*>(t)->Plan())->m_nSingle;
    });
    RightClickChoose(m_pView, 100, RowY(3), CMotionView::ID_GET_MOTION_DATA);
    EXPECT_EQ(nSingle, 3);
    ExpectFromDevice(3);
    for (int m : {0, 1, 2})
        EXPECT_EQ(Entry(m).GetSize(), kInitialMotionData.size()) << m;
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_EQ(m_nComplete, 0);
}

TEST_F(MotionTransferTest, ACancelledGetLeavesTheDocumentUnmarked)
{
    AnswerTransfers(IDCANCEL);
    RightClickChoose(m_pView, 100, RowY(0), CMotionView::ID_GET_MOTION_DATA);
    m_repaints.m_updates.clear();
    m_pView->ExecuteCommand(CMotionView::ID_GET_MOTION);
    EXPECT_EQ(m_deviceTexts.size(), 2u);
    EXPECT_EQ(Entry(0).GetSize(), kInitialMotionData.size());
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_TRUE(m_repaints.m_updates.empty());
}

TEST_F(MotionTransferTest, SendMotionDataSendsTheContextRowAndSendMotionSendsAll)
{
    SetEntry(Entry(1), std::vector<uint8_t>(462, 0x12), 99, 1);
    int nSingle = -2;
    AnswerTransfers(IDOK, [&](CTransferDlg* t) {
        auto* dlg = dynamic_cast<CSendMotionDlg*>(t);
        ASSERT_NE(dlg, nullptr);
        nSingle = static_cast<const CVarSendPlanT<CMotionEntry>*>(dlg->Plan())->m_nSingle;
    });
    RightClickChoose(m_pView, 100, RowY(1), CMotionView::ID_SEND_MOTION_DATA);
    EXPECT_EQ(nSingle, 1);
    EXPECT_EQ(m_device.Motion(1).m_data, Entry(1).GetBytes());
    EXPECT_EQ(m_device.Motion(1).m_nValue, 99);
    EXPECT_EQ(m_device.Motion(0).m_nValue, 20);

    m_pView->ExecuteCommand(CMotionView::ID_SEND_MOTION);
    EXPECT_EQ(nSingle, -1);
    for (int m = 0; m < 4; ++m)
        EXPECT_EQ(m_device.Motion(m).m_data, Entry(m).GetBytes()) << m;
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(m_nComplete, 1);
}

// ---------------------------------------------------------------- drawing

TEST_F(MotionViewTest, FitsItsFrameToTheContentAndDrawsTheGridAndBlackLabels)
{
    Enlarge(m_pView);
    EXPECT_EQ(m_pView->GetTotalSize(), QSize(150, 65));
    Click(m_pView, 100, RowY(2));
    const QImage img = Picture(m_pView);
    ASSERT_EQ(img.size(), QSize(150, 65));
    for (int y : {5, 25, 60}) {
        EXPECT_EQ(Px(img, 0, y), kDark) << y;
        EXPECT_EQ(Px(img, 1, y), kWhite) << y;
        EXPECT_EQ(Px(img, 29, y), kDark) << y;
        EXPECT_EQ(Px(img, 30, y), kWhite) << y;
        EXPECT_EQ(Px(img, 149, y), kDark) << y;
        EXPECT_EQ(Px(img, 148, y), kGrey) << y;
    }
    for (int k = 0; k <= 4; ++k) {
        EXPECT_EQ(Px(img, 140, k * 16), kDark) << k;
        if (k < 4) {
            EXPECT_EQ(Px(img, 140, k * 16 + 1), kWhite) << k;
        }
    }
    EXPECT_EQ(Px(img, 140, 40), kDark); // the selected row 2
    EXPECT_EQ(Px(img, 140, 24), kGrey);
    for (int i = 0; i < 4; ++i) {
        EXPECT_GT(CountInk(img, 3, i * 16 + 2, 28, i * 16 + 16), 15) << i;
        EXPECT_GT(CountInk(img, 32, i * 16 + 2, 140, i * 16 + 16), 40) << i;
    }
    EXPECT_EQ(CountGreenish(img, 0, 0, 150, 65), 0);
    SaveScreenshot(m_pView, "Motion1", "motion-window.png");
}

} // namespace
} // namespace vantorel::test
