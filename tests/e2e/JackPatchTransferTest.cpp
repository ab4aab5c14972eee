// A whole patch bank fetched over JACK: a private jackd on the dummy driver,
// vantorel-sim on its ports, and the ports of the program over the RtMidi
// JACK backend on the real Qt timer service. Every answer must be the
// simulator's factory patch, byte for byte.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <jack/jack.h>

#include <cstdlib>
#include <memory>
#include <unistd.h>

#include "framework/MessageBox.h"
#include "framework/QtTimerService.h"
#include "midi/MidiPorts.h"
#include "midi/SysEx.h"
#include "midi/backends/RtMidiService.h"
#include "sim/model/SimDevice.h"

namespace vantorel {
namespace {

constexpr int kStartTimeoutMs = 15000;
constexpr int kAnswerTimeoutMs = 5000;
constexpr int kStopTimeoutMs = 5000;

void Quiet(const char*) {}

// Ends a child: SIGTERM, a bounded wait, then SIGKILL.
void Stop(QProcess& p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(kStopTimeoutMs)) {
        p.kill();
        p.waitForFinished(kStopTimeoutMs);
    }
}

class JackPatchTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString jackd = QStandardPaths::findExecutable("jackd");
        if (jackd.isEmpty())
            GTEST_SKIP() << "jackd is not installed";
        m_strServer = "vantorel-e2e-" + std::to_string(getpid());
        m_strSim = "kq-sim-" + std::to_string(getpid());
        // For this process's libjack and for both children.
        setenv("JACK_DEFAULT_SERVER", m_strServer.c_str(), 1);
        jack_set_error_function(&Quiet);
        jack_set_info_function(&Quiet);

        m_jackd.setProcessChannelMode(QProcess::MergedChannels);
        m_jackd.start(jackd, {"--no-realtime", "-n", QString::fromStdString(m_strServer), "-d", "dummy", "-p",
                              "256"});
        ASSERT_TRUE(m_jackd.waitForStarted(kStartTimeoutMs)) << "jackd did not start";
        ASSERT_TRUE(WaitForServer()) << "jackd never answered:\n" << m_jackd.readAll().toStdString();

        m_sim.start(VANTOREL_SIM_PATH, {"--jack", "--name", QString::fromStdString(m_strSim)});
        ASSERT_TRUE(m_sim.waitForStarted(kStartTimeoutMs)) << "vantorel-sim did not start";
        ASSERT_TRUE(WaitForReady()) << "vantorel-sim never said ready:\n"
                                    << m_simOutput.toStdString() << m_sim.readAllStandardError().toStdString();
    }

    void TearDown() override
    {
        Stop(m_sim);
        Stop(m_jackd);
        unsetenv("JACK_DEFAULT_SERVER");
    }

    bool WaitForServer()
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < kStartTimeoutMs && m_jackd.state() == QProcess::Running) {
            jack_status_t status{};
            if (jack_client_t* c = jack_client_open("vantorel-e2e-probe", JackNoStartServer, &status)) {
                jack_client_close(c);
                return true;
            }
            m_jackd.waitForFinished(50); // a bounded pause that also notices jackd dying
        }
        return false;
    }

    bool WaitForReady()
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < kStartTimeoutMs && m_sim.state() == QProcess::Running) {
            m_sim.waitForReadyRead(100);
            m_simOutput += m_sim.readAllStandardOutput();
            if (m_simOutput.contains("ready\n"))
                return true;
        }
        return false;
    }

    std::string m_strServer;
    std::string m_strSim;
    QProcess m_jackd;
    QProcess m_sim;
    QByteArray m_simOutput;
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
    CMessageBoxRecorder boxes;
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
            CMidiIn in;
            CMidiOut out;
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
                EXPECT_GE(window.m_nDoneUs - sentUs,
                          int64_t(sysex::kRequestLength) * CRtMidiService::kByteWireUs)
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
    EXPECT_TRUE(boxes.m_texts.empty()) << boxes.m_texts.front();
}

} // namespace
} // namespace vantorel
