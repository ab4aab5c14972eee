#pragma once
// Device numbers and names as the settings keep them, and the device text the
// Get and Send dialogs show.
#include <cstdint>
#include <string>

namespace vantorel {

// Product name of an input or output device by number; empty when the service
// cannot tell (no such device).
std::string GetMidiInName(uint16_t nDevice);
std::string GetMidiOutName(uint16_t nDevice);

// "MIDI IN:\n\t" + input name + "\n\nMIDI OUT:\n\t" + output name.
std::string FormatDeviceText(uint16_t nInDevice, uint16_t nOutDevice);

// The device numbers from the profile ("MIDI"/"MidiInDevice" and
// "MidiOutDevice", default 0). Port numbers move between runs, so the profile
// also keeps each chosen device's name ("MidiInName", "MidiOutName"); when the
// stored number no longer names that device but the name is still listed, the
// name's current number is returned.
int ReadMidiInDevice();
int ReadMidiOutDevice();
// Writes both numbers ("MidiInDevice" first) and the names they have now.
void WriteMidiDevices(int nInDevice, int nOutDevice);

} // namespace vantorel
