#include "transfer/TransferDevices.h"

#include "midi/DeviceNames.h"
#include "midi/MidiPorts.h"
#include "res/Strings.h"
#include "res/strings/transfer.h"
#include "transfer/engine/TransferText.h"

namespace vantorel {

namespace {

std::string DeviceLine(bool bInput, uint16_t nDevice)
{
    const std::string listed = bInput ? GetMidiInName(nDevice) : GetMidiOutName(nDevice);
    if (!listed.empty())
        return listed;
    // Not listed: the name it had when it was chosen.
    return FormatText(res::kDeviceNotAvailable, GetPortDeviceName(bInput, nDevice).c_str());
}

} // namespace

std::string FormatTransferDevices(uint16_t nInDevice, uint16_t nOutDevice)
{
    return res::kDeviceTextIn + DeviceLine(true, nInDevice) + res::kDeviceTextOut +
           DeviceLine(false, nOutDevice);
}

} // namespace vantorel
