#pragma once
// Every key the program keeps in its profile, with its default, in one place:
// the MIDI devices and their names, the Preview values, the Send Data switch,
// the recent-file list and the main window's placement. Reads give the
// default for a missing or unreadable value; nothing here clamps or checks
// ranges, that is left to whoever uses the value. The values the main frame
// keeps for the whole run (Preview, Send Data, window) are written back merged
// with what another instance changed meanwhile (MergeProfileInt).
#include <optional>
#include <string>
#include <vector>

namespace vantorel {

class CSettings {
public:
    // "MIDI": device numbers, and the names they had when chosen (numbers
    // move between runs; the names let a caller find the device again).
    static constexpr const char* kMidiSection = "MIDI";
    static constexpr const char* kMidiInDeviceKey = "MidiInDevice";
    static constexpr const char* kMidiOutDeviceKey = "MidiOutDevice";
    static constexpr const char* kMidiInNameKey = "MidiInName";
    static constexpr const char* kMidiOutNameKey = "MidiOutName";
    static constexpr int kDefaultMidiDevice = 0;

    // "Preview": the note Preview plays.
    static constexpr const char* kPreviewSection = "Preview";
    static constexpr const char* kNoteNumKey = "NoteNum";
    static constexpr const char* kVelocityKey = "Velocity";
    static constexpr const char* kToneLenKey = "ToneLen";

    // "Setup": the Send Data switch, kept as 1 or 0.
    static constexpr const char* kSetupSection = "Setup";
    static constexpr const char* kSendDataKey = "SendData";

    // "Recent File List": File1 (most recent) to File4.
    static constexpr const char* kRecentSection = "Recent File List";
    static constexpr int kRecentFileCount = 4;

    // "Files": the folder the last file dialog was answered in.
    static constexpr const char* kFilesSection = "Files";
    static constexpr const char* kLastFolderKey = "LastFolder";

    // "Window": the main window's inside rectangle and whether it was maximised.
    static constexpr const char* kWindowSection = "Window";
    static constexpr const char* kLeftKey = "Left";
    static constexpr const char* kTopKey = "Top";
    static constexpr const char* kWidthKey = "Width";
    static constexpr const char* kHeightKey = "Height";
    static constexpr const char* kMaximizedKey = "Maximized";

    enum class MidiPort { In, Out };
    static int ReadMidiDevice(MidiPort port);
    // True once MIDI Setup has stored a device number for port (a readable one).
    static bool IsMidiDeviceStored(MidiPort port);
    static std::string ReadMidiDeviceName(MidiPort port);
    // Both numbers first (input, then output), then both names.
    static void WriteMidiDevices(int nInDevice, int nOutDevice, const std::string& strInName,
                                 const std::string& strOutName);

    struct Preview {
        int nNote = 60;
        int nVelocity = 80;
        int nToneLen = 500; // milliseconds
    };
    static Preview ReadPreview();
    static void WritePreview(const Preview& preview);

    // Any stored value but 1 is off; missing is on.
    static bool ReadSendData();
    static void WriteSendData(bool bOn);

    // Most recent first; empty entries and repeats are dropped.
    static std::vector<std::string> ReadRecentFiles();
    // Writes up to kRecentFileCount entries and removes the keys beyond them.
    static void WriteRecentFiles(const std::vector<std::string>& files);

    // Empty until a file dialog has been answered.
    static std::string ReadLastFolder();
    static void WriteLastFolder(const std::string& strFolder);

    struct WindowPlacement {
        static constexpr int kDefaultWidth = 820;
        static constexpr int kDefaultHeight = 600;
        bool bHasPosition = false; // both Left and Top stored
        int nLeft = 0;
        int nTop = 0;
        int nWidth = kDefaultWidth;
        int nHeight = kDefaultHeight;
        bool bMaximized = false; // stored as 1
    };
    static WindowPlacement ReadWindowPlacement();
    static void WriteWindowPlacement(const WindowPlacement& placement);
};

} // namespace vantorel
