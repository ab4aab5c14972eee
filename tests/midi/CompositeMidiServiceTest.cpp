// Device numbering across backends, handle mapping and error texts.
#include <gtest/gtest.h>

#include "support/PortErrorLog.h"
#include "midi/MidiPorts.h"
#include "midi/backends/CompositeMidiService.h"
#include "midi/FakeMidiService.h"

namespace vantorel {
namespace {

using test::CFakeMidiService;
using test::CInstallService;

struct CRecordingWindow : IMidiNotify {
    std::vector<HMIDIIN> m_ins;
    std::vector<HMIDIOUT> m_outs;
    void OnMidiInLongData(HMIDIIN h, MIDIHDR*) override { m_ins.push_back(h); }
    void OnMidiOutDone(HMIDIOUT h, MIDIHDR*) override { m_outs.push_back(h); }
};

class CompositeTest : public ::testing::Test {
protected:
    CompositeTest()
    {
        m_a.m_ins = {"A in 0", "A in 1"};
        m_a.m_outs = {"A out 0"};
        m_a.m_strTag = "A ";
        m_b.m_ins = {"B in 0"};
        m_b.m_outs = {"B out 0", "B out 1"};
        m_b.m_strTag = "B ";
        m_b.m_nNextHandle = 0x1000; // the same tokens as A: the composite must tell them apart
    }
    CFakeMidiService m_a, m_b, m_empty;
    CCompositeMidiService m_service{{&m_a, &m_empty, &m_b}};
};

TEST_F(CompositeTest, NumbersRunThroughTheBackendsInOrder)
{
    EXPECT_EQ(m_service.InGetNumDevs(), 3u);
    EXPECT_EQ(m_service.OutGetNumDevs(), 3u);
    std::vector<std::string> ins, outs;
    for (unsigned i = 0; i < 3; ++i) {
        std::string name;
        EXPECT_EQ(m_service.InGetDevName(i, name), MMSYSERR_NOERROR);
        ins.push_back(name);
        EXPECT_EQ(m_service.OutGetDevName(i, name), MMSYSERR_NOERROR);
        outs.push_back(name);
    }
    EXPECT_EQ(ins, (std::vector<std::string>{"A in 0", "A in 1", "B in 0"}));
    EXPECT_EQ(outs, (std::vector<std::string>{"A out 0", "B out 0", "B out 1"}));
    std::string name = "stale";
    EXPECT_EQ(m_service.InGetDevName(3, name), MMSYSERR_BADDEVICEID);
    EXPECT_TRUE(name.empty());
}

TEST_F(CompositeTest, OpensOnTheOwningBackendWithItsOwnNumber)
{
    HMIDIIN hIn = nullptr;
    ASSERT_EQ(m_service.InOpen(&hIn, 2, nullptr), MMSYSERR_NOERROR);
    ASSERT_EQ(m_b.m_calls.size(), 1u);
    EXPECT_EQ(m_b.m_calls[0].m_strName, "InOpen");
    EXPECT_EQ(m_b.m_calls[0].m_handle, 0u);
    EXPECT_TRUE(m_a.m_calls.empty());

    HMIDIOUT hOut = nullptr;
    ASSERT_EQ(m_service.OutOpen(&hOut, 2, nullptr), MMSYSERR_NOERROR);
    EXPECT_EQ(m_b.m_calls.back().m_handle, 1u);
    HMIDIOUT hOutA = nullptr;
    ASSERT_EQ(m_service.OutOpen(&hOutA, 0, nullptr), MMSYSERR_NOERROR);
    EXPECT_EQ(m_a.m_calls.back().m_handle, 0u);
    EXPECT_NE(reinterpret_cast<void*>(hOut), reinterpret_cast<void*>(hOutA));
}

TEST_F(CompositeTest, HandlesMapBackToTheirBackendAndItsHandle)
{
    HMIDIOUT hA = nullptr, hB = nullptr;
    ASSERT_EQ(m_service.OutOpen(&hA, 0, nullptr), MMSYSERR_NOERROR);
    ASSERT_EQ(m_service.OutOpen(&hB, 1, nullptr), MMSYSERR_NOERROR);
    const uintptr_t backendA = m_a.m_openOut.begin()->first;
    const uintptr_t backendB = m_b.m_openOut.begin()->first;
    ASSERT_EQ(backendA, backendB); // same token in both backends

    EXPECT_EQ(m_service.OutShortMsg(hB, 0x00643C90), MMSYSERR_NOERROR);
    ASSERT_EQ(m_b.m_calls.back().m_strName, "OutShortMsg");
    EXPECT_EQ(m_b.m_calls.back().m_handle, backendB);
    EXPECT_EQ(m_b.m_calls.back().m_dwArg, 0x00643C90u);
    EXPECT_EQ(m_a.m_calls.size(), 1u) << "only A's open";

    EXPECT_EQ(m_service.OutClose(hA), MMSYSERR_NOERROR);
    EXPECT_TRUE(m_a.m_openOut.empty());
    EXPECT_EQ(m_b.m_openOut.size(), 1u);
    EXPECT_EQ(m_service.OutReset(hA), MMSYSERR_INVALHANDLE) << "a closed handle is unknown";
    EXPECT_EQ(m_service.OutReset(nullptr), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(m_service.OutReset(hB), MMSYSERR_NOERROR);
}

TEST_F(CompositeTest, NotificationsReachTheWindowWithTheCompositeHandle)
{
    CRecordingWindow window;
    HMIDIIN hIn = nullptr;
    HMIDIOUT hOut = nullptr;
    ASSERT_EQ(m_service.InOpen(&hIn, 1, &window), MMSYSERR_NOERROR);
    ASSERT_EQ(m_service.OutOpen(&hOut, 1, &window), MMSYSERR_NOERROR);
    MIDIHDR hdr;
    uint8_t data[4] = {};
    hdr.lpData = data;
    hdr.dwBufferLength = 4;
    m_a.ReturnInBuffer(reinterpret_cast<HMIDIIN>(m_a.m_openIn.begin()->first), &hdr, {0xF0, 0xF7});
    m_b.SignalOutDone(reinterpret_cast<HMIDIOUT>(m_b.m_openOut.begin()->first), &hdr);
    EXPECT_EQ(window.m_ins, std::vector<HMIDIIN>{hIn});
    EXPECT_EQ(window.m_outs, std::vector<HMIDIOUT>{hOut});
}

TEST_F(CompositeTest, ErrorTextsComeFromWhoeverFailed)
{
    HMIDIOUT h = nullptr;
    EXPECT_EQ(m_service.OutOpen(&h, 3, nullptr), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(m_service.OutGetErrorText(MMSYSERR_BADDEVICEID), "MIDI output device 3 does not exist.");
    HMIDIIN hIn = nullptr;
    EXPECT_EQ(m_service.InOpen(&hIn, 7, nullptr), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(m_service.InGetErrorText(MMSYSERR_BADDEVICEID), "MIDI input device 7 does not exist.");

    m_b.Fail("OutOpen", MMSYSERR_ALLOCATED, 1);
    EXPECT_EQ(m_service.OutOpen(&h, 2, nullptr), MMSYSERR_ALLOCATED);
    EXPECT_EQ(m_service.OutGetErrorText(MMSYSERR_ALLOCATED),
              CFakeMidiService::TextFor("B ", "out", MMSYSERR_ALLOCATED));
    EXPECT_EQ(m_service.OutReset(nullptr), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(m_service.OutGetErrorText(MMSYSERR_INVALHANDLE), "The MIDI device is not open.");
}

TEST_F(CompositeTest, PortsWorkThroughIt)
{
    CInstallService install(&m_service);
    test::CPortErrorLog reports;
    CRecordingWindow window;
    {
        CMidiIn in(reports.Handler());
        in.m_wDeviceId = 2;
        EXPECT_TRUE(in.Open(&window));
        EXPECT_EQ(m_b.Names(), (std::vector<std::string>{"InOpen", "InReset", "InPrepareHeader",
                                                         "InAddBuffer", "InStart"}));
        CMidiOut out(reports.Handler());
        out.m_wDeviceId = 4; // past the end
        EXPECT_FALSE(out.Open(&window));
        EXPECT_EQ(reports.m_texts,
                  std::vector<std::string>{"The MIDI output (device 4) is not available. Check that it is "
                                           "connected, or choose another device in Setup > MIDI Setup."});
    }
    EXPECT_TRUE(m_b.m_openIn.empty()) << "destroying the port closed the backend's device";
}

} // namespace
} // namespace vantorel
