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
inline constexpr const char* kPromptArrangeIcons =
    "Arrange the minimised windows along the bottom\nArrange Icons";
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

// The whole synthesizer at once, and everyday commands: File > Save All, Get
// Everything, Back Up To Folder; Help > User Guide.
inline constexpr const char* kItemSaveAll = "Save A&ll";
inline constexpr const char* kPromptSaveAll =
    "Save every window with changes; asks a name for each new one\nSave All";
inline constexpr const char* kSaveAllButton = "Save &All";
inline constexpr const char* kItemGetEverything = "Get &Everything...";
inline constexpr const char* kPromptGetEverything =
    "Get the patches, performances, system, patterns and motions into five new windows\nGet Everything";
inline constexpr const char* kGetEverythingConfirm =
    "Get Everything gets the KQ-3300's patches, performances, system, patterns and motions into five new "
    "windows, one after another.\nContinue?";
// %1: what was under way ("performances"); %2: the entry; %3: why it stopped.
inline constexpr const char* kGetEverythingFailed =
    "Get Everything stopped while getting the %1, at %2. %3\n\nWhat arrived stays in its windows.";
inline constexpr const char* kItemBackUp = "&Back Up To Folder...";
inline constexpr const char* kPromptBackUp =
    "Write the open windows as the five files of a backup, in a new folder\nBack Up To Folder";
inline constexpr const char* kBackUpCaption = "Back Up To Folder";
inline constexpr const char* kBackUpFilter = "Folders (*)";
// %1: the date and time.
inline constexpr const char* kBackUpFolderName = "KQ-3300 backup %1";
// %1: the folder.
inline constexpr const char* kBackUpNoFolder =
    "The folder %1 could not be made, so nothing was backed up. Choose a place you can write to, then back "
    "up again.";
// %1: the folder; %2: the files in it already.
inline constexpr const char* kBackUpReplace = "%1 already holds %2. Replace them with the open windows?";
// %1: the files written; %2: the folder.
inline constexpr const char* kBackUpDone = "Backed up %1 to %2";
// %1: the folder; %2: the files written; %3: the kinds with no window open.
inline constexpr const char* kBackUpPartial =
    "Backed up %2 to %1. No window of %3 was open, so the backup has no file of it. Open or get it, then "
    "back up again.";
inline constexpr const char* kItemUserGuide = "&User Guide";
inline constexpr const char* kPromptUserGuide = "Open the user guide\nUser Guide";
// %1: where the guide should be.
inline constexpr const char* kUserGuideMissing =
    "The user guide was not found at %1. Reinstall Vantorel, or read docs/USER_GUIDE.md in its sources.";
inline constexpr const char* kUserGuideNoViewer =
    "The user guide %1 could not be opened: no program to show it is set up. Open the file with a text "
    "editor or a web browser.";

// The command line, answered on the terminal before any window opens.
// %s: the registered kinds' extensions (".pat, .pfm, ...").
inline constexpr const char* kCommandLineHelp =
    "Usage: vantorel [FILE...]\n"
    "A librarian for the KQ-3300 synthesizer. Opens the library files named\n"
    "(%s) and imports SysEx files (.syx).\n"
    "\n"
    "  --help      show this text and exit\n"
    "  --version   show the version and exit\n"
    "  --          the names after it are files, whatever they begin with\n"
    "\n"
    "At a terminal without a display, vantorel-cli fetches, sends and converts (vantorel-cli --help).\n";
inline constexpr const char* kNoDisplay =
    "Vantorel needs a display to show its windows and found none (DISPLAY and WAYLAND_DISPLAY are "
    "not set). Start it from a desktop session, or use vantorel-cli at a terminal.";

// Reading and writing files and the settings file.
inline constexpr const char* kSaveDiskFull =
    "%1 could not be saved because the disk is full. The file on disk was left as it was. "
    "Free some space, or save under another name on another disk.";
inline constexpr const char* kSaveWriteFault =
    "An error occurred while writing %1. The file on disk was left as it was. "
    "Try again, or save under another name on another disk.";
inline constexpr const char* kSaveAccessDenied =
    "Access to %1 was denied. Save under another name in a folder you can write to.";
inline constexpr const char* kSaveNameTooLong =
    "%1 could not be saved: its name is too long for the disk. Save under a shorter name.";
inline constexpr const char* kSaveNotRegularFile =
    "%1 is not a regular file, so it was not replaced. Save under another name.";
inline constexpr const char* kFileChangedOnDisk =
    "%1 has changed on disk since it was opened or last saved. Overwrite it with this window's "
    "contents? Cancel leaves the file as it is; use Save As to keep both.";
inline constexpr const char* kOpenNotRegularFile =
    "%1 is not a regular file and cannot be opened. Choose a library file.";
inline constexpr const char* kProfileUnusable =
    "The settings file %1 cannot be read, or is not a regular file. Vantorel uses its default "
    "settings and will not save them. Remove or repair %1 to keep your settings again.";

// SysEx files and dumps: File > Import SysEx and Export SysEx, Setup > Receive Dump.
inline constexpr const char* kItemImportSysEx = "&Import SysEx...";
inline constexpr const char* kItemExportSysEx = "&Export SysEx...";
inline constexpr const char* kItemReceiveDump = "&Receive Dump...";
inline constexpr const char* kPromptImportSysEx =
    "Open the entries of a SysEx file in windows of their kinds\nImport SysEx";
inline constexpr const char* kPromptExportSysEx =
    "Write the document, or its selected entry, as a SysEx file\nExport SysEx";
inline constexpr const char* kPromptReceiveDump =
    "Take a dump started on the KQ-3300's panel into windows\nReceive Dump";
inline constexpr const char* kImportSysExCaption = "Import SysEx";
inline constexpr const char* kExportSysExCaption = "Export SysEx";
inline constexpr const char* kSysExFilter = "SysEx Files (*.syx)";
// %1: the entry ("Patch A13"). Yes: that entry only; No: the whole document.
inline constexpr const char* kExportSelectedOnly =
    "Selected entry only?\n\nYes writes %1 alone. No writes the whole document.";
// %1: the entry a Send would refuse.
inline constexpr const char* kExportNotWritable =
    "%1 holds bytes the KQ-3300 cannot receive, so nothing was exported. Correct or "
    "initialise that entry, then export again.";
// %1: the entry; %2: its size; %3: the memory the synthesizer has for it.
inline constexpr const char* kExportTooLarge =
    "%1 holds %2 bytes, more than the %3 bytes the KQ-3300 keeps for it, so nothing was exported. "
    "Initialise or replace that entry, then export again.";
// %1: the file.
inline constexpr const char* kSysExTooLarge =
    "%1 is larger than 16 MB, too large for a SysEx file of the KQ-3300. Choose another file.";
// %1: where the data came from; %2: how many; %3: their kind ("patches"); %4: the window.
inline constexpr const char* kIntoActiveWindow =
    "%1 holds %2 %3.\n\nYes puts them into the active window, %4. No opens them in a new window.";
// One entry, and an entry selected in the active window. %1: where the data came from; %2: 1;
// %3: its kind ("patch"); %4: its label there; %5: the selected entry; %6: the window.
inline constexpr const char* kIntoSelectedEntry =
    "%1 holds %2 %3 (%4).\n\nYes puts it into the selected entry of the active window, %5 of %6. No opens "
    "it in a new window.";
// %1: the file; %2: the device IDs it was made for ("0x11").
inline constexpr const char* kSysExOtherDevice =
    "%1 holds data for device ID %2, not for device ID 0x10, which Vantorel uses for the KQ-3300.\n\nYes "
    "takes the data as this synthesizer's. No leaves it out.";
inline constexpr const char* kSysExImportedFrom = "Imported from %1:";
// The undo steps of an import and of a received dump ("Undo Import SysEx").
inline constexpr const char* kEditImportSysEx = "Import SysEx";
inline constexpr const char* kEditReceiveDump = "Receive Dump";
inline constexpr const char* kSysExReceivedFrom = "Received from %1:";
inline constexpr const char* kSysExNothingInFile =
    "%1 holds no data of the KQ-3300, so nothing was opened. Choose a SysEx file exported by "
    "Vantorel or dumped from the KQ-3300.";
// %1: the MIDI IN device; %2: its number.
inline constexpr const char* kSysExNothingReceived =
    "Nothing for the KQ-3300 arrived from %1 (MIDI IN device %2), so nothing was opened. Check the "
    "cable and MIDI Setup, start the dump on the synthesizer, then try again.";

// The Receive Dump window. %1: the MIDI IN device; %2: its number.
inline constexpr const char* kReceiveCaption = "Receive Dump";
inline constexpr const char* kReceiveWaiting = "Listening to %1 (MIDI IN device %2).\nStart the dump on the "
                                               "KQ-3300 now,\nand press Stop when it has ended.";
inline constexpr const char* kReceiveStop = "Stop";
// %1: how many; %2: the kind's plural noun.
inline constexpr const char* kReceiveCount = "%1 %2";
inline constexpr const char* kReceiveSkipped = "Skipped: %1";
// %1: the last entry that arrived ("Patch A13" or "A13: Warm Pad").
inline constexpr const char* kReceiveLast = "Last: %1";
// The MIDI IN device went away while listening. %1: the device; %2: its
// number; %3: the MIDI system's sentence; %4: what became of the dump.
inline constexpr const char* kReceiveLost =
    "%1 (MIDI IN device %2) is gone: %3 %4 Check that it is connected (with JACK, that the JACK server "
    "runs), then choose Setup > Receive Dump again.";
inline constexpr const char* kReceiveLostKept = "What arrived before is kept: press Stop to place it.";
inline constexpr const char* kReceiveLostPlaced = "What arrived before is placed now.";
inline constexpr const char* kReceiveLostNothing = "Nothing for the KQ-3300 had arrived.";
// The window's first line once the device has gone.
inline constexpr const char* kReceiveLostLine =
    "%1 (MIDI IN device %2) is gone.\nPress Stop to place what arrived.";

} // namespace vantorel::res
