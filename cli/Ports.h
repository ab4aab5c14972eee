#pragma once
// MIDI ports on the command line: the list `ports` prints, and PORT (a device
// number, or a name as that list prints it) turned into a device number.
#include <optional>
#include <string>

#include "app/devices/DefaultMidiService.h"
#include "cli/Context.h"

namespace vantorel::cli {

// A backend as `ports` names it ("ALSA"); empty for none.
std::string BackendName(CDefaultMidiService::EBackend backend);

// Prints inputs and outputs: number, name, backend.
void ListPorts(CContext& ctx);

// The device PORT names; without PORT, the device chosen in the program's
// MIDI Setup. Nothing (and error set) when PORT names no listed device.
std::optional<unsigned> ResolvePort(bool bInput, const std::optional<std::string>& port, std::string& error);

} // namespace vantorel::cli
