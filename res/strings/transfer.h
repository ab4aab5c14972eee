#pragma once
// Texts of the Get and Send dialogs, their progress dialogs and the
// "Complete!" box. The confirmation questions and "Complete!" itself are in
// res/Strings.h.
namespace vantorel::res {

inline constexpr const char* kStart = "START";
inline constexpr const char* kCancel = "Cancel";
inline constexpr const char* kOK = "OK";

inline constexpr const char* kGetPatchCaption = "Get Patch";
inline constexpr const char* kSendPatchCaption = "Send Patch";
inline constexpr const char* kGetPerformanceCaption = "Get Performance";
inline constexpr const char* kSendPerformanceCaption = "Send Performance";
inline constexpr const char* kGetSystemCaption = "Get System";
inline constexpr const char* kSendSystemCaption = "Send System";
inline constexpr const char* kGetPatternCaption = "Get Pattern";
inline constexpr const char* kSendPatternCaption = "Send Pattern";
inline constexpr const char* kGetMotionCaption = "Get Motion";
inline constexpr const char* kSendMotionCaption = "Send Motion";
inline constexpr const char* kGettingCaption = "Getting...";
inline constexpr const char* kSendingCaption = "Sending...";

// Progress texts: label and name; the 1-based item number.
inline constexpr const char* kProgressLabelName = "%s: %s";
inline constexpr const char* kProgressPattern = "Pattern %d";
inline constexpr const char* kProgressMotion = "Motion %d";

// How messages name an entry: a patch label, a performance label.
inline constexpr const char* kEntryPatch = "Patch %s";
inline constexpr const char* kEntryPerformancePatch = "Patch %d of performance %s";
inline constexpr const char* kEntryPerformance = "Performance %s";
inline constexpr const char* kEntrySystem = "The system";

// What a transfer counts in.
inline constexpr const char* kNounPatch = "patch";
inline constexpr const char* kNounPatches = "patches";
inline constexpr const char* kNounPerformance = "performance";
inline constexpr const char* kNounPerformances = "performances";
inline constexpr const char* kNounSystemBlock = "system block";
inline constexpr const char* kNounSystemBlocks = "system blocks";
inline constexpr const char* kNounPattern = "pattern";
inline constexpr const char* kNounPatterns = "patterns";
inline constexpr const char* kNounMotion = "motion";
inline constexpr const char* kNounMotions = "motions";

// The entries of each kind, for a message ("use 11 to 88").
inline constexpr const char* kRangePatch = "A11 to A88 or B11 to B88";
inline constexpr const char* kRangePerformance = "11 to 88";
inline constexpr const char* kRangeSystem = "system or txrx";
inline constexpr const char* kRangePattern = "C#2 to C6";
inline constexpr const char* kRangeMotion = "A1, A2, B1 or B2";

// What each kind's library files hold, as the desktop names their type.
inline constexpr const char* kFileKindPatch = "patch bank";
inline constexpr const char* kFileKindPerformance = "performance bank";
inline constexpr const char* kFileKindSystem = "system data";
inline constexpr const char* kFileKindPattern = "pattern data";
inline constexpr const char* kFileKindMotion = "motion data";

// A Send that stops: the entry's name; the device's name and number, the
// entries sent, the entries asked for and their noun.
inline constexpr const char* kEntryNotSendable =
    "%s holds bytes the KQ-3300 cannot receive; it was not sent.";
// The entry, its size and the memory the synthesizer has for it.
inline constexpr const char* kEntryTooLarge =
    "%s holds %zu bytes, more than the %zu bytes the KQ-3300 keeps for it; it was not sent.";
inline constexpr const char* kSendStopped =
    "%s (device %d) stopped taking data: sent %d of %d %s. Check that it is connected and switched on, then "
    "send again.";

// A Get whose synthesizer has not answered for three seconds; it goes on asking.
inline constexpr const char* kNoAnswer =
    "The KQ-3300 does not answer. Check the MIDI cables in both directions, the devices chosen in "
    "Setup > MIDI Setup, that the KQ-3300 receives exclusive messages and that its device ID is 0x10. "
    "Still asking...";
// The same in the main window's status bar, where it must fit beside the key
// indicators; the progress window shows it whole.
inline constexpr const char* kNoAnswerStatus =
    "The KQ-3300 does not answer. Still asking; the progress window says what to check.";

// A Get that gave up on an entry: the requests made for it, the entries got,
// the entries asked for and their noun.
inline constexpr const char* kGaveUpNoAnswer =
    "The KQ-3300 did not answer after %d requests: got %d of %d %s. Check the MIDI cables in both "
    "directions, the devices chosen in Setup > MIDI Setup, that the KQ-3300 receives exclusive messages and "
    "that its device ID is 0x10, then get again.";
inline constexpr const char* kGaveUpDamaged =
    "The KQ-3300's answers arrived damaged %d times: got %d of %d %s. Check the MIDI cables and "
    "connections, then get again.";

// The main window's status bar during a transfer: noun, entry, entries, seconds.
inline constexpr const char* kStatusGetting = "Getting %s %d of %d";
inline constexpr const char* kStatusSending = "Sending %s %d of %d";
inline constexpr const char* kStatusTimeLeft = ", about %d s left";
// Get Everything, in front of the line of the Get under way: entries, entries.
inline constexpr const char* kStatusEverything = "Get Everything %d of %d";

// A chosen device the service no longer lists, by its stored name.
inline constexpr const char* kDeviceNotAvailable = "%s (not available)";

} // namespace vantorel::res
