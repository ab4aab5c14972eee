// The preview note: note on through the frame's own port with the device
// from the profile, note off and close after the tone length, a second press
// restarting it, StopPreview from transfers, and the lengths that would never
// end.
#include "app/AppTestSupport.h"
#include "app/Resource.h"
#include "transfer/StopPreview.h"
#include "support/MessageBoxRecorder.h"

namespace vantorel::test {
namespace {

class PreviewTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        WriteProfileInt("MIDI", "MidiOutDevice", 1);
        WriteProfileInt("MIDI", "MidiInDevice", 2);
    }
    void Press() { m_pFrame->CommandAction(ID_PREVIEW)->trigger(); }
    // The calls since the last look, as "Name" or "OutShortMsg:xxxxxx".
    std::vector<std::string> TakeCalls()
    {
        std::vector<std::string> out;
        for (size_t i = m_nSeen; i < m_midi.m_calls.size(); ++i) {
            const auto& c = m_midi.m_calls[i];
            if (c.m_strName == "OutShortMsg") {
                char buf[32];
                std::snprintf(buf, sizeof buf, "OutShortMsg:%06X", unsigned(c.m_dwArg));
                out.push_back(buf);
            } else if (c.m_strName == "OutOpen") {
                out.push_back("OutOpen:" + std::to_string(c.m_handle));
            } else {
                out.push_back(c.m_strName);
            }
        }
        m_nSeen = m_midi.m_calls.size();
        return out;
    }
    size_t m_nSeen = 0;
    const std::vector<std::string> kOff60{"OutShortMsg:003C80", "OutUnprepareHeader", "OutReset", "OutClose"};
};

TEST_F(PreviewTest, NoteOnThenNoteOffAndCloseAfterTheToneLength)
{
    MakeFrame();
    CMessageBoxRecorder boxes;
    Press();
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"OutOpen:1", "OutShortMsg:503C90"}));
    EXPECT_TRUE(m_pFrame->IsPreviewSounding());
    m_clock.AdvanceMs(499);
    EXPECT_TRUE(TakeCalls().empty());
    m_clock.AdvanceMs(1);
    EXPECT_EQ(TakeCalls(), kOff60);
    EXPECT_FALSE(m_pFrame->IsPreviewSounding());
    EXPECT_TRUE(m_midi.m_openOut.empty());
    // Nothing more: the timer is gone.
    m_clock.AdvanceMs(5000);
    EXPECT_TRUE(TakeCalls().empty());
    EXPECT_TRUE(boxes.m_texts.empty());
}

TEST_F(PreviewTest, SecondPressEndsTheFirstNoteAndLastsAFullLength)
{
    MakeFrame();
    Press();
    TakeCalls();
    m_clock.AdvanceMs(300);
    Press();
    std::vector<std::string> expected = kOff60;
    expected.insert(expected.end(), {"OutOpen:1", "OutShortMsg:503C90"});
    EXPECT_EQ(TakeCalls(), expected);
    m_clock.AdvanceMs(499);
    EXPECT_TRUE(TakeCalls().empty());
    m_clock.AdvanceMs(1);
    EXPECT_EQ(TakeCalls(), kOff60);
}

TEST_F(PreviewTest, SettingsAndDevicesAreReadAtEachPress)
{
    WriteProfileInt("Preview", "NoteNum", 72);
    WriteProfileInt("Preview", "Velocity", 100);
    WriteProfileInt("Preview", "ToneLen", 50);
    MakeFrame();
    Press();
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"OutOpen:1", "OutShortMsg:644890"}));
    EXPECT_EQ(m_pFrame->m_nMidiOutDevice, 1);
    EXPECT_EQ(m_pFrame->m_nMidiInDevice, 2);
    m_clock.AdvanceMs(50);
    EXPECT_EQ(TakeCalls().front(), "OutShortMsg:004880");
    // MIDI Setup's change takes effect at the next press.
    WriteProfileInt("MIDI", "MidiOutDevice", 0);
    Press();
    EXPECT_EQ(TakeCalls().front(), "OutOpen:0");
    m_pFrame->StopPreview();
}

TEST_F(PreviewTest, NoteOffReleasesTheKeyThatSoundsEvenAfterPreviewSetup)
{
    MakeFrame();
    Press();
    TakeCalls();
    m_pFrame->m_nPreviewNote = 64; // Preview Setup while the note sounds
    m_clock.AdvanceMs(500);
    EXPECT_EQ(TakeCalls(), kOff60);
}

TEST_F(PreviewTest, NegativeOrZeroToneLengthEndsTheNoteAtOnce)
{
    for (int len : {-1, 0, INT_MIN}) {
        SCOPED_TRACE(len);
        WriteProfileInt("Preview", "ToneLen", len);
        MakeFrame();
        Press();
        EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"OutOpen:1", "OutShortMsg:503C90"}));
        m_clock.RunPending();
        EXPECT_EQ(TakeCalls(), kOff60);
        EXPECT_FALSE(m_pFrame->IsPreviewSounding());
        DestroyFrame();
        // The length itself is kept as it was.
        EXPECT_EQ(GetProfileInt("Preview", "ToneLen", 1), len);
    }
}

TEST_F(PreviewTest, OutOfRangeNoteAndVelocityNeverBecomeStatusBytes)
{
    WriteProfileInt("Preview", "NoteNum", 200);
    WriteProfileInt("Preview", "Velocity", -5);
    MakeFrame();
    Press();
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"OutOpen:1", "OutShortMsg:007F90"}));
    m_pFrame->StopPreview();
    EXPECT_EQ(TakeCalls().front(), "OutShortMsg:007F80");
}

TEST_F(PreviewTest, TransfersStopTheNoteThroughStopPreview)
{
    MakeFrame();
    StopPreview(); // idle: nothing happens
    EXPECT_TRUE(TakeCalls().empty());
    Press();
    TakeCalls();
    StopPreview();
    EXPECT_EQ(TakeCalls(), kOff60);
    EXPECT_FALSE(m_pFrame->IsPreviewSounding());
    m_clock.AdvanceMs(1000);
    EXPECT_TRUE(TakeCalls().empty());
    // Without a frame the call is harmless.
    DestroyFrame();
    StopPreview();
    EXPECT_TRUE(TakeCalls().empty());
}

TEST_F(PreviewTest, AFailedOpenIsReportedOnceAndTheSequenceGoesOn)
{
    MakeFrame();
    m_midi.Fail("OutOpen", MMSYSERR_ALLOCATED, 1);
    CMessageBoxRecorder boxes;
    Press();
    // The open reports its error; the note on a port that never opened is
    // the same failure and says nothing more.
    EXPECT_EQ(boxes.m_texts.size(), 1u);
    EXPECT_TRUE(m_pFrame->IsPreviewSounding());
    m_clock.AdvanceMs(500);
    EXPECT_FALSE(m_pFrame->IsPreviewSounding());
    // Neither the notes nor the close reach the service without a port.
    for (const std::string& call : TakeCalls())
        EXPECT_EQ(call.rfind("OutOpen", 0), 0u) << call;
    EXPECT_EQ(boxes.m_texts.size(), 1u);
}

TEST_F(PreviewTest, ClosingTheProgramWhileANoteSoundsResetsThePort)
{
    MakeFrame();
    Press();
    TakeCalls();
    DestroyFrame();
    const auto calls = TakeCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "OutReset");
    EXPECT_EQ(calls.back(), "OutClose");
    EXPECT_TRUE(m_midi.m_openOut.empty());
    m_clock.AdvanceMs(1000); // the timer died with the frame
}

} // namespace
} // namespace vantorel::test
