#include "midi/DeviceNames.h"

#include "framework/Profile.h"
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

using NameOf = std::string (*)(uint16_t);

// The stored number, unless it no longer names the stored device and that
// name is listed elsewhere: then the name's first current number.
int ReadDevice(const char* numberKey, const char* nameKey, NameOf nameOf, unsigned nDevices)
{
    const int nStored = GetProfileInt(kSection, numberKey, kDefaultDevice);
    const std::string strName = GetProfileString(kSection, nameKey);
    if (strName.empty() || nameOf(static_cast<uint16_t>(nStored)) == strName)
        return nStored;
    for (unsigned i = 0; i < nDevices && i <= UINT16_MAX; ++i)
        if (nameOf(static_cast<uint16_t>(i)) == strName)
            return int(i);
    return nStored;
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
    return ReadDevice(kInDeviceKey, kInNameKey, &GetMidiInName, CMidiService::Get().InGetNumDevs());
}

int ReadMidiOutDevice()
{
    return ReadDevice(kOutDeviceKey, kOutNameKey, &GetMidiOutName, CMidiService::Get().OutGetNumDevs());
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
