#pragma once
// MIDI ports on the command line: the list `ports` prints, and the devices a
// transfer uses: PORT (a device number, or a name as that list prints it), or
// else the device chosen in the program's MIDI Setup.
#include <optional>
#include <string>

#include "devices/DefaultMidiService.h"
#include "cli/Context.h"

namespace vantorel::cli {

// A backend as `ports` names it ("ALSA"); empty for none.
std::string BackendName(CDefaultMidiService::EBackend backend);

// Prints inputs and outputs: number, name, backend.
void ListPorts(CContext& ctx);

// A device a transfer opens: its number and its name, by which every
// reopening finds it again.
struct CPort {
    unsigned nDevice = 0;
    std::string strName;
};

// How the device of one direction was settled.
enum class EPortFound {
    Found,
    NoSuchPort,   // PORT names no listed device (error set)
    NotChosen,    // no PORT, and MIDI Setup chose nothing the command line may use
    NotAvailable, // no PORT, and the device chosen in MIDI Setup is not listed (error set)
};

// The device PORT names; without PORT, the device chosen in MIDI Setup. The
// built-in simulator is used only when PORT asks for it: a choice of it in
// MIDI Setup (or no choice, which the program takes as device 0) is NotChosen.
EPortFound ResolvePort(const CContext& ctx, bool bInput, const std::optional<std::string>& port, CPort& found,
                       std::string& error);

// "<name> (device <n>)": how the progress and the messages name a device.
std::string DescribePort(const CPort& port);

} // namespace vantorel::cli
