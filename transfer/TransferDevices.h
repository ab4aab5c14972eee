#pragma once
// The device text of the Get and Send dialogs.
#include <cstdint>
#include <string>

namespace vantorel {

// "MIDI IN:\n\t<name>\n\nMIDI OUT:\n\t<name>". A chosen device the service no
// longer lists shows as "<stored name> (not available)".
std::string FormatTransferDevices(uint16_t nInDevice, uint16_t nOutDevice);

} // namespace vantorel
