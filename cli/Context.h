#pragma once
// What a command runs on: where it writes, how it waits for the MIDI events,
// and whether the user has asked it to stop. main() gives the real ones (the
// event loop, the terminal); tests give a virtual clock and string streams.
#include <functional>
#include <ostream>
#include <string>

#include "devices/DefaultMidiService.h"

namespace vantorel::cli {

struct CContext {
    CContext(std::ostream& o, std::ostream& e) : out(o), err(e) {}

    std::ostream& out; // what a command prints as its result (ports, info, verify)
    std::ostream& err; // messages and progress
    // True when err is a terminal: progress is one line that updates itself.
    bool bErrIsTerminal = false;
    // The backend that lists device n: `ports` names it, and the built-in
    // simulator is used only when the command line asks for it.
    std::function<CDefaultMidiService::EBackend(bool bInput, unsigned nDevice)> backendOf;
    // Runs events until done() holds or the user stops the command.
    std::function<void(const std::function<bool()>& done)> runUntil;
    // Handles the events waiting, without waiting for more (a long job that
    // does not run the loop calls it now and then, so that Ctrl+C is heard).
    std::function<void()> pollEvents;
    // Set (from the event loop, never from a signal handler) on SIGINT or SIGTERM.
    bool bStopRequested = false;
};

} // namespace vantorel::cli
