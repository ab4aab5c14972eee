// vantorel-cli: the librarian's transfers without windows, for a nightly or
// before-the-gig backup, a restore of a known state, and a check that the
// synthesizer still holds what a library file says.
#include <QCoreApplication>

#include <unistd.h>

#include "devices/DefaultMidiService.h"
#include "cli/Cli.h"
#include "cli/Ports.h"
#include "cli/StopSignal.h"
#include "framework/core/QtTimerService.h"

#include <iostream>

int main(int argc, char** argv)
{
    using namespace vantorel;
    QCoreApplication app(argc, argv);
    CQtTimerService timers;
    CTimerService::Install(&timers);
    CDefaultMidiService midi;
    CMidiService::Install(&midi);

    cli::CContext ctx{std::cout, std::cerr};
    ctx.bErrIsTerminal = isatty(STDERR_FILENO) == 1;
    ctx.backendOf = [&midi](bool bInput, unsigned n) { return midi.BackendOf(bInput, n); };
    ctx.runUntil = [&ctx](const std::function<bool()>& done) {
        while (!done() && !ctx.bStopRequested)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };
    ctx.pollEvents = [] { QCoreApplication::processEvents(QEventLoop::AllEvents); };
    cli::CStopSignal stop([&ctx] { ctx.bStopRequested = true; });

    std::vector<std::string> args(argv + 1, argv + argc);
    const int nExit = cli::RunCli(args, ctx);
    CMidiService::Install(nullptr);
    CTimerService::Install(nullptr);
    return nExit;
}
