// The RtMidi backends where there is nothing to talk to: no JACK server and
// no ALSA sequencer. They must list nothing, fail opens with a sentence, and
// keep stderr clean.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <unistd.h>

#include "support/PortErrorLog.h"
#include "midi/MidiPorts.h"
#include "midi/backends/AlsaWatch.h"
#include "midi/backends/CompositeMidiService.h"
#include "midi/backends/RtMidiService.h"
#include "midi/FakeMidiService.h"

namespace vantorel {
namespace {

// Sends fd 2 to a temporary file for its lifetime; Text() ends the capture.
class CStderrCapture {
public:
    CStderrCapture() : m_pFile(std::tmpfile()), m_nSaved(dup(STDERR_FILENO))
    {
        std::fflush(stderr);
        std::cerr.flush();
        dup2(fileno(m_pFile), STDERR_FILENO);
    }
    ~CStderrCapture()
    {
        Text();
        std::fclose(m_pFile);
    }
    std::string Text()
    {
        if (m_nSaved >= 0) {
            std::fflush(stderr);
            std::cerr.flush();
            dup2(m_nSaved, STDERR_FILENO);
            close(m_nSaved);
            m_nSaved = -1;
            std::rewind(m_pFile);
            char buf[4096];
            size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, m_pFile)) > 0)
                m_strText.append(buf, n);
        }
        return m_strText;
    }

private:
    FILE* m_pFile;
    int m_nSaved;
    std::string m_strText;
};

class NoMidiStackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (access("/dev/snd/seq", F_OK) == 0)
            GTEST_SKIP() << "this machine has an ALSA sequencer";
        // A server name nobody runs, so that a JACK server on the machine
        // cannot answer.
        const std::string name = "vantorel-none-" + std::to_string(getpid());
        setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);
    }
    void TearDown() override { unsetenv("JACK_DEFAULT_SERVER"); }
};

TEST_F(NoMidiStackTest, ListsNothingFailsOpensWithASentenceAndPrintsNothing)
{
    CStderrCapture capture;
    {
        CRtMidiService jack(RtMidi::UNIX_JACK);
        CRtMidiService alsa(RtMidi::LINUX_ALSA);
        for (CRtMidiService* p : {&jack, &alsa}) {
            SCOPED_TRACE(p == &jack ? "JACK" : "ALSA");
            const std::string why =
                p == &jack ? "The JACK server is not running." : "The ALSA sequencer is not available.";
            EXPECT_EQ(p->InGetNumDevs(), 0u);
            EXPECT_EQ(p->OutGetNumDevs(), 0u);
            std::string name = "x";
            EXPECT_NE(p->InGetDevName(0, name), MMSYSERR_NOERROR);
            EXPECT_TRUE(name.empty());
            HMIDIIN hIn = reinterpret_cast<HMIDIIN>(&name);
            EXPECT_EQ(p->InOpen(&hIn, 0, nullptr), MMSYSERR_NODRIVER);
            EXPECT_EQ(hIn, nullptr);
            EXPECT_EQ(p->InGetErrorText(MMSYSERR_NODRIVER), why);
            HMIDIOUT hOut = nullptr;
            EXPECT_EQ(p->OutOpen(&hOut, 0, nullptr), MMSYSERR_NODRIVER);
            EXPECT_EQ(p->OutGetErrorText(MMSYSERR_NODRIVER), why);
            EXPECT_EQ(p->OutShortMsg(nullptr, 0x90), MMSYSERR_INVALHANDLE);
            EXPECT_EQ(p->OutGetErrorText(MMSYSERR_INVALHANDLE), "The MIDI device is not open.");
        }
        // Asking again must not print either (libjack retries the connection).
        EXPECT_EQ(jack.OutGetNumDevs(), 0u);
    }
    EXPECT_EQ(capture.Text(), "");
}

TEST_F(NoMidiStackTest, PortsOverTheEmptyBackendsReportTheMissingDevice)
{
    CStderrCapture capture;
    test::CPortErrorLog reports;
    {
        CRtMidiService alsa(RtMidi::LINUX_ALSA);
        CRtMidiService jack(RtMidi::UNIX_JACK);
        CCompositeMidiService service({&alsa, &jack});
        test::CInstallService install(&service);
        CMidiIn in(reports.Handler());
        EXPECT_FALSE(in.Open(nullptr));
        CMidiOut out(reports.Handler());
        out.m_wDeviceId = 3;
        EXPECT_FALSE(out.Open(nullptr));
    }
    EXPECT_EQ(reports.m_texts,
              (std::vector<std::string>{"The MIDI input (device 0) is not available. Check that it is "
                                        "connected, or choose another device in Setup > MIDI Setup.",
                                        "The MIDI output (device 3) is not available. Check that it is "
                                        "connected, or choose another device in Setup > MIDI Setup."}));
    EXPECT_EQ(capture.Text(), "");
}

TEST(DefaultMidiService, AnswersEveryCallWithoutCrashing)
{
    test::CPortErrorLog reports;
    CMidiService::Install(nullptr);
    CMidiIn in(reports.Handler());
    EXPECT_FALSE(in.Open(nullptr));
    CMidiOut out(reports.Handler());
    EXPECT_FALSE(out.Open(nullptr));
    EXPECT_FALSE(out.ShortMessage(0x90, 60, 100));
    EXPECT_EQ(CMidiService::Get().InGetNumDevs(), 0u);
    // Each port says once that its device is not there; a message on the
    // port that never opened adds nothing.
    ASSERT_EQ(reports.m_texts.size(), 2u);
    EXPECT_EQ(reports.m_texts[0],
              "The MIDI input (device 0) is not available. Check that it is connected, or "
              "choose another device in Setup > MIDI Setup.");
    EXPECT_EQ(reports.m_texts[1],
              "The MIDI output (device 0) is not available. Check that it is connected, or "
              "choose another device in Setup > MIDI Setup.");
}

TEST(AlsaWatch, ReadsTheAddressAtTheEndOfAPortName)
{
    int client = -1, port = -1;
    EXPECT_TRUE(CAlsaWatch::ParseAddress("USB MIDI:USB MIDI MIDI 1 24:0", client, port));
    EXPECT_EQ(client, 24);
    EXPECT_EQ(port, 0);
    EXPECT_TRUE(CAlsaWatch::ParseAddress("kq:in 128:3", client, port));
    EXPECT_EQ(client, 128);
    EXPECT_EQ(port, 3);
    for (const char* name : {"", "no address", "kq:in 128:", "kq:in128:3", "kq:in 128:3 "})
        EXPECT_FALSE(CAlsaWatch::ParseAddress(name, client, port)) << name;
}

} // namespace
} // namespace vantorel
