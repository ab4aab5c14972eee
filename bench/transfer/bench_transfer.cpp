// Transfer times against the MIDI wire: every kind's Get and Send run with the
// real Qt timer service against the in-process simulator at 31,250 baud.
// Get is compared with the wire time of its requests and answers (plus the
// answer time-outs that end some pattern and motion items); Send with its paced
// minimum, 100 ms after each data set has left the port. Prints figures and
// ratios; the targets are for the patch bank (both ways) and the performance
// bank Get. Runs a few minutes: ./bench_transfer [patch|performance|system|pattern|motion ...]
// (no argument: all five kinds).
#include <QApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "framework/core/MessageBox.h"
#include "tests/support/MessageBoxRecorder.h"
#include "framework/core/Profile.h"
#include "framework/core/QtTimerService.h"
#include "framework/gui/Dialog.h"
#include "midi/MidiService.h"
#include "sim/service/SimMidiService.h"
#include "sim/model/SimDevice.h"
#include "transfer/CompleteDlg.h"
#include "transfer/MotionTransfer.h"
#include "transfer/PatchTransfer.h"
#include "transfer/PatternTransfer.h"
#include "transfer/PerformTransfer.h"
#include "transfer/SystemTransfer.h"
#include "support/GuiTestPeers.h"

using namespace vantorel;

namespace {

constexpr double kUsPerByte = double(sysex::kWireUsPerByte);
constexpr double kPauseUs = 100'000.0;
constexpr double kTimeoutUs = 1'000'000.0;
constexpr size_t kRequestBytes = 16;

struct CTraffic {
    size_t nOutBytes = 0;
    size_t nInBytes = 0;
    int nOut = 0;
    int nSilences = 0; // requests that got no answer (each costs a time-out)
    bool bAnswered = true;
};

struct CResult {
    double dSeconds = 0;     // START to the end of the transfer
    double dDataSeconds = 0; // START to the last answer (Get)
    CTraffic traffic;
};

class CBench {
public:
    CBench() : m_service(m_device)
    {
        m_service.SetWireSpeed(true);
        m_service.SetTrafficHook([this](CSimMidiService::EDirection dir, const std::vector<uint8_t>& bytes) {
            if (dir == CSimMidiService::EDirection::Out) {
                if (!m_traffic.bAnswered)
                    ++m_traffic.nSilences;
                m_traffic.bAnswered = false;
                m_traffic.nOutBytes += bytes.size();
                ++m_traffic.nOut;
            } else {
                m_traffic.nInBytes += bytes.size();
                m_traffic.bAnswered = true;
                m_lastIn = std::chrono::steady_clock::now();
            }
        });
        CMidiService::Install(&m_service);
        CDialogTestPeer::SetModalHook([this](CDialog* pDlg) {
            if (dynamic_cast<CCompleteDlg*>(pDlg)) {
                pDlg->ClickButton(IDOK);
                return;
            }
            m_start = std::chrono::steady_clock::now();
            pDlg->ClickButton(IDOK); // START; the real timers do the rest
        });
    }
    ~CBench()
    {
        CDialogTestPeer::SetModalHook({});
        CMidiService::Install(nullptr);
    }

    CResult Run(CTransferDlg& dlg, bool bGet)
    {
        m_traffic = CTraffic{};
        dlg.DoModal();
        const auto end = std::chrono::steady_clock::now();
        CResult r;
        r.dSeconds = std::chrono::duration<double>(end - m_start).count();
        r.dDataSeconds = std::chrono::duration<double>(m_lastIn - m_start).count();
        r.traffic = m_traffic;
        // A Send's data sets are never answered; a Get's last request may end
        // an item by silence.
        if (!bGet)
            r.traffic.nSilences = 0;
        else if (!r.traffic.bAnswered)
            ++r.traffic.nSilences;
        return r;
    }

    CSimDevice m_device;

private:
    CSimMidiService m_service;
    CMessageBoxRecorder m_boxes{IDOK};
    CTraffic m_traffic;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_lastIn;
};

double WireSeconds(const CTraffic& t)
{
    return double(t.nOutBytes + t.nInBytes) * kUsPerByte / 1e6;
}

const char* Verdict(double dRatio)
{
    return dRatio <= 1.02 ? " (target <= 1.02: met)" : " (target <= 1.02: MISSED)";
}

void ReportGet(const char* szWhat, const CResult& r, bool bTarget)
{
    // Requests and answers against their wire time, up to the last answer;
    // items that end on silence also wait out their time-outs. The whole
    // transfer adds the fixed 100 ms closing pause.
    const double dWire = WireSeconds(r.traffic);
    const double dTimeouts = r.traffic.nSilences * kTimeoutUs / 1e6;
    const double dData = r.traffic.nSilences ? r.dSeconds - kPauseUs / 1e6 : r.dDataSeconds;
    // A pattern or motion time-out runs from the moment its request is handed
    // over, so the unanswered request's own wire time lies inside it.
    const double dOverlap = r.traffic.nSilences * double(kRequestBytes) * kUsPerByte / 1e6;
    const double dRatio = dData / (dWire + dTimeouts - dOverlap);
    std::printf("%s Get: %.2f s (%.2f s with the closing pause), wire %.2f s", szWhat, dData, r.dSeconds,
                dWire);
    if (r.traffic.nSilences)
        std::printf(" + %d time-outs %.2f s", r.traffic.nSilences, dTimeouts);
    std::printf(", ratio %.3f%s\n", dRatio, bTarget ? Verdict(dRatio) : "");
}

void ReportSend(const char* szWhat, const CResult& r, bool bTarget)
{
    // Each data set leaves at wire speed and is followed by a 100 ms pause;
    // the first one waits 100 ms too.
    const double dPaced = WireSeconds(r.traffic) + r.traffic.nOut * kPauseUs / 1e6;
    const double dMinimum = dPaced + kPauseUs / 1e6;
    const double dRatio = r.dSeconds / dPaced;
    std::printf(
        "%s Send: %.2f s, paced %.2f s (%d data sets), ratio %.3f%s; protocol minimum %.2f s (with the "
        "opening pause), ratio %.3f\n",
        szWhat, r.dSeconds, dPaced, r.traffic.nOut, dRatio, bTarget ? Verdict(dRatio) : "", dMinimum,
        r.dSeconds / dMinimum);
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QTemporaryDir profileDir;
    SetProfilePathOverride((profileDir.path() + "/vantorel.ini").toStdString());
    CQtTimerService timers;
    CTimerService::Install(&timers);
    const QStringList kinds = app.arguments().mid(1);
    auto wanted = [&kinds](const char* szKind) {
        return kinds.isEmpty() || kinds.contains(QLatin1String(szKind));
    };
    {
        CBench bench;
        std::printf("Transfers against the simulator at MIDI wire speed (320 us a byte), real timers.\n");
        std::fflush(stdout);

        if (wanted("patch")) {
            CPatchDoc patches;
            CGetPatchDlg get;
            get.SetPlan(PatchKind().MakeGetPlan(patches, -1));
            ReportGet("patch bank", bench.Run(get, true), true);
            CSendPatchDlg send;
            send.SetPlan(PatchKind().MakeSendPlan(patches, -1));
            ReportSend("patch bank", bench.Run(send, false), true);
            std::fflush(stdout);
        }
        if (wanted("performance")) {
            CPerformDoc performances;
            CGetPerformanceDlg get;
            get.SetPlan(PerformanceKind().MakeGetPlan(performances, -1));
            ReportGet("performance bank", bench.Run(get, true), true);
            CSendPerformanceDlg send;
            send.SetPlan(PerformanceKind().MakeSendPlan(performances, -1));
            ReportSend("performance bank", bench.Run(send, false), false);
            std::fflush(stdout);
        }
        if (wanted("system")) {
            CSystemDoc system;
            CGetSystemDlg get;
            get.SetPlan(SystemKind().MakeGetPlan(system, -1));
            ReportGet("system", bench.Run(get, true), false);
            CSendSystemDlg send;
            send.SetPlan(SystemKind().MakeSendPlan(system, -1));
            ReportSend("system", bench.Run(send, false), false);
            std::fflush(stdout);
        }
        if (wanted("pattern")) {
            CPatternDoc patterns;
            CGetPatternDlg get;
            get.SetPlan(PatternKind().MakeGetPlan(patterns, -1));
            ReportGet("all patterns", bench.Run(get, true), false);
            CSendPatternDlg send;
            send.SetPlan(PatternKind().MakeSendPlan(patterns, -1));
            ReportSend("all patterns", bench.Run(send, false), false);
            std::fflush(stdout);
        }
        if (wanted("motion")) {
            CMotionDoc motions;
            CGetMotionDlg get;
            get.SetPlan(MotionKind().MakeGetPlan(motions, -1));
            ReportGet("all motions", bench.Run(get, true), false);
            CSendMotionDlg send;
            send.SetPlan(MotionKind().MakeSendPlan(motions, -1));
            ReportSend("all motions", bench.Run(send, false), false);
        }
    }
    CTimerService::Install(nullptr);
    return 0;
}
