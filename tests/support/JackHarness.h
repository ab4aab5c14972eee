#pragma once
// A private JACK server on the dummy driver with vantorel-sim on its ports,
// for tests and benchmarks over a real MIDI stack. Header-only; needs Qt Core
// and libjack.
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <jack/jack.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace vantorel::testing {

class CJackHarness {
public:
    static constexpr int kStartTimeoutMs = 15000;
    static constexpr int kStopTimeoutMs = 5000;

    // Frames per JACK period and the dummy driver's sample rate.
    int m_nPeriodFrames = 256;
    int m_nSampleRate = 48000;

    ~CJackHarness() { Stop(); }

    static bool Available() { return !QStandardPaths::findExecutable("jackd").isEmpty(); }

    // Starts jackd under a unique name (exported as JACK_DEFAULT_SERVER for
    // this process and its children) and then simPath with simArgs.
    bool Start(const std::string& tag, const QString& simPath, const QStringList& simArgs = {})
    {
        m_strServer = "vantorel-" + tag + "-" + std::to_string(getpid());
        m_strSim = "kq-sim-" + std::to_string(getpid());
        setenv("JACK_DEFAULT_SERVER", m_strServer.c_str(), 1);
        jack_set_error_function(&Quiet);
        jack_set_info_function(&Quiet);
        m_jackd.setProcessChannelMode(QProcess::MergedChannels);
        m_jackd.start(QStandardPaths::findExecutable("jackd"),
                      {"--no-realtime", "-n", QString::fromStdString(m_strServer), "-d", "dummy", "-r",
                       QString::number(m_nSampleRate), "-p", QString::number(m_nPeriodFrames)});
        if (!m_jackd.waitForStarted(kStartTimeoutMs) || !WaitForServer())
            return false;
        QStringList args{"--jack", "--name", QString::fromStdString(m_strSim)};
        args += simArgs;
        m_sim.start(simPath, args);
        return m_sim.waitForStarted(kStartTimeoutMs) && WaitForReady();
    }

    void Stop()
    {
        StopProcess(m_sim);
        StopProcess(m_jackd);
    }

    double PeriodMs() const { return 1000.0 * m_nPeriodFrames / m_nSampleRate; }
    const std::string& SimName() const { return m_strSim; }
    QProcess& Sim() { return m_sim; }
    QProcess& Jackd() { return m_jackd; }

private:
    static void Quiet(const char*) {}

    static void StopProcess(QProcess& p)
    {
        if (p.state() == QProcess::NotRunning)
            return;
        p.terminate();
        if (!p.waitForFinished(kStopTimeoutMs)) {
            p.kill();
            p.waitForFinished(kStopTimeoutMs);
        }
    }

    bool WaitForServer()
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < kStartTimeoutMs && m_jackd.state() == QProcess::Running) {
            jack_status_t status{};
            if (jack_client_t* c = jack_client_open("vantorel-probe", JackNoStartServer, &status)) {
                jack_client_close(c);
                return true;
            }
            m_jackd.waitForFinished(50);
        }
        return false;
    }

    bool WaitForReady()
    {
        QByteArray out;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < kStartTimeoutMs && m_sim.state() == QProcess::Running) {
            m_sim.waitForReadyRead(100);
            out += m_sim.readAllStandardOutput();
            if (out.contains("ready\n"))
                return true;
        }
        return false;
    }

    std::string m_strServer;
    std::string m_strSim;
    QProcess m_jackd;
    QProcess m_sim;
};

} // namespace vantorel::testing
