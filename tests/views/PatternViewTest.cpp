// The pattern window: note names, its bounds, row repaints, copying patterns
// within and between documents, the context menu, Initialize and saving,
// Get and Send through the commands, and the drawn keyboard.
#include <algorithm>
#include <array>
#include <set>

#include "DataWindowTestSupport.h"
#include "data/MotionDoc.h"
#include "data/PatternDoc.h"
#include "data/SystemDoc.h"
#include "res/Strings.h"
#include "transfer/PatternTransfer.h"
#include "views/MotionView.h"
#include "views/PatternView.h"
#include "views/SystemView.h"
#include "support/ListViewTestPeer.h"

namespace vantorel::test {
namespace {

const char* const kNames[48] = {"C#2", "D2 ", "D#2", "E2 ", "F2 ", "F#2", "G2 ", "G#2", "A2 ", "A#2",
                                "B2 ", "C3 ", "C#3", "D3 ", "D#3", "E3 ", "F3 ", "F#3", "G3 ", "G#3",
                                "A3 ", "A#3", "B3 ", "C4 ", "C#4", "D4 ", "D#4", "E4 ", "F4 ", "F#4",
                                "G4 ", "G#4", "A4 ", "A#4", "B4 ", "C5 ", "C#5", "D5 ", "D#5", "E5 ",
                                "F5 ", "F#5", "G5 ", "G#5", "A5 ", "A#5", "B5 ", "C6 "};

class PatternViewTest : public CDataWindowTest {
protected:
    void SetUp() override
    {
        CDataWindowTest::SetUp();
        m_pView = OpenWindow<CPatternView, CPatternDoc>(&m_pDoc);
        m_pDoc->AddView(&m_repaints);
    }
    CPatternEntry& Entry(int i) { return m_pDoc->m_aPattern[size_t(i)]; }
    static void SetEntry(CVarEntry& e, std::vector<uint8_t> data, uint8_t value, uint32_t flag)
    {
        e.SetData(std::move(data));
        e.m_byValue = value;
        e.m_dwFlag = flag;
    }
    CRepaintRecorder::CUpdate Row(int row) const { return CRepaintRecorder::Rect(m_pDoc->GetRowRect(row)); }

    CPatternDoc* m_pDoc = nullptr;
    CPatternView* m_pView = nullptr;
    CRepaintRecorder m_repaints;
};

TEST(PatternNoteNames, RunFromCSharp2ToC6WithABlankForNaturals)
{
    for (int i = 0; i < 48; ++i)
        EXPECT_EQ(CPatternView::NoteName(i), kNames[i]) << i;
}

// ---------------------------------------------------------------- hit-testing and selection

TEST_F(PatternViewTest, TheLastRowEndsAt767AndTheBottomBorderIsOutside)
{
    Click(m_pView, 100, 767);
    EXPECT_EQ(m_pView->GetSelection(), 47);
    Click(m_pView, 100, 768);
    EXPECT_EQ(m_pView->GetSelection(), -1);
    Click(m_pView, 100, 767);
    Click(m_pView, 100, 769);
    EXPECT_EQ(m_pView->GetSelection(), -1);
    Click(m_pView, 100, 16);
    EXPECT_EQ(m_pView->GetSelection(), 1);
    Click(m_pView, 100, 15);
    EXPECT_EQ(m_pView->GetSelection(), 0);
}

TEST_F(PatternViewTest, TheKeyboardBelongsToTheListAndX207IsOutside)
{
    Click(m_pView, 0, RowY(12));
    EXPECT_EQ(m_pView->GetSelection(), 12);
    Click(m_pView, 30, RowY(13)); // on a black key
    EXPECT_EQ(m_pView->GetSelection(), 13);
    Click(m_pView, 206, RowY(14));
    EXPECT_EQ(m_pView->GetSelection(), 14);
    Click(m_pView, 207, RowY(15));
    EXPECT_EQ(m_pView->GetSelection(), -1);
}

TEST_F(PatternViewTest, SelectionChangesRepaintOnlyTheOldAndNewRows)
{
    Click(m_pView, 100, RowY(3));
    Click(m_pView, 100, RowY(3));
    Click(m_pView, 100, RowY(40));
    Click(m_pView, 100, 800);
    EXPECT_EQ(m_repaints.m_updates,
              (std::vector<CRepaintRecorder::CUpdate>{Row(3), Row(3), Row(40), Row(40)}));
}

// ---------------------------------------------------------------- copying

TEST_F(PatternViewTest, PastingWithinTheWindowCopiesDataBytesOnlyAndRepaintsTwoRows)
{
    SetEntry(Entry(2), {1, 2, 3, 4, 5}, 9, 0);
    SetEntry(Entry(5), {7, 7}, 44, 0);
    ShiftClick(m_pView, 100, RowY(2));
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopyPattern);
    EXPECT_EQ(CCopyBuffer::Get().ShownCursorId(), 143);
    EXPECT_EQ(m_pView->GetSelection(), 2);
    m_repaints.m_updates.clear();

    Click(m_pView, 100, RowY(5));
    EXPECT_EQ(Entry(5).GetBytes(), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(Entry(5).m_byValue, 1);
    EXPECT_EQ(Entry(5).m_dwFlag, 1u);
    EXPECT_EQ(Entry(2).m_byValue, 9); // the source is untouched
    EXPECT_EQ(Entry(2).m_dwFlag, 0u);
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_EQ(m_pView->GetSelection(), 5);
    EXPECT_EQ(m_repaints.m_updates, (std::vector<CRepaintRecorder::CUpdate>{Row(2), Row(5)}));
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_EQ(CCopyBuffer::Get().ShownCursorId(), 0);
}

TEST_F(PatternViewTest, PastingIntoAnotherDocumentMarksOnlyThatOneAndRaisesItsFrame)
{
    CPatternDoc* pOther = nullptr;
    CPatternView* pOtherView = OpenWindow<CPatternView, CPatternDoc>(&pOther);
    SetEntry(Entry(0), std::vector<uint8_t>(300, 0x55), 3, 1);
    ShiftClick(m_pView, 60, RowY(0));
    m_area.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(m_pView->GetParentFrame()));

    ShiftClick(pOtherView, 150, RowY(47)); // a Shift-click while holding is a drop
    EXPECT_EQ(pOther->m_aPattern[47].GetBytes(), std::vector<uint8_t>(300, 0x55));
    EXPECT_EQ(pOther->m_aPattern[47].m_byValue, 1);
    EXPECT_TRUE(pOther->IsModified());
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(m_area.activeSubWindow(), pOtherView->GetParentFrame());
    EXPECT_EQ(pOtherView->GetSelection(), 47);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
}

TEST_F(PatternViewTest, PastingAnEmptyPatternEmptiesTheDestination)
{
    CPatternDoc* pOther = nullptr;
    CPatternView* pOtherView = OpenWindow<CPatternView, CPatternDoc>(&pOther);
    Entry(9).Clear();
    ShiftClick(m_pView, 100, RowY(9));
    Click(pOtherView, 100, RowY(9));
    EXPECT_EQ(pOther->m_aPattern[9].GetSize(), 0u);
    EXPECT_TRUE(pOther->IsModified());
}

TEST_F(PatternViewTest, ChangesToThePickedUpPatternBeforeTheDropAreDropped)
{
    ShiftClick(m_pView, 100, RowY(1));
    SetEntry(Entry(1), {9, 8, 7}, 1, 1);
    Click(m_pView, 100, RowY(30));
    EXPECT_EQ(Entry(30).GetBytes(), (std::vector<uint8_t>{9, 8, 7}));
}

TEST_F(PatternViewTest, DroppingAPatternOnItselfCopiesNothing)
{
    SetEntry(Entry(4), {1}, 6, 0);
    ShiftClick(m_pView, 100, RowY(4));
    Click(m_pView, 100, RowY(4));
    EXPECT_EQ(Entry(4).m_byValue, 6); // not cleared
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
}

TEST_F(PatternViewTest, APatternIsRefusedBySystemAndMotionWindowsAndStaysPickedUp)
{
    CSystemDoc* pSystem = nullptr;
    CSystemView* pSystemView = OpenWindow<CSystemView, CSystemDoc>(&pSystem);
    CMotionDoc* pMotions = nullptr;
    CMotionView* pMotionView = OpenWindow<CMotionView, CMotionDoc>(&pMotions);
    CPatternDoc* pOther = nullptr;
    CPatternView* pOtherView = OpenWindow<CPatternView, CPatternDoc>(&pOther);
    SetEntry(Entry(3), {4, 4, 4}, 1, 1);

    ShiftClick(m_pView, 100, RowY(3));
    Click(pSystemView, 5, 5);
    Click(pMotionView, 5, 5);
    EXPECT_EQ(Boxes(), std::vector<std::string>(2, res::kCantCopyInHere));
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopyPattern);
    EXPECT_FALSE(pSystem->IsModified());
    EXPECT_FALSE(pMotions->IsModified());

    Click(pOtherView, 100, RowY(6));
    EXPECT_EQ(pOther->m_aPattern[6].GetBytes(), (std::vector<uint8_t>{4, 4, 4}));
}

TEST_F(PatternViewTest, OtherKindsAreRefusedInsideAndForgottenOutside)
{
    CSystemView* pSystemView = OpenWindow<CSystemView, CSystemDoc>();
    CMotionView* pMotionView = OpenWindow<CMotionView, CMotionDoc>();
    const std::vector<uint8_t> before = Entry(0).GetBytes();
    Click(m_pView, 100, RowY(7));

    ShiftClick(pSystemView, 5, 20);
    Click(m_pView, 100, RowY(0));
    ShiftClick(pMotionView, 5, 5); // a drop attempt there, refused too
    EXPECT_EQ(Boxes(), std::vector<std::string>(2, res::kCantCopyInHere));
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopyTxRx);
    EXPECT_EQ(m_pView->GetSelection(), 7);
    EXPECT_EQ(Entry(0).GetBytes(), before);

    ShiftClick(m_pView, 100, 768);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_EQ(m_pView->GetSelection(), -1);
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(PatternViewTest, AHeldPatternClickedOutsideIsForgotten)
{
    ShiftClick(m_pView, 100, RowY(2));
    Click(m_pView, 300, RowY(2));
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_EQ(m_pView->GetSelection(), -1);
    Click(m_pView, 100, RowY(5)); // a plain click selects again, copying nothing
    EXPECT_EQ(m_pView->GetSelection(), 5);
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(PatternViewTest, AfterClearCopyBufferAPlainClickOnlySelects)
{
    SetEntry(Entry(0), {3, 3}, 1, 1);
    ShiftClick(m_pView, 100, RowY(0));
    CCopyBuffer::Get().Clear();
    EXPECT_EQ(CCopyBuffer::Get().ShownCursorId(), 0);
    Click(m_pView, 100, RowY(5));
    EXPECT_EQ(m_pView->GetSelection(), 5);
    EXPECT_EQ(Entry(5).GetSize(), kInitialPatternData.size());
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(PatternViewTest, APatternWhoseDocumentClosedIsNeverPasted)
{
    CPatternDoc* pOther = nullptr;
    CPatternView* pOtherView = OpenWindow<CPatternView, CPatternDoc>(&pOther);
    ShiftClick(pOtherView, 100, RowY(0));
    delete pOtherView->GetParentFrame();
    m_docs.erase(std::find_if(m_docs.begin(), m_docs.end(), [&](auto& d) { return d.get() == pOther; }));
    Click(m_pView, 100, RowY(0));
    EXPECT_EQ(m_pView->GetSelection(), 0);
    EXPECT_FALSE(m_pDoc->IsModified());
}

// ---------------------------------------------------------------- context menu, Initialize, saving

TEST_F(PatternViewTest, RightClickSelectsTheRowAndOffersItsMenu)
{
    EXPECT_EQ(RightClickChoose(m_pView, 100, RowY(20), 0), (std::vector<int>{32813, 0, 32814, 32815}));
    EXPECT_EQ(m_pView->GetSelection(), 20);
    EXPECT_EQ(m_pView->GetContextRow(), 20);
    EXPECT_EQ(m_repaints.m_updates, std::vector<CRepaintRecorder::CUpdate>{Row(20)});
}

TEST_F(PatternViewTest, RightClickBelowTheLastRowReachesNoEntry)
{
    RightClickChoose(m_pView, 100, RowY(10), 0);
    bool bShown = false;
    CListViewTestPeer::SetPopupHook([&](const std::vector<CListView::CMenuItem>&, const QPoint&) {
        bShown = true;
        return CPatternView::ID_INITIALIZE_PATTERN_DATA;
    });
    for (int y : {768, 769, 790})
        RightClick(m_pView, 100, y);
    EXPECT_FALSE(bShown);
    EXPECT_EQ(m_pView->GetSelection(), 10);
    EXPECT_EQ(m_pView->GetContextRow(), 10);
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(PatternViewTest, InitializeEmptiesThePatternWithoutRepaintingAndIsSavedAsSixBytes)
{
    SetEntry(Entry(7), {1, 2, 3}, 5, 0);
    Click(m_pView, 100, RowY(7));
    m_repaints.m_updates.clear();
    RightClickChoose(m_pView, 100, RowY(7), CPatternView::ID_INITIALIZE_PATTERN_DATA);
    EXPECT_EQ(Entry(7).GetSize(), 0u);
    EXPECT_EQ(Entry(7).m_byValue, 1);
    EXPECT_EQ(Entry(7).m_dwFlag, 1u);
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_TRUE(m_repaints.m_updates.empty());

    std::vector<uint8_t> file;
    CArchive ar(file);
    m_pDoc->Serialize(ar);
    ASSERT_EQ(file.size(), 128u + 47 * 20 + 6);
    const size_t at = 128 + 7 * 20;
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + at, file.begin() + at + 6),
              (std::vector<uint8_t>{0x01, 0x01, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + at + 6, file.begin() + at + 12),
              (std::vector<uint8_t>{0x01, 0x01, 0x0E, 0x00, 0x00, 0x00}));
}

// ---------------------------------------------------------------- Get and Send

class PatternTransferTest : public PatternViewTest {
protected:
    void SetUp() override
    {
        PatternViewTest::SetUp();
        // Every pattern of the device differs from a new document's.
        for (int n = 0; n < 48; ++n) {
            m_device.Pattern(n).m_nValue = uint8_t(n + 10);
            m_device.Pattern(n).m_data.assign(size_t(n * 5 + 1), uint8_t(n));
        }
        m_device.Pattern(2).m_data.assign(240, 0x22); // two packets
    }
    void ExpectFromDevice(int n)
    {
        EXPECT_EQ(Entry(n).GetBytes(), m_device.Pattern(n).m_data) << n;
        EXPECT_EQ(Entry(n).m_byValue, m_device.Pattern(n).m_nValue) << n;
    }
    void ExpectInitial(int n)
    {
        EXPECT_EQ(Entry(n).GetBytes(),
                  std::vector<uint8_t>(kInitialPatternData.begin(), kInitialPatternData.end()))
            << n;
    }
};

TEST_F(PatternTransferTest, EveryCommandIsHandledByTheWindow)
{
    for (int id : {32784, 32785, 32813, 32814, 32815})
        EXPECT_TRUE(m_pView->HandlesCommand(id)) << id;
}

TEST_F(PatternTransferTest, GetPatternFetchesAllFortyEightAndMarksModified)
{
    int nSingle = 0;
    CDocument* pTarget = nullptr;
    AnswerTransfers(IDOK, [&](CTransferDlg* t) {
        auto* dlg = dynamic_cast<CGetPatternDlg*>(t);
        ASSERT_NE(dlg, nullptr);
        const auto* pPlan = static_cast<const CVarGetPlan*>(dlg->Plan());
        nSingle = pPlan->m_nSingle;
        pTarget = pPlan->m_pDoc;
    });
    m_pView->ExecuteCommand(CPatternView::ID_GET_PATTERN);
    EXPECT_EQ(nSingle, -1);
    EXPECT_EQ(pTarget, m_pDoc);
    EXPECT_TRUE(m_bTransferEnded);
    for (int n = 0; n < 48; ++n)
        ExpectFromDevice(n);
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_EQ(m_nComplete, 1);
    EXPECT_EQ(m_deviceTexts,
              std::vector<std::string>{"MIDI IN:\n\tKQ-3300 Simulator\n\nMIDI OUT:\n\tKQ-3300 Simulator"});
}

TEST_F(PatternTransferTest, GetPatternDataFetchesTheContextRowOnly)
{
    int nSingle = -2;
    AnswerTransfers(IDOK, [&](CTransferDlg* t) {
        nSingle = static_cast<const CVarGetPlan*>(dynamic_cast<CGetPatternDlg*>(t)->Plan())->m_nSingle;
    });
    RightClickChoose(m_pView, 100, RowY(2), CPatternView::ID_GET_PATTERN_DATA);
    EXPECT_EQ(nSingle, 2);
    ExpectFromDevice(2);
    EXPECT_EQ(Entry(2).GetSize(), 240u);
    for (int n : {0, 1, 3, 47})
        ExpectInitial(n);
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_EQ(m_nComplete, 0);
}

TEST_F(PatternTransferTest, ACancelledGetLeavesTheDocumentUnmarked)
{
    AnswerTransfers(IDCANCEL);
    m_pView->ExecuteCommand(CPatternView::ID_GET_PATTERN);
    EXPECT_EQ(m_deviceTexts.size(), 1u);
    ExpectInitial(0);
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(PatternTransferTest, SendPatternDataSendsTheContextRowAndSendPatternSendsAll)
{
    SetEntry(Entry(4), std::vector<uint8_t>(500, 0x44), 77, 1);
    int nSingle = -2;
    AnswerTransfers(IDOK, [&](CTransferDlg* t) {
        auto* dlg = dynamic_cast<CSendPatternDlg*>(t);
        ASSERT_NE(dlg, nullptr);
        nSingle = static_cast<const CVarSendPlanT<CPatternEntry>*>(dlg->Plan())->m_nSingle;
    });
    RightClickChoose(m_pView, 100, RowY(4), CPatternView::ID_SEND_PATTERN_DATA);
    EXPECT_EQ(nSingle, 4);
    EXPECT_EQ(m_device.Pattern(4).m_data, Entry(4).GetBytes());
    EXPECT_EQ(m_device.Pattern(4).m_nValue, 77);
    EXPECT_EQ(m_device.Pattern(5).m_nValue, 15); // untouched
    EXPECT_FALSE(m_pDoc->IsModified());

    m_pView->ExecuteCommand(CPatternView::ID_SEND_PATTERN);
    EXPECT_EQ(nSingle, -1);
    for (int n = 0; n < 48; ++n)
        EXPECT_EQ(m_device.Pattern(n).m_data, Entry(n).GetBytes()) << n;
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(m_nComplete, 1);
}

// ---------------------------------------------------------------- drawing

TEST_F(PatternViewTest, FitsItsFrameToTheContent)
{
    Enlarge(m_pView);
    EXPECT_EQ(m_pView->GetTotalSize(), QSize(206, 769));
    EXPECT_EQ(m_pView->viewport()->size(), QSize(206, 769));
}

TEST_F(PatternViewTest, DrawsTheListGridAndBlackLabels)
{
    Enlarge(m_pView);
    Click(m_pView, 100, RowY(1));
    const QImage img = Picture(m_pView);
    ASSERT_EQ(img.size(), QSize(206, 769));
    for (int y : {5, 300, 760}) {
        EXPECT_EQ(Px(img, 56, y), kDark) << y;
        EXPECT_EQ(Px(img, 57, y), kWhite) << y;
        EXPECT_EQ(Px(img, 85, y), kDark) << y;
        EXPECT_EQ(Px(img, 86, y), kWhite) << y;
        EXPECT_EQ(Px(img, 205, y), kDark) << y;
        EXPECT_EQ(Px(img, 204, y), kGrey) << y;
    }
    for (int k = 0; k <= 48; ++k) {
        EXPECT_EQ(Px(img, 180, k * 16), kDark) << k;
        if (k < 48) {
            EXPECT_EQ(Px(img, 180, k * 16 + 1), kWhite) << k;
        }
    }
    EXPECT_EQ(Px(img, 200, 24), kDark); // the selected row 1
    EXPECT_EQ(Px(img, 200, 40), kGrey);
    // Labels in black on every row, nothing in green.
    for (int i = 0; i < 48; ++i)
        EXPECT_GT(CountInk(img, 60, i * 16 + 2, 200, i * 16 + 16), 30) << i;
    EXPECT_EQ(CountGreenish(img, 0, 0, 206, 769), 0);
}

TEST_F(PatternViewTest, DrawsAKeyboardWithBlackKeysOnTheSharpRows)
{
    Enlarge(m_pView);
    Click(m_pView, 100, RowY(4)); // a selection never reaches the keyboard
    const QImage img = Picture(m_pView);
    // White-key boundaries: through the middle of each black key, and one
    // pixel under the line between two natural rows (E/F, B/C).
    std::set<int> lines;
    for (int i = 0; i < 48; ++i) {
        const bool sharp = kNames[i][1] == '#';
        if (sharp)
            lines.insert(i * 16 + 9);
        else if (i > 0 && kNames[i - 1][1] != '#')
            lines.insert(i * 16 + 1);
    }
    EXPECT_EQ(lines.count(9), 1u);
    EXPECT_EQ(*lines.rbegin(), 753);
    for (int y = 0; y < 769; ++y) {
        ASSERT_EQ(Px(img, 10, y), lines.count(y) ? kBlack : kWhite) << y;
        ASSERT_EQ(Px(img, 0, y), Px(img, 10, y)) << y;
        ASSERT_EQ(Px(img, 55, y), Px(img, 17, y) == kBlack || Px(img, 30, y) == kBlack ? kBlack : kWhite)
            << y;
    }
    // Black keys span x 18 to 55 and one row, one pixel below their row.
    for (int i = 0; i < 48; ++i) {
        const bool sharp = kNames[i][1] == '#';
        for (int dy : {1, 8, 16})
            EXPECT_EQ(Px(img, 30, i * 16 + dy), sharp ? kBlack : (lines.count(i * 16 + dy) ? kBlack : kWhite))
                << i << " " << dy;
        if (sharp) {
            EXPECT_EQ(Px(img, 18, i * 16 + 5), kBlack) << i;
            EXPECT_EQ(Px(img, 55, i * 16 + 5), kBlack) << i;
            EXPECT_EQ(Px(img, 17, i * 16 + 5), kWhite) << i;
            EXPECT_EQ(Px(img, 30, i * 16), kWhite) << i;
        }
    }
    SaveScreenshot(m_pView, "Pattern1", "pattern-window.png");
}

} // namespace
} // namespace vantorel::test
