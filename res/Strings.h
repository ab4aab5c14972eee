#pragma once
// Every text the user sees, exactly as the program shows it. Each area keeps
// its own texts in res/strings/; this header gathers the ones every area uses.
#include <cstddef>
#include <iterator>
#include <string>

namespace vantorel::res {

inline constexpr const char* kMainTitle = "Vantorel"; // main window title (string 128)
inline constexpr const char* kAppTitle = "Sondavel";  // caption of every message box (57344)
inline constexpr const char* kReady = "Ready";        // status bar idle text (57345)

inline constexpr const char* kFileError = "File Error!!";
inline constexpr const char* kUnexpectedFileFormat = "Unexpected file format.";
inline constexpr const char* kFailedToOpenDocument = "Failed to open document.";
inline constexpr const char* kFailedToCreateDocument = "Failed to create empty document.";
inline constexpr const char* kSaveChanges = "Save changes to %1?";
inline constexpr const char* kCantCopyInHere = "Can't Copy in Here.";
inline constexpr const char* kCantAllocateHeader = "Can't Allocate Memory for MIDIHDR";
inline constexpr const char* kComplete = "Complete!";

inline constexpr const char* kConfirmGet =
    "Attention!! Please be sure to make a backup of the data.\nContinue?";
inline constexpr const char* kConfirmSend =
    "Attention!! Please be sure to make a backup of the User data\nin your KQ-3300.\nContinue?";

inline constexpr const char* kEnterInteger = "Please enter an integer.";
inline constexpr const char* kEnterIntegerBetween = "Please enter an integer between %1 and %2.";
inline constexpr const char* kEnterNoMoreThan = "Please enter no more than %1 characters.";

// Small counts as words ("all five kinds"); larger ones are written in digits.
inline constexpr const char* kCountWords[] = {"no",    "one",   "two",  "three", "four",   "five",  "six",
                                              "seven", "eight", "nine", "ten",   "eleven", "twelve"};
inline std::string CountWord(size_t nCount)
{
    return nCount < std::size(kCountWords) ? kCountWords[nCount] : std::to_string(nCount);
}

inline constexpr const char* kDeviceTextIn = "MIDI IN:\n\t";
inline constexpr const char* kDeviceTextOut = "\n\nMIDI OUT:\n\t";

} // namespace vantorel::res
