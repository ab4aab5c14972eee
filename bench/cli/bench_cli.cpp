// vantorel-cli's backup of all five kinds against the in-process simulator at
// MIDI wire speed, with the real Qt timer service, as the command runs it.
// The time is compared with the sum of each kind's protocol minimum: the wire
// time of its requests and answers, the answer time-outs that end pattern and
// motion items (less the unanswered request's own wire time, which lies inside
// its time-out), and the closing pause of each kind. Prints the figures and
// the ratio; target <= 1.02. Runs a few minutes.
#include <QCoreApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <sstream>

#include "cli/Cli.h"
#include "framework/core/Profile.h"
#include "framework/core/QtTimerService.h"
#include "midi/MidiService.h"
#include "sim/model/SimDevice.h"
#include "sim/service/SimMidiService.h"

using namespace vantorel;

namespace {

constexpr double kUsPerByte = 320.0;
constexpr double kPauseUs = 100'000.0;
constexpr double kTimeoutUs = 1'000'000.0;
constexpr size_t kRequestBytes = 16;
constexpr int kKinds = 5;

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    SetProfilePathOverride((dir.path() + "/vantorel.ini").toStdString());
    CQtTimerService timers;
    CTimerService::Install(&timers);
    CSimDevice device;
    CSimMidiService sim(device);
    sim.SetWireSpeed(true);
    CMidiService::Install(&sim);

    size_t nOutBytes = 0, nInBytes = 0;
    int nSilences = 0;
    bool bAnswered = true;
    sim.SetTrafficHook([&](CSimMidiService::EDirection dir, const std::vector<uint8_t>& bytes) {
        if (dir == CSimMidiService::EDirection::Out) {
            if (!bAnswered)
                ++nSilences;
            bAnswered = false;
            nOutBytes += bytes.size();
        } else {
            nInBytes += bytes.size();
            bAnswered = true;
        }
    });

    std::ostringstream out, err;
    cli::CContext ctx{out, err};
    ctx.runUntil = [](const std::function<bool()>& done) {
        while (!done())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };
    std::printf(
        "vantorel-cli backup against the simulator at MIDI wire speed (320 us a byte), real timers.\n");
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    // The simulator is device 0, named on the command line as the command line requires.
    const int nExit = cli::RunCli(
        {"backup", (dir.path() + "/backup").toStdString(), "--midi-in", "0", "--midi-out", "0", "--quiet"},
        ctx);
    const double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!bAnswered)
        ++nSilences; // the last request of the motions ends an item by silence
    if (nExit != 0) {
        std::printf("backup failed (exit %d): %s\n", nExit, err.str().c_str());
        return 1;
    }
    const double dWire = double(nOutBytes + nInBytes) * kUsPerByte / 1e6;
    const double dTimeouts = nSilences * (kTimeoutUs - double(kRequestBytes) * kUsPerByte) / 1e6;
    const double dMinimum = dWire + dTimeouts + kKinds * kPauseUs / 1e6;
    const double dRatio = dSeconds / dMinimum;
    std::printf(
        "backup of all five kinds: %.2f s; protocol minimum %.2f s (wire %.2f s, %d time-outs %.2f s, "
        "%d closing pauses), ratio %.3f (target <= 1.02: %s)\n",
        dSeconds, dMinimum, dWire, nSilences, dTimeouts, kKinds, dRatio, dRatio <= 1.02 ? "met" : "MISSED");
    CMidiService::Install(nullptr);
    CTimerService::Install(nullptr);
    return 0;
}
