// The performance bank window: two areas and two selections, copying rules for
// performances and patches, both context menus, the six transfer commands and
// the audition of a performance as stored.
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

#include <cstdlib>
#include <cstring>

#include "ViewTestSupport.h"
#include "data/PatchDoc.h"
#include "data/PerformDoc.h"
#include "transfer/CompleteDlg.h"
#include "transfer/TransferDlg.h"
#include "views/NameDlg.h"
#include "views/PatchView.h"
#include "views/PerformView.h"
#include "views/SystemView.h"
#include "support/GuiTestPeers.h"
#include "support/ListViewTestPeer.h"

namespace vantorel::test {
namespace {

constexpr int kNameX = 60;
constexpr int kPatchX = 200;

class PerformViewTest : public CViewTest {
protected:
    void SetUp() override
    {
        CViewTest::SetUp();
        m_pView = OpenWindow<CPerformView, CPerformDoc>(&m_pDoc);
    }
    CPerformRecord& Perf(int p) { return m_pDoc->m_aPerform[size_t(p)]; }

    void AnswerTransfers(int nButton = IDOK)
    {
        CDialogTestPeer::SetModalHook([this, nButton](CDialog* dlg) {
            if (auto* t = dynamic_cast<CTransferDlg*>(dlg)) {
                m_transferTexts.push_back(t->m_strDevices);
                t->ClickButton(nButton);
                m_clock.RunUntil([t] { return t->IsEnded(); }, 600'000'000LL);
            } else if (dynamic_cast<CCompleteDlg*>(dlg)) {
                ++m_nComplete;
                dlg->ClickButton(IDOK);
            }
        });
    }

    CPerformDoc* m_pDoc = nullptr;
    CPerformView* m_pView = nullptr;
    std::vector<std::string> m_transferTexts;
    int m_nComplete = 0;
};

// ---------------------------------------------------------------- hit-testing

TEST_F(PerformViewTest, TheLineAt142BelongsToThePerformanceAnd143ToThePatchColumn)
{
    Click(m_pView, 142, UpperY(3));
    EXPECT_EQ(m_pView->GetPerformanceSelection(), 3);
    EXPECT_EQ(m_pView->GetPatchSelection(), -1);
    Click(m_pView, 143, UpperY(3));
    EXPECT_EQ(m_pView->GetPerformanceSelection(), -1);
    EXPECT_EQ(m_pView->GetPatchSelection(), 6);
    Click(m_pView, 143, LowerY(3));
    EXPECT_EQ(m_pView->GetPatchSelection(), 7);
}

TEST_F(PerformViewTest, ListBoundsAre263WideAnd2047High)
{
    Click(m_pView, 263, 2047);
    EXPECT_EQ(m_pView->GetPatchSelection(), 127);
    Click(m_pView, 264, UpperY(1));
    EXPECT_EQ(m_pView->GetPatchSelection(), -1);
    EXPECT_EQ(m_pView->GetPerformanceSelection(), -1);
    Click(m_pView, 0, 2047);
    EXPECT_EQ(m_pView->GetPerformanceSelection(), 63);
    Click(m_pView, 0, 2048);
    EXPECT_EQ(m_pView->GetPerformanceSelection(), -1);
}

// ---------------------------------------------------------------- copying

TEST_F(PerformViewTest, SecondPatchOfElevenDropsOnTheFirstPatchOfTwelve)
{
    Perf(0).m_aPatch[1].SetName("SECOND OF 11");
    Perf(0).m_aPatch[1].Data()[77] = 42;
    const CPerformRecord before = Perf(1);

    ShiftClick(m_pView, kPatchX, LowerY(0));
    EXPECT_EQ(m_pView->GetPatchSelection(), 1);
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopyPatch);
    EXPECT_EQ(CCopyBuffer::Get().Source(), &Perf(0).m_aPatch[1]);

    Click(m_pView, kPatchX, UpperY(1));
    EXPECT_EQ(Perf(1).m_aPatch[0], Perf(0).m_aPatch[1]);
    // The rest of performance 12 is unchanged.
    EXPECT_EQ(0, std::memcmp(Perf(1).Data(), before.Data(), CPerformRecord::kFirstPatchOffset));
    EXPECT_EQ(Perf(1).m_aPatch[1], before.m_aPatch[1]);
    EXPECT_EQ(m_pView->GetPatchSelection(), 2);
    EXPECT_EQ(m_pView->GetPerformanceSelection(), -1);
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
}

TEST_F(PerformViewTest, APatchFromABankDropsOnEitherPatchOfAnyPerformance)
{
    CPatchDoc* pBank = nullptr;
    CPatchView* pBankView = OpenWindow<CPatchView, CPatchDoc>(&pBank);
    pBank->m_aPatch[10].SetName("BANK TEN");
    ShiftClick(pBankView, 50, 16 * 10 + 3);
    Click(m_pView, kPatchX, LowerY(63));
    EXPECT_EQ(Perf(63).m_aPatch[1], pBank->m_aPatch[10]);
    ShiftClick(pBankView, 50, 16 * 10 + 3);
    Click(m_pView, kPatchX, UpperY(20));
    EXPECT_EQ(Perf(20).m_aPatch[0], pBank->m_aPatch[10]);
    EXPECT_FALSE(pBank->IsModified());
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(PerformViewTest, APatchIsRefusedOnThePerformanceArea)
{
    ShiftClick(m_pView, kPatchX, UpperY(2));
    Click(m_pView, kNameX, PerfY(4));
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Can't Copy in Here."});
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopyPatch);
    EXPECT_EQ(Perf(4), CPerformRecord());
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(PerformViewTest, APerformanceIsRefusedOnThePatchColumn)
{
    ShiftClick(m_pView, kNameX, PerfY(2));
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopyPerformance);
    EXPECT_EQ(m_pView->GetPerformanceSelection(), 2);
    Click(m_pView, kPatchX, UpperY(4));
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Can't Copy in Here."});
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopyPerformance);
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(PerformViewTest, PerformanceElevenOnEightyEightCopiesAll528Bytes)
{
    Perf(0).SetName("ELEVEN");
    Perf(0).m_aFirstPart[2] = 9;
    Perf(0).m_aPatch[0].SetName("P ONE");
    Perf(0).m_aPatch[1].SetName("P TWO");
    ShiftClick(m_pView, 10, PerfY(0));
    Click(m_pView, 142, LowerY(63));
    EXPECT_EQ(Perf(63), Perf(0));
    EXPECT_EQ(m_pView->GetPerformanceSelection(), 63);
    EXPECT_EQ(m_pView->GetPatchSelection(), -1);
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(PerformViewTest, DroppingOnTheSourceCopiesNothing)
{
    ShiftClick(m_pView, kPatchX, LowerY(5));
    Click(m_pView, kPatchX, LowerY(5));
    ShiftClick(m_pView, kNameX, PerfY(5));
    Click(m_pView, kNameX, LowerY(5));
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(PerformViewTest, OtherKindsAreRefusedAndOutsideClicksEmptyTheBuffer)
{
    CPatchDoc* pBank = nullptr;
    OpenWindow<CPatchView, CPatchDoc>(&pBank);
    CCopyBuffer::Get().PickUp(kCopySystem, pBank, pBank); // any entry of another kind
    Click(m_pView, kNameX, PerfY(1));
    Click(m_pView, kPatchX, PerfY(1));
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopySystem);
    Click(m_pView, kNameX, 2048);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_EQ(m_pView->GetPerformanceSelection(), -1);
    EXPECT_EQ(m_pView->GetPatchSelection(), -1);
}

TEST_F(PerformViewTest, ShiftOutsideClearsBothSelections)
{
    Click(m_pView, kNameX, PerfY(3));
    ShiftClick(m_pView, 300, PerfY(3));
    EXPECT_EQ(m_pView->GetPerformanceSelection(), -1);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    Click(m_pView, kPatchX, PerfY(3));
    ShiftClick(m_pView, kPatchX, 2050);
    EXPECT_EQ(m_pView->GetPatchSelection(), -1);
}

// ---------------------------------------------------------------- context menus

TEST_F(PerformViewTest, RightClickOnThePerformanceAreaOffersThePerformanceMenu)
{
    Click(m_pView, kPatchX, LowerY(1));
    const auto shown = RightClickChoose(m_pView, 142, LowerY(7), 0);
    EXPECT_EQ(shown, (std::vector<int>{32805, 0, 32804, 0, 32806, 32807}));
    EXPECT_EQ(m_pView->GetPerformanceSelection(), 7);
    EXPECT_EQ(m_pView->GetPatchSelection(), -1);
    EXPECT_EQ(m_pView->GetContextRow(), 7);
}

TEST_F(PerformViewTest, RightClickOnAnOddHalfRowMakesTheSecondPatchTheContext)
{
    const auto shown = RightClickChoose(m_pView, 143, LowerY(7), 0);
    EXPECT_EQ(shown, (std::vector<int>{32801, 0, 32800, 0, 32802, 32803}));
    EXPECT_EQ(m_pView->GetPatchSelection(), 15);
    EXPECT_EQ(m_pView->GetPerformanceSelection(), -1);
    EXPECT_EQ(m_pView->GetContextHalfRow(), 15);
    EXPECT_EQ(m_pView->GetContextPart(), 2);
    RightClickChoose(m_pView, kPatchX, UpperY(7), 0);
    EXPECT_EQ(m_pView->GetContextPart(), 1);
}

TEST_F(PerformViewTest, RightClickBelowTheLastPerformanceIsIgnored)
{
    Click(m_pView, kNameX, PerfY(9));
    bool bShown = false;
    CListViewTestPeer::SetPopupHook([&](const std::vector<CListView::CMenuItem>&, const QPoint&) {
        bShown = true;
        return 0;
    });
    RightClick(m_pView, kNameX, 2048);
    RightClick(m_pView, kPatchX, 2049);
    EXPECT_FALSE(bShown);
    EXPECT_EQ(m_pView->GetPerformanceSelection(), 9);
}

TEST_F(PerformViewTest, InitializePerformanceRestoresNameSettingsAndBothPatches)
{
    Perf(6).SetName("CHANGED");
    Perf(6).m_aCommon[20] = 1;
    Perf(6).m_aPatch[0].SetName("X");
    Perf(6).m_aPatch[1].Data()[200] = 3;
    RightClickChoose(m_pView, kNameX, PerfY(6), CPerformView::ID_INIT_PERFORMANCE);
    EXPECT_EQ(Perf(6), CPerformRecord());
    EXPECT_EQ(Perf(6).GetName(), "INIT PERFORMANCE");
    EXPECT_EQ(Perf(6).m_aPatch[0].GetName(), "INIT PATCH      ");
    EXPECT_EQ(Perf(6).m_aPatch[1].GetName(), "INIT PATCH      ");
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(PerformViewTest, InitializePatchTouchesOnlyTheContextPatch)
{
    Perf(6).SetName("KEEP");
    Perf(6).m_aPatch[0].SetName("KEEP TOO");
    Perf(6).m_aPatch[1].SetName("RESET ME");
    RightClickChoose(m_pView, kPatchX, LowerY(6), CPerformView::ID_INIT_PATCH);
    EXPECT_EQ(Perf(6).m_aPatch[1], CPatchRecord());
    EXPECT_EQ(Perf(6).m_aPatch[0].GetName(), "KEEP TOO        ");
    EXPECT_EQ(Perf(6).GetName(), "KEEP            ");
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(PerformViewTest, RenamingAPerformanceAndAPatch)
{
    std::string title;
    std::string cancelText;
    CDialogTestPeer::SetModalHook([&](CDialog* dlg) {
        auto* nameDlg = dynamic_cast<CNameDlg*>(dlg);
        ASSERT_NE(nameDlg, nullptr);
        title = nameDlg->windowTitle().toStdString();
        if (QPushButton* b = nameDlg->GetButton(IDCANCEL))
            cancelText = b->text().toStdString();
        QLineEdit* e = nameDlg->GetEdit(nameDlg->GetEditId());
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->maxLength(), 16);
        e->setText(title == "Performance Name" ? "Big Strings" : "Solo");
        nameDlg->ClickButton(IDOK);
    });
    RightClickChoose(m_pView, kNameX, PerfY(2), CPerformView::ID_EDIT_PERFORMANCE_NAME);
    EXPECT_EQ(title, "Performance Name");
    EXPECT_EQ(cancelText, "Cancel");
    EXPECT_EQ(Perf(2).GetName(), "Big Strings     ");
    RightClickChoose(m_pView, kPatchX, LowerY(2), CPerformView::ID_EDIT_PATCH_NAME);
    EXPECT_EQ(title, "Patch Name");
    EXPECT_EQ(Perf(2).m_aPatch[1].GetName(), "Solo            ");
    EXPECT_EQ(Perf(2).m_aPatch[0].GetName(), "INIT PATCH      ");
    EXPECT_TRUE(m_pDoc->IsModified());
}

// ---------------------------------------------------------------- transfers

TEST_F(PerformViewTest, GetPatchOfAnOddHalfRowFetchesTheSecondPatchOfThatPerformance)
{
    AnswerTransfers();
    RightClickChoose(m_pView, kPatchX, LowerY(9), CPerformView::ID_GET_PATCH);
    ASSERT_FALSE(m_sent.empty());
    EXPECT_EQ(MessageAddress(m_sent[0].bytes), sim::PerformanceAddress(9, 4));
    EXPECT_EQ(0, std::memcmp(Perf(9).m_aPatch[1].Data(), m_device.Performance(9).data() + 289, 239));
    EXPECT_EQ(Perf(9).m_aPatch[0], CPatchRecord());
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_EQ(m_nComplete, 0);
}

TEST_F(PerformViewTest, SendPatchOfAnEvenHalfRowSendsTheFirstPatch)
{
    Perf(4).m_aPatch[0].SetName("FIRST OF 15");
    AnswerTransfers();
    RightClickChoose(m_pView, kPatchX, UpperY(4), CPerformView::ID_SEND_PATCH);
    ASSERT_EQ(m_sent.size(), 1u);
    EXPECT_EQ(MessageAddress(m_sent[0].bytes), sim::PerformanceAddress(4, 3));
    EXPECT_EQ(CSimDevice::GetName(m_device.Performance(4).data() + 50), "FIRST OF 15     ");
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(PerformViewTest, GetAndSendOnePerformanceFromTheMenu)
{
    AnswerTransfers();
    RightClickChoose(m_pView, kNameX, PerfY(9), CPerformView::ID_GET_PERFORMANCE);
    EXPECT_EQ(0, std::memcmp(Perf(9).Data(), m_device.Performance(9).data(), CPerformRecord::kSize));
    EXPECT_EQ(Perf(8), CPerformRecord());
    EXPECT_TRUE(m_pDoc->IsModified());

    m_pDoc->SetModifiedFlag(false);
    Perf(12).SetName("SEND TWELVE");
    m_sent.clear();
    RightClickChoose(m_pView, kNameX, PerfY(12), CPerformView::ID_SEND_PERFORMANCE);
    EXPECT_EQ(m_sent.size(), 5u);
    EXPECT_EQ(0, std::memcmp(Perf(12).Data(), m_device.Performance(12).data(), CPerformRecord::kSize));
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(m_nComplete, 0);
}

TEST_F(PerformViewTest, BankCommandsGetAndSendTheWholeBank)
{
    AnswerTransfers();
    ASSERT_TRUE(m_pView->ExecuteCommand(CPerformView::ID_GET_PERFORMANCE_BANK));
    EXPECT_EQ(m_nComplete, 1);
    for (int p = 0; p < 64; ++p)
        ASSERT_EQ(0, std::memcmp(Perf(p).Data(), m_device.Performance(p).data(), CPerformRecord::kSize)) << p;
    EXPECT_TRUE(m_pDoc->IsModified());

    m_device.LoadFactoryMemory();
    for (int p = 0; p < 64; ++p)
        Perf(p).SetName("MY PERF " + std::to_string(p));
    ASSERT_TRUE(m_pView->ExecuteCommand(CPerformView::ID_SEND_PERFORMANCE_BANK));
    EXPECT_EQ(m_nComplete, 2);
    for (int p = 0; p < 64; ++p)
        ASSERT_EQ(0, std::memcmp(Perf(p).Data(), m_device.Performance(p).data(), CPerformRecord::kSize)) << p;
    EXPECT_EQ(m_transferTexts.size(), 2u);
}

TEST_F(PerformViewTest, CancelledGetLeavesTheDocumentUnmarked)
{
    AnswerTransfers(IDCANCEL);
    m_pView->ExecuteCommand(CPerformView::ID_GET_PERFORMANCE_BANK);
    RightClickChoose(m_pView, kNameX, PerfY(1), CPerformView::ID_GET_PERFORMANCE);
    RightClickChoose(m_pView, kPatchX, PerfY(1), CPerformView::ID_GET_PATCH);
    EXPECT_EQ(m_transferTexts.size(), 3u);
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_TRUE(m_sent.empty());
}

// ---------------------------------------------------------------- audition

TEST_F(PerformViewTest, ClickingAPerformanceNameAuditionsItAsStored)
{
    SetSendDataSwitch(1);
    Perf(3).SetName("AS STORED");
    Perf(3).m_aSecondPart[0] = 5;
    Perf(3).m_aPatch[1].SetName("ITS SECOND");
    Click(m_pView, kNameX, PerfY(3));
    EXPECT_TRUE(m_pView->IsSending());
    m_clock.RunUntilIdle();
    EXPECT_FALSE(m_pView->IsSending());
    ASSERT_EQ(m_sent.size(), 5u);
    EXPECT_EQ(0, std::memcmp(m_device.Scratch().data(), Perf(3).Data(), CPerformRecord::kSize));
}

TEST_F(PerformViewTest, ClickingASecondPatchAuditionsItInTheFirstSlot)
{
    SetSendDataSwitch(1);
    Perf(3).m_aPatch[0].SetName("NOT SENT");
    Perf(3).m_aPatch[1].SetName("SENT FIRST");
    Perf(3).m_aPatch[1].Data()[60] = 33;
    Click(m_pView, kPatchX, LowerY(3));
    m_clock.RunUntilIdle();
    ASSERT_EQ(m_sent.size(), 5u);
    CPerformRecord expected;
    expected.SetName("SENT FIRST");
    expected.m_aPatch[0] = Perf(3).m_aPatch[1];
    EXPECT_EQ(0, std::memcmp(m_device.Scratch().data(), expected.Data(), CPerformRecord::kSize));
    EXPECT_EQ(0, std::memcmp(m_device.Scratch().data() + 289, CPatchRecord().Data(), 239));
}

TEST_F(PerformViewTest, PlainClicksWhileSendingAreIgnoredButCopyingWorks)
{
    SetSendDataSwitch(1);
    Click(m_pView, kNameX, PerfY(3));
    m_clock.AdvanceMs(150);
    ASSERT_TRUE(m_pView->IsSending());
    Click(m_pView, kPatchX, PerfY(8));
    EXPECT_EQ(m_pView->GetPerformanceSelection(), 3);
    EXPECT_EQ(m_pView->GetPatchSelection(), -1);
    ShiftClick(m_pView, kPatchX, LowerY(8));
    EXPECT_EQ(CCopyBuffer::Get().Source(), &Perf(8).m_aPatch[1]);
    EXPECT_EQ(m_pView->GetPatchSelection(), 17);
    Click(m_pView, kPatchX, UpperY(9));
    EXPECT_EQ(Perf(9).m_aPatch[0], Perf(8).m_aPatch[1]);
    m_clock.RunUntilIdle();
    EXPECT_EQ(m_sent.size(), 5u);
}

// ---------------------------------------------------------------- drawing

TEST_F(PerformViewTest, DrawingShowsBothSelectionsColumnsAndHalfRowLines)
{
    Click(m_pView, kNameX, PerfY(1));
    const QImage img = m_pView->viewport()->grab().toImage();
    const QColor grey(192, 192, 192), dark(127, 127, 127), white(255, 255, 255);
    ASSERT_GE(img.width(), 263);
    for (int x : {0, 22, 142, 262})
        EXPECT_EQ(img.pixelColor(x, 70), dark) << x;
    for (int x : {1, 23, 143})
        EXPECT_EQ(img.pixelColor(x, 70), white) << x;
    EXPECT_EQ(img.pixelColor(261, 70), grey);
    // Half-row lines only in the patch column.
    EXPECT_EQ(img.pixelColor(200, 64 + 16), dark);
    EXPECT_EQ(img.pixelColor(200, 64 + 17), white);
    EXPECT_EQ(img.pixelColor(140, 64 + 16), grey);
    // Performance 12 selected: the band spans the whole row.
    EXPECT_EQ(img.pixelColor(100, 32 + 20), dark);
    EXPECT_EQ(img.pixelColor(250, 32 + 10), dark);

    Click(m_pView, kPatchX, LowerY(2));
    const QImage img2 = m_pView->viewport()->grab().toImage();
    EXPECT_EQ(img2.pixelColor(100, 32 + 20), grey);
    EXPECT_EQ(img2.pixelColor(250, 64 + 28), dark);
    EXPECT_EQ(img2.pixelColor(250, 64 + 12), grey);
    EXPECT_EQ(img2.pixelColor(100, 64 + 28), grey);
}

TEST_F(PerformViewTest, AFetchedBankShowsItsNames)
{
    AnswerTransfers();
    m_pView->ExecuteCommand(CPerformView::ID_GET_PERFORMANCE_BANK);
    QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(m_pView->GetParentFrame());
    ASSERT_NE(sub, nullptr);
    sub->setWindowTitle("Performance1");
    sub->resize(sub->width(), 330);
    Click(m_pView, kPatchX, LowerY(2));
    m_pView->ScrollToPosition(QPoint(0, 0));
    const QImage img = m_pView->viewport()->grab().toImage();
    // Names in all three text columns of performance 11.
    auto ink = [&](int x0, int x1, int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += qGray(img.pixel(x, y)) < 100;
        return n;
    };
    EXPECT_GT(ink(27, 140, 8, 24), 0);
    EXPECT_GT(ink(147, 260, 2, 15), 0);
    EXPECT_GT(ink(147, 260, 18, 31), 0);

    if (const char* dir = std::getenv("VANTOREL_SCREENSHOT_DIR")) {
        EXPECT_TRUE(sub->grab().save(QString::fromLocal8Bit(dir) + "/perform-window.png"));
    }
}

} // namespace
} // namespace vantorel::test
