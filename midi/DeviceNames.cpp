#include "midi/DeviceNames.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "framework/core/Settings.h"
#include "midi/MidiService.h"
#include "res/Strings.h"

namespace vantorel {

namespace {

using EPort = CSettings::MidiPort;

// The stored number, unless it no longer names the stored device and that
// name is listed elsewhere: then the name's first current number. The names
// are listed once: asking for each number in turn lists every port again.
int ReadDevice(EPort port, const std::vector<std::string>& names)
{
    const int nStored = CSettings::ReadMidiDevice(port);
    const std::string strName = CSettings::ReadMidiDeviceName(port);
    // Numbers travel as 16-bit values, as GetMidiInName takes them.
    const size_t nAt = static_cast<uint16_t>(nStored);
    if (strName.empty() || (nAt < names.size() && names[nAt] == strName))
        return nStored;
    const size_t nCount = std::min<size_t>(names.size(), size_t(UINT16_MAX) + 1);
    const auto it = std::find(names.begin(), names.begin() + std::ptrdiff_t(nCount), strName);
    return it == names.begin() + std::ptrdiff_t(nCount) ? nStored : int(it - names.begin());
}

} // namespace

std::string GetMidiInName(uint16_t nDevice)
{
    std::string name;
    if (CMidiService::Get().InGetDevName(nDevice, name) != MMSYSERR_NOERROR)
        name.clear();
    return name;
}

std::string GetMidiOutName(uint16_t nDevice)
{
    std::string name;
    if (CMidiService::Get().OutGetDevName(nDevice, name) != MMSYSERR_NOERROR)
        name.clear();
    return name;
}

std::string FormatDeviceText(uint16_t nInDevice, uint16_t nOutDevice)
{
    return res::kDeviceTextIn + GetMidiInName(nInDevice) + res::kDeviceTextOut + GetMidiOutName(nOutDevice);
}

int ReadMidiInDevice()
{
    return ReadDevice(EPort::In, CMidiService::Get().InGetDevNames());
}

int ReadMidiOutDevice()
{
    return ReadDevice(EPort::Out, CMidiService::Get().OutGetDevNames());
}

void WriteMidiDevices(int nInDevice, int nOutDevice)
{
    // Device numbers travel as 16-bit values (-1 is 65535, which names nothing).
    CSettings::WriteMidiDevices(nInDevice, nOutDevice, GetMidiInName(static_cast<uint16_t>(nInDevice)),
                                GetMidiOutName(static_cast<uint16_t>(nOutDevice)));
}

} // namespace vantorel
