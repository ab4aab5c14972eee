// Transfers when things go wrong: bytes the synthesizer cannot receive, a
// device that goes away or never answers, ports that cannot be opened, boxes
// whose modal loop runs timers, answers of the wrong size, a Cancel inside an
// item; and what the user is shown meanwhile (one box per failure, the main
// window's status bar, the progress window's place and keys).
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include <algorithm>

#include "TransferFixture.h"
#include "data/EntryName.h"
#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "framework/core/Profile.h"
#include "res/Strings.h"
#include "res/strings/midi.h"
#include "res/strings/transfer.h"
#include "transfer/MotionTransfer.h"
#include "transfer/PatchTransfer.h"
#include "transfer/PatternTransfer.h"
#include "transfer/TransferAddresses.h"
#include "transfer/TransferDevices.h"
#include "support/MessageBoxRecorder.h"

namespace vantorel::test {
namespace {

constexpr const char* kWhatToDo =
    " Check that it is connected, or choose another device in Setup > MIDI Setup.";

bool Same(const CPatchRecord& record, const CPatchBytes& device)
{
    return std::equal(record.m_data.begin(), record.m_data.end(), device.begin());
}

// The boxes after the confirmation question.
std::vector<std::string> Failures(const CMessageBoxRecorder& boxes)
{
    std::vector<std::string> out;
    for (const std::string& text : boxes.m_texts)
        if (text != res::kConfirmGet && text != res::kConfirmSend)
            out.push_back(text);
    return out;
}

class TransferFaultTest : public TransferTest {
protected:
    void SetUp() override
    {
        TransferTest::SetUp();
        WriteProfileInt("MIDI", "MidiInDevice", 0);
        WriteProfileInt("MIDI", "MidiOutDevice", 0);
        WriteProfileString("MIDI", "MidiInName", "");
        WriteProfileString("MIDI", "MidiOutName", "");
    }
    void TearDown() override
    {
        WriteProfileInt("MIDI", "MidiOutDevice", 0);
        WriteProfileString("MIDI", "MidiOutName", "");
        TransferTest::TearDown();
    }
};

// ---------------------------------------------------------------- Send

TEST_F(TransferFaultTest, ASendStopsAtAnEntryWithBytesTheSynthesizerCannotReceive)
{
    CPatchDoc doc;
    doc.m_aPatch[12].Data()[40] = 0x80;
    CSendPatchDlg dlg;
    dlg.SetPlan(PatchKind().MakeSendPlan(doc, -1));
    EXPECT_EQ(Run(dlg), IDOK);

    // The twelve before it went out; it and the rest did not.
    const std::vector<Bytes> sent = Sent();
    ASSERT_EQ(sent.size(), 12u);
    for (const Bytes& msg : sent)
        EXPECT_TRUE(std::none_of(msg.begin() + 1, msg.end() - 1, [](uint8_t by) { return by >= 0x80; }));
    EXPECT_EQ(Failures(*m_pBoxes), std::vector<std::string>{"Patch " + FormatPatchLabel(12) +
                                                            " holds bytes the KQ-3300 cannot receive; it was "
                                                            "not sent."});
    EXPECT_EQ(m_nCompleteShown, 0);
    EXPECT_EQ(m_pSim->GetOpenOutCount(), 0u);

    // The same for a pattern's data.
    m_pBoxes->m_texts.clear();
    m_pRecorder->m_events.clear();
    CPatternDoc patterns;
    patterns.m_aPattern[2].Append(0xF7);
    CSendPatternDlg send;
    send.SetPlan(PatternKind().MakeSendPlan(patterns, -1));
    EXPECT_EQ(Run(send), IDOK);
    EXPECT_EQ(Failures(*m_pBoxes),
              std::vector<std::string>{"Pattern 3 holds bytes the KQ-3300 cannot receive; it was not sent."});
    EXPECT_EQ(m_nCompleteShown, 0);
}

// One byte over, sent alone: nothing of it leaves, not even its value. (A
// pattern too large for its memory, by send, restore and convert: CliTransferTest.)
TEST_F(TransferFaultTest, AnItemLargerThanItsMemoryIsRefusedBeforeAnyOfItLeaves)
{
    auto motions = std::make_unique<CMotionDoc>();
    motions->m_aMotion[2].SetData(std::vector<uint8_t>(CMotionDoc::kItemRoom + 1, 0x22));
    CSendMotionDlg send;
    send.SetPlan(MotionKind().MakeSendPlan(*motions, 2));
    EXPECT_EQ(Run(send), IDOK);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(Failures(*m_pBoxes),
              std::vector<std::string>{"Motion 3 holds 1048577 bytes, more than the 1048576 bytes the "
                                       "KQ-3300 keeps for it; it was not sent."});
    EXPECT_EQ(m_nCompleteShown, 0);
}

TEST_F(TransferFaultTest, ASynthesizerThatGoesAwayStopsTheSendWithOneMessageSayingHowFarItGot)
{
    // The 18th data set finds the connection gone.
    m_pRecorder->FailCall("OutLongMsg", MIDIERR_DISCONNECTED, 17);
    CPatchDoc doc;
    CSendPatchDlg dlg;
    dlg.SetPlan(PatchKind().MakeSendPlan(doc, -1));
    EXPECT_EQ(Run(dlg), IDOK);

    EXPECT_EQ(Sent().size(), 17u);
    EXPECT_EQ(Failures(*m_pBoxes),
              std::vector<std::string>{"KQ-3300 Simulator (device 0) stopped taking data: sent 17 of 128 "
                                       "patches. Check that it is connected and switched on, then send "
                                       "again."});
    EXPECT_EQ(m_nCompleteShown, 0);
    EXPECT_EQ(m_pSim->GetOpenOutCount(), 0u);
    EXPECT_FALSE(dlg.m_progress.IsRunning());
}

// ---------------------------------------------------------------- devices

// The synthesizer was chosen as device 0 ("Desk Synth"); the simulator has
// that number now. START says so at once, in place of the question, and
// nothing reaches the simulator.
TEST_F(TransferFaultTest, StartSaysThatTheChosenDeviceIsNotAvailableAndNothingIsOpened)
{
    WriteProfileString("MIDI", "MidiOutName", "Desk Synth");
    EXPECT_EQ(FormatTransferDevices(),
              "MIDI IN:\n\tKQ-3300 Simulator\n\nMIDI OUT:\n\tDesk Synth (not available)");
    const std::string missing = std::string("Desk Synth (device 0) is not available.") + kWhatToDo;

    CPatchDoc doc;
    CGetPatchDlg get;
    get.SetPlan(PatchKind().MakeGetPlan(doc, -1));
    CSendPatchDlg send;
    send.SetPlan(PatchKind().MakeSendPlan(doc, -1));
    for (CTransferDlg* pDlg : std::initializer_list<CTransferDlg*>{&get, &send}) {
        m_pBoxes->m_texts.clear();
        m_onTransfer = [&](CTransferDlg& dlg) {
            EXPECT_FALSE(dlg.IsTransferring());
            dlg.ClickButton(IDCANCEL);
        };
        EXPECT_EQ(Run(*pDlg), IDCANCEL);
        EXPECT_EQ(m_pBoxes->m_texts, std::vector<std::string>{missing});
    }
    EXPECT_EQ(Count(CWireEvent::OutOpen) + Count(CWireEvent::InOpen), 0);
    EXPECT_FALSE(get.HasStored());
}

// A Get that was running when its device went away goes on by itself when
// it comes back: the ports find it by its name at every open.
TEST_F(TransferFaultTest, ADeviceThatComesBackIsFoundByItsName)
{
    WriteProfileString("MIDI", "MidiInName", "KQ-3300 Simulator");
    WriteProfileString("MIDI", "MidiOutName", "KQ-3300 Simulator");
    CPatchDoc doc;
    CGetPatchDlg bank;
    bank.SetPlan(PatchKind().MakeGetPlan(doc, -1));
    int nAnswers = 0;
    m_pRecorder->m_onEvent = [&](const CWireEvent& e) {
        if (e.kind == CWireEvent::InData && ++nAnswers == 10) {
            m_pRecorder->m_bAway = true;
            m_pSim->Faults().m_nDropEvery = 1; // unplugged: nothing answers
        }
    };
    m_onTransfer = [&](CTransferDlg&) {
        m_clock.AdvanceMs(5'000);
        EXPECT_FALSE(bank.IsEnded());
        m_pRecorder->m_bAway = false;
        m_pSim->Faults().m_nDropEvery = 0;
        m_clock.RunUntil([&] { return bank.IsEnded(); }, 600'000'000);
    };
    EXPECT_EQ(Run(bank), IDOK);
    EXPECT_EQ(m_nCompleteShown, 1);
    for (int i = 0; i < CPatchDoc::kPatchCount; ++i)
        EXPECT_TRUE(Same(doc.m_aPatch[size_t(i)], m_device.Patch(i))) << i;
    const std::string away = std::string("KQ-3300 Simulator (device 0) is not available.") + kWhatToDo;
    EXPECT_EQ(Failures(*m_pBoxes), std::vector<std::string>{away});
}

TEST_F(TransferFaultTest, AGetWhosePortsOpenOnlyLaterGoesOnByItselfWithOneMessage)
{
    m_pRecorder->FailCall("OutOpen", MMSYSERR_ALLOCATED, 0, 2);
    m_pRecorder->FailCall("InOpen", MMSYSERR_ALLOCATED, 0, 2);
    CPatchDoc doc;
    CGetPatchDlg dlg;
    dlg.SetPlan(PatchKind().MakeGetPlan(doc, 3));
    EXPECT_EQ(Run(dlg), IDOK);
    EXPECT_TRUE(Same(doc.m_aPatch[3], m_device.Patch(3)));
    ASSERT_EQ(Failures(*m_pBoxes).size(), 1u);
    EXPECT_EQ(Failures(*m_pBoxes)[0],
              std::string("KQ-3300 Simulator (device 0) is not available.") + kWhatToDo);
    EXPECT_TRUE(dlg.HasStored());
}

TEST_F(TransferFaultTest, NoStepRunsWhileTheTransfersBoxIsUpAndOneFailureGivesOneBox)
{
    // Every box stays up for five seconds of the clock, long enough for any
    // timer of the transfer to fire inside it.
    int nBoxes = 0;
    int nStepsInBox = 0;
    const MessageBoxHandler previous = SetMessageBoxHandler([&](const std::string& text, unsigned) {
        if (text == res::kConfirmGet)
            return IDOK;
        ++nBoxes;
        const int nOut = Count(CWireEvent::Out) + Count(CWireEvent::OutOpen);
        m_clock.AdvanceMs(5'000);
        nStepsInBox += Count(CWireEvent::Out) + Count(CWireEvent::OutOpen) - nOut;
        return IDOK;
    });

    // The connection goes with the third request and does not come back:
    // one box, and the Get goes on asking.
    m_pRecorder->FailCall("OutLongMsg", MIDIERR_DISCONNECTED, 2);
    {
        CPatchDoc doc;
        CGetPatchDlg dlg;
        dlg.SetPlan(PatchKind().MakeGetPlan(doc, -1));
        m_onTransfer = [&](CTransferDlg&) {
            m_clock.AdvanceMs(10'000);
            dlg.m_progress.ClickButton(IDCANCEL);
        };
        EXPECT_EQ(Run(dlg), IDOK);
    }
    EXPECT_EQ(nBoxes, 1);
    EXPECT_EQ(nStepsInBox, 0);
    EXPECT_GT(Count(CWireEvent::OutOpen), 3);

    // The input fails while a pattern Get waits for its answer, its time-out
    // running: the time-out waits for the box, then the Get goes on.
    m_pRecorder->ClearFailures();
    m_pRecorder->m_events.clear();
    m_onTransfer = nullptr;
    nBoxes = 0;
    m_device.Faults().m_nStrayEvery = 1;
    m_pRecorder->FailCall("InAddBuffer", MIDIERR_NOTREADY, 1, 1);
    CPatternDoc patterns;
    CGetPatternDlg get;
    get.SetPlan(PatternKind().MakeGetPlan(patterns, 0));
    EXPECT_EQ(Run(get), IDOK);
    SetMessageBoxHandler(previous);
    EXPECT_EQ(nBoxes, 1);
    EXPECT_EQ(nStepsInBox, 0);
    EXPECT_TRUE(get.HasStored());
}

// ---------------------------------------------------------------- Get: answers

TEST_F(TransferFaultTest, ASilentSynthesizerIsExplainedAfterThreeSecondsWhileTheGetGoesOnAsking)
{
    m_device.Faults().m_nDropEvery = 1;
    CPatchDoc doc;
    CGetPatchDlg dlg;
    dlg.SetPlan(PatchKind().MakeGetPlan(doc, -1));
    m_onTransfer = [&](CTransferDlg&) {
        m_clock.AdvanceMs(2'500);
        EXPECT_NE(dlg.m_progress.GetProgressText(), res::kNoAnswer);
        m_clock.AdvanceMs(1'000);
        EXPECT_EQ(dlg.m_progress.GetProgressText(), res::kNoAnswer);
        EXPECT_EQ(dlg.m_progress.GetStatic(1000)->toolTip().toStdString(), res::kNoAnswer);
        const int nAsked = int(Sent().size());
        m_clock.AdvanceMs(3'000);
        EXPECT_EQ(int(Sent().size()), nAsked + 3);
        dlg.m_progress.ClickButton(IDCANCEL);
    };
    EXPECT_EQ(Run(dlg), IDOK);
    EXPECT_TRUE(Failures(*m_pBoxes).empty());
    EXPECT_FALSE(dlg.HasStored());

    // A pattern's silent value stalls the Get; the notice comes all the same.
    m_pRecorder->m_events.clear();
    CPatternDoc patterns;
    CGetPatternDlg get;
    get.SetPlan(PatternKind().MakeGetPlan(patterns, 0));
    m_onTransfer = [&](CTransferDlg&) {
        m_clock.AdvanceMs(3'500);
        EXPECT_EQ(get.m_progress.GetProgressText(), res::kNoAnswer);
        get.m_progress.ClickButton(IDCANCEL);
    };
    EXPECT_EQ(Run(get), IDOK);
}

TEST_F(TransferFaultTest, AnswersOfAnotherSizeThanAskedAreDamagedAndAskedAgain)
{
    // A patch answered with 20 data bytes, then with none: neither is stored;
    // the Get asks again and takes the whole patch.
    int nOut = 0;
    m_pRecorder->m_onEvent = [&](const CWireEvent& e) {
        if (e.kind != CWireEvent::Out)
            return;
        ++nOut;
        if (nOut == 1) {
            m_device.Faults().m_nDropEvery = 1;
            const Bytes twenty = Filled(20, 0x05);
            m_pSim->SendFromDevice(BuildDataSet(0x400000 + 7 * 0x100, twenty.data(), twenty.size()));
        } else if (nOut == 2) {
            m_device.Faults().m_nDropEvery = 0;
            m_pSim->SendFromDevice(BuildDataSet(0x400000 + 7 * 0x100, nullptr, 0));
        }
    };
    CPatchDoc doc;
    CGetPatchDlg dlg;
    dlg.SetPlan(PatchKind().MakeGetPlan(doc, 7));
    EXPECT_EQ(Run(dlg), IDOK);
    m_pRecorder->m_onEvent = nullptr;
    EXPECT_GE(Sent().size(), 2u);
    EXPECT_TRUE(Same(doc.m_aPatch[7], m_device.Patch(7)));

    // A pattern packet longer than the 231 bytes asked for is damaged too;
    // the real packets behind it make the item.
    m_pRecorder->m_events.clear();
    const Bytes tooLong = Filled(240, 0x09);
    m_pRecorder->m_onEvent = [&](const CWireEvent& e) {
        if (e.kind == CWireEvent::Out && AddressOf(e.bytes) == Wire(0x08, 0x02, 0x00, 0x00) &&
            SizeOf(e.bytes).size() == 4 && e.bytes.size() == sysex::kRequestLength)
            m_pSim->SendFromDevice(BuildDataSet(address::PatternData(2), tooLong.data(), tooLong.size()));
    };
    CPatternDoc patterns;
    CGetPatternDlg get;
    get.SetPlan(PatternKind().MakeGetPlan(patterns, 2));
    EXPECT_EQ(Run(get), IDOK);
    m_pRecorder->m_onEvent = nullptr;
    EXPECT_EQ(patterns.m_aPattern[2].GetBytes(), m_device.Pattern(2).m_data);
}

TEST_F(TransferFaultTest, ACancelledPatternGetKeepsTheItemThatHadNotArrivedWhole)
{
    // A silent synthesizer: the item keeps what it held.
    m_device.Faults().m_nDropEvery = 1;
    CPatternDoc doc;
    const CPatternEntry before = doc.m_aPattern[1];
    ASSERT_GT(before.GetSize(), 0u);
    {
        CGetPatternDlg dlg;
        dlg.SetPlan(PatternKind().MakeGetPlan(doc, 1));
        m_onTransfer = [&](CTransferDlg&) {
            m_clock.AdvanceMs(5'000);
            dlg.m_progress.ClickButton(IDCANCEL);
        };
        EXPECT_EQ(Run(dlg), IDOK);
        EXPECT_FALSE(dlg.HasStored());
    }
    EXPECT_EQ(doc.m_aPattern[1].GetSize(), before.GetSize());
    EXPECT_EQ(doc.m_aPattern[1].GetBytes(), before.GetBytes());
    EXPECT_EQ(doc.m_aPattern[1].m_byValue, before.m_byValue);

    // A bank Get cancelled inside its second item: the first is the
    // synthesizer's, the second is as it was.
    m_device.Faults() = CSimFaults{};
    m_pRecorder->m_events.clear();
    CGetPatternDlg bank;
    bank.SetPlan(PatternKind().MakeGetPlan(doc, -1));
    m_onTransfer = [&](CTransferDlg&) {
        // The first item's value and data, then the second item's value.
        const auto* pPlan = static_cast<const CVarGetPlan*>(bank.Plan());
        ASSERT_TRUE(m_clock.RunUntil([&] { return pPlan->m_nIndex == 1 && pPlan->m_nStep == 1; }));
        bank.m_progress.ClickButton(IDCANCEL);
    };
    EXPECT_EQ(Run(bank), IDOK);
    EXPECT_TRUE(bank.HasStored());
    EXPECT_EQ(doc.m_aPattern[1].GetSize(), before.GetSize());
    EXPECT_EQ(doc.m_aPattern[1].GetBytes(), before.GetBytes());
}

// ---------------------------------------------------------------- what the user sees

TEST_F(TransferFaultTest, TheStatusBarCountsTheEntriesAndTheTimeLeftThenGoesIdle)
{
    m_pSim->SetWireSpeed(true);
    QMainWindow main;
    main.setStatusBar(new QStatusBar);
    auto* pView = new QWidget;
    main.setCentralWidget(pView);
    CPatchDoc doc;
    CGetPatchDlg dlg(pView);
    dlg.SetPlan(PatchKind().MakeGetPlan(doc, -1));
    std::string strDuring;
    std::string strExpected;
    m_onTransfer = [&](CTransferDlg&) {
        ASSERT_TRUE(m_clock.RunUntil([&] { return Count(CWireEvent::InData) == 16; }));
        strDuring = main.statusBar()->currentMessage().toStdString();
        // 16 of 128 took this long; 112 to go at the same pace, rounded up.
        const int64_t nLeftUs = m_clock.NowUs() * 112 / 16;
        const int64_t nSeconds = (nLeftUs + 999'999) / 1'000'000;
        strExpected = "Getting patch 17 of 128, about " + std::to_string(nSeconds) + " s left";
        m_clock.RunUntil([&] { return dlg.IsEnded(); });
    };
    EXPECT_EQ(Run(dlg), IDOK);
    EXPECT_EQ(strDuring, strExpected);
    EXPECT_EQ(main.statusBar()->currentMessage(), QString());

    // A Send counts its own way.
    CSendPatchDlg send(pView);
    send.SetPlan(PatchKind().MakeSendPlan(doc, -1));
    m_onTransfer = [&](CTransferDlg&) {
        ASSERT_TRUE(m_clock.RunUntil([&] { return Sent().size() >= 130u; }));
        strDuring = main.statusBar()->currentMessage().toStdString();
        m_clock.RunUntil([&] { return send.IsEnded(); });
    };
    EXPECT_EQ(Run(send), IDOK);
    EXPECT_EQ(strDuring.rfind("Sending patch 2 of 128, about ", 0), 0u) << strDuring;
    EXPECT_EQ(main.statusBar()->currentMessage(), QString());
}

TEST_F(TransferFaultTest, TheProgressWindowIsInFrontAndEscapeThereOrInTheDialogCancels)
{
    m_device.Faults().m_nDropEvery = 1;
    CPatchDoc doc;
    CGetPatchDlg dlg;
    dlg.SetPlan(PatchKind().MakeGetPlan(doc, -1));
    bool bActive = false;
    m_onTransfer = [&](CTransferDlg&) {
        m_clock.AdvanceMs(1'500);
        QApplication::processEvents(); // activation arrives as an event
        bActive = QApplication::activeWindow() == &dlg.m_progress;
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&dlg.m_progress, &escape);
    };
    EXPECT_EQ(Run(dlg), IDOK);
    EXPECT_TRUE(bActive);
    EXPECT_FALSE(dlg.m_progress.IsRunning());
    EXPECT_FALSE(m_pSim->IsInOpen());

    // Escape in the Get dialog itself cancels the transfer too.
    CGetPatchDlg again;
    again.SetPlan(PatchKind().MakeGetPlan(doc, -1));
    m_onTransfer = [&](CTransferDlg&) {
        m_clock.AdvanceMs(1'500);
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&again, &escape);
    };
    EXPECT_EQ(Run(again), IDOK);
    EXPECT_FALSE(again.m_progress.IsRunning());
    EXPECT_EQ(m_nCompleteShown, 0);
}

} // namespace
} // namespace vantorel::test
