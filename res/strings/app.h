#pragma once
// Texts of the application shell: the document manager's messages and
// dialogs, the frames' menus, prompts and tooltips, the setup dialogs and the
// About box. %1 stands for a file or document name.
namespace vantorel::res {

// Document manager.
inline constexpr const char* kNewDialogCaption = "New";
inline constexpr const char* kNewDialogLabel = "&New";
inline constexpr const char* kOpenDialogCaption = "Open";
inline constexpr const char* kSaveAsDialogCaption = "Save As";
inline constexpr const char* kAllFilesFilter = "All Files (*.*)";
inline constexpr const char* kFileNotFound = "%1 was not found.";
inline constexpr const char* kFileAccessDenied = "Access to %1 was denied.";
inline constexpr const char* kDiskFull = "Destination disk drive is full.";
inline constexpr const char* kFailedToSaveDocument = "Failed to save document.";
inline constexpr const char* kWriteFault = "An unexpected error occurred while writing %1.";
inline constexpr const char* kReadFault = "An unexpected error occurred while reading %1.";

// Document strings of the five kinds: window title, document name, File New
// name, filter name, extension, file type id, file type name.
inline constexpr const char* kDocStringPatch =
    "\nPatch\nPatch\nPatch Files (*.pat)\n.pat\nPatch.Document\nPatch Document";
inline constexpr const char* kDocStringPerformance =
    "\nPerformance\nPerformance\nPerformance Files (*.pfm)\n.pfm\nPerformance.Document\nPerformance Document";
inline constexpr const char* kDocStringSystem =
    "\nSystem\nSystem\nSystem Files (*.syp)\n.syp\nSystem.Document\nSystem Document";
inline constexpr const char* kDocStringPattern =
    "\nPattern\nPattern Data\nPattern Data Files (*.ptn)\n.ptn\nPattern.Document\nPattern Document";
inline constexpr const char* kDocStringMotion =
    "\nMotion\nMotion Data\nMotion Data Files (*.mtn)\n.mtn\nMotion.Document\nMotion Document";

// Main frame: menus.
inline constexpr const char* kMenuFile = "&File";
inline constexpr const char* kMenuSetup = "&Setup";
inline constexpr const char* kMenuWindow = "&Window";
inline constexpr const char* kMenuHelp = "&Help";
inline constexpr const char* kMenuPatch = "&Patch";
inline constexpr const char* kMenuPerformance = "&Performance";
inline constexpr const char* kMenuSystem = "S&ystem";
inline constexpr const char* kMenuPattern = "&Pattern";
inline constexpr const char* kMenuMotion = "&Motion";

inline constexpr const char* kItemNew = "&New...\tCtrl+N";
inline constexpr const char* kItemOpen = "&Open...\tCtrl+O";
inline constexpr const char* kItemClose = "&Close";
inline constexpr const char* kItemSave = "&Save\tCtrl+S";
inline constexpr const char* kItemSaveAs = "Save &As...";
inline constexpr const char* kItemExit = "E&xit";
inline constexpr const char* kItemGetPatch = "&Get Patch...";
inline constexpr const char* kItemSendPatch = "&Send Patch...";
inline constexpr const char* kItemGetPerformance = "&Get Performance...";
inline constexpr const char* kItemSendPerformance = "&Send Performance...";
inline constexpr const char* kItemGetSystem = "&Get System...";
inline constexpr const char* kItemSendSystem = "&Send System...";
inline constexpr const char* kItemGetPattern = "&Get Pattern...";
inline constexpr const char* kItemSendPattern = "&Send Pattern...";
inline constexpr const char* kItemGetMotion = "&Get Motion...";
inline constexpr const char* kItemSendMotion = "&Send Motion...";
inline constexpr const char* kItemToolBar = "&Tool Bar";
inline constexpr const char* kItemStatusBar = "&Status Bar";
inline constexpr const char* kItemSendData = "Send &Data";
inline constexpr const char* kItemMidiSetup = "&MIDI Setup...";
inline constexpr const char* kItemPreviewSetup = "&Preview Setup...";
inline constexpr const char* kItemCascade = "&Cascade";
inline constexpr const char* kItemTile = "&Tile";
inline constexpr const char* kItemArrangeIcons = "&Arrange Icons";
inline constexpr const char* kItemAbout = "&About Vantorel...";
// The toolbar-only commands have no menu text; their actions carry these.
inline constexpr const char* kItemPreview = "Preview";
inline constexpr const char* kItemClearCopyBuffer = "Clear Copy Buffer";

// Status bar prompt, newline, tooltip: one string per command. The program's
// own commands are named the same in both places.
inline constexpr const char* kPromptNew = "Create a new library document\nNew";
inline constexpr const char* kPromptOpen = "Open a library file\nOpen";
inline constexpr const char* kPromptClose = "Close the active document\nClose";
inline constexpr const char* kPromptSave = "Save the active document\nSave";
inline constexpr const char* kPromptSaveAs = "Save the active document under a new name\nSave As";
inline constexpr const char* kPromptExit = "Quit Vantorel; asks to save modified documents\nExit";
inline constexpr const char* kPromptGetPatch = "Get Patch\nGet Patch";
inline constexpr const char* kPromptSendPatch = "Send Patch\nSend Patch";
inline constexpr const char* kPromptGetPerformance = "Get Performance\nGet Performance";
inline constexpr const char* kPromptSendPerformance = "Send Performance\nSend Performance";
inline constexpr const char* kPromptGetSystem = "Get System\nGet System";
inline constexpr const char* kPromptSendSystem = "Send System\nSend System";
inline constexpr const char* kPromptGetPattern = "Get Pattern\nGet Pattern";
inline constexpr const char* kPromptSendPattern = "Send Pattern\nSend Pattern";
inline constexpr const char* kPromptGetMotion = "Get Motion\nGet Motion";
inline constexpr const char* kPromptSendMotion = "Send Motion\nSend Motion";
inline constexpr const char* kPromptMidiSetup = "MIDI Setup\nMIDI Setup";
inline constexpr const char* kPromptPreviewSetup = "Preview Setup\nPreview Setup";
inline constexpr const char* kPromptPreview = "Preview\nPreview";
inline constexpr const char* kPromptClearCopyBuffer = "Clear Copy Buffer\nClear Copy Buffer";
inline constexpr const char* kPromptSendData = "Send Data\nSendData";
inline constexpr const char* kPromptToolBar = "Show or hide the toolbar\nToggle ToolBar";
inline constexpr const char* kPromptStatusBar = "Show or hide the status bar\nToggle StatusBar";
inline constexpr const char* kPromptCascade = "Arrange the windows so they overlap\nCascade Windows";
inline constexpr const char* kPromptTile = "Arrange the windows side by side\nTile Windows";
inline constexpr const char* kPromptArrangeIcons = "Arrange the minimised windows along the bottom\nArrange Icons";
inline constexpr const char* kPromptAbout = "Show the program's version\nAbout";

// Status bar key indicators.
inline constexpr const char* kIndicatorCaps = "CAP";
inline constexpr const char* kIndicatorNum = "NUM";
inline constexpr const char* kIndicatorScroll = "SCRL";

// Setup dialogs.
inline constexpr const char* kMidiSetupCaption = "MIDI Setup";
inline constexpr const char* kMidiInLabel = "MIDI IN";
inline constexpr const char* kMidiOutLabel = "MIDI OUT";
inline constexpr const char* kPreviewSetupCaption = "Preview Setup";
inline constexpr const char* kNoteNumberLabel = "Note Number";
inline constexpr const char* kVelocityLabel = "Velocity";
inline constexpr const char* kToneLengthLabel = "Tone Length\n(m sec)";
inline constexpr const char* kOk = "OK";
inline constexpr const char* kCancel = "Cancel";

// About box and its picture.
inline constexpr const char* kAboutCaption = "About Vantorel";
inline constexpr const char* kAboutVersion = "Vantorel Version 1.00";
inline constexpr const char* kAboutLine3 = "A librarian for the KQ-3300 synthesizer";
inline constexpr const char* kPictureCaption = "Vantorel";

// Reading and writing files and the settings file.
inline constexpr const char* kSaveDiskFull =
    "%1 could not be saved because the disk is full. The file on disk was left as it was. "
    "Free some space, or save under another name on another disk.";
inline constexpr const char* kSaveWriteFault =
    "An error occurred while writing %1. The file on disk was left as it was. "
    "Try again, or save under another name on another disk.";
inline constexpr const char* kSaveAccessDenied =
    "Access to %1 was denied. Save under another name in a folder you can write to.";
inline constexpr const char* kSaveNotRegularFile =
    "%1 is not a regular file, so it was not replaced. Save under another name.";
inline constexpr const char* kOpenNotRegularFile =
    "%1 is not a regular file and cannot be opened. Choose a library file.";
inline constexpr const char* kProfileUnusable =
    "The settings file %1 cannot be read, or is not a regular file. Vantorel uses its default "
    "settings and will not save them. Remove or repair %1 to keep your settings again.";


} // namespace vantorel::res
