#pragma once
// The device text of the Get and Send dialogs.
#include <string>

namespace vantorel {

// "MIDI IN:\n\t<name>\n\nMIDI OUT:\n\t<name>" for the devices chosen in MIDI
// Setup, as listed now. A chosen device that is listed neither by its name
// nor (a choice kept as a number alone) at its number shows as
// "<stored name> (not available)", whatever device now has its number.
std::string FormatTransferDevices();

} // namespace vantorel
