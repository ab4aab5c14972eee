// The one contract every MIDI backend keeps, run against each of them: the
// test fake, the in-process simulator, and RtMidi over a private JACK server
// (skipped when jackd is not installed). Buffers are queued one at a time and
// handed back with each message; "done" comes only after the wire time;
// nothing reaches a closed port; bad handles, devices and headers have their
// codes.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "e2e/JackRig.h"
#include "framework/core/QtTimerService.h"
#include "framework/core/VirtualClock.h"
#include "midi/FakeMidiService.h"
#include "midi/backends/JackWatch.h"
#include "midi/backends/RtMidiService.h"
#include "midi/msg/SysEx.h"
#include "sim/model/SimDevice.h"
#include "sim/service/SimMidiService.h"

namespace vantorel {
namespace {

using Bytes = std::vector<uint8_t>;

// One backend with a device on its first input and output, and a way to make
// that device send.
class CContractRig {
public:
    virtual ~CContractRig() = default;
    // False when what the backend needs is not installed on this machine.
    virtual bool CanRunHere() const { return true; }
    // False, with the reason, when the backend did not start.
    virtual bool Start(std::string& why) = 0;
    virtual CMidiService& Service() = 0;
    virtual unsigned InDevice() = 0;
    virtual unsigned OutDevice() = 0;
    virtual void SendFromDevice(const Bytes& bytes) = 0;
    // Lets time pass until pred holds; false when it never does.
    virtual bool RunUntil(const std::function<bool()>& pred) = 0;
    // Lets everything in flight arrive.
    virtual void Settle() = 0;
};

class CVirtualClockRig : public CContractRig {
public:
    CVirtualClockRig() { CTimerService::Install(&m_clock); }
    ~CVirtualClockRig() override { CTimerService::Install(nullptr); }
    bool RunUntil(const std::function<bool()>& pred) override { return m_clock.RunUntil(pred, 10'000'000); }
    void Settle() override { m_clock.RunUntilIdle(10'000'000); }

private:
    CVirtualClock m_clock;
};

class CFakeRig final : public CVirtualClockRig {
public:
    bool Start(std::string&) override
    {
        m_service.m_ins = {"Loop In"};
        m_service.m_outs = {"Loop Out"};
        return true;
    }
    CMidiService& Service() override { return m_service; }
    unsigned InDevice() override { return 0; }
    unsigned OutDevice() override { return 0; }
    void SendFromDevice(const Bytes& bytes) override { m_service.SendFromDevice(bytes); }

private:
    test::CFakeMidiService m_service;
};

// As the program composes it: at wire speed.
class CSimRig final : public CVirtualClockRig {
public:
    bool Start(std::string&) override
    {
        m_service.SetWireSpeed(true);
        return true;
    }
    CMidiService& Service() override { return m_service; }
    unsigned InDevice() override { return 0; }
    unsigned OutDevice() override { return 0; }
    void SendFromDevice(const Bytes& bytes) override { m_service.SendFromDevice(bytes); }

private:
    CSimDevice m_device;
    CSimMidiService m_service{m_device};
};

// RtMidi on a private JACK server; the device is a pair of ports of another
// client of this process.
class CRtMidiJackRig final : public CContractRig {
public:
    static constexpr const char* kDeviceClient = "vantorel-contract-device";
    static constexpr int kTimeoutMs = 15000;
    static constexpr int kSettleMs = 200;

    ~CRtMidiJackRig() override
    {
        m_pService.reset();
        m_pDeviceIn.reset();
        m_pDeviceOut.reset();
        CTimerService::Install(nullptr);
        m_server.Stop();
    }
    bool CanRunHere() const override { return e2e::CJackRig::JackdInstalled(); }
    bool Start(std::string& why) override
    {
        if (!m_server.StartServer(why))
            return false;
        CTimerService::Install(&m_timer);
        // Made first: it keeps libjack quiet while the server comes up.
        m_pService = std::make_unique<CRtMidiService>(RtMidi::UNIX_JACK);
        QElapsedTimer t;
        t.start();
        while (!CJackWatch().Connect(kDeviceClient, kTimeoutMs)) {
            if (t.elapsed() > kTimeoutMs) {
                why = "the JACK server did not answer";
                return false;
            }
            Pump(50);
        }
        if (!MakeDevice()) {
            why = "the device's ports could not be made";
            return false;
        }
        if (!Find(m_pService->InGetDevNames(), m_nIn) || !Find(m_pService->OutGetDevNames(), m_nOut)) {
            why = "the device's ports are not listed";
            return false;
        }
        return true;
    }
    CMidiService& Service() override { return *m_pService; }
    unsigned InDevice() override { return m_nIn; }
    unsigned OutDevice() override { return m_nOut; }
    void SendFromDevice(const Bytes& bytes) override
    {
        std::vector<unsigned char> message(bytes.begin(), bytes.end());
        m_pDeviceOut->sendMessage(&message);
    }
    bool RunUntil(const std::function<bool()>& pred) override
    {
        QElapsedTimer t;
        t.start();
        while (!pred()) {
            if (t.elapsed() > kTimeoutMs)
                return false;
            Pump(5);
        }
        return true;
    }
    void Settle() override { Pump(kSettleMs); }

private:
    static void OnError(RtMidiError::Type, const std::string&, void* pFailed)
    {
        *static_cast<bool*>(pFailed) = true;
    }
    static void Pump(int ms)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    bool MakeDevice()
    {
        bool bFailed = false;
        try {
            m_pDeviceIn = std::make_unique<RtMidiIn>(RtMidi::UNIX_JACK, kDeviceClient);
            m_pDeviceIn->setErrorCallback(&OnError, &bFailed);
            m_pDeviceIn->openVirtualPort("in");
            m_pDeviceOut = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, kDeviceClient);
            m_pDeviceOut->setErrorCallback(&OnError, &bFailed);
            m_pDeviceOut->openVirtualPort("out");
        } catch (const RtMidiError&) {
            bFailed = true;
        }
        if (!bFailed)
            return true;
        m_pDeviceIn.reset();
        m_pDeviceOut.reset();
        return false;
    }
    static bool Find(const std::vector<std::string>& names, unsigned& nAt)
    {
        for (nAt = 0; nAt < names.size(); ++nAt)
            if (names[nAt].find(kDeviceClient) != std::string::npos)
                return true;
        return false;
    }

    e2e::CJackRig m_server;
    CQtTimerService m_timer;
    std::unique_ptr<RtMidiIn> m_pDeviceIn;
    std::unique_ptr<RtMidiOut> m_pDeviceOut;
    std::unique_ptr<CRtMidiService> m_pService;
    unsigned m_nIn = 0;
    unsigned m_nOut = 0;
};

struct CBackend {
    const char* m_szName;
    std::function<std::unique_ptr<CContractRig>()> m_make;
};

void PrintTo(const CBackend& backend, std::ostream* os)
{
    *os << backend.m_szName;
}

// A window that records what it is told, when, and with which bytes.
class CWindow : public IMidiNotify {
public:
    struct CNote {
        uintptr_t m_handle;
        MIDIHDR* m_pHdr;
        Bytes m_bytes;
        int64_t m_nTimeUs;
    };
    void OnMidiInLongData(HMIDIIN h, MIDIHDR* p) override
    {
        m_ins.push_back({reinterpret_cast<uintptr_t>(h), p, Bytes(p->lpData, p->lpData + p->dwBytesRecorded),
                         CTimerService::Get().NowUs()});
    }
    void OnMidiOutDone(HMIDIOUT h, MIDIHDR* p) override
    {
        m_dones.push_back({reinterpret_cast<uintptr_t>(h), p, {}, CTimerService::Get().NowUs()});
    }
    std::vector<CNote> m_ins;
    std::vector<CNote> m_dones;
};

// A header over its own bytes.
struct CBuffer {
    explicit CBuffer(size_t n) : m_data(n)
    {
        m_hdr.lpData = m_data.data(), m_hdr.dwBufferLength = uint32_t(n);
    }
    void Fill(const Bytes& bytes)
    {
        m_data = bytes;
        m_hdr = MIDIHDR{m_data.data(), uint32_t(m_data.size())};
    }
    uint32_t State() const { return m_hdr.dwFlags & (MHDR_DONE | MHDR_INQUEUE); }
    Bytes m_data;
    MIDIHDR m_hdr;
};

// A message only this suite sends, of n bytes in all.
Bytes Message(size_t n, uint8_t tag)
{
    Bytes bytes(n, tag);
    bytes.front() = 0xF0;
    bytes.back() = 0xF7;
    return bytes;
}

class MidiServiceContract : public ::testing::TestWithParam<CBackend> {
protected:
    void SetUp() override
    {
        m_pRig = GetParam().m_make();
        if (!m_pRig->CanRunHere())
            GTEST_SKIP() << "not installed here";
        std::string why;
        ASSERT_TRUE(m_pRig->Start(why)) << why;
    }
    void TearDown() override
    {
        for (HMIDIIN h : m_openIns)
            (void)Service().InClose(h);
        for (HMIDIOUT h : m_openOuts)
            (void)Service().OutClose(h);
        m_pRig.reset();
    }
    CMidiService& Service() { return m_pRig->Service(); }

    // Open, reset, prepare, add, start: the way the ports open an input.
    HMIDIIN OpenIn(CBuffer& buffer)
    {
        HMIDIIN h = nullptr;
        EXPECT_EQ(Service().InOpen(&h, m_pRig->InDevice(), &m_window), MMSYSERR_NOERROR);
        m_openIns.push_back(h);
        EXPECT_EQ(Service().InReset(h), MMSYSERR_NOERROR);
        EXPECT_EQ(Service().InPrepareHeader(h, &buffer.m_hdr), MMSYSERR_NOERROR);
        EXPECT_EQ(Service().InAddBuffer(h, &buffer.m_hdr), MMSYSERR_NOERROR);
        EXPECT_EQ(Service().InStart(h), MMSYSERR_NOERROR);
        return h;
    }
    HMIDIOUT OpenOut()
    {
        HMIDIOUT h = nullptr;
        EXPECT_EQ(Service().OutOpen(&h, m_pRig->OutDevice(), &m_window), MMSYSERR_NOERROR);
        m_openOuts.push_back(h);
        return h;
    }
    void CloseIn(HMIDIIN h)
    {
        EXPECT_EQ(Service().InClose(h), MMSYSERR_NOERROR);
        std::erase(m_openIns, h);
    }
    void CloseOut(HMIDIOUT h)
    {
        EXPECT_EQ(Service().OutClose(h), MMSYSERR_NOERROR);
        std::erase(m_openOuts, h);
    }
    MMRESULT Send(HMIDIOUT h, CBuffer& buffer)
    {
        buffer.m_hdr.dwFlags = 0;
        const MMRESULT r = Service().OutPrepareHeader(h, &buffer.m_hdr);
        return r ? r : Service().OutLongMsg(h, &buffer.m_hdr);
    }

    std::unique_ptr<CContractRig> m_pRig;
    CWindow m_window;
    std::vector<HMIDIIN> m_openIns;
    std::vector<HMIDIOUT> m_openOuts;
};

TEST_P(MidiServiceContract, ListsItsDevicesByNumberAndAllAtOnce)
{
    for (bool bIn : {true, false}) {
        SCOPED_TRACE(bIn ? "in" : "out");
        CMidiService& s = Service();
        const std::vector<std::string> all = bIn ? s.InGetDevNames() : s.OutGetDevNames();
        ASSERT_EQ(all.size(), bIn ? s.InGetNumDevs() : s.OutGetNumDevs());
        ASSERT_LT(bIn ? m_pRig->InDevice() : m_pRig->OutDevice(), all.size());
        for (unsigned i = 0; i < all.size(); ++i) {
            std::string name;
            EXPECT_EQ(bIn ? s.InGetDevName(i, name) : s.OutGetDevName(i, name), MMSYSERR_NOERROR);
            EXPECT_EQ(name, all[i]);
            EXPECT_FALSE(name.empty());
        }
        std::string name = "stale";
        const unsigned past = unsigned(all.size());
        EXPECT_EQ(bIn ? s.InGetDevName(past, name) : s.OutGetDevName(past, name), MMSYSERR_BADDEVICEID);
        EXPECT_TRUE(name.empty());
    }
}

TEST_P(MidiServiceContract, BadHandlesDevicesAndArgumentsHaveTheirCodes)
{
    CMidiService& s = Service();
    const unsigned nNoIn = s.InGetNumDevs() + 5;
    HMIDIIN hIn = reinterpret_cast<HMIDIIN>(uintptr_t(1));
    EXPECT_EQ(s.InOpen(&hIn, nNoIn, &m_window), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(hIn, nullptr);
    EXPECT_FALSE(s.InGetErrorText(MMSYSERR_BADDEVICEID).empty());
    HMIDIOUT hOut = reinterpret_cast<HMIDIOUT>(uintptr_t(1));
    EXPECT_EQ(s.OutOpen(&hOut, s.OutGetNumDevs() + 5, &m_window), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(hOut, nullptr);
    EXPECT_EQ(s.InOpen(nullptr, m_pRig->InDevice(), &m_window), MMSYSERR_INVALPARAM);
    EXPECT_EQ(s.OutOpen(nullptr, m_pRig->OutDevice(), &m_window), MMSYSERR_INVALPARAM);

    CBuffer buffer(16);
    const auto bogusIn = reinterpret_cast<HMIDIIN>(uintptr_t(0x4242));
    for (MMRESULT r : {s.InReset(bogusIn), s.InStart(nullptr), s.InStop(bogusIn),
                       s.InPrepareHeader(bogusIn, &buffer.m_hdr), s.InAddBuffer(bogusIn, &buffer.m_hdr),
                       s.InUnprepareHeader(bogusIn, &buffer.m_hdr), s.InClose(bogusIn)}) {
        EXPECT_EQ(r, MMSYSERR_INVALHANDLE);
    }
    EXPECT_FALSE(s.InGetErrorText(MMSYSERR_INVALHANDLE).empty());
    const auto bogusOut = reinterpret_cast<HMIDIOUT>(uintptr_t(0x4242));
    for (MMRESULT r : {s.OutShortMsg(bogusOut, 0x00643C90), s.OutPrepareHeader(bogusOut, &buffer.m_hdr),
                       s.OutLongMsg(bogusOut, &buffer.m_hdr), s.OutUnprepareHeader(bogusOut, &buffer.m_hdr),
                       s.OutReset(nullptr), s.OutClose(bogusOut)}) {
        EXPECT_EQ(r, MMSYSERR_INVALHANDLE);
    }
    EXPECT_FALSE(s.OutGetErrorText(MMSYSERR_INVALHANDLE).empty());

    // A closed handle is as unknown as one never opened.
    const HMIDIOUT h = OpenOut();
    EXPECT_EQ(s.OutShortMsg(h, 0x00000012), MMSYSERR_INVALPARAM) << "a data byte is no message";
    EXPECT_EQ(s.OutShortMsg(h, 0x000000F0), MMSYSERR_INVALPARAM) << "exclusive goes as a long message";
    CloseOut(h);
    EXPECT_EQ(s.OutClose(h), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(s.OutShortMsg(h, 0x00643C90), MMSYSERR_INVALHANDLE);
}

TEST_P(MidiServiceContract, HeadersMustBePreparedAndQueuedOnce)
{
    CMidiService& s = Service();
    CBuffer buffer(16);
    const HMIDIIN hIn = OpenIn(buffer);
    EXPECT_EQ(buffer.State(), MHDR_INQUEUE);
    EXPECT_EQ(s.InAddBuffer(hIn, &buffer.m_hdr), MIDIERR_STILLPLAYING);
    EXPECT_EQ(s.InUnprepareHeader(hIn, &buffer.m_hdr), MIDIERR_STILLPLAYING);
    CBuffer raw(16);
    EXPECT_EQ(s.InAddBuffer(hIn, &raw.m_hdr), MIDIERR_UNPREPARED);
    MIDIHDR empty{};
    EXPECT_EQ(s.InPrepareHeader(hIn, &empty), MMSYSERR_INVALPARAM);
    EXPECT_EQ(s.InAddBuffer(hIn, nullptr), MMSYSERR_INVALPARAM);

    const HMIDIOUT hOut = OpenOut();
    raw.Fill(Message(8, 0x01));
    EXPECT_EQ(s.OutLongMsg(hOut, &raw.m_hdr), MIDIERR_UNPREPARED);
    EXPECT_FALSE(s.OutGetErrorText(MIDIERR_UNPREPARED).empty());
    ASSERT_EQ(s.OutPrepareHeader(hOut, &raw.m_hdr), MMSYSERR_NOERROR);
    ASSERT_EQ(s.OutLongMsg(hOut, &raw.m_hdr), MMSYSERR_NOERROR);
    EXPECT_EQ(s.OutLongMsg(hOut, &raw.m_hdr), MIDIERR_STILLPLAYING) << "the first is still on the wire";
    // The service holds its own copy: the header may go before it is done.
    EXPECT_EQ(s.OutUnprepareHeader(hOut, &raw.m_hdr), MMSYSERR_NOERROR);

    // Closing with a buffer queued succeeds and lets the buffer go, unannounced.
    CloseIn(hIn);
    EXPECT_EQ(buffer.m_hdr.dwFlags & MHDR_INQUEUE, 0u);
    m_pRig->Settle();
    EXPECT_TRUE(m_window.m_ins.empty());
}

TEST_P(MidiServiceContract, EachMessageTakesTheQueuedBufferAndIsLostWithoutOne)
{
    CBuffer buffer(16);
    const HMIDIIN hIn = OpenIn(buffer);
    const Bytes first = Message(6, 0x11), lost = Message(7, 0x22), longer = Message(24, 0x33);
    m_pRig->SendFromDevice(first);
    ASSERT_TRUE(m_pRig->RunUntil([&] { return !m_window.m_ins.empty(); }));
    EXPECT_EQ(m_window.m_ins[0].m_handle, reinterpret_cast<uintptr_t>(hIn));
    EXPECT_EQ(m_window.m_ins[0].m_pHdr, &buffer.m_hdr);
    EXPECT_EQ(m_window.m_ins[0].m_bytes, first);
    EXPECT_EQ(buffer.State(), MHDR_DONE);

    // Nothing is queued until the owner queues the buffer again.
    m_pRig->SendFromDevice(lost);
    m_pRig->Settle();
    EXPECT_EQ(m_window.m_ins.size(), 1u);

    // A message longer than the buffer fills it; the rest is lost.
    ASSERT_EQ(Service().InPrepareHeader(hIn, &buffer.m_hdr), MMSYSERR_NOERROR);
    ASSERT_EQ(Service().InAddBuffer(hIn, &buffer.m_hdr), MMSYSERR_NOERROR);
    m_pRig->SendFromDevice(longer);
    ASSERT_TRUE(m_pRig->RunUntil([&] { return m_window.m_ins.size() == 2; }));
    EXPECT_EQ(m_window.m_ins[1].m_bytes, Bytes(longer.begin(), longer.begin() + 16));
    m_pRig->Settle();
    EXPECT_EQ(m_window.m_ins.size(), 2u);
}

TEST_P(MidiServiceContract, ResetHandsTheBufferBackEmptyAndStopsTheInput)
{
    CBuffer buffer(16);
    const HMIDIIN hIn = OpenIn(buffer);
    ASSERT_EQ(Service().InReset(hIn), MMSYSERR_NOERROR);
    EXPECT_EQ(buffer.State(), MHDR_DONE);
    EXPECT_TRUE(m_window.m_ins.empty()) << "told later, on the GUI thread";
    ASSERT_TRUE(m_pRig->RunUntil([&] { return !m_window.m_ins.empty(); }));
    EXPECT_EQ(m_window.m_ins[0].m_pHdr, &buffer.m_hdr);
    EXPECT_TRUE(m_window.m_ins[0].m_bytes.empty());
    EXPECT_EQ(Service().InUnprepareHeader(hIn, &buffer.m_hdr), MMSYSERR_NOERROR);

    // Stopped: a fresh buffer takes nothing until the input starts again.
    ASSERT_EQ(Service().InPrepareHeader(hIn, &buffer.m_hdr), MMSYSERR_NOERROR);
    ASSERT_EQ(Service().InAddBuffer(hIn, &buffer.m_hdr), MMSYSERR_NOERROR);
    m_pRig->SendFromDevice(Message(5, 0x44));
    m_pRig->Settle();
    EXPECT_EQ(m_window.m_ins.size(), 1u);
    EXPECT_EQ(buffer.State(), MHDR_INQUEUE);
    ASSERT_EQ(Service().InStart(hIn), MMSYSERR_NOERROR);
    m_pRig->SendFromDevice(Message(5, 0x55));
    ASSERT_TRUE(m_pRig->RunUntil([&] { return m_window.m_ins.size() == 2; }));
    EXPECT_EQ(m_window.m_ins[1].m_bytes, Message(5, 0x55));
}

TEST_P(MidiServiceContract, NothingReachesAClosedPort)
{
    CBuffer inBuffer(16), outBuffer(0);
    const HMIDIIN hIn = OpenIn(inBuffer);
    const HMIDIOUT hOut = OpenOut();
    outBuffer.Fill(Message(32, 0x66));
    ASSERT_EQ(Send(hOut, outBuffer), MMSYSERR_NOERROR);
    // The ports' close sequences while the message is still on the wire and
    // the empty buffer is on its way back.
    ASSERT_EQ(Service().InStop(hIn), MMSYSERR_NOERROR);
    ASSERT_EQ(Service().InReset(hIn), MMSYSERR_NOERROR);
    ASSERT_EQ(Service().InUnprepareHeader(hIn, &inBuffer.m_hdr), MMSYSERR_NOERROR);
    CloseIn(hIn);
    ASSERT_EQ(Service().OutUnprepareHeader(hOut, &outBuffer.m_hdr), MMSYSERR_NOERROR);
    ASSERT_EQ(Service().OutReset(hOut), MMSYSERR_NOERROR);
    CloseOut(hOut);
    m_pRig->Settle();
    EXPECT_TRUE(m_window.m_ins.empty());
    EXPECT_TRUE(m_window.m_dones.empty());

    // Handles are not reused: a reopened port hears only its own news.
    inBuffer.m_hdr.dwFlags = 0;
    const HMIDIIN hIn2 = OpenIn(inBuffer);
    const HMIDIOUT hOut2 = OpenOut();
    EXPECT_NE(hIn2, hIn);
    EXPECT_NE(hOut2, hOut);
    ASSERT_EQ(Send(hOut2, outBuffer), MMSYSERR_NOERROR);
    ASSERT_TRUE(m_pRig->RunUntil([&] { return !m_window.m_dones.empty(); }));
    EXPECT_EQ(m_window.m_dones[0].m_handle, reinterpret_cast<uintptr_t>(hOut2));
}

TEST_P(MidiServiceContract, ALongMessageIsDoneOnlyAfterItsWireTime)
{
    const HMIDIOUT hOut = OpenOut();
    // A short message first: it too takes its time on the wire.
    ASSERT_EQ(Service().OutShortMsg(hOut, 0x00643C90), MMSYSERR_NOERROR);
    CBuffer first(0), second(0);
    first.Fill(Message(16, 0x01));
    second.Fill(Message(40, 0x02));
    const int64_t t0 = CTimerService::Get().NowUs();
    ASSERT_EQ(Send(hOut, first), MMSYSERR_NOERROR);
    ASSERT_EQ(Send(hOut, second), MMSYSERR_NOERROR);
    EXPECT_EQ(first.State(), MHDR_INQUEUE);
    EXPECT_TRUE(m_window.m_dones.empty()) << "told later, on the GUI thread";
    ASSERT_TRUE(m_pRig->RunUntil([&] { return m_window.m_dones.size() == 2; }));
    EXPECT_EQ(m_window.m_dones[0].m_pHdr, &first.m_hdr);
    EXPECT_EQ(m_window.m_dones[1].m_pHdr, &second.m_hdr);
    EXPECT_EQ(first.State(), MHDR_DONE);
    EXPECT_EQ(second.State(), MHDR_DONE);
    // The second waits for the first: one wire, one message after another.
    EXPECT_GE(m_window.m_dones[0].m_nTimeUs - t0, int64_t(16) * sysex::kWireUsPerByte);
    EXPECT_GE(m_window.m_dones[1].m_nTimeUs - t0, int64_t(16 + 40) * sysex::kWireUsPerByte);
}

const CBackend kBackends[] = {
    {"Fake", [] { return std::unique_ptr<CContractRig>(std::make_unique<CFakeRig>()); }},
    {"Simulator", [] { return std::unique_ptr<CContractRig>(std::make_unique<CSimRig>()); }},
    {"RtMidiOverJack", [] { return std::unique_ptr<CContractRig>(std::make_unique<CRtMidiJackRig>()); }},
};

INSTANTIATE_TEST_SUITE_P(Backends, MidiServiceContract, ::testing::ValuesIn(kBackends),
                         [](const auto& info) { return std::string(info.param.m_szName); });

} // namespace
} // namespace vantorel
