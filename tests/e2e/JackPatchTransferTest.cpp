// A whole patch bank fetched over JACK: a private jackd on the dummy driver,
// vantorel-sim on its ports, and the ports of the program over the RtMidi
// JACK backend on the real Qt timer service. Every answer must be the
// simulator's factory patch, byte for byte.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <csignal>
#include <memory>

#include "e2e/JackRig.h"
#include "support/PortErrorLog.h"
#include "framework/core/QtTimerService.h"
#include "midi/MidiPorts.h"
#include "midi/msg/SysEx.h"
#include "midi/backends/RtMidiService.h"
#include "res/strings/midi.h"
#include "sim/model/SimDevice.h"

namespace vantorel {
namespace {

constexpr int kStartTimeoutMs = 15000;
constexpr int kAnswerTimeoutMs = 5000;

class JackPatchTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!e2e::CJackRig::JackdInstalled())
            GTEST_SKIP() << "jackd is not installed";
        std::string error;
        ASSERT_TRUE(m_rig.StartServer(error)) << error;
        ASSERT_TRUE(m_rig.StartSim(VANTOREL_SIM_PATH, m_dir.filePath(QStringLiteral("sim.img")), {}, error))
            << error;
        m_strSim = m_rig.SimName();
    }

    void TearDown() override { m_rig.Stop(HasFailure()); }

    // Starts the simulator again, logging what it receives.
    void RestartSimWithLog()
    {
        m_strLog = m_dir.filePath(QStringLiteral("sim.log"));
        std::string error;
        ASSERT_TRUE(m_rig.StartSim(VANTOREL_SIM_PATH, m_dir.filePath(QStringLiteral("sim.img")),
                                   {QStringLiteral("--log"), m_strLog}, error))
            << error;
    }
    // The simulator's log lines that start, after the time, with prefix.
    int CountLogged(const QByteArray& prefix) const
    {
        QFile log(m_strLog);
        if (!log.open(QIODevice::ReadOnly))
            return -1;
        int n = 0;
        for (const QByteArray& line : log.readAll().split('\n')) {
            const qsizetype space = line.indexOf(' ');
            if (space >= 0 && line.mid(space + 1).startsWith(prefix))
                ++n;
        }
        return n;
    }

    QTemporaryDir m_dir;
    e2e::CJackRig m_rig;
    std::string m_strSim;
    QString m_strLog;
};

// The window of the transfer: keeps each answer and re-queues the buffer,
// releases the header when a request has left the wire.
struct CTransferWindow : IMidiNotify {
    CMidiIn* m_pIn = nullptr;
    std::vector<std::vector<uint8_t>> m_answers;
    int m_nDone = 0;
    int64_t m_nDoneUs = 0;
    int m_nEmpty = 0;

    void OnMidiInLongData(HMIDIIN h, MIDIHDR* p) override
    {
        EXPECT_EQ(h, m_pIn->m_hMidiIn);
        if (p->dwBytesRecorded == 0) {
            ++m_nEmpty;
            return;
        }
        m_answers.emplace_back(p->lpData, p->lpData + p->dwBytesRecorded);
        m_pIn->Requeue();
    }
    void OnMidiOutDone(HMIDIOUT h, MIDIHDR* p) override
    {
        ++m_nDone;
        m_nDoneUs = CTimerService::Get().NowUs();
        CMidiOut::ReleaseHeader(h, p);
    }
};

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

TEST_F(JackPatchTransfer, AllPatchesArriveByteForByte)
{
    test::CPortErrorLog reports;
    CQtTimerService timer;
    CTimerService::Install(&timer);
    {
        CRtMidiService jack(RtMidi::UNIX_JACK);
        CMidiService::Install(&jack);
        const int nIn = FindDevice(jack, true, m_strSim + ":out");
        const int nOut = FindDevice(jack, false, m_strSim + ":in");
        ASSERT_GE(nIn, 0) << "the simulator's output port is not listed";
        ASSERT_GE(nOut, 0) << "the simulator's input port is not listed";

        const CSimDevice factory;
        CTransferWindow window;
        {
            CMidiIn in(reports.Handler());
            CMidiOut out(reports.Handler());
            in.m_wDeviceId = uint16_t(nIn);
            out.m_wDeviceId = uint16_t(nOut);
            window.m_pIn = &in;
            ASSERT_TRUE(out.Open(&window));
            ASSERT_TRUE(in.Open(&window));
            // The first answer may wait for JACK to finish connecting the ports.
            for (int i = 0; i < sim::kPatchCount; ++i) {
                SCOPED_TRACE(i);
                const size_t nAnswers = window.m_answers.size();
                const int nDone = window.m_nDone;
                const int64_t sentUs = timer.NowUs();
                ASSERT_TRUE(out.SendDataRequest(sim::PatchAddress(i), sim::kPatchSize));
                const bool bAnswered = QTest::qWaitFor(
                    [&] { return window.m_answers.size() > nAnswers && window.m_nDone > nDone; },
                    i == 0 ? kStartTimeoutMs : kAnswerTimeoutMs);
                ASSERT_TRUE(bAnswered) << "no answer to request " << i;
                EXPECT_GE(window.m_nDoneUs - sentUs, int64_t(sysex::kRequestLength) * sysex::kWireUsPerByte)
                    << "done before the request could have left the wire";
                ASSERT_EQ(window.m_answers.size(), nAnswers + 1) << "one answer per request";
                EXPECT_EQ(window.m_answers.back(),
                          BuildDataSet(sim::PatchAddress(i), factory.Patch(i).data(), sim::kPatchSize));
            }
            in.Close();
            out.Close();
            QTest::qWait(20); // let anything the closes posted come due
        }
        EXPECT_EQ(window.m_answers.size(), size_t(sim::kPatchCount));
        EXPECT_EQ(window.m_nEmpty, 0) << "buffers returned empty are dropped after the close";
        CMidiService::Install(nullptr);
    }
    CTimerService::Install(nullptr);
    EXPECT_TRUE(reports.m_texts.empty()) << reports.m_texts.front();
}

TEST_F(JackPatchTransfer, AnOutputWhoseDeviceWentAwayFailsAsDisconnected)
{
    CQtTimerService timer;
    CTimerService::Install(&timer);
    {
        CRtMidiService jack(RtMidi::UNIX_JACK);
        const int nOut = FindDevice(jack, false, m_strSim + ":in");
        ASSERT_GE(nOut, 0);
        HMIDIOUT h = nullptr;
        ASSERT_EQ(jack.OutOpen(&h, unsigned(nOut), nullptr), MMSYSERR_NOERROR);
        std::vector<uint8_t> request = BuildDataRequest(sim::PatchAddress(0), sim::kPatchSize);
        MIDIHDR hdr{};
        hdr.lpData = request.data();
        hdr.dwBufferLength = uint32_t(request.size());
        ASSERT_EQ(jack.OutPrepareHeader(h, &hdr), MMSYSERR_NOERROR);
        ASSERT_EQ(jack.OutLongMsg(h, &hdr), MMSYSERR_NOERROR);
        ASSERT_EQ(jack.OutShortMsg(h, 0x643C90), MMSYSERR_NOERROR);
        // The header is the caller's again only once its message has left the
        // wire; sending it before then is "still playing", not the point here.
        ASSERT_TRUE(QTest::qWaitFor([&] { return (hdr.dwFlags & MHDR_DONE) != 0; }, 2000));

        // The device's client dies; the server and our port stay.
        m_rig.Sim().kill();
        m_rig.Sim().waitForFinished(5000);
        MMRESULT shortResult = MMSYSERR_NOERROR;
        (void)QTest::qWaitFor(
            [&] { return (shortResult = jack.OutShortMsg(h, 0x003C80)) != MMSYSERR_NOERROR; }, 5000);
        EXPECT_EQ(shortResult, MIDIERR_DISCONNECTED);
        EXPECT_EQ(jack.OutLongMsg(h, &hdr), MIDIERR_DISCONNECTED);
        EXPECT_EQ(jack.OutGetErrorText(MIDIERR_DISCONNECTED), res::kMidiErrDisconnected);
        EXPECT_EQ(jack.OutUnprepareHeader(h, &hdr), MMSYSERR_NOERROR);
        EXPECT_EQ(jack.OutClose(h), MMSYSERR_NOERROR);
        QTest::qWait(20);
    }
    CTimerService::Install(nullptr);
}

TEST_F(JackPatchTransfer, ClosingAnOutputDeliversWhatItAccepted)
{
    RestartSimWithLog();
    CQtTimerService timer;
    CTimerService::Install(&timer);
    constexpr int kNotes = 100;
    {
        CRtMidiService jack(RtMidi::UNIX_JACK);
        const int nOut = FindDevice(jack, false, m_strSim + ":in");
        ASSERT_GE(nOut, 0);
        // A note played as Preview plays it: on, off, and the port closed at once.
        for (int i = 0; i < kNotes; ++i) {
            HMIDIOUT h = nullptr;
            ASSERT_EQ(jack.OutOpen(&h, unsigned(nOut), nullptr), MMSYSERR_NOERROR) << i;
            EXPECT_EQ(jack.OutShortMsg(h, 0x643C90), MMSYSERR_NOERROR);
            EXPECT_EQ(jack.OutShortMsg(h, 0x003C80), MMSYSERR_NOERROR);
            EXPECT_EQ(jack.OutClose(h), MMSYSERR_NOERROR);
        }
        QTest::qWait(20);
    }
    CTimerService::Install(nullptr);
    // What the device heard, not what the program believes it sent.
    (void)QTest::qWaitFor([&] { return CountLogged("in 80 3C 00") >= kNotes; }, 3000);
    EXPECT_EQ(CountLogged("in 90 3C 64"), kNotes);
    EXPECT_EQ(CountLogged("in 80 3C 00"), kNotes);
}

TEST_F(JackPatchTransfer, AReopenedInputTakesTheFirstAnswer)
{
    RestartSimWithLog();
    test::CPortErrorLog reports;
    CQtTimerService timer;
    CTimerService::Install(&timer);
    constexpr int kCycles = 20;
    {
        CRtMidiService jack(RtMidi::UNIX_JACK);
        CMidiService::Install(&jack);
        const int nIn = FindDevice(jack, true, m_strSim + ":out");
        const int nOut = FindDevice(jack, false, m_strSim + ":in");
        ASSERT_GE(nIn, 0);
        ASSERT_GE(nOut, 0);
        CTransferWindow window;
        for (int i = 0; i < kCycles; ++i) {
            SCOPED_TRACE(i);
            CMidiIn in(reports.Handler());
            CMidiOut out(reports.Handler());
            in.m_wDeviceId = uint16_t(nIn);
            out.m_wDeviceId = uint16_t(nOut);
            window.m_pIn = &in;
            // As the transfer dialogs open them: the output, then the input.
            ASSERT_TRUE(out.Open(&window));
            ASSERT_TRUE(in.Open(&window));
            // Asked once, at once: the answer must be taken.
            const size_t nAnswers = window.m_answers.size();
            ASSERT_TRUE(out.SendDataRequest(sim::PatchAddress(i), sim::kPatchSize));
            EXPECT_TRUE(QTest::qWaitFor([&] { return window.m_answers.size() > nAnswers; }, 3000))
                << "the answer after reopening the ports was lost";
            (void)QTest::qWaitFor([&] { return window.m_nDone > i; }, 1000);
            in.Close();
            out.Close();
        }
        QTest::qWait(20);
        CMidiService::Install(nullptr);
    }
    CTimerService::Install(nullptr);
    EXPECT_EQ(CountLogged("in F0 41 10 00 06 11"), kCycles) << "no request asked twice";
    EXPECT_EQ(CountLogged("out F0 41 10 00 06 12"), kCycles);
    EXPECT_TRUE(reports.m_texts.empty()) << reports.m_texts.front();
}

TEST_F(JackPatchTransfer, AServerThatDoesNotAnswerIsReportedNotRunning)
{
    CQtTimerService timer;
    CTimerService::Install(&timer);
    const pid_t jackd = pid_t(m_rig.Jackd().processId());
    struct CResume {
        pid_t m_pid;
        ~CResume() { ::kill(m_pid, SIGCONT); }
    } resume{jackd};
    {
        CRtMidiService jack(RtMidi::UNIX_JACK);
        const int nIn = FindDevice(jack, true, m_strSim + ":out");
        const int nOut = FindDevice(jack, false, m_strSim + ":in");
        ASSERT_GE(nIn, 0);
        ASSERT_GE(nOut, 0);
        HMIDIIN hOpenIn = nullptr;
        HMIDIOUT hOpenOut = nullptr;
        ASSERT_EQ(jack.InOpen(&hOpenIn, unsigned(nIn), nullptr), MMSYSERR_NOERROR);
        ASSERT_EQ(jack.OutOpen(&hOpenOut, unsigned(nOut), nullptr), MMSYSERR_NOERROR);
        ASSERT_EQ(jack.OutShortMsg(hOpenOut, 0x643C90), MMSYSERR_NOERROR);
        ::kill(jackd, SIGSTOP);
        QTest::qWait(1000); // long past the server's last cycle
        QElapsedTimer t;
        t.start();
        EXPECT_EQ(jack.InGetNumDevs(), 0u);
        HMIDIIN h = nullptr;
        EXPECT_EQ(jack.InOpen(&h, 0, nullptr), MMSYSERR_NODRIVER);
        EXPECT_EQ(jack.InGetErrorText(MMSYSERR_NODRIVER), res::kJackNotRunning);
        // Cancel closes the ports: that must not wait for the server either.
        EXPECT_EQ(jack.OutClose(hOpenOut), MMSYSERR_NOERROR);
        EXPECT_EQ(jack.InClose(hOpenIn), MMSYSERR_NOERROR);
        // A service that has never reached the server yet.
        CRtMidiService fresh(RtMidi::UNIX_JACK);
        EXPECT_EQ(fresh.OutGetNumDevs(), 0u);
        EXPECT_LT(t.elapsed(), 10000) << "the calls waited for the stopped server";

        ::kill(jackd, SIGCONT);
        EXPECT_TRUE(QTest::qWaitFor([&] { return FindDevice(jack, true, m_strSim + ":out") >= 0; }, 10000))
            << "the server answers again";
        EXPECT_TRUE(QTest::qWaitFor([&] { return FindDevice(fresh, false, m_strSim + ":in") >= 0; }, 10000));
    }
    CTimerService::Install(nullptr);
}

TEST_F(JackPatchTransfer, TheSimulatorDropsAndLogsAMessageWithAHighDataByte)
{
    RestartSimWithLog();
    CQtTimerService timer;
    CTimerService::Install(&timer);
    {
        CRtMidiService jack(RtMidi::UNIX_JACK);
        const int nOut = FindDevice(jack, false, m_strSim + ":in");
        ASSERT_GE(nOut, 0);
        HMIDIOUT h = nullptr;
        ASSERT_EQ(jack.OutOpen(&h, unsigned(nOut), nullptr), MMSYSERR_NOERROR);
        std::vector<uint8_t> patch(sim::kPatchSize, 0x15);
        // The program refuses to build such a message, so the byte goes in afterwards.
        std::vector<uint8_t> set = BuildDataSet(sim::PatchAddress(2), patch.data(), patch.size());
        set[sysex::kHeaderLength + 7] = 0x85;
        set[set.size() - 2] = Checksum(set.data() + 6, set.size() - 8);
        MIDIHDR hdr{};
        hdr.lpData = set.data();
        hdr.dwBufferLength = uint32_t(set.size());
        ASSERT_EQ(jack.OutPrepareHeader(h, &hdr), MMSYSERR_NOERROR);
        ASSERT_EQ(jack.OutLongMsg(h, &hdr), MMSYSERR_NOERROR);
        EXPECT_EQ(jack.OutUnprepareHeader(h, &hdr), MMSYSERR_NOERROR);
        EXPECT_EQ(jack.OutClose(h), MMSYSERR_NOERROR);
        QTest::qWait(20);
    }
    CTimerService::Install(nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return CountLogged("dropped: data byte 85") == 1; }, 3000));
    CSimDevice memory;
    std::string error;
    ASSERT_TRUE(m_rig.ReadSimMemory(memory, error)) << error;
    EXPECT_EQ(memory.Patch(2), CSimDevice().Patch(2)) << "the damaged data set was stored";
}

TEST_F(JackPatchTransfer, ASimulatorNameInUseIsSaidToBeTaken)
{
    QProcess second;
    second.start(QStringLiteral(VANTOREL_SIM_PATH), {"--jack", "--name", QString::fromStdString(m_strSim)});
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_NE(second.exitCode(), 0);
    const QString err = QString::fromLocal8Bit(second.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("is taken"))) << err.toStdString();
    EXPECT_EQ(err.trimmed().count('\n'), 0) << "one line: " << err.toStdString();
}

} // namespace
} // namespace vantorel
