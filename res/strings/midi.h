#pragma once
// Texts of the MIDI service and the ports: error sentences for every failure
// code and the backends' own, more precise, sentences. %1 stands for a device
// number or a byte count.
namespace vantorel::res {

// Generic sentences, one per result code.
inline constexpr const char* kMidiErrNone = "The MIDI call succeeded.";
inline constexpr const char* kMidiErrUnspecified = "The MIDI service reported an error.";
inline constexpr const char* kMidiErrBadDevice = "The MIDI device number is not in the device list.";
inline constexpr const char* kMidiErrAllocated = "The MIDI device is already in use.";
inline constexpr const char* kMidiErrInvalidHandle = "The MIDI device is not open.";
inline constexpr const char* kMidiErrNoDriver = "No MIDI service is available.";
inline constexpr const char* kMidiErrNoMemory = "The MIDI service ran out of memory.";
inline constexpr const char* kMidiErrInvalidParam = "The MIDI service was given an invalid buffer.";
inline constexpr const char* kMidiErrUnprepared = "The MIDI buffer has not been prepared.";
inline constexpr const char* kMidiErrStillPlaying = "The MIDI buffer is still in use.";
inline constexpr const char* kMidiErrNotReady = "The MIDI device is busy.";
inline constexpr const char* kMidiErrDisconnected = "The MIDI device is no longer connected.";
inline constexpr const char* kMidiErrUnknown = "The MIDI service reported error %1.";

// Precise sentences the backends give for the failure that just happened.
inline constexpr const char* kMidiInNoSuchDevice = "MIDI input device %1 does not exist.";
inline constexpr const char* kMidiOutNoSuchDevice = "MIDI output device %1 does not exist.";
inline constexpr const char* kMidiInOpenFailed = "MIDI input device %1 could not be opened.";
inline constexpr const char* kMidiOutOpenFailed = "MIDI output device %1 could not be opened.";
inline constexpr const char* kMidiSendFailed = "The MIDI message could not be sent.";
inline constexpr const char* kJackNotRunning = "The JACK server is not running.";
inline constexpr const char* kAlsaUnavailable = "The ALSA sequencer is not available.";
inline constexpr const char* kNoMidiService = "No MIDI service has been set up.";

// The ports' own refusals, before anything reaches the service.
inline constexpr const char* kLongMessageTooLong =
    "A MIDI message of %1 bytes does not fit the 512-byte port buffer.";
inline constexpr const char* kDataSetTooLong =
    "A data set with %1 data bytes does not fit the 512-byte port buffer.";

// What the ports say when a device fails: its name as chosen in MIDI Setup
// (%1), its number (%2) and, for a failing call, the service's sentence (%3).
inline constexpr const char* kPortNotAvailable =
    "%1 (device %2) is not available. Check that it is connected, or choose another device in "
    "Setup > MIDI Setup.";
inline constexpr const char* kPortCallFailed =
    "%1 (device %2) stopped working: %3 Check that it is connected, or choose another device in "
    "Setup > MIDI Setup.";
// The name used when neither the service nor the settings know one.
inline constexpr const char* kUnnamedMidiIn = "The MIDI input";
inline constexpr const char* kUnnamedMidiOut = "The MIDI output";

} // namespace vantorel::res
