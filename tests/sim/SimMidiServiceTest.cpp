// The in-process simulator service on a virtual clock: driver behaviour of
// buffers and handles, wire timing, lost answers, and no notification after
// a close.
#include <gtest/gtest.h>

#include <memory>

#include "framework/core/VirtualClock.h"
#include "midi/msg/SysEx.h"
#include "sim/service/SimMidiService.h"

using namespace vantorel;

namespace {

using Bytes = std::vector<uint8_t>;

struct CEvent {
    int64_t nTimeUs;
    bool bIn;
    uintptr_t handle;
    MIDIHDR* pHdr;
    Bytes bytes;
};

// A window that records notifications; optionally requeues its input buffer
// the way the ports do after an answer with bytes.
class CRecorder : public IMidiNotify {
public:
    explicit CRecorder(CSimMidiService& svc) : m_svc(svc) {}
    void OnMidiInLongData(HMIDIIN h, MIDIHDR* pHdr) override
    {
        m_events.push_back({CTimerService::Get().NowUs(), true, reinterpret_cast<uintptr_t>(h), pHdr,
                            Bytes(pHdr->lpData, pHdr->lpData + pHdr->dwBytesRecorded)});
        if (m_bRequeue && pHdr->dwBytesRecorded > 0) {
            EXPECT_EQ(m_svc.InPrepareHeader(h, pHdr), MMSYSERR_NOERROR);
            EXPECT_EQ(m_svc.InAddBuffer(h, pHdr), MMSYSERR_NOERROR);
        }
    }
    void OnMidiOutDone(HMIDIOUT h, MIDIHDR* pHdr) override
    {
        m_events.push_back({CTimerService::Get().NowUs(), false, reinterpret_cast<uintptr_t>(h), pHdr, {}});
    }
    std::vector<CEvent> Ins() const
    {
        std::vector<CEvent> v;
        for (const auto& e : m_events)
            if (e.bIn)
                v.push_back(e);
        return v;
    }
    std::vector<CEvent> Outs() const
    {
        std::vector<CEvent> v;
        for (const auto& e : m_events)
            if (!e.bIn)
                v.push_back(e);
        return v;
    }

    CSimMidiService& m_svc;
    bool m_bRequeue = false;
    std::vector<CEvent> m_events;
};

class SimMidiServiceTest : public ::testing::Test {
protected:
    void SetUp() override { CTimerService::Install(&m_clock); }
    void TearDown() override { CTimerService::Install(nullptr); }

    // Opens the input the way CMidiIn does: open, reset, prepare, add, start.
    HMIDIIN OpenIn(bool bQueueBuffer = true)
    {
        HMIDIIN h = nullptr;
        EXPECT_EQ(m_svc.InOpen(&h, 0, &m_window), MMSYSERR_NOERROR);
        EXPECT_EQ(m_svc.InReset(h), MMSYSERR_NOERROR);
        EXPECT_EQ(m_svc.InPrepareHeader(h, &m_inHdr), MMSYSERR_NOERROR);
        if (bQueueBuffer) {
            EXPECT_EQ(m_svc.InAddBuffer(h, &m_inHdr), MMSYSERR_NOERROR);
        }
        EXPECT_EQ(m_svc.InStart(h), MMSYSERR_NOERROR);
        return h;
    }
    HMIDIOUT OpenOut()
    {
        HMIDIOUT h = nullptr;
        EXPECT_EQ(m_svc.OutOpen(&h, 0, &m_window), MMSYSERR_NOERROR);
        return h;
    }
    void Send(HMIDIOUT h, const Bytes& bytes, MIDIHDR* pHdr = nullptr)
    {
        if (!pHdr)
            pHdr = &m_outHdr;
        std::copy(bytes.begin(), bytes.end(), pHdr->lpData);
        pHdr->dwBufferLength = uint32_t(bytes.size());
        pHdr->dwFlags = 0;
        ASSERT_EQ(m_svc.OutPrepareHeader(h, pHdr), MMSYSERR_NOERROR);
        ASSERT_EQ(m_svc.OutLongMsg(h, pHdr), MMSYSERR_NOERROR);
    }

    CVirtualClock m_clock;
    CSimDevice m_device;
    CSimMidiService m_svc{m_device};
    CRecorder m_window{m_svc};
    std::array<uint8_t, sysex::kPortBufferSize> m_inData{};
    std::array<uint8_t, sysex::kPortBufferSize> m_outData{};
    std::array<uint8_t, sysex::kPortBufferSize> m_outData2{};
    MIDIHDR m_inHdr{m_inData.data(), uint32_t(m_inData.size())};
    MIDIHDR m_outHdr{m_outData.data(), uint32_t(m_outData.size())};
    MIDIHDR m_outHdr2{m_outData2.data(), uint32_t(m_outData2.size())};
};

const Bytes kPatchRequest = BuildDataRequest(sim::PatchAddress(0), 239);

} // namespace

TEST_F(SimMidiServiceTest, OneDeviceEachWayAndItsSentences)
{
    EXPECT_EQ(m_svc.InGetNumDevs(), 1u);
    EXPECT_EQ(m_svc.OutGetNumDevs(), 1u);
    std::string name = "x";
    EXPECT_EQ(m_svc.InGetDevName(0, name), MMSYSERR_NOERROR);
    EXPECT_EQ(name, "KQ-3300 Simulator");
    EXPECT_EQ(m_svc.OutGetDevName(0, name), MMSYSERR_NOERROR);
    EXPECT_EQ(name, "KQ-3300 Simulator");
    EXPECT_EQ(m_svc.OutGetDevName(1, name), MMSYSERR_BADDEVICEID);
    EXPECT_TRUE(name.empty());

    HMIDIIN hIn = reinterpret_cast<HMIDIIN>(uintptr_t(1));
    MMRESULT r = m_svc.InOpen(&hIn, 3, &m_window);
    EXPECT_EQ(r, MMSYSERR_BADDEVICEID);
    EXPECT_EQ(hIn, nullptr);
    EXPECT_EQ(m_svc.InGetErrorText(r), "MIDI input device 3 does not exist.");
    HMIDIOUT hOut = nullptr;
    r = m_svc.OutOpen(&hOut, 2, &m_window);
    EXPECT_EQ(m_svc.OutGetErrorText(r), "MIDI output device 2 does not exist.");
    EXPECT_EQ(m_svc.InOpen(nullptr, 0, &m_window), MMSYSERR_INVALPARAM);

    hIn = OpenIn();
    HMIDIIN hIn2 = nullptr;
    r = m_svc.InOpen(&hIn2, 0, &m_window);
    EXPECT_EQ(r, MMSYSERR_ALLOCATED);
    EXPECT_EQ(m_svc.InGetErrorText(r), "MIDI input device 0 (KQ-3300 Simulator) is already in use.");

    // Handle, header and buffer rules are the backend contract's
    // (tests/midi/MidiServiceContractTest).
    EXPECT_EQ(m_svc.InClose(hIn), MMSYSERR_NOERROR);
}

TEST_F(SimMidiServiceTest, RequestIsAnsweredAtOnceWithoutWireSpeed)
{
    const HMIDIOUT hOut = OpenOut();
    const HMIDIIN hIn = OpenIn();
    Send(hOut, kPatchRequest);
    EXPECT_TRUE(m_window.m_events.empty()); // nothing before the clock runs
    m_clock.RunPending();

    ASSERT_EQ(m_window.m_events.size(), 2u);
    const CEvent& done = m_window.m_events[0];
    EXPECT_FALSE(done.bIn);
    EXPECT_EQ(done.handle, reinterpret_cast<uintptr_t>(hOut));
    EXPECT_EQ(done.pHdr, &m_outHdr);
    EXPECT_EQ(m_outHdr.dwFlags & (MHDR_DONE | MHDR_INQUEUE), MHDR_DONE);
    const CEvent& answer = m_window.m_events[1];
    EXPECT_TRUE(answer.bIn);
    EXPECT_EQ(answer.handle, reinterpret_cast<uintptr_t>(hIn));
    EXPECT_EQ(answer.nTimeUs, 0);
    ASSERT_EQ(answer.bytes.size(), 251u);
    EXPECT_TRUE(IsValidDataSetFor(answer.bytes.data(), answer.bytes.size(), sim::PatchAddress(0)));
    EXPECT_TRUE(std::equal(m_device.Patch(0).begin(), m_device.Patch(0).end(), answer.bytes.begin() + 10));
    EXPECT_EQ(m_inHdr.dwFlags & (MHDR_DONE | MHDR_INQUEUE), MHDR_DONE);

    // The response delay alone.
    m_window.m_events.clear();
    m_svc.SetResponseDelayMs(5);
    ASSERT_EQ(m_svc.InPrepareHeader(hIn, &m_inHdr), MMSYSERR_NOERROR);
    ASSERT_EQ(m_svc.InAddBuffer(hIn, &m_inHdr), MMSYSERR_NOERROR);
    Send(hOut, kPatchRequest);
    m_clock.AdvanceUs(4999);
    ASSERT_EQ(m_window.Ins().size(), 0u);
    m_clock.AdvanceUs(1);
    ASSERT_EQ(m_window.Ins().size(), 1u);
    EXPECT_EQ(m_window.Ins()[0].nTimeUs, 5000);
}

TEST_F(SimMidiServiceTest, WireSpeedPacesBothDirections)
{
    m_svc.SetWireSpeed(true);
    const HMIDIOUT hOut = OpenOut();
    OpenIn();
    Send(hOut, kPatchRequest);
    m_clock.RunUntilIdle();
    ASSERT_EQ(m_window.Outs().size(), 1u);
    EXPECT_EQ(m_window.Outs()[0].nTimeUs, 16 * 320);
    ASSERT_EQ(m_window.Ins().size(), 1u);
    EXPECT_EQ(m_window.Ins()[0].nTimeUs, 267 * 320); // 16-byte request + 251-byte answer
    EXPECT_EQ(m_window.Ins()[0].bytes.size(), 251u);

    // A second message handed over while the first is on the wire starts when
    // the first has finished.
    m_window.m_events.clear();
    const int64_t t0 = m_clock.NowUs();
    const uint8_t value = 0x05; // a data byte: the buffer's first byte is F0
    Send(hOut, BuildDataSet(6, &value, 1));
    Send(hOut, BuildDataRequest(0, 23), &m_outHdr2);
    m_clock.RunUntilIdle();
    ASSERT_EQ(m_window.Outs().size(), 2u);
    EXPECT_EQ(m_window.Outs()[0].nTimeUs - t0, 13 * 320);
    EXPECT_EQ(m_window.Outs()[1].nTimeUs - t0, 29 * 320);
    EXPECT_EQ(m_window.Outs()[1].pHdr, &m_outHdr2);
}

TEST_F(SimMidiServiceTest, AnswersQueueOnTheInputWire)
{
    m_svc.SetWireSpeed(true);
    m_svc.SetResponseDelayMs(10);
    m_window.m_bRequeue = true;
    const HMIDIOUT hOut = OpenOut();
    OpenIn();
    Send(hOut, kPatchRequest);
    Send(hOut, BuildDataRequest(0, 23), &m_outHdr2);
    m_clock.RunUntilIdle();
    const auto ins = m_window.Ins();
    ASSERT_EQ(ins.size(), 2u);
    EXPECT_EQ(ins[0].nTimeUs, 16 * 320 + 10'000 + 251 * 320);
    // Its request ended at 32 x 320 and the delay passed long before the
    // first answer was off the wire.
    EXPECT_EQ(ins[1].nTimeUs, ins[0].nTimeUs + 35 * 320);
    EXPECT_EQ(ins[1].bytes.size(), 35u);
}

// That nothing reaches a closed port is the contract's; here: the device
// still answers a request whose ports closed while it was on the wire, and
// the answer, like bytes on a cable, goes to the input open when it arrives.
TEST_F(SimMidiServiceTest, TheDeviceAnswersEvenWhenNobodyListens)
{
    m_svc.SetWireSpeed(true);
    const HMIDIOUT hOut = OpenOut();
    const HMIDIIN hIn = OpenIn();
    Send(hOut, kPatchRequest);
    m_clock.AdvanceUs(1000);
    ASSERT_EQ(m_svc.InStop(hIn), MMSYSERR_NOERROR);
    ASSERT_EQ(m_svc.InReset(hIn), MMSYSERR_NOERROR);
    ASSERT_EQ(m_svc.InUnprepareHeader(hIn, &m_inHdr), MMSYSERR_NOERROR);
    ASSERT_EQ(m_svc.InClose(hIn), MMSYSERR_NOERROR);
    ASSERT_EQ(m_svc.OutClose(hOut), MMSYSERR_NOERROR);
    int inTraffic = 0;
    m_svc.SetTrafficHook([&](CSimMidiService::EDirection d, const Bytes&) {
        inTraffic += d == CSimMidiService::EDirection::In;
    });
    m_clock.AdvanceUs(16 * 320 - 1000 + 100);
    const HMIDIIN hIn2 = OpenIn(); // while the answer is on its way
    m_clock.RunUntilIdle();
    EXPECT_EQ(inTraffic, 1);
    ASSERT_EQ(m_window.m_events.size(), 1u) << "the answer reached the new input";
    EXPECT_EQ(m_window.m_events[0].handle, reinterpret_cast<uintptr_t>(hIn2));
    EXPECT_EQ(m_window.m_events[0].bytes.size(), 251u);
}

TEST_F(SimMidiServiceTest, AnswersWithoutABufferAreLost)
{
    std::vector<std::pair<CSimMidiService::EDirection, Bytes>> traffic;
    m_svc.SetTrafficHook([&](CSimMidiService::EDirection d, const Bytes& b) { traffic.emplace_back(d, b); });
    const HMIDIOUT hOut = OpenOut();
    const HMIDIIN hIn = OpenIn(false);
    Send(hOut, kPatchRequest);
    m_clock.RunUntilIdle();
    ASSERT_EQ(traffic.size(), 2u);
    EXPECT_EQ(traffic[0].first, CSimMidiService::EDirection::Out);
    EXPECT_EQ(traffic[0].second, kPatchRequest);
    EXPECT_EQ(traffic[1].first, CSimMidiService::EDirection::In);
    EXPECT_EQ(traffic[1].second.size(), 251u);
    EXPECT_TRUE(m_window.Ins().empty());

    // A buffer queued afterwards does not get the old answer.
    ASSERT_EQ(m_svc.InAddBuffer(hIn, &m_inHdr), MMSYSERR_NOERROR);
    m_clock.RunUntilIdle();
    EXPECT_TRUE(m_window.Ins().empty());

    // Two answers in a row with one buffer and no requeue: the second is lost.
    m_svc.Faults().m_nStrayEvery = 1;
    Send(hOut, kPatchRequest);
    m_clock.RunUntilIdle();
    ASSERT_EQ(m_window.Ins().size(), 1u);
    EXPECT_FALSE(IsValidDataSetFor(m_window.Ins()[0].bytes.data(), m_window.Ins()[0].bytes.size(),
                                   sim::PatchAddress(0)));
}

TEST_F(SimMidiServiceTest, FaultsAndOversizedMessagesThroughTheService)
{
    m_window.m_bRequeue = true;
    const HMIDIOUT hOut = OpenOut();
    OpenIn();

    m_svc.Faults().m_nStrayEvery = 1;
    Send(hOut, kPatchRequest);
    m_clock.RunUntilIdle();
    ASSERT_EQ(m_window.Ins().size(), 2u);
    EXPECT_TRUE(IsValidDataSetFor(m_window.Ins()[1].bytes.data(), 251, sim::PatchAddress(0)));
    m_svc.Faults() = {};

    m_window.m_events.clear();
    m_svc.Faults().m_nDropEvery = 1;
    Send(hOut, kPatchRequest);
    m_clock.RunUntilIdle();
    EXPECT_TRUE(m_window.Ins().empty());
    EXPECT_EQ(m_window.Outs().size(), 1u);
    m_svc.Faults() = {};

    // Longer than the buffer: it is filled and the rest is lost.
    m_window.m_events.clear();
    Bytes big(600);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = uint8_t(i & 0x7F);
    big.front() = 0xF0;
    big.back() = 0xF7;
    const int64_t t0 = m_clock.NowUs();
    m_svc.SendFromDevice(big, 1000);
    m_clock.RunUntilIdle();
    ASSERT_EQ(m_window.Ins().size(), 1u);
    EXPECT_EQ(m_window.Ins()[0].nTimeUs, t0 + 1000);
    EXPECT_EQ(m_window.Ins()[0].bytes, Bytes(big.begin(), big.begin() + 512));

    // Data sets and short messages reach the device; data sets report done.
    m_window.m_events.clear();
    const Bytes patch(239, 0x2A);
    Send(hOut, BuildDataSet(sim::PatchAddress(12), patch.data(), patch.size()));
    Bytes seen;
    m_svc.SetTrafficHook([&](CSimMidiService::EDirection, const Bytes& b) { seen = b; });
    EXPECT_EQ(m_svc.OutShortMsg(hOut, 0x00643C90), MMSYSERR_NOERROR);
    EXPECT_EQ(seen, (Bytes{0x90, 0x3C, 0x64}));
    m_clock.RunUntilIdle();
    EXPECT_EQ(m_window.Outs().size(), 1u);
    EXPECT_TRUE(m_window.Ins().empty());
    EXPECT_EQ(Bytes(m_device.Patch(12).begin(), m_device.Patch(12).end()), patch);
}

TEST_F(SimMidiServiceTest, MessagesWithHighDataBytesAreIgnoredAndCounted)
{
    m_window.m_bRequeue = true;
    const HMIDIOUT hOut = OpenOut();
    OpenIn();
    const CPatchBytes before = m_device.Patch(12);
    Bytes patch(239, 0x2A);
    // The program refuses to build such a message, so the byte goes in afterwards.
    Bytes set = BuildDataSet(sim::PatchAddress(12), patch.data(), patch.size());
    set[sysex::kHeaderLength + 100] = 0x90;
    set[set.size() - 2] = Checksum(set.data() + 6, set.size() - 8);
    Send(hOut, set);
    Bytes request = kPatchRequest;
    request[12] |= 0x80; // the size, with its checksum still right for the seven bits
    Send(hOut, request);
    m_clock.RunUntilIdle();
    EXPECT_EQ(m_device.Patch(12), before);
    EXPECT_TRUE(m_window.Ins().empty()) << "a request with a high byte was answered";
    EXPECT_EQ(m_device.m_nIgnored, 2);
    EXPECT_NE(m_device.LastIgnored().find("0x80"), std::string::npos);
    // Well-formed messages still go through, and done is reported for all.
    Send(hOut, kPatchRequest);
    m_clock.RunUntilIdle();
    EXPECT_EQ(m_window.Ins().size(), 1u);
    EXPECT_EQ(m_window.Outs().size(), 3u);
}

TEST_F(SimMidiServiceTest, WorkPostedBeforeDestructionIsHarmless)
{
    CSimDevice device;
    auto svc = std::make_unique<CSimMidiService>(device);
    CRecorder window(*svc);
    HMIDIOUT hOut = nullptr;
    ASSERT_EQ(svc->OutOpen(&hOut, 0, &window), MMSYSERR_NOERROR);
    std::array<uint8_t, 16> data{};
    std::copy(kPatchRequest.begin(), kPatchRequest.end(), data.begin());
    MIDIHDR hdr{data.data(), 16};
    ASSERT_EQ(svc->OutPrepareHeader(hOut, &hdr), MMSYSERR_NOERROR);
    ASSERT_EQ(svc->OutLongMsg(hOut, &hdr), MMSYSERR_NOERROR);
    svc.reset();
    m_clock.RunUntilIdle();
    EXPECT_TRUE(window.m_events.empty());
    EXPECT_EQ(device.m_nRequests, 0);
}
