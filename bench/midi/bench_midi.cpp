// MIDI round trips. In process: the CPU cost of one request, its answer and
// the next request through the ports and the built-in simulator with its
// delays off (target: under 50 microseconds). Over JACK: a 128-patch round
// trip against vantorel-sim, reported in JACK periods.
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <ctime>

#include "tests/support/PortErrorLog.h"
#include "framework/core/QtTimerService.h"
#include "framework/core/VirtualClock.h"
#include "midi/MidiPorts.h"
#include "midi/backends/RtMidiService.h"
#include "sim/service/SimMidiService.h"
#include "sim/model/SimDevice.h"
#include "e2e/JackRig.h"

using namespace vantorel;

namespace {

// What the ports report: a failing port spoils the figures, so it is printed.
test::CPortErrorLog g_reports;

double CpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + ts.tv_nsec / 1e9;
}

// Asks for the patches one after the other, as a Get does: the next request
// goes out as soon as an answer has come.
struct CChain : IMidiNotify {
    CMidiIn in{g_reports.Handler()};
    CMidiOut out{g_reports.Handler()};
    int m_nSent = 0;
    int m_nAnswers = 0;
    int m_nTotal = 0;
    bool m_bDone = false;
    bool m_bAnswered = false;

    void Next()
    {
        if (m_nSent == m_nTotal) {
            m_bDone = true;
            return;
        }
        out.SendDataRequest(sim::PatchAddress(m_nSent % sim::kPatchCount), sim::kPatchSize);
        ++m_nSent;
        m_bAnswered = false;
    }
    void OnMidiInLongData(HMIDIIN, MIDIHDR* p) override
    {
        if (p->dwBytesRecorded == 0)
            return;
        ++m_nAnswers;
        in.Requeue();
        m_bAnswered = true;
    }
    void OnMidiOutDone(HMIDIOUT h, MIDIHDR* p) override { CMidiOut::ReleaseHeader(h, p); }
};

void InProcess()
{
    CVirtualClock clock;
    CTimerService::Install(&clock);
    CSimDevice device;
    CSimMidiService service(device);
    service.SetWireSpeed(false);
    CMidiService::Install(&service);
    const int kRounds = 128 * 40;
    double perRoundUs = 0;
    {
        CChain chain;
        chain.m_nTotal = kRounds;
        chain.out.Open(&chain);
        chain.in.Open(&chain);
        const double start = CpuSeconds();
        chain.Next();
        while (!chain.m_bDone) {
            clock.RunUntil([&] { return chain.m_bAnswered; }, 10'000'000);
            if (!chain.m_bAnswered)
                break;
            chain.Next();
        }
        perRoundUs = (CpuSeconds() - start) * 1e6 / kRounds;
        chain.in.Close();
        chain.out.Close();
        clock.RunUntilIdle();
        if (chain.m_nAnswers != kRounds)
            std::printf("in-process: only %d of %d answers arrived\n", chain.m_nAnswers, kRounds);
    }
    CMidiService::Install(nullptr);
    CTimerService::Install(nullptr);
    std::printf("in-process request + answer + next request: %.1f us CPU (target < 50 us), ratio %.2f\n",
                perRoundUs, perRoundUs / 50.0);
}

int FindDevice(CMidiService& s, bool bInput, const std::string& name)
{
    const unsigned n = bInput ? s.InGetNumDevs() : s.OutGetNumDevs();
    for (unsigned i = 0; i < n; ++i) {
        std::string dev;
        if ((bInput ? s.InGetDevName(i, dev) : s.OutGetDevName(i, dev)) == MMSYSERR_NOERROR && dev == name)
            return int(i);
    }
    return -1;
}

void OverJack()
{
    if (!e2e::CJackRig::JackdInstalled()) {
        std::printf("over JACK: skipped, jackd is not installed\n");
        return;
    }
    e2e::CJackRig jack;
    QTemporaryDir dir;
    std::string error;
    if (!jack.StartServer(error) ||
        !jack.StartSim(VANTOREL_SIM_PATH, dir.filePath(QStringLiteral("sim.img")), {}, error)) {
        std::printf("over JACK: skipped, %s\n", error.c_str());
        return;
    }
    // The rig runs the dummy driver at 48 kHz with periods of 256 frames.
    const double periodMs = 1000.0 * 256 / 48000;
    CQtTimerService timer;
    CTimerService::Install(&timer);
    {
        CRtMidiService rt(RtMidi::UNIX_JACK);
        CMidiService::Install(&rt);
        CChain chain;
        chain.in.m_wDeviceId = uint16_t(FindDevice(rt, true, jack.SimName() + ":out"));
        chain.out.m_wDeviceId = uint16_t(FindDevice(rt, false, jack.SimName() + ":in"));
        chain.out.Open(&chain);
        chain.in.Open(&chain);
        // One request first, so that the connection is settled before timing.
        chain.m_nTotal = 1;
        chain.Next();
        if (!QTest::qWaitFor([&] { return chain.m_bAnswered; }, 15000))
            std::fprintf(stderr, "bench_midi: the simulator did not answer the first request over JACK\n");
        chain.m_nSent = 0;
        chain.m_nAnswers = 0;
        chain.m_bDone = false;
        chain.m_nTotal = sim::kPatchCount;
        const int64_t start = timer.NowUs();
        chain.Next();
        while (!chain.m_bDone) {
            if (!QTest::qWaitFor([&] { return chain.m_bAnswered; }, 5000))
                break;
            chain.Next();
        }
        const double ms = (timer.NowUs() - start) / 1000.0;
        chain.in.Close();
        chain.out.Close();
        QTest::qWait(20);
        CMidiService::Install(nullptr);
        const double periods = ms / periodMs;
        std::printf("over JACK, 128-patch round trip: %.0f ms = %.1f JACK periods of %.2f ms "
                    "(%.2f periods a patch; %d answers)\n",
                    ms, periods, periodMs, periods / sim::kPatchCount, chain.m_nAnswers);
    }
    CTimerService::Install(nullptr);
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    InProcess();
    OverJack();
    if (!g_reports.m_texts.empty())
        std::printf("port failures: %zu (first: %s)\n", g_reports.m_texts.size(),
                    g_reports.m_texts[0].c_str());
    return 0;
}
