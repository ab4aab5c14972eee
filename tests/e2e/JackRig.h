#pragma once
// A private JACK server on the dummy driver and the vantorel-sim program on
// its ports, for tests that drive the whole program over a real MIDI stack.
// The server runs under a name of its own (JACK_DEFAULT_SERVER is set for
// this process and its children), so tests never meet a user's JACK server.
#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "sim/model/SimDevice.h"

namespace vantorel::e2e {

class CJackRig {
public:
    static constexpr int kStartTimeoutMs = 15000;
    static constexpr int kStopTimeoutMs = 5000;
    static constexpr int kImageTimeoutMs = 5000;

    ~CJackRig() { Stop(); }

    static bool JackdInstalled() { return !QStandardPaths::findExecutable("jackd").isEmpty(); }

    // Starts jackd under a name unique to this process and run. Whether it
    // answers is learnt from vantorel-sim: this process opens no JACK client
    // of its own, because libjack frees the clients a process still holds on
    // a server that has gone as soon as the process opens one on a new
    // server, and the program under test may hold such clients.
    bool StartServer(std::string& error)
    {
        static std::atomic<int> s_nRun{0};
        const int nRun = ++s_nRun;
        ReclaimStaleServers();
        m_strServer = std::string(kServerPrefix) + std::to_string(getpid()) + "-" + std::to_string(nRun);
        m_strSim = "kq-e2e-" + std::to_string(getpid()) + "-" + std::to_string(nRun);
        setenv("JACK_DEFAULT_SERVER", m_strServer.c_str(), 1);
        m_jackd.setProcessChannelMode(QProcess::MergedChannels);
        // Synchronous: the server waits for every client in each cycle. In
        // the default mode a late client's output port still holds its last
        // cycle's events, and the ports it feeds read them again: the
        // simulator's burst then reached the program with one message
        // repeated a hundred times in place of the rest.
        m_jackd.start(QStandardPaths::findExecutable("jackd"),
                      {"--no-realtime", "--sync", "-n", QString::fromStdString(m_strServer), "-d", "dummy",
                       "-p", "256"});
        if (!m_jackd.waitForStarted(kStartTimeoutMs)) {
            error = "jackd did not start";
            return false;
        }
        return true;
    }

    // Starts (or restarts) vantorel-sim with extra arguments; the memory image
    // it writes on SIGUSR1 goes to imagePath.
    bool StartSim(const QString& simPath, const QString& imagePath, const QStringList& extra,
                  std::string& error)
    {
        StopProcess(m_sim);
        m_strImage = imagePath;
        QStringList args{"--jack", "--name", QString::fromStdString(m_strSim), "--save-image", imagePath};
        args += extra;
        // Until the server answers, the simulator gives up at once: try again.
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < kStartTimeoutMs) {
            if (m_jackd.state() != QProcess::Running) {
                error = "jackd stopped: " + m_jackd.readAll().toStdString();
                return false;
            }
            m_simOutput.clear();
            m_sim.start(simPath, args);
            if (!m_sim.waitForStarted(kStartTimeoutMs)) {
                error = "vantorel-sim did not start";
                return false;
            }
            if (WaitForReady())
                return true;
            m_strSimError = m_sim.readAllStandardError().toStdString();
            StopProcess(m_sim);
            m_jackd.waitForFinished(50); // a bounded pause that also notices jackd dying
        }
        error = "vantorel-sim never said ready: " + m_simOutput.toStdString() + m_strSimError;
        return false;
    }

    // The simulator's memory now: SIGUSR1 makes it write its image (to a
    // temporary file renamed into place, so the file is whole once it exists).
    bool ReadSimMemory(CSimDevice& device, std::string& error)
    {
        QFile::remove(m_strImage);
        if (m_sim.state() != QProcess::Running) {
            error = "vantorel-sim is not running";
            return false;
        }
        ::kill(pid_t(m_sim.processId()), SIGUSR1);
        QElapsedTimer t;
        t.start();
        while (!QFile::exists(m_strImage)) {
            if (t.elapsed() > kImageTimeoutMs) {
                error = "vantorel-sim wrote no memory image";
                return false;
            }
            QTest::qWait(5);
        }
        return device.LoadImage(m_strImage.toStdString(), &error);
    }

    // The server dies as in a crash: no goodbye to its clients.
    void KillServer()
    {
        if (m_jackd.state() != QProcess::Running)
            return;
        m_jackd.kill();
        m_jackd.waitForFinished(kStopTimeoutMs);
        m_bKilled = true;
    }

    // bPrintServer (a test that failed): what the server said is the only
    // account of why it turned a client away.
    void Stop(bool bPrintServer = false)
    {
        StopProcess(m_sim);
        StopProcess(m_jackd);
        if (bPrintServer)
            std::fprintf(stderr, "jackd %s said:\n%s\n", m_strServer.c_str(), m_jackd.readAll().constData());
        if (m_bKilled)
            Reclaim(m_strServer);
        m_bKilled = false;
        RemoveSemaphores(m_strServer);
        if (!m_strServer.empty())
            unsetenv("JACK_DEFAULT_SERVER");
    }

    const std::string& SimName() const { return m_strSim; }
    QProcess& Sim() { return m_sim; }
    QProcess& Jackd() { return m_jackd; }

private:
    static constexpr const char* kServerPrefix = "vantorel-e2e-";
    static constexpr const char* kShmFolder = "/dev/shm";
    static constexpr const char* kRegistry = "/dev/shm/jack-shm-registry";

    // A server that dies without stopping keeps its entry in JACK's registry
    // of servers, which has room for eight; a server started under the same
    // name takes the entry over and gives it back when it stops. So a killed
    // server is started once more and stopped properly.
    static void Reclaim(const std::string& name)
    {
        QProcess jackd;
        jackd.setProcessChannelMode(QProcess::MergedChannels);
        jackd.start(QStandardPaths::findExecutable("jackd"),
                    {"--no-realtime", "-n", QString::fromStdString(name), "-d", "dummy", "-p", "256"});
        if (!jackd.waitForStarted(kStartTimeoutMs))
            return;
        const QString wait = QStandardPaths::findExecutable("jack_wait");
        if (!wait.isEmpty()) {
            QProcess waiter;
            waiter.setStandardOutputFile(QProcess::nullDevice());
            waiter.setStandardErrorFile(QProcess::nullDevice());
            waiter.start(wait, {"-s", QString::fromStdString(name), "-w", "-t", "5"});
            waiter.waitForFinished(kStopTimeoutMs + 1000);
        } else
            jackd.waitForFinished(1000);
        StopProcess(jackd);
    }

    // The files of the semaphores of the server's clients, which stay when a
    // server stops before its clients have gone.
    static void RemoveSemaphores(const std::string& server)
    {
        if (server.empty())
            return;
        QDir shm(QString::fromLatin1(kShmFolder));
        const QString filter =
            QStringLiteral("jack_sem.*_") + QString::fromStdString(server) + QStringLiteral("_*");
        for (const QString& name : shm.entryList({filter}, QDir::Files | QDir::System))
            shm.remove(name);
    }

    // Entries left by this suite's servers in runs that crashed.
    static void ReclaimStaleServers()
    {
        QFile registry(QString::fromLatin1(kRegistry));
        if (!registry.open(QIODevice::ReadOnly))
            return;
        const QByteArray bytes = registry.readAll();
        const QByteArray prefix(kServerPrefix);
        for (qsizetype at = bytes.indexOf(prefix); at >= 0; at = bytes.indexOf(prefix, at + 1)) {
            qsizetype end = at + prefix.size();
            while (end < bytes.size() && (std::isdigit(uchar(bytes[end])) || bytes[end] == '-'))
                ++end;
            const QByteArray name = bytes.mid(at, end - at);
            const QList<QByteArray> parts = name.mid(prefix.size()).split('-');
            bool bPid = false;
            const long pid = parts.size() == 2 ? parts[0].toLong(&bPid) : 0;
            if (bPid && pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
                Reclaim(name.toStdString());
        }
    }

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
    QString m_strImage;
    QProcess m_jackd;
    QProcess m_sim;
    QByteArray m_simOutput;
    std::string m_strSimError;
    bool m_bKilled = false;
};

} // namespace vantorel::e2e
