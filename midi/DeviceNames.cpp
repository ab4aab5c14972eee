#include "midi/DeviceNames.h"

#include <algorithm>
#include <cstddef>

#include "framework/core/Settings.h"
#include "midi/MidiService.h"

namespace vantorel {

namespace {

using EPort = CSettings::MidiPort;

// The names are listed once: asking for each number in turn lists every port again.
CChosenDevice FindChosen(EPort port, const std::vector<std::string>& names)
{
    CChosenDevice chosen;
    chosen.nDevice = CSettings::ReadMidiDevice(port);
    chosen.strName = CSettings::ReadMidiDeviceName(port);
    chosen.bStored = CSettings::IsMidiDeviceStored(port);
    if (const std::optional<int> nAt = LocateDevice(names, chosen.nDevice, chosen.strName)) {
        chosen.nDevice = *nAt;
        chosen.bAvailable = true;
    }
    return chosen;
}

int NumberToOpen(const CChosenDevice& chosen)
{
    return chosen.bAvailable || chosen.strName.empty() ? chosen.nDevice : -1;
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

std::optional<int> LocateDevice(const std::vector<std::string>& names, int nDevice,
                                const std::string& strName)
{
    // Numbers travel as 16-bit values, as GetMidiInName takes them.
    const size_t nAt = static_cast<uint16_t>(nDevice);
    const bool bListedAt = nAt < names.size();
    if (strName.empty())
        return bListedAt ? std::optional<int>(nDevice) : std::nullopt;
    if (bListedAt && names[nAt] == strName)
        return nDevice;
    const size_t nCount = std::min<size_t>(names.size(), size_t(UINT16_MAX) + 1);
    const auto end = names.begin() + std::ptrdiff_t(nCount);
    const auto it = std::find(names.begin(), end, strName);
    return it == end ? std::nullopt : std::optional<int>(int(it - names.begin()));
}

CChosenDevice FindChosenMidiIn()
{
    return FindChosen(EPort::In, CMidiService::Get().InGetDevNames());
}

CChosenDevice FindChosenMidiOut()
{
    return FindChosen(EPort::Out, CMidiService::Get().OutGetDevNames());
}

int ReadMidiInDevice()
{
    return NumberToOpen(FindChosenMidiIn());
}

int ReadMidiOutDevice()
{
    return NumberToOpen(FindChosenMidiOut());
}

void WriteMidiDevices(int nInDevice, int nOutDevice)
{
    // Device numbers travel as 16-bit values (-1 is 65535, which names nothing).
    CSettings::WriteMidiDevices(nInDevice, nOutDevice, GetMidiInName(static_cast<uint16_t>(nInDevice)),
                                GetMidiOutName(static_cast<uint16_t>(nOutDevice)));
}

void WriteMidiSetupChoice(int nInDevice, int nOutDevice)
{
    const bool bKeepIn = nInDevice < 0;
    const bool bKeepOut = nOutDevice < 0;
    const std::string strIn =
        bKeepIn ? CSettings::ReadMidiDeviceName(EPort::In) : GetMidiInName(static_cast<uint16_t>(nInDevice));
    const std::string strOut = bKeepOut ? CSettings::ReadMidiDeviceName(EPort::Out)
                                        : GetMidiOutName(static_cast<uint16_t>(nOutDevice));
    CSettings::WriteMidiDevices(bKeepIn ? CSettings::ReadMidiDevice(EPort::In) : nInDevice,
                                bKeepOut ? CSettings::ReadMidiDevice(EPort::Out) : nOutDevice, strIn, strOut);
}

} // namespace vantorel
