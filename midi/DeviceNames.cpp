#include "midi/DeviceNames.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "framework/core/Profile.h"
#include "midi/MidiService.h"
#include "res/Strings.h"

namespace vantorel {

namespace {

constexpr const char* kSection = "MIDI";
constexpr const char* kInDeviceKey = "MidiInDevice";
constexpr const char* kOutDeviceKey = "MidiOutDevice";
constexpr const char* kInNameKey = "MidiInName";
constexpr const char* kOutNameKey = "MidiOutName";
constexpr int kDefaultDevice = 0;

// The stored number, unless it no longer names the stored device and that
// name is listed elsewhere: then the name's first current number. The names
// are listed once: asking for each number in turn lists every port again.
int ReadDevice(const char* numberKey, const char* nameKey, const std::vector<std::string>& names)
{
    const int nStored = GetProfileInt(kSection, numberKey, kDefaultDevice);
    const std::string strName = GetProfileString(kSection, nameKey);
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
    return ReadDevice(kInDeviceKey, kInNameKey, CMidiService::Get().InGetDevNames());
}

int ReadMidiOutDevice()
{
    return ReadDevice(kOutDeviceKey, kOutNameKey, CMidiService::Get().OutGetDevNames());
}

void WriteMidiDevices(int nInDevice, int nOutDevice)
{
    WriteProfileInt(kSection, kInDeviceKey, nInDevice);
    WriteProfileInt(kSection, kOutDeviceKey, nOutDevice);
    // Device numbers travel as 16-bit values (-1 is 65535, which names nothing).
    WriteProfileString(kSection, kInNameKey, GetMidiInName(static_cast<uint16_t>(nInDevice)));
    WriteProfileString(kSection, kOutNameKey, GetMidiOutName(static_cast<uint16_t>(nOutDevice)));
}

} // namespace vantorel
