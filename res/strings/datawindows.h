#pragma once
// Texts of the system, pattern and motion windows: row labels and context menus.
namespace vantorel::res {

// System window rows and their context menus.
inline constexpr const char* kRowSystemParameter = "System Parameter";
inline constexpr const char* kRowTxRxSetting = "Tx/Rx Setting";
inline constexpr const char* kMenuInitializeSystemParameter = "Initialize System Parameter";
inline constexpr const char* kMenuGetSystemParameter = "Get System Parameter";
inline constexpr const char* kMenuSendSystemParameter = "Send System Parameter";
inline constexpr const char* kMenuInitializeTxRxSetting = "Initialize Tx/Rx Setting";
inline constexpr const char* kMenuGetTxRxSetting = "Get Tx/Rx Setting";
inline constexpr const char* kMenuSendTxRxSetting = "Send Tx/Rx Setting";

// Pattern window: the note of each key (a letter, "#" for a sharp), the label
// of each row, and the context menu.
inline constexpr const char* kNoteNames[12] = {"C",  "C#", "D",  "D#", "E",  "F",
                                               "F#", "G",  "G#", "A",  "A#", "B"};
inline constexpr const char* kPatternLabel = "PATTERN %d";
inline constexpr const char* kMenuInitializePatternData = "Initialize Pattern Data";
inline constexpr const char* kMenuGetPatternData = "Get Pattern Data";
inline constexpr const char* kMenuSendPatternData = "Send Pattern Data";

// Motion window: row names, the label of each row, and the context menu.
inline constexpr const char* kMotionNames[4] = {"A1 ", "A2 ", "B1 ", "B2 "};
inline constexpr const char* kMotionLabel = "MOTION %d";
inline constexpr const char* kMenuInitializeMotionData = "Initialize Motion Data";
inline constexpr const char* kMenuGetMotionData = "Get Motion Data";
inline constexpr const char* kMenuSendMotionData = "Send Motion Data";

// Patch Name and Performance Name dialogs: why a typed or pasted character was refused.
inline constexpr const char* kNameCharactersHint =
    "Names hold up to 16 characters: letters A-Z and a-z, digits, space and the symbols on a US keyboard.";

} // namespace vantorel::res
