#pragma once
// Device numbers and names as the settings keep them, and the chosen devices
// looked up by name.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantorel {

// Product name of an input or output device by number; empty when the service
// cannot tell (no such device).
std::string GetMidiInName(uint16_t nDevice);
std::string GetMidiOutName(uint16_t nDevice);

// Where a device known by its number and name is listed now: the number while
// it still has that name, else the name's first number; nothing when the name
// is listed nowhere. The name is what the user chose: another device that now
// has the number is not it. Without a name (profiles written before names were
// kept) the number is the device, if it is listed.
std::optional<int> LocateDevice(const std::vector<std::string>& names, int nDevice,
                                const std::string& strName);

// The device chosen in MIDI Setup for one direction, looked up now.
struct CChosenDevice {
    int nDevice = 0;         // where it is listed now; the stored number when it is not
    std::string strName;     // the name stored with the choice; empty for a number alone
    bool bAvailable = false; // listed now (by its name, or at its number when it has none)
    bool bStored = false;    // MIDI Setup has stored a choice (else device 0 by default)
};
CChosenDevice FindChosenMidiIn();
CChosenDevice FindChosenMidiOut();

// The device numbers from the profile ("MIDI"/"MidiInDevice" and
// "MidiOutDevice", default 0). Port numbers move between runs, so the profile
// also keeps each chosen device's name ("MidiInName", "MidiOutName"): the
// number is where that name is listed now, and -1 (a number that opens
// nothing) when it is listed nowhere. A number stored without a name is
// returned as it is. Ports open the chosen device through UseChosenDevice,
// which finds the name again at every open.
int ReadMidiInDevice();
int ReadMidiOutDevice();
// Writes both numbers ("MidiInDevice" first) and the names they have now.
void WriteMidiDevices(int nInDevice, int nOutDevice);
// MIDI Setup's OK: a direction with a device picked (a number >= 0) takes it
// and its name; one with none picked keeps the number and name stored, so
// that a chosen device that is missing for now stays the choice.
void WriteMidiSetupChoice(int nInDevice, int nOutDevice);

} // namespace vantorel
