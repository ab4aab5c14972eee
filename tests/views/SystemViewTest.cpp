// The system window: its two rows and their bounds, copying a block onto the
// same block of another document, the context menus, Initialize, Get and
// Send through the commands, and what it draws.
#include <algorithm>
#include <array>
#include <cstring>

#include "DataWindowTestSupport.h"
#include "data/PatternDoc.h"
#include "data/SystemDoc.h"
#include "res/Strings.h"
#include "transfer/SystemTransfer.h"
#include "views/PatternView.h"
#include "views/SystemView.h"

namespace vantorel::test {
namespace {

constexpr std::array<uint8_t, 23> kParamDefaults = {2, 0, 15, 0, 0, 1, 0, 0, 2, 17, 50, 0,
                                                    0, 0, 0,  0, 2, 2, 0, 0, 2, 0,  0};
constexpr std::array<uint8_t, 42> kTxRxDefaults = {16, 20, 17, 70, 8,  18, 22, 25, 26, 27, 4,  76, 21, 77,
                                                   78, 79, 74, 71, 30, 19, 23, 81, 82, 83, 28, 29, 7,  80,
                                                   24, 73, 75, 31, 72, 92, 95, 93, 12, 13, 94, 5,  32, 2};

class SystemViewTest : public CDataWindowTest {
protected:
    void SetUp() override
    {
        CDataWindowTest::SetUp();
        m_pView = OpenWindow<CSystemView, CSystemDoc>(&m_pDoc);
        m_pDoc->AddView(&m_repaints);
    }
    // Every byte of the document set to a value of its own, so copies show.
    static void Fill(CSystemDoc& doc, int seed)
    {
        for (size_t i = 0; i < CSystemDoc::kSize; ++i)
            doc.m_aSystem[i] = uint8_t((i * 7 + size_t(seed)) & 0x7F);
    }
    static std::vector<uint8_t> Bytes(const std::array<uint8_t, CSystemDoc::kSize>& data, size_t from,
                                      size_t n)
    {
        return {data.begin() + long(from), data.begin() + long(from + n)};
    }
    static std::vector<uint8_t> Bytes(const CSystemDoc& doc, size_t from, size_t n)
    {
        return Bytes(doc.m_aSystem, from, n);
    }

    CSystemDoc* m_pDoc = nullptr;
    CSystemView* m_pView = nullptr;
    CRepaintRecorder m_repaints;
};

// ---------------------------------------------------------------- hit-testing

TEST_F(SystemViewTest, RowsSplitAtSixteenAndTheBottomBorderBelongsToTheSecondRow)
{
    EXPECT_EQ(m_pView->GetSelection(), -1);
    Click(m_pView, 5, 15);
    EXPECT_EQ(m_pView->GetSelection(), 0);
    Click(m_pView, 5, 16);
    EXPECT_EQ(m_pView->GetSelection(), 1);
    Click(m_pView, 0, 0);
    EXPECT_EQ(m_pView->GetSelection(), 0);
    Click(m_pView, 60, 33); // the white line under the list
    EXPECT_EQ(m_pView->GetSelection(), 1);
}

TEST_F(SystemViewTest, BoundsIncludeX121AndY33ButNotBeyond)
{
    Click(m_pView, 121, 5);
    EXPECT_EQ(m_pView->GetSelection(), 0);
    Click(m_pView, 122, 5);
    EXPECT_EQ(m_pView->GetSelection(), -1);
    Click(m_pView, 121, 33);
    EXPECT_EQ(m_pView->GetSelection(), 1);
    Click(m_pView, 60, 34);
    EXPECT_EQ(m_pView->GetSelection(), -1);
}

TEST_F(SystemViewTest, EverySelectionChangeRepaintsTheWholeDocumentAndOnlyChangesDo)
{
    Click(m_pView, 5, 5);
    Click(m_pView, 5, 5);
    Click(m_pView, 5, 20);
    Click(m_pView, 200, 5);
    Click(m_pView, 200, 50);
    EXPECT_EQ(m_repaints.m_updates,
              std::vector<CRepaintRecorder::CUpdate>(3, CRepaintRecorder::Whole())); // 0, 1, none
    EXPECT_FALSE(m_pDoc->IsModified());
}

// ---------------------------------------------------------------- copying

TEST_F(SystemViewTest, SystemParameterBlockCopiesOntoTheSameBlockOfAnotherDocumentOnly)
{
    CSystemDoc* pOther = nullptr;
    CSystemView* pOtherView = OpenWindow<CSystemView, CSystemDoc>(&pOther);
    Fill(*m_pDoc, 1);
    Fill(*pOther, 50);
    const auto source = m_pDoc->m_aSystem;
    const auto txrxBefore = Bytes(*pOther, 23, 42);

    ShiftClick(m_pView, 5, 5);
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopySystem);
    EXPECT_EQ(CCopyBuffer::Get().Source(), m_pDoc->SystemParameter());
    EXPECT_EQ(CCopyBuffer::Get().ShownCursorId(), 142);
    EXPECT_EQ(m_pView->GetSelection(), 0);

    m_area.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(m_pView->GetParentFrame()));
    Click(pOtherView, 5, 5);
    EXPECT_EQ(Bytes(*pOther, 0, 23), Bytes(source, 0, 23));
    EXPECT_EQ(Bytes(*pOther, 23, 42), txrxBefore);
    EXPECT_TRUE(pOther->IsModified());
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(m_pDoc->m_aSystem, source);
    EXPECT_EQ(pOtherView->GetSelection(), 0);
    EXPECT_EQ(m_area.activeSubWindow(), pOtherView->GetParentFrame());
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_EQ(CCopyBuffer::Get().ShownCursorId(), 0);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(SystemViewTest, TxRxBlockCopiesAllFortyTwoBytesAndLeavesTheParametersAlone)
{
    CSystemDoc* pOther = nullptr;
    CSystemView* pOtherView = OpenWindow<CSystemView, CSystemDoc>(&pOther);
    Fill(*m_pDoc, 3);
    Fill(*pOther, 90);
    const auto paramsBefore = Bytes(*pOther, 0, 23);

    ShiftClick(m_pView, 5, 33);
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopyTxRx);
    EXPECT_EQ(CCopyBuffer::Get().ShownCursorId(), 145);
    Click(pOtherView, 100, 20);
    EXPECT_EQ(Bytes(*pOther, 23, 42), Bytes(*m_pDoc, 23, 42));
    EXPECT_EQ(Bytes(*pOther, 0, 23), paramsBefore);
    EXPECT_EQ(pOtherView->GetSelection(), 1);
    EXPECT_TRUE(pOther->IsModified());
}

TEST_F(SystemViewTest, ABlockDroppedOnTheOtherRowIsRefusedAndStaysPickedUp)
{
    CSystemDoc* pOther = nullptr;
    CSystemView* pOtherView = OpenWindow<CSystemView, CSystemDoc>(&pOther);
    Fill(*pOther, 9);
    const auto before = pOther->m_aSystem;
    Click(pOtherView, 5, 20); // selection 1 in the target

    ShiftClick(m_pView, 5, 5);
    Click(pOtherView, 5, 20);
    ASSERT_EQ(Boxes(), std::vector<std::string>{res::kCantCopyInHere});
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopySystem);
    EXPECT_EQ(pOtherView->GetSelection(), 1);
    EXPECT_EQ(pOther->m_aSystem, before);
    EXPECT_FALSE(pOther->IsModified());

    // A Shift-click while holding is a drop, not a new pick-up.
    ShiftClick(pOtherView, 5, 5);
    EXPECT_EQ(Bytes(*pOther, 0, 23), Bytes(*m_pDoc, 0, 23));
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
}

TEST_F(SystemViewTest, DroppingABlockOnItselfCopiesNothingAndEmptiesTheBuffer)
{
    ShiftClick(m_pView, 5, 20);
    Click(m_pView, 5, 20);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(SystemViewTest, AnotherKindIsRefusedOnEitherRow)
{
    CPatternView* pPatternView = OpenWindow<CPatternView, CPatternDoc>();
    const auto before = m_pDoc->m_aSystem;
    Click(m_pView, 5, 20);

    ShiftClick(pPatternView, 100, 5);
    ASSERT_EQ(CCopyBuffer::Get().Kind(), kCopyPattern);
    Click(m_pView, 5, 5);
    ShiftClick(m_pView, 5, 20);
    EXPECT_EQ(Boxes(), std::vector<std::string>(2, res::kCantCopyInHere));
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopyPattern);
    EXPECT_EQ(m_pView->GetSelection(), 1);
    EXPECT_EQ(m_pDoc->m_aSystem, before);
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(SystemViewTest, AnotherKindClickedOutsideIsForgottenKeepingTheSelectionOnlyWithShift)
{
    CPatternView* pPatternView = OpenWindow<CPatternView, CPatternDoc>();
    Click(m_pView, 5, 20);

    ShiftClick(pPatternView, 100, 5);
    ShiftClick(m_pView, 300, 300);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_EQ(m_pView->GetSelection(), 1);

    ShiftClick(pPatternView, 100, 5);
    Click(m_pView, 300, 300);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_EQ(m_pView->GetSelection(), -1);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(SystemViewTest, AHeldBlockClickedOutsideIsForgottenAndTheSelectionCleared)
{
    Click(m_pView, 5, 5);
    ShiftClick(m_pView, 5, 20);
    ASSERT_EQ(CCopyBuffer::Get().Kind(), kCopyTxRx);
    EXPECT_EQ(m_pView->GetSelection(), 1);
    ShiftClick(m_pView, 130, 5);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_EQ(m_pView->GetSelection(), -1);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(SystemViewTest, ShiftClickOutsideWithNothingHeldOnlyClearsTheSelection)
{
    Click(m_pView, 5, 5);
    ShiftClick(m_pView, 5, 40);
    EXPECT_EQ(m_pView->GetSelection(), -1);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
}

TEST_F(SystemViewTest, ABlockWhoseDocumentClosedIsNeverPasted)
{
    CSystemDoc* pOther = nullptr;
    CSystemView* pOtherView = OpenWindow<CSystemView, CSystemDoc>(&pOther);
    Fill(*pOther, 11);
    ShiftClick(pOtherView, 5, 5);
    delete pOtherView->GetParentFrame();
    m_docs.erase(std::find_if(m_docs.begin(), m_docs.end(), [&](auto& d) { return d.get() == pOther; }));
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    Click(m_pView, 5, 5);
    EXPECT_EQ(Bytes(*m_pDoc, 0, 23), std::vector<uint8_t>(kParamDefaults.begin(), kParamDefaults.end()));
    EXPECT_FALSE(m_pDoc->IsModified());
}

// ---------------------------------------------------------------- context menu and Initialize

TEST_F(SystemViewTest, RightClickOffersTheMenuOfTheRowAndSelectsIt)
{
    EXPECT_EQ(RightClickChoose(m_pView, 5, 15, 0), (std::vector<int>{32820, 0, 32821, 32822}));
    EXPECT_EQ(m_pView->GetSelection(), 0);
    EXPECT_EQ(RightClickChoose(m_pView, 5, 16, 0), (std::vector<int>{32823, 0, 32824, 32825}));
    EXPECT_EQ(m_pView->GetSelection(), 1);
    // Anywhere below the split line, even beyond the list, is the Tx/Rx row.
    Click(m_pView, 5, 5);
    EXPECT_EQ(RightClickChoose(m_pView, 300, 200, 0), (std::vector<int>{32823, 0, 32824, 32825}));
    EXPECT_EQ(m_pView->GetSelection(), 1);
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(SystemViewTest, InitializeWritesOneBlocksDefaultsLeavesTheOtherAndMarksModified)
{
    Fill(*m_pDoc, 5);
    const auto txrx = Bytes(*m_pDoc, 23, 42);
    Click(m_pView, 5, 5);
    m_repaints.m_updates.clear();
    RightClickChoose(m_pView, 5, 5, CSystemView::ID_INITIALIZE_SYSTEM_PARAMETER);
    EXPECT_EQ(Bytes(*m_pDoc, 0, 23), std::vector<uint8_t>(kParamDefaults.begin(), kParamDefaults.end()));
    EXPECT_EQ(Bytes(*m_pDoc, 23, 42), txrx);
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_EQ(m_repaints.m_updates, std::vector<CRepaintRecorder::CUpdate>{CRepaintRecorder::Whole()});
    EXPECT_TRUE(Boxes().empty()); // no question asked

    Fill(*m_pDoc, 8);
    const auto params = Bytes(*m_pDoc, 0, 23);
    RightClickChoose(m_pView, 5, 30, CSystemView::ID_INITIALIZE_TXRX_SETTING);
    EXPECT_EQ(Bytes(*m_pDoc, 23, 42), std::vector<uint8_t>(kTxRxDefaults.begin(), kTxRxDefaults.end()));
    EXPECT_EQ(Bytes(*m_pDoc, 0, 23), params);
}

// ---------------------------------------------------------------- Get and Send

class SystemTransferTest : public SystemViewTest {
protected:
    void SetUp() override
    {
        SystemViewTest::SetUp();
        for (size_t i = 0; i < sim::kSystemSize; ++i)
            m_device.System()[i] = uint8_t((i * 3 + 1) & 0x7F);
    }
    std::vector<uint8_t> DeviceBytes(size_t from, size_t n) const
    {
        return {m_device.System().begin() + long(from), m_device.System().begin() + long(from + n)};
    }
};

TEST_F(SystemTransferTest, EveryCommandIsHandledByTheWindow)
{
    for (int id : {32786, 32787, 32820, 32821, 32822, 32823, 32824, 32825})
        EXPECT_TRUE(m_pView->HandlesCommand(id)) << id;
}

TEST_F(SystemTransferTest, GetSystemFetchesBothBlocksShowsCompleteAndMarksModified)
{
    int nMode = -1;
    CDocument* pTarget = nullptr;
    AnswerTransfers(IDOK, [&](CTransferDlg* t) {
        auto* dlg = dynamic_cast<CGetSystemDlg*>(t);
        ASSERT_NE(dlg, nullptr);
        const auto* pPlan = static_cast<const CSystemGetPlan*>(dlg->Plan());
        nMode = pPlan->m_nMode;
        pTarget = pPlan->m_pDoc;
    });
    m_pView->ExecuteCommand(CSystemView::ID_GET_SYSTEM);
    EXPECT_EQ(nMode, 0);
    EXPECT_EQ(pTarget, m_pDoc);
    EXPECT_TRUE(m_bTransferEnded);
    EXPECT_EQ(Bytes(*m_pDoc, 0, 65), DeviceBytes(0, 65));
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_EQ(m_nComplete, 1);
    ASSERT_EQ(m_deviceTexts.size(), 1u);
    EXPECT_EQ(m_deviceTexts[0], "MIDI IN:\n\tKQ-3300 Simulator\n\nMIDI OUT:\n\tKQ-3300 Simulator");
    ASSERT_FALSE(m_repaints.m_updates.empty());
    EXPECT_EQ(m_repaints.m_updates.back(), CRepaintRecorder::Whole());
}

TEST_F(SystemTransferTest, GetTxRxSettingFromTheMenuWritesByteSixAndTheTxRxBlockOnly)
{
    int nMode = -1;
    AnswerTransfers(IDOK, [&](CTransferDlg* t) {
        nMode = static_cast<const CSystemGetPlan*>(dynamic_cast<CGetSystemDlg*>(t)->Plan())->m_nMode;
    });
    const auto before = m_pDoc->m_aSystem;
    RightClickChoose(m_pView, 5, 20, CSystemView::ID_GET_TXRX_SETTING);
    EXPECT_EQ(nMode, 2);
    for (size_t i = 0; i < 23; ++i)
        EXPECT_EQ(m_pDoc->m_aSystem[i], i == 6 ? m_device.System()[6] : before[i]) << i;
    EXPECT_EQ(Bytes(*m_pDoc, 23, 42), DeviceBytes(23, 42));
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_EQ(m_nComplete, 0);
}

TEST_F(SystemTransferTest, GetSystemParameterFromTheMenuWritesTheFirstBlockOnly)
{
    int nMode = -1;
    AnswerTransfers(IDOK, [&](CTransferDlg* t) {
        nMode = static_cast<const CSystemGetPlan*>(dynamic_cast<CGetSystemDlg*>(t)->Plan())->m_nMode;
    });
    RightClickChoose(m_pView, 5, 5, CSystemView::ID_GET_SYSTEM_PARAMETER);
    EXPECT_EQ(nMode, 1);
    EXPECT_EQ(Bytes(*m_pDoc, 0, 23), DeviceBytes(0, 23));
    EXPECT_EQ(Bytes(*m_pDoc, 23, 42), std::vector<uint8_t>(kTxRxDefaults.begin(), kTxRxDefaults.end()));
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(SystemTransferTest, ACancelledGetLeavesTheDocumentUnmarked)
{
    AnswerTransfers(IDCANCEL);
    const auto before = m_pDoc->m_aSystem;
    m_pView->ExecuteCommand(CSystemView::ID_GET_SYSTEM);
    EXPECT_EQ(m_deviceTexts.size(), 1u);
    EXPECT_EQ(m_pDoc->m_aSystem, before);
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_TRUE(m_repaints.m_updates.empty());
}

TEST_F(SystemTransferTest, SendSystemStoresBothBlocksInTheDeviceAndLeavesTheDocumentUnmarked)
{
    Fill(*m_pDoc, 33);
    int nMode = -1;
    AnswerTransfers(IDOK, [&](CTransferDlg* t) {
        auto* dlg = dynamic_cast<CSendSystemDlg*>(t);
        ASSERT_NE(dlg, nullptr);
        nMode = static_cast<const CSystemSendPlan*>(dlg->Plan())->m_nMode;
    });
    m_pView->ExecuteCommand(CSystemView::ID_SEND_SYSTEM);
    EXPECT_EQ(nMode, 0);
    EXPECT_EQ(DeviceBytes(0, 65), Bytes(*m_pDoc, 0, 65));
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(m_nComplete, 1);
}

TEST_F(SystemTransferTest, SendFromTheMenusSendsOneBlock)
{
    Fill(*m_pDoc, 60);
    AnswerTransfers();
    const auto device = DeviceBytes(0, 65);
    RightClickChoose(m_pView, 5, 5, CSystemView::ID_SEND_SYSTEM_PARAMETER);
    EXPECT_EQ(DeviceBytes(0, 23), Bytes(*m_pDoc, 0, 23));
    EXPECT_EQ(DeviceBytes(23, 42), std::vector<uint8_t>(device.begin() + 23, device.end()));

    RightClickChoose(m_pView, 5, 20, CSystemView::ID_SEND_TXRX_SETTING);
    EXPECT_EQ(DeviceBytes(23, 42), Bytes(*m_pDoc, 23, 42));
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(m_nComplete, 0);
}

// ---------------------------------------------------------------- drawing

TEST_F(SystemViewTest, FitsItsFrameToTheContentAndNeverEnlargesIt)
{
    Enlarge(m_pView);
    EXPECT_EQ(m_pView->GetTotalSize(), QSize(121, 33));
    EXPECT_EQ(m_pView->viewport()->size(), QSize(121, 33));

    QWidget* frame = m_pView->GetParentFrame();
    frame->resize(100, 60);
    const QSize small = frame->size();
    m_pView->OnInitialUpdate();
    EXPECT_EQ(frame->size(), small);
}

TEST_F(SystemViewTest, DrawsGreyRowsWithDarkAndWhiteLinesAndGreenLabels)
{
    Enlarge(m_pView);
    QImage img = Picture(m_pView);
    ASSERT_EQ(img.size(), QSize(121, 33));
    for (int y : {3, 8, 14, 20, 30}) {
        EXPECT_EQ(Px(img, 0, y), kDark) << y;
        EXPECT_EQ(Px(img, 1, y), kWhite) << y;
        EXPECT_EQ(Px(img, 2, y), kGrey) << y;
        EXPECT_EQ(Px(img, 119, y), kGrey) << y;
        EXPECT_EQ(Px(img, 120, y), kDark) << y;
    }
    for (int x : {2, 60, 119}) {
        EXPECT_EQ(Px(img, x, 0), kDark) << x;
        EXPECT_EQ(Px(img, x, 1), kWhite) << x;
        EXPECT_EQ(Px(img, x, 16), kDark) << x;
        EXPECT_EQ(Px(img, x, 17), kWhite) << x;
        EXPECT_EQ(Px(img, x, 32), kDark) << x;
    }
    // The labels are drawn in dark green, nothing in black.
    EXPECT_GT(CountGreenish(img, 5, 2, 118, 16), 60);
    EXPECT_GT(CountGreenish(img, 5, 18, 100, 32), 50);
    EXPECT_EQ(CountColour(img, kBlack, 0, 0, 121, 33), 0);
    // Nothing of the labels runs past their text: the right of row 1 is plain.
    EXPECT_EQ(CountColour(img, kGrey, 100, 18, 119, 32), 19 * 14);

    Click(m_pView, 60, 20);
    img = Picture(m_pView);
    EXPECT_EQ(Px(img, 110, 24), kDark);
    EXPECT_EQ(Px(img, 110, 8), kGrey);
    EXPECT_EQ(Px(img, 1, 24), kWhite);
    SaveScreenshot(m_pView, "System1", "system-window.png");
}

} // namespace
} // namespace vantorel::test
