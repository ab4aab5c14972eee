#pragma once
// Resource ids of the application shell: menus, commands, dialogs.
#include "views/PatchCommands.h"

namespace vantorel {

enum : int {
    // Menus: 128 with no document window, 130 to 134 per document kind.
    IDR_MAINFRAME = 128,

    // Commands of the main frame.
    ID_MIDI_SETUP = 32770,
    ID_PREVIEW_SETUP = 32771,
    ID_PREVIEW = 32772,
    ID_CLEAR_COPY_BUFFER = 32775,
    ID_SEND_DATA = 32776,

    // Get and Send of the five kinds, handled by the list windows: the menus
    // and the toolbar fetch or send a whole bank (or everything of a kind).
    // The windows' context menus have commands of their own for one entry
    // (views/PatchCommands.h and the window classes).
    ID_GET_PATCH_BANK = patch_commands::ID_GET_PATCH_BANK,
    ID_SEND_PATCH_BANK = patch_commands::ID_SEND_PATCH_BANK,
    ID_GET_PERFORMANCE_BANK = 32782,
    ID_SEND_PERFORMANCE_BANK = 32783,
    ID_GET_PATTERN = 32784,
    ID_SEND_PATTERN = 32785,
    ID_GET_SYSTEM = 32786,
    ID_SEND_SYSTEM = 32787,
    ID_GET_MOTION = 32788,
    ID_SEND_MOTION = 32789,

    // SysEx files and dumps, handled by the application object.
    ID_IMPORT_SYSEX = 32793,
    ID_EXPORT_SYSEX = 32794,
    ID_RECEIVE_DUMP = 32795,

    // The Library menu, handled by the main frame.
    ID_LIBRARY_WINDOW = 32860,
    ID_LIBRARY_FIND = 32861,
    ID_LIBRARY_FOLDERS = 32862,
    ID_LIBRARY_SCAN = 32863,
    ID_LIBRARY_STOP = 32864,
    ID_LIBRARY_PROBLEMS = 32865,
    ID_LIBRARY_DUPLICATES = 32866,

    // The whole synthesizer at once and everyday commands, handled by the
    // application object.
    ID_FILE_SAVE_ALL = 32870,
    ID_GET_EVERYTHING = 32871,
    ID_BACK_UP_TO_FOLDER = 32872,
    ID_HELP_USER_GUIDE = 32873,
    // File > Compare..., handled by the main frame.
    ID_FILE_COMPARE = 32874,

    // Framework commands the application object handles.
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_APP_ABOUT = 57664,

    // Dialogs.
    IDD_ABOUTBOX = 100,
    IDD_MIDI_SETUP = 151,
    IDD_PREVIEW_SETUP = 152,
    IDD_PICTURE = 153,

    // Controls.
    IDC_MIDI_IN_LIST = 1002,
    IDC_MIDI_OUT_LIST = 1003,
    IDC_NOTE_NUMBER = 1006,
    IDC_VELOCITY = 1007,
    IDC_TONE_LENGTH = 1008,
    IDC_ABOUT_ICON = 1010,
    IDC_PICTURE = 1011,

    // Preview timer of the main frame.
    IDT_PREVIEW = 1,
};

} // namespace vantorel
