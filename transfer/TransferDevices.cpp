#include "transfer/TransferDevices.h"

#include "midi/DeviceNames.h"
#include "midi/MidiPorts.h"
#include "res/Strings.h"
#include "res/strings/transfer.h"
#include "transfer/engine/TransferText.h"

namespace vantorel {

namespace {

std::string DeviceLine(bool bInput, const CChosenDevice& chosen)
{
    const uint16_t nDevice = static_cast<uint16_t>(chosen.nDevice);
    if (chosen.bAvailable) {
        const std::string listed = bInput ? GetMidiInName(nDevice) : GetMidiOutName(nDevice);
        if (!listed.empty())
            return listed;
    }
    // Not listed: the name it had when it was chosen.
    const std::string name = chosen.strName.empty() ? GetPortDeviceName(bInput, nDevice) : chosen.strName;
    return FormatText(res::kDeviceNotAvailable, name.c_str());
}

} // namespace

std::string FormatTransferDevices()
{
    return res::kDeviceTextIn + DeviceLine(true, FindChosenMidiIn()) + res::kDeviceTextOut +
           DeviceLine(false, FindChosenMidiOut());
}

} // namespace vantorel
