// MIDI Setup with many JACK ports: the time from the command to the dialog
// with both lists filled, in the program as main() composes it (the built-in
// simulator, ALSA, JACK), against a private JACK server on which a helper
// client of this process has registered N MIDI ports, half that send and half
// that receive. Listing must grow linearly with the ports: the figure is the
// time each port adds at 600 ports over the time each port adds at 60 (1 when
// linear, about 10 when each port costs a listing of all ports), and the time
// at 600 ports against 1 s.
// Usage: bench_midi_setup [runs]
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTemporaryDir>

#include <jack/jack.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "app/Resource.h"
#include "app/VantorelApp.h"
#include "e2e/JackRig.h"
#include "framework/core/Profile.h"
#include "framework/gui/Dialog.h"
#include "support/MessageBoxRecorder.h"
#include "support/GuiTestPeers.h"

namespace {

using namespace vantorel;

constexpr double kTargetMs = 1000.0;
constexpr double kTargetGrowth = 1.5;
constexpr int kFewPorts = 60;
constexpr int kManyPorts = 600;
constexpr const char* kHelperName = "vantorel-bench-ports";
constexpr int kServerWaitMs = 15000;

void Quiet(const char*) {}

// The helper client: registers ports in pairs (one that sends, one that
// receives) until it holds n in all.
class CPortHost {
public:
    ~CPortHost()
    {
        if (m_pClient)
            jack_client_close(m_pClient);
    }
    bool Open()
    {
        // Until the server is up, libjack says so on stderr at every try.
        jack_set_error_function(&Quiet);
        jack_set_info_function(&Quiet);
        QElapsedTimer t;
        t.start();
        while (!m_pClient && t.elapsed() < kServerWaitMs) {
            m_pClient = jack_client_open(kHelperName, JackNoStartServer, nullptr);
            if (!m_pClient)
                QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        return m_pClient && jack_activate(m_pClient) == 0;
    }
    bool Grow(int n)
    {
        while (m_nPorts < n) {
            const std::string name = std::to_string(m_nPorts / 2);
            const unsigned long flags = m_nPorts % 2 == 0 ? JackPortIsOutput : JackPortIsInput;
            const std::string port = (flags == JackPortIsOutput ? "out-" : "in-") + name;
            if (!jack_port_register(m_pClient, port.c_str(), JACK_DEFAULT_MIDI_TYPE, flags, 0))
                return false;
            ++m_nPorts;
        }
        return true;
    }

private:
    jack_client_t* m_pClient = nullptr;
    int m_nPorts = 0;
};

struct CSetupRun {
    double ms = 0;
    int nIns = 0;
    int nOuts = 0;
};

// Setup > MIDI Setup as a click runs it; the dialog is cancelled as soon as
// it is up with its lists filled.
CSetupRun RunMidiSetup(CMainFrame& frame)
{
    CSetupRun run;
    CDialogTestPeer::SetModalHook([&](CDialog* d) {
        run.nIns = d->GetListBox(IDC_MIDI_IN_LIST)->count();
        run.nOuts = d->GetListBox(IDC_MIDI_OUT_LIST)->count();
        d->ClickButton(IDCANCEL);
    });
    QElapsedTimer t;
    t.start();
    frame.CommandAction(ID_MIDI_SETUP)->trigger();
    run.ms = double(t.nsecsElapsed()) / 1e6;
    CDialogTestPeer::SetModalHook({});
    return run;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    QApplication app(argc, argv);
    QTemporaryDir profile; // a first start: the default settings
    SetProfilePathOverride((profile.path() + "/vantorel.ini").toStdString());

    if (!e2e::CJackRig::JackdInstalled()) {
        std::printf("MIDI Setup with many JACK ports: skipped, jackd is not installed\n");
        return 0;
    }
    e2e::CJackRig jack;
    std::string error;
    if (!jack.StartServer(error)) {
        std::printf("MIDI Setup with many JACK ports: skipped, %s\n", error.c_str());
        return 0;
    }
    CPortHost host;
    if (!host.Open()) {
        std::printf("MIDI Setup with many JACK ports: skipped, the JACK server did not answer\n");
        return 0;
    }

    CVantorelApp theApp;
    if (!theApp.InitInstance())
        return 1;
    CMessageBoxRecorder quiet; // after the start, which installs real boxes
    CMainFrame& frame = *theApp.GetMainFrame();
    const CSetupRun first = RunMidiSetup(frame);

    std::vector<std::pair<int, double>> medians;
    bool bListed = true;
    for (const int nPorts : {0, kFewPorts, kManyPorts}) {
        if (!host.Grow(nPorts)) {
            std::printf("the helper could not register %d ports\n", nPorts);
            return 1;
        }
        std::vector<double> times;
        CSetupRun run;
        for (int i = 0; i < nRuns; ++i) {
            run = RunMidiSetup(frame);
            times.push_back(run.ms);
        }
        // The simulator and the helper's ports, and nothing left out.
        bListed = bListed && run.nIns >= nPorts / 2 + 1 && run.nOuts >= nPorts / 2 + 1;
        medians.emplace_back(nPorts, Median(times));
        std::printf("%4d JACK ports: MIDI Setup up in %.1f ms (median of %d; %d inputs, %d outputs listed)\n",
                    nPorts, medians.back().second, nRuns, run.nIns, run.nOuts);
    }
    const double base = medians[0].second;
    const double perPortFew = (medians[1].second - base) / kFewPorts;
    const double perPortMany = (medians[2].second - base) / kManyPorts;
    const double growth = perPortFew > 0 ? perPortMany / perPortFew : 0;
    std::printf("first MIDI Setup of the run (connects to the server): %.1f ms\n", first.ms);
    std::printf("each port adds %.3f ms at %d ports, %.3f ms at %d; ratio %.2f (target <= %.1f: %s)\n",
                perPortFew, kFewPorts, perPortMany, kManyPorts, growth, kTargetGrowth,
                growth <= kTargetGrowth ? "met" : "missed");
    std::printf("MIDI Setup at %d ports: %.1f ms (target < %.0f ms) ratio %.2f\n", kManyPorts,
                medians[2].second, kTargetMs, medians[2].second / kTargetMs);
    if (!bListed)
        std::printf("some of the helper's ports were not listed\n");
    if (!quiet.m_texts.empty())
        std::printf("messages shown: %zu (first: %s)\n", quiet.m_texts.size(), quiet.m_texts[0].c_str());
    return 0;
}
