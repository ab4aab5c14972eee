// The patch bank window: hit-testing, selection, copying, the context menu,
// renaming, initialising, Get and Send through the commands, and drawing.
#include <QApplication>
#include <QImage>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QLineEdit>
#include <QTest>

#include <cstdlib>
#include <cstring>

#include "ViewTestSupport.h"
#include "data/PatchDoc.h"
#include "data/PerformDoc.h"
#include "res/Images.h"
#include "transfer/CompleteDlg.h"
#include "transfer/TransferDlg.h"
#include "views/NameDlg.h"
#include "views/PatchView.h"
#include "views/PerformView.h"
#include "support/GuiTestPeers.h"
#include "support/ListViewTestPeer.h"

namespace vantorel::test {
namespace {

class PatchViewTest : public CViewTest {
protected:
    void SetUp() override
    {
        CViewTest::SetUp();
        m_pView = OpenWindow<CPatchView, CPatchDoc>(&m_pDoc);
    }
    CPatchRecord& Rec(int i) { return m_pDoc->m_aPatch[size_t(i)]; }

    // Runs a Get or Send dialog to its end: START, then the clock until the
    // transfer is over; "Complete!" is answered with OK. nButton 2 cancels.
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

    CPatchDoc* m_pDoc = nullptr;
    CPatchView* m_pView = nullptr;
    std::vector<std::string> m_transferTexts;
    int m_nComplete = 0;
};

// ---------------------------------------------------------------- hit-testing

TEST_F(PatchViewTest, ClicksSelectTheRowUnderThePointerOnLabelAndNameColumns)
{
    EXPECT_EQ(m_pView->GetSelection(), -1);
    Click(m_pView, 0, RowY(3));
    EXPECT_EQ(m_pView->GetSelection(), 3);
    Click(m_pView, 28, RowY(64));
    EXPECT_EQ(m_pView->GetSelection(), 64);
    Click(m_pView, 100, 16 * 10); // the first pixel row of row 10
    EXPECT_EQ(m_pView->GetSelection(), 10);
    Click(m_pView, 100, 16 * 10 - 1); // the last pixel row of row 9
    EXPECT_EQ(m_pView->GetSelection(), 9);
}

TEST_F(PatchViewTest, RightEdgeAt150IsInsideAnd151Outside)
{
    Click(m_pView, 150, RowY(2));
    EXPECT_EQ(m_pView->GetSelection(), 2);
    Click(m_pView, 151, RowY(5));
    EXPECT_EQ(m_pView->GetSelection(), -1);
}

TEST_F(PatchViewTest, LastRowEndsAt2047)
{
    Click(m_pView, 40, 2047);
    EXPECT_EQ(m_pView->GetSelection(), 127);
    Click(m_pView, 40, 2048);
    EXPECT_EQ(m_pView->GetSelection(), -1);
    Click(m_pView, 40, 2047);
    Click(m_pView, 40, 2049);
    EXPECT_EQ(m_pView->GetSelection(), -1);
}

TEST_F(PatchViewTest, RealMouseClicksOnTheScrolledViewportReachTheRightRow)
{
    const QPoint pt = Show(m_pView, 60, RowY(100));
    ASSERT_GT(m_pView->GetScrollPosition().y(), 0);
    QTest::mouseClick(m_pView->viewport(), Qt::LeftButton, Qt::NoModifier, pt);
    EXPECT_EQ(m_pView->GetSelection(), 100);
    QTest::mouseClick(m_pView->viewport(), Qt::LeftButton, Qt::ShiftModifier, Show(m_pView, 60, RowY(101)));
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopyPatch);
    EXPECT_EQ(CCopyBuffer::Get().Source(), &Rec(101));
}

// ---------------------------------------------------------------- copying

TEST_F(PatchViewTest, ShiftClickPicksUpAndAClickElsewhereCopiesWithinTheWindow)
{
    Rec(0).SetName("FIRST PATCH");
    Rec(0).Data()[100] = 55;
    ShiftClick(m_pView, 50, RowY(0));
    EXPECT_EQ(m_pView->GetSelection(), 0);
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopyPatch);
    EXPECT_EQ(CCopyBuffer::Get().ShownCursorId(), kCopyPatch);
    EXPECT_FALSE(m_pDoc->IsModified());

    Click(m_pView, 50, RowY(127));
    EXPECT_EQ(Rec(127), Rec(0));
    EXPECT_EQ(m_pView->GetSelection(), 127);
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_EQ(CCopyBuffer::Get().ShownCursorId(), 0); // the arrow after a copy
    EXPECT_EQ(Rec(1), CPatchRecord());
}

TEST_F(PatchViewTest, DroppingOnTheSourceItselfCopiesNothingAndEmptiesTheBuffer)
{
    ShiftClick(m_pView, 50, RowY(5));
    Click(m_pView, 50, RowY(5));
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    // The copy cursor waits for the next cursor request.
    EXPECT_EQ(CCopyBuffer::Get().ShownCursorId(), kCopyPatch);
}

TEST_F(PatchViewTest, ShiftClickWhileHoldingIsADropNotASecondPickUp)
{
    Rec(2).SetName("TWO");
    ShiftClick(m_pView, 50, RowY(2));
    ShiftClick(m_pView, 50, RowY(9));
    EXPECT_EQ(Rec(9).GetName(), Rec(2).GetName());
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
}

TEST_F(PatchViewTest, ClicksOutsideTheListClearTheSelectionAndEmptyTheBuffer)
{
    ShiftClick(m_pView, 50, RowY(4));
    Click(m_pView, 151, RowY(4));
    EXPECT_EQ(m_pView->GetSelection(), -1);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_FALSE(m_pDoc->IsModified());

    Click(m_pView, 50, RowY(4));
    ShiftClick(m_pView, 50, 2048); // Shift outside with nothing held
    EXPECT_EQ(m_pView->GetSelection(), -1);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
}

TEST_F(PatchViewTest, CopyBetweenTwoWindowsMarksOnlyTheDestinationAndRaisesIt)
{
    CPatchDoc* pDoc2 = nullptr;
    CPatchView* pView2 = OpenWindow<CPatchView, CPatchDoc>(&pDoc2);
    QMdiSubWindow* sub1 = qobject_cast<QMdiSubWindow*>(m_pView->GetParentFrame());
    QMdiSubWindow* sub2 = qobject_cast<QMdiSubWindow*>(pView2->GetParentFrame());
    ASSERT_TRUE(sub1 && sub2);

    Rec(0).SetName("FROM BANK ONE");
    Rec(0).Data()[200] = 99;
    m_area.setActiveSubWindow(sub1);
    ShiftClick(m_pView, 10, RowY(0));
    ASSERT_EQ(m_area.activeSubWindow(), sub1);
    Click(pView2, 10, 2047); // B88
    EXPECT_EQ(pDoc2->m_aPatch[127], Rec(0));
    EXPECT_TRUE(pDoc2->IsModified());
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(m_area.activeSubWindow(), sub2);
    EXPECT_EQ(m_area.subWindowList(QMdiArea::StackingOrder).last(), sub2);
    EXPECT_EQ(pView2->GetSelection(), 127);
    EXPECT_EQ(m_pView->GetSelection(), 0);
}

TEST_F(PatchViewTest, APerformanceIsRefusedHereAndStaysPickedUp)
{
    CPerformDoc* pPerf = nullptr;
    CPerformView* pPerfView = OpenWindow<CPerformView, CPerformDoc>(&pPerf);
    pPerf->m_aPerform[0].SetName("HELD PERF");
    ShiftClick(pPerfView, 50, 10);
    ASSERT_EQ(CCopyBuffer::Get().Kind(), kCopyPerformance);

    const CPatchRecord before = Rec(6);
    Click(m_pView, 50, RowY(6));
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Can't Copy in Here."});
    EXPECT_EQ(CCopyBuffer::Get().Kind(), kCopyPerformance);
    EXPECT_EQ(CCopyBuffer::Get().ShownCursorId(), kCopyPerformance);
    EXPECT_EQ(Rec(6), before);
    EXPECT_FALSE(m_pDoc->IsModified());

    // The performance can still go to a fitting place.
    Click(pPerfView, 50, 32 * 5 + 4);
    EXPECT_EQ(pPerf->m_aPerform[5].GetName(), "HELD PERF       ");
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
}

TEST_F(PatchViewTest, AHeldEntryIsEmptiedByAClickOutsideEvenOfAnotherKind)
{
    CPerformView* pPerfView = OpenWindow<CPerformView, CPerformDoc>();
    ShiftClick(pPerfView, 50, 10);
    Click(m_pView, 40, 2048);
    EXPECT_FALSE(CCopyBuffer::Get().IsHolding());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(PatchViewTest, APatchOfAPerformanceDropsOnABankRow)
{
    CPerformDoc* pPerf = nullptr;
    CPerformView* pPerfView = OpenWindow<CPerformView, CPerformDoc>(&pPerf);
    pPerf->m_aPerform[3].m_aPatch[1].SetName("SECOND OF 14");
    ShiftClick(pPerfView, 200, 32 * 3 + 20);
    Click(m_pView, 50, RowY(40));
    EXPECT_EQ(Rec(40), pPerf->m_aPerform[3].m_aPatch[1]);
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_FALSE(pPerf->IsModified());
}

TEST_F(PatchViewTest, ADropCarriesChangesMadeToTheSourceAfterThePickUp)
{
    ShiftClick(m_pView, 50, RowY(1));
    Rec(1).SetName("RENAMED LATER");
    Click(m_pView, 50, RowY(2));
    EXPECT_EQ(Rec(2).GetName(), "RENAMED LATER   ");
}

TEST_F(PatchViewTest, TheCopyCursorIsKeptWhileTheBufferHoldsAnEntry)
{
    auto move = [&] {
        QMouseEvent ev(QEvent::MouseMove, QPointF(40, 40), m_pView->viewport()->mapToGlobal(QPointF(40, 40)),
                       Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m_pView->viewport(), &ev);
    };
    m_pView->viewport()->setCursor(Qt::CrossCursor);
    ShiftClick(m_pView, 50, RowY(1));
    move();
    EXPECT_TRUE(m_pView->viewport()->testAttribute(Qt::WA_SetCursor));
    CCopyBuffer::Get().Empty();
    move();
    EXPECT_FALSE(m_pView->viewport()->testAttribute(Qt::WA_SetCursor));
}

// ---------------------------------------------------------------- context menu

TEST_F(PatchViewTest, RightClickSelectsTheRowAndOffersThePatchMenu)
{
    const std::vector<int> shown = RightClickChoose(m_pView, 50, RowY(12), 0);
    EXPECT_EQ(shown, (std::vector<int>{32801, 0, 32800, 0, 32802, 32803}));
    EXPECT_EQ(m_pView->GetSelection(), 12);
    EXPECT_EQ(m_pView->GetContextRow(), 12);
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(PatchViewTest, RightClickBelowTheLastRowIsIgnored)
{
    Click(m_pView, 50, RowY(7));
    bool bShown = false;
    CListViewTestPeer::SetPopupHook([&](const std::vector<CListView::CMenuItem>&, const QPoint&) {
        bShown = true;
        return 0;
    });
    RightClick(m_pView, 50, 2048);
    RightClick(m_pView, 50, 2049);
    EXPECT_FALSE(bShown);
    EXPECT_EQ(m_pView->GetSelection(), 7);
}

TEST_F(PatchViewTest, RightClickDoesNotTouchTheCopyBufferNorAudition)
{
    SetSendDataSwitch(1);
    ShiftClick(m_pView, 50, RowY(1));
    RightClickChoose(m_pView, 50, RowY(3), 0);
    EXPECT_EQ(CCopyBuffer::Get().Source(), &Rec(1));
    m_clock.RunUntilIdle();
    EXPECT_TRUE(m_sent.empty());
}

TEST_F(PatchViewTest, InitializePatchRestoresTheInitialPatch)
{
    Rec(20).SetName("SOMETHING");
    Rec(20).Data()[50] = 1;
    RightClickChoose(m_pView, 50, RowY(20), CPatchView::ID_INIT_PATCH);
    EXPECT_EQ(Rec(20), CPatchRecord());
    EXPECT_EQ(Rec(20).GetName(), "INIT PATCH      ");
    EXPECT_TRUE(m_pDoc->IsModified());
}

// ---------------------------------------------------------------- renaming

class RenameTest : public PatchViewTest {
protected:
    // Renames row through the context menu; edit runs on the open dialog.
    void Rename(int row, const std::function<void(CNameDlg&, QLineEdit&)>& edit)
    {
        CDialogTestPeer::SetModalHook([&](CDialog* dlg) {
            auto* nameDlg = dynamic_cast<CNameDlg*>(dlg);
            ASSERT_NE(nameDlg, nullptr);
            QLineEdit* lineEdit = nameDlg->GetEdit(CPatchNameDlg::kEditId);
            ASSERT_NE(lineEdit, nullptr);
            m_strOpenedWith = lineEdit->text().toStdString();
            m_strTitle = nameDlg->windowTitle().toStdString();
            edit(*nameDlg, *lineEdit);
        });
        RightClickChoose(m_pView, 50, RowY(row), CPatchView::ID_EDIT_PATCH_NAME);
    }
    std::string m_strOpenedWith;
    std::string m_strTitle;
};

TEST_F(RenameTest, OkWritesTheTextPaddedWithSpaces)
{
    Rename(4, [](CNameDlg& dlg, QLineEdit& e) {
        e.setText("Lead 4");
        dlg.ClickButton(IDOK);
    });
    EXPECT_EQ(m_strTitle, "Patch Name");
    EXPECT_EQ(Rec(4).GetName(), "Lead 4          ");
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(RenameTest, AnEmptyTextStoresSixteenSpaces)
{
    Rename(4, [](CNameDlg& dlg, QLineEdit& e) {
        e.clear();
        dlg.ClickButton(IDOK);
    });
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(Rec(4).Data()), 16), std::string(16, ' '));
}

TEST_F(RenameTest, CancelChangesNothing)
{
    Rename(4, [](CNameDlg& dlg, QLineEdit& e) {
        e.setText("NOT KEPT");
        dlg.ClickButton(IDCANCEL);
    });
    EXPECT_EQ(Rec(4), CPatchRecord());
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(RenameTest, TheDialogOpensFullAndRefusesMoreTyping)
{
    std::string afterTyping;
    Rename(8, [&](CNameDlg& dlg, QLineEdit& e) {
        EXPECT_EQ(e.maxLength(), 16);
        e.setFocus();
        e.end(false);
        QTest::keyClicks(&e, "XY");
        afterTyping = e.text().toStdString();
        e.backspace();
        QTest::keyClicks(&e, "Z");
        dlg.ClickButton(IDOK);
    });
    EXPECT_EQ(m_strOpenedWith, "INIT PATCH      ");
    EXPECT_EQ(afterTyping, "INIT PATCH      ");
    EXPECT_EQ(Rec(8).GetName(), "INIT PATCH     Z");
}

TEST_F(RenameTest, ANameWithAZeroByteOpensUpToItAndIsPaddedAfterOk)
{
    std::memcpy(Rec(3).Data(), "AB\0CDEFGHIJKLMN", 16);
    Rename(3, [](CNameDlg& dlg, QLineEdit&) { dlg.ClickButton(IDOK); });
    EXPECT_EQ(m_strOpenedWith, "AB");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(Rec(3).Data()), 16), "AB              ");
}

TEST_F(RenameTest, EightBitCharactersSurviveTheDialog)
{
    Rename(5, [](CNameDlg& dlg, QLineEdit& e) {
        e.setText(QString::fromLatin1("Cr\xE8me br\xFBl\xE9"));
        dlg.ClickButton(IDOK);
    });
    EXPECT_EQ(Rec(5).GetName(), std::string("Cr\xE8me br\xFBl\xE9     "));
}

// ---------------------------------------------------------------- transfers

TEST_F(PatchViewTest, GetPatchBankCommandFetchesEveryPatchAndMarksTheDocument)
{
    AnswerTransfers();
    ASSERT_TRUE(m_pView->ExecuteCommand(CPatchView::ID_GET_PATCH_BANK));
    ASSERT_EQ(m_transferTexts.size(), 1u);
    EXPECT_EQ(m_transferTexts[0], "MIDI IN:\n\tKQ-3300 Simulator\n\nMIDI OUT:\n\tKQ-3300 Simulator");
    EXPECT_EQ(m_nComplete, 1);
    for (int i = 0; i < 128; ++i)
        ASSERT_EQ(0, std::memcmp(Rec(i).Data(), m_device.Patch(i).data(), CPatchRecord::kSize))
            << "patch " << i;
    EXPECT_NE(Rec(0), CPatchRecord()); // the simulator's names differ from the initial ones
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(PatchViewTest, GetCancelledLeavesTheDocumentUnmarked)
{
    AnswerTransfers(IDCANCEL);
    m_pView->ExecuteCommand(CPatchView::ID_GET_PATCH_BANK);
    EXPECT_EQ(m_transferTexts.size(), 1u);
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(Rec(0), CPatchRecord());
    EXPECT_TRUE(m_sent.empty());
}

TEST_F(PatchViewTest, AGetThatStoredNothingLeavesTheDocumentUnmodifiedAndTheWindowActive)
{
    // A second window, so that "active" means this one.
    OpenWindow<CPatchView, CPatchDoc>();
    auto* pFrame = qobject_cast<QMdiSubWindow*>(m_pView->GetParentFrame());
    ASSERT_NE(pFrame, nullptr);
    m_area.setActiveSubWindow(pFrame);
    m_area.activateWindow();
    QApplication::processEvents();

    m_device.Faults().m_nDropEvery = 1;
    CDialogTestPeer::SetModalHook([this](CDialog* dlg) {
        if (auto* t = dynamic_cast<CTransferDlg*>(dlg)) {
            t->ClickButton(IDOK);
            QApplication::processEvents(); // the progress window takes the focus
            m_clock.AdvanceMs(3'000);
            t->Progress().ClickButton(IDCANCEL);
            // A box came and went: it took the focus and gave it to nobody.
            QWidget box;
            box.show();
            box.activateWindow();
            QApplication::processEvents();
            box.hide();
            QApplication::processEvents();
        }
    });
    m_pView->ExecuteCommand(CPatchView::ID_GET_PATCH_BANK);
    QApplication::processEvents();
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(Rec(0), CPatchRecord());
    // The window that ran the transfer is active again.
    EXPECT_EQ(QApplication::activeWindow(), m_area.window());
    EXPECT_EQ(m_area.activeSubWindow(), pFrame);
}

TEST_F(PatchViewTest, TheGetDialogShowsAChosenDeviceThatIsGoneAsNotAvailable)
{
    WriteProfileInt("MIDI", "MidiOutDevice", 1);
    WriteProfileString("MIDI", "MidiOutName", "Desk Synth");
    AnswerTransfers(IDCANCEL);
    m_pView->ExecuteCommand(CPatchView::ID_GET_PATCH_BANK);
    ASSERT_EQ(m_transferTexts.size(), 1u);
    EXPECT_EQ(m_transferTexts[0], "MIDI IN:\n\tKQ-3300 Simulator\n\nMIDI OUT:\n\tDesk Synth (not available)");
}

TEST_F(PatchViewTest, GetDeclinedAtTheQuestionLeavesTheDocumentUnmodified)
{
    // The Get dialog closes with OK when the backup question is declined,
    // but nothing was stored: the document is as it was.
    m_pBoxes->m_nAnswer = IDCANCEL;
    AnswerTransfers();
    m_pView->ExecuteCommand(CPatchView::ID_GET_PATCH_BANK);
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_TRUE(m_sent.empty());
}

TEST_F(PatchViewTest, GetPatchFromTheMenuFetchesOnlyTheContextPatch)
{
    AnswerTransfers();
    RightClickChoose(m_pView, 50, RowY(70), CPatchView::ID_GET_PATCH);
    EXPECT_EQ(m_nComplete, 0);
    EXPECT_EQ(0, std::memcmp(Rec(70).Data(), m_device.Patch(70).data(), CPatchRecord::kSize));
    EXPECT_EQ(Rec(69), CPatchRecord());
    EXPECT_EQ(Rec(71), CPatchRecord());
    EXPECT_TRUE(m_pDoc->IsModified());
    ASSERT_FALSE(m_sent.empty());
    EXPECT_EQ(MessageAddress(m_sent[0].bytes), sim::PatchAddress(70));
}

TEST_F(PatchViewTest, SendPatchBankCommandSendsEveryPatch)
{
    for (int i = 0; i < 128; ++i) {
        Rec(i).SetName("MINE " + std::to_string(i));
        Rec(i).Data()[120] = uint8_t(i);
    }
    AnswerTransfers();
    ASSERT_TRUE(m_pView->ExecuteCommand(CPatchView::ID_SEND_PATCH_BANK));
    EXPECT_EQ(m_nComplete, 1);
    EXPECT_EQ(m_sent.size(), 128u);
    for (int i = 0; i < 128; ++i)
        ASSERT_EQ(0, std::memcmp(Rec(i).Data(), m_device.Patch(i).data(), CPatchRecord::kSize))
            << "patch " << i;
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(PatchViewTest, SendPatchFromTheMenuSendsTheContextPatchAlone)
{
    Rec(9).SetName("ONLY NINE");
    AnswerTransfers();
    RightClickChoose(m_pView, 50, RowY(9), CPatchView::ID_SEND_PATCH);
    ASSERT_EQ(m_sent.size(), 1u);
    EXPECT_EQ(MessageAddress(m_sent[0].bytes), sim::PatchAddress(9));
    EXPECT_EQ(sim::kPatchSize + 12, m_sent[0].bytes.size());
    EXPECT_EQ(CSimDevice::GetName(m_device.Patch(9).data()), "ONLY NINE       ");
    EXPECT_FALSE(m_pDoc->IsModified());
}

// ---------------------------------------------------------------- drawing

class PatchDrawTest : public PatchViewTest {
protected:
    // The list as the window paints it, from its top-left.
    QImage Paint(int scrollY = 0)
    {
        m_pView->ScrollToPosition(QPoint(0, scrollY));
        return m_pView->viewport()->grab().toImage();
    }
    static bool IsColor(const QImage& img, int x, int y, QColor c) { return img.pixelColor(x, y) == c; }
};

TEST_F(PatchDrawTest, GreyListWithDarkAndWhiteLinesAndTheSelectionBand)
{
    Click(m_pView, 50, RowY(2));
    const QImage img = Paint();
    ASSERT_GE(img.height(), 16 * 9);
    const QColor grey(192, 192, 192), dark(127, 127, 127), white(255, 255, 255);
    // Vertical lines: dark at 0, 29, 149; white at 1 and 30; none beside 149.
    EXPECT_TRUE(IsColor(img, 0, 100, dark));
    EXPECT_TRUE(IsColor(img, 1, 100, white));
    EXPECT_TRUE(IsColor(img, 29, 100, dark));
    EXPECT_TRUE(IsColor(img, 30, 100, white));
    EXPECT_TRUE(IsColor(img, 149, 100, dark));
    EXPECT_TRUE(IsColor(img, 148, 100, grey));
    // Row boundaries: dark at 16i, white at 16i + 1; every eighth a double line.
    EXPECT_TRUE(IsColor(img, 20, 16, dark));
    EXPECT_TRUE(IsColor(img, 20, 17, white));
    EXPECT_TRUE(IsColor(img, 20, 15, grey));
    EXPECT_TRUE(IsColor(img, 20, 128, dark));
    EXPECT_TRUE(IsColor(img, 20, 127, dark));
    EXPECT_TRUE(IsColor(img, 20, 129, white));
    // The selection band over row 2, dark between its lines.
    EXPECT_TRUE(IsColor(img, 140, 16 * 2 + 14, dark));
    EXPECT_TRUE(IsColor(img, 140, 16 * 3 + 14, grey));
}

TEST_F(PatchDrawTest, LabelAndNameAreDrawnInTheirColumns)
{
    std::memcpy(Rec(0).Data(), "WW\0WWWWWWWWWWWWW", 16);
    Rec(1).SetName("WWWWWWWWWWWWWWWW");
    const QImage img = Paint();
    auto inkIn = [&](int x0, int x1, int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += img.pixelColor(x, y) == QColor(Qt::black);
        return n;
    };
    EXPECT_GT(inkIn(5, 28, 2, 15), 0);     // "A11"
    EXPECT_GT(inkIn(34, 48, 2, 15), 0);    // "WW"
    EXPECT_EQ(inkIn(50, 148, 2, 15), 0);   // nothing after the zero byte
    EXPECT_GT(inkIn(130, 148, 18, 31), 0); // all 16 characters of row 1 reach the right
    EXPECT_EQ(inkIn(0, 5, 0, 32), 0);      // nothing left of the label
}

TEST_F(PatchDrawTest, TheFrameShrinksToTheListButNeverGrows)
{
    QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(m_pView->GetParentFrame());
    ASSERT_NE(sub, nullptr);
    sub->resize(600, 300);
    m_pView->viewport()->grab();
    EXPECT_LE(m_pView->viewport()->width(), 150);
    EXPECT_EQ(m_pView->GetTotalSize(), QSize(150, 2049));
    const int h = sub->height();
    EXPECT_LE(h, 300);
    sub->resize(sub->width(), 200);
    m_pView->viewport()->grab();
    EXPECT_EQ(sub->height(), 200);
}

// After a Get from the simulator the window shows the fetched names; the
// picture is kept for the documentation when VANTOREL_SCREENSHOT_DIR is set.
TEST_F(PatchDrawTest, AFetchedBankShowsItsNames)
{
    AnswerTransfers();
    m_pView->ExecuteCommand(CPatchView::ID_GET_PATCH_BANK);
    QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(m_pView->GetParentFrame());
    ASSERT_NE(sub, nullptr);
    sub->setWindowTitle("Patch1");
    sub->resize(sub->width(), 330);
    Click(m_pView, 60, RowY(3));
    m_pView->ScrollToPosition(QPoint(0, 0));
    const QImage before = Paint();

    // Another name in row 3 changes the ink of row 3 only.
    Rec(3).SetName("XXXXXXXXXXXXXXXX");
    m_pDoc->UpdateRow(3);
    const QImage after = Paint();
    int changedInRow3 = 0;
    int changedElsewhere = 0;
    for (int y = 0; y < before.height() && y < after.height(); ++y)
        for (int x = 0; x < before.width() && x < after.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y))
                ++(y >= 48 && y < 64 ? changedInRow3 : changedElsewhere);
    EXPECT_GT(changedInRow3, 0);
    EXPECT_EQ(changedElsewhere, 0);
    std::memcpy(Rec(3).Data(), m_device.Patch(3).data(), CPatchRecord::kSize);
    m_pDoc->UpdateRow(3);

    if (const char* dir = std::getenv("VANTOREL_SCREENSHOT_DIR")) {
        EXPECT_TRUE(sub->grab().save(QString::fromLocal8Bit(dir) + "/patch-window.png"));
    }
}

} // namespace
} // namespace vantorel::test
