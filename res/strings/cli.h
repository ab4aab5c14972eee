#pragma once
// Texts of vantorel-cli: its help, its progress lines and its messages. %s
// and %d are filled in as each comment says.
namespace vantorel::res {

// The help, put together at run time so that it names every registered kind:
// kCliUsageHead, the backup and restore lines, kCliUsageFiles, the convert
// paragraph, kCliUsageCompare, the KIND paragraph and kCliUsageOptions. The
// paragraphs are filled to lines of at most the width each gives, the later
// lines indented to kCliUsageIndent; a line break in them is kept.
inline constexpr const char* kCliUsageHead =
    "Usage: vantorel-cli COMMAND [ARGUMENTS] [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  ports                      list MIDI inputs and outputs: number, name, backend\n"
    "  get KIND [ENTRY] -o FILE   fetch a whole kind (or one entry) into a library file,\n"
    "                             or into a SysEx file when FILE ends in .syx\n"
    "  send FILE [ENTRY]          send a library file (or one entry of it)\n";
inline constexpr int kCliUsageIndent = 29;
inline constexpr int kCliUsageWidth = 86;
// How many kinds (a word, kCountWords), then the backup files (kCliUsageBackupFile each).
inline constexpr const char* kCliUsageBackup = "  backup DIR";
inline constexpr const char* kCliUsageBackupText = "fetch all %s kinds into %s";
inline constexpr const char* kCliUsageBackupFile = "DIR/%s";
inline constexpr int kCliUsageBackupWidth = 90;
inline constexpr const char* kCliUsageRestore =
    "  restore DIR                send those %s files (those present)\n";
inline constexpr const char* kCliUsageFiles =
    "  verify FILE                fetch and compare with FILE; list every entry that differs\n"
    "  info FILE                  the file's kind, and every entry's label and name\n";
// The extensions of the library files and of SysEx files.
inline constexpr const char* kCliUsageConvert = "  convert IN OUT";
inline constexpr const char* kCliUsageConvertText =
    "a library file into a SysEx file (.syx) or back; the names' endings say the formats (%s)";
inline constexpr const char* kCliUsageCompare =
    "  diff A B                   compare two library or SysEx files of one kind; one line\n"
    "                             per entry that differs (names: A's, then B's), moved\n"
    "                             entries as moved\n"
    "  library add DIR...         add folders to the library (scan them next)\n"
    "  library scan               index every library file and .syx file in the folders;\n"
    "                             only files changed since the last scan are read\n"
    "  library problems           the files the scan left out, and why\n"
    "  search TEXT                every entry whose name holds TEXT (any case; \"\" for all):\n"
    "                             label, name, kind and file; --kind KIND, --tag TAG and\n"
    "                             --starred narrow it\n"
    "  duplicates                 every sound held in more than one place, with its places\n"
    "\n";
// The kinds' words, then the entries of each kind (kCliUsageLabels each).
inline constexpr const char* kCliUsageKinds =
    "KIND is %s. ENTRY is a label as the windows show it: %s. A get of one entry into an existing\n"
    "file of its kind replaces that entry and keeps the others; a .syx FILE holds just\n"
    "what was fetched. A SysEx file holds the data sets a send would carry.";
// A kind's entries: its first and last label, or every label of a kind of a
// few entries (kCliUsageLabelsSpelledOut at most); then its word.
inline constexpr const char* kCliUsageLabels = "%s (%s)";
inline constexpr const char* kCliUsageLabelSpan = "%s..%s";
inline constexpr int kCliUsageLabelsSpelledOut = 4;
inline constexpr const char* kCliUsageOptions =
    "\n"
    "Options:\n"
    "  --midi-in PORT, --midi-out PORT\n"
    "                 a device number or a name as `ports` prints it; by default the\n"
    "                 devices chosen in the program's Setup > MIDI Setup. The built-in\n"
    "                 simulator (device 0) is used only when named here\n"
    "  --retries N    how often an unanswered request is asked again before the\n"
    "                 command gives up (1 to 100, default 5)\n"
    "  --keep-partial when a get or backup stops early, write what arrived to FILE.partial\n"
    "  --lenient      convert: exit 0 even when part of a SysEx file was skipped\n"
    "  --any-device   convert, diff: take a SysEx file's data for another device ID (as\n"
    "                 downloaded files often are) as this synthesizer's\n"
    "  --json         library, search, duplicates: one JSON object per line\n"
    "  --quiet        no progress on stderr\n"
    "  -h, --help     this text\n"
    "\n"
    "The library lives in $XDG_DATA_HOME/vantorel/library.db (~/.local/share when unset);\n"
    "it is only an index: no library file is ever changed by it.\n"
    "\n"
    "Exit codes: 0 done (diff: the files hold the same); 1 verify or diff found\n"
    "differences, or convert skipped part of a SysEx file (it says what), or search or\n"
    "duplicates found nothing; 2 usage error;\n"
    "3 MIDI error (port missing, no answer after the retries, server gone); 4 file error\n"
    "(unreadable, wrong kind, cannot write; the library's index cannot be used). Ctrl+C\n"
    "stops a transfer or a scan (and closes the ports) and exits 130.\n";

// Lists of the kinds' words, files or extensions: "a, b or c", "a, b and c",
// "a, b, c".
inline constexpr const char* kCliListComma = ", ";
inline constexpr const char* kCliListOr = " or ";
inline constexpr const char* kCliListAnd = " and ";

// Every message line starts with this.
inline constexpr const char* kCliPrefix = "vantorel-cli: ";

// Usage errors; each is followed by kCliSeeHelp.
inline constexpr const char* kCliSeeHelp = " Run vantorel-cli --help for the commands.";
inline constexpr const char* kCliNoCommand = "No command given.";
inline constexpr const char* kCliUnknownCommand = "Unknown command '%s'.";      // the word
inline constexpr const char* kCliUnknownOption = "Unknown option '%s'.";        // the option
inline constexpr const char* kCliOptionNeedsValue = "Option %s needs a value."; // the option
inline constexpr const char* kCliMissingArgument = "The %s command needs %s.";  // command, what
inline constexpr const char* kCliTooManyArguments =
    "Too many arguments for %s: '%s'.";                                      // command, first extra
inline constexpr const char* kCliUnknownKind = "Unknown kind '%s': use %s."; // the word, the kinds' words
inline constexpr const char* kCliUnknownEntry = "There is no %s entry '%s': use %s."; // kind, word, range
inline constexpr const char* kCliBadRetries = "--retries takes a whole number from 1 to 100, not '%s'.";
inline constexpr const char* kCliOutputMissing =
    "The get command needs -o FILE: where to write what arrives.";
inline constexpr const char* kCliOptionNotHere = "Option %s does not apply to %s."; // option, command
inline constexpr const char* kCliWhatKindFile = "a KIND and -o FILE";
inline constexpr const char* kCliWhatFile = "a FILE";
inline constexpr const char* kCliWhatDir = "a DIR";
inline constexpr const char* kCliWhatInOut = "IN and OUT";
inline constexpr const char* kCliWhatTwoFiles = "two files, A and B";
inline constexpr const char* kCliWhatLibrary = "add DIR..., scan or problems";
inline constexpr const char* kCliWhatDirs = "one DIR or more";
inline constexpr const char* kCliWhatText = "the TEXT to find (\"\" for everything)";
inline constexpr const char* kCliUnknownLibraryAction =
    "Unknown library command '%s': use library add DIR..., library scan or library problems.";
// convert
inline constexpr const char* kCliConvertUnknownFormat =
    "%s: name the new file %s, so that its format is known."; // OUT, the extensions
inline constexpr const char* kCliConvertBothSysEx =
    "convert turns a library file into a SysEx file or back, and both files are SysEx files.";
// The edit that places a file's data sets in a document (never shown).
inline constexpr const char* kCliConvertEdit = "convert";

// Ports: number, name, backend; the backends' names.
inline constexpr const char* kCliPortsInputs = "MIDI inputs:";
inline constexpr const char* kCliPortsOutputs = "MIDI outputs:";
inline constexpr const char* kCliPortLine = "%5s  %s  (%s)"; // number, name, backend
inline constexpr const char* kCliPortsNone = "  (none)";
inline constexpr const char* kCliBackendSim = "built-in simulator";
inline constexpr const char* kCliBackendAlsa = "ALSA";
inline constexpr const char* kCliBackendJack = "JACK";
// A PORT that names nothing listed: "input" or "output", the word.
inline constexpr const char* kCliNoSuchPort =
    "There is no MIDI %s '%s'. Run vantorel-cli ports for the list, then pass --midi-%s with a number or a "
    "name from it.";
// No PORT given, and MIDI Setup chose nothing the command line may use: "input",
// "output" or "input and output", then the option or options to pass.
inline constexpr const char* kCliNoPortChosen =
    "No MIDI %s chosen for the command line. Run vantorel-cli ports for the list, then pass %s with a "
    "number or a name from it, or choose your synthesizer in the program's Setup > MIDI Setup. The "
    "built-in simulator is used only when asked for by its number or name.";
inline constexpr const char* kCliPortWordInOut = "input and output";
inline constexpr const char* kCliPortOptionsIn = "--midi-in";
inline constexpr const char* kCliPortOptionsOut = "--midi-out";
inline constexpr const char* kCliPortOptionsInOut = "--midi-in and --midi-out";
// The device chosen in MIDI Setup is not listed: "input" or "output", the
// device, "in" or "out".
inline constexpr const char* kCliChosenNotAvailable =
    "The MIDI %s chosen in Setup > MIDI Setup, %s, is not available; nothing was sent. Check that it is "
    "connected, or pass --midi-%s with a number or a name from vantorel-cli ports.";
// A device as the progress and the messages name it: name, number.
inline constexpr const char* kCliDevice = "%s (device %s)";
inline constexpr const char* kCliPortWordIn = "input";
inline constexpr const char* kCliPortWordOut = "output";
inline constexpr const char* kCliPortOptionIn = "in";
inline constexpr const char* kCliPortOptionOut = "out";

// info: the kind, then one line per entry (label, name).
inline constexpr const char* kCliInfoKind = "%s: %s, %s entries"; // file, kind, entries
inline constexpr const char* kCliInfoEntry = "%-6s %s";
inline constexpr const char* kCliInfoVarName = "%s, %d bytes"; // row label, data size

// The library: a folder added, a scan's progress and summary, a file left out,
// a search's line (label, name, kind, file) and a duplicated sound.
inline constexpr const char* kCliLibraryAdded =
    "Added %s to the library. Run vantorel-cli library scan to index it.";
inline constexpr const char* kCliLibraryNoFolders =
    "The library has no folders yet. Add one with vantorel-cli library add DIR, then run vantorel-cli "
    "library scan.";
inline constexpr const char* kCliLibraryIndexing = "Indexing %s of %s files";
// files, read, unchanged, removed, left out
inline constexpr const char* kCliLibraryScanned = "Scanned %s files: %s read, %s unchanged, %s removed; %s "
                                                  "left out (vantorel-cli library problems lists them).";
inline constexpr const char* kCliLibraryStopped =
    "The scan stopped; what it read is in the library. Run vantorel-cli library scan again to finish it.";
inline constexpr const char* kCliLibraryProblem = "%s: %s";              // file, reason
inline constexpr const char* kCliSearchLine = "%-12s %-16s %-11s %s";    // label, name, kind, file
inline constexpr const char* kCliDuplicateGroup = "%s (%s), %s places:"; // name, kind, how many
inline constexpr const char* kCliDuplicatePlace = "  %-12s %-16s %s";    // label, name, file

// Files: the path, then what to do.
inline constexpr const char* kCliFileNotFound = "%s does not exist. Check the name and the folder.";
inline constexpr const char* kCliFileNotRegular = "%s is not a regular file. Name a library file.";
inline constexpr const char* kCliFileNoAccess =
    "%s cannot be read: permission denied. Check its permissions.";
inline constexpr const char* kCliFileReadFault = "%s could not be read. Check the disk, then try again.";
inline constexpr const char* kCliFileNotLibrary =
    "%s is not a library file (%s) or is damaged. Name another file."; // path, the extensions
inline constexpr const char* kCliFileTooLarge =
    "%s is too large for a %s file; it is damaged. Name another file.";
inline constexpr const char* kCliFileShort = "%s ends too early; it is damaged. Name another file.";
inline constexpr const char* kCliFileWrongKind =
    "%s holds %s data, not %s data. Name a %s file."; // path, is, wanted, ext
inline constexpr const char* kCliWriteNoFolder =
    "%s cannot be written: its folder does not exist. Create it, then try again.";
inline constexpr const char* kCliWriteReadOnly =
    "%s cannot be written: the file system is read-only. Choose a folder on a disk you may write to.";
inline constexpr const char* kCliNameTooLong =
    "%s: the name is too long for its file system. Choose a shorter name.";
inline constexpr const char* kCliWriteDenied =
    "%s cannot be written: permission denied. Choose a folder you may write to.";
inline constexpr const char* kCliWriteDiskFull =
    "%s cannot be written: the disk is full. Free some space, then try again.";
inline constexpr const char* kCliWriteNotRegular =
    "%s cannot be written: it is not a regular file. Name another file.";
inline constexpr const char* kCliWriteFault = "%s could not be written. Check the disk, then try again.";
inline constexpr const char* kCliNotFolder = "%s is not a folder. Name the backup folder.";
inline constexpr const char* kCliNoBackupFiles =
    "%s holds no backup files (%s). Name the backup folder."; // folder, the backup files
inline constexpr const char* kCliPartialWritten = "What arrived was written to %s.";
inline constexpr const char* kCliWritten = "Wrote %s.";

// Transfers.
// Progress, one line per entry: got/sent, kind, label. On a terminal one
// line that updates: getting/sending, kind, entries done, entries in all,
// then the time left (res/strings/transfer.h).
inline constexpr const char* kCliProgressEntry = "%s %s %s";
inline constexpr const char* kCliGot = "got";
inline constexpr const char* kCliSent = "sent";
inline constexpr const char* kCliProgressLine = "%s %s: %d of %d";
inline constexpr const char* kCliGetting = "Getting";
inline constexpr const char* kCliSending = "Sending";
// The first line of a transfer and its closing summary name the devices.
inline constexpr const char* kCliGetBegins = "Getting %s: MIDI in %s, MIDI out %s"; // kind, devices
inline constexpr const char* kCliSendBegins = "Sending %s: MIDI out %s";            // kind, device
inline constexpr const char* kCliGetDone = "Got %s %s from %s."; // count, noun, input device
inline constexpr const char* kCliSendDone = "Sent %s %s to %s."; // count, noun, output device
inline constexpr const char* kCliNoAnswer =
    "%s %s: no answer from %s after %s repeats (sent to %s). Check the MIDI cables in both directions, the "
    "ports (vantorel-cli ports) and that the KQ-3300 receives exclusive messages, then try again.";
// kind, label, input name, repeats, output name
inline constexpr const char* kCliInterrupted =
    "Stopped by the user; %s was left as it was."; // file or folder
inline constexpr const char* kCliInterruptedSend =
    "Stopped by the user; the KQ-3300 may hold part of the data.";
inline constexpr const char* kCliNotExportable =
    "%s was not written: %s holds bytes the KQ-3300 cannot receive. Fix the entry in the program, "
    "then try again."; // path, entry
inline constexpr const char* kCliSysExTooLarge =
    "%s is larger than 16 MB, too large for a SysEx file of the KQ-3300. Name another file.";
inline constexpr const char* kCliSysExNoKind =
    "%s holds no %s data of the KQ-3300. Name a SysEx file that does, or another OUT."; // path, kind
inline constexpr const char* kCliSysExOtherDevice =
    "%s holds data for device ID %s, not for device ID 0x10, which Vantorel uses for the KQ-3300. Pass "
    "--any-device to take it as this synthesizer's."; // path, device IDs
// convert from a SysEx file: the summary's head (the file), then when something was skipped:
// the file, how many, (the other device IDs,) OUT.
inline constexpr const char* kCliConvertedFrom = "Converted from %s:";
inline constexpr const char* kCliConvertSkipped =
    "%s: %s skipped (see above); %s holds what was taken. Check the file, or pass --lenient to accept it "
    "as it is.";
inline constexpr const char* kCliConvertSkippedDevice =
    "%s: %s skipped (see above), data for device ID %s among them; %s holds what was taken. Pass "
    "--any-device to take that data as this synthesizer's, or --lenient to accept the file as it is.";
inline constexpr const char* kCliNotSendable = "%s: %s holds bytes the KQ-3300 cannot receive; nothing was "
                                               "sent. Fix the entry in the program, then send again.";
// An entry larger than the synthesizer's memory for it: path, entry, its size, the memory.
inline constexpr const char* kCliTooLargeToSend =
    "%s: %s holds %s bytes, more than the %s bytes the KQ-3300 keeps for it; nothing was sent. Initialise "
    "or replace the entry in the program, then send again.";
inline constexpr const char* kCliTooLargeToWrite =
    "%s was not written: %s holds %s bytes, more than the %s bytes the KQ-3300 keeps for it. Initialise or "
    "replace the entry in the program, then try again.";

// verify: one line per entry that differs, then the summary.
inline constexpr const char* kCliDiffers = "%s %s differs: file '%s', KQ-3300 '%s'";   // kind, label, names
inline constexpr const char* kCliVerifySame = "%s: all %s entries match the KQ-3300."; // file, count
inline constexpr const char* kCliVerifyDiffers =
    "%s: %s of %s entries differ from the KQ-3300."; // file, n, m

// diff A B: one line per entry that differs (kind, label, then as each says),
// then a line per kind compared.
inline constexpr const char* kCliDiffDiffers = "%s %s differs (%s): '%s' / '%s'"; // kCliDiffBytes, names
inline constexpr const char* kCliDiffByte = "1 byte";
inline constexpr const char* kCliDiffBytes = "%s bytes";
inline constexpr const char* kCliDiffNameOnly = "%s %s name only: '%s' / '%s'"; // names
inline constexpr const char* kCliDiffMoved = "%s %s moved to %s: '%s' / '%s'";  // where B holds it, names
inline constexpr const char* kCliDiffOnlyIn = "%s %s only in %s: '%s'";         // the file, name
inline constexpr const char* kCliDiffSame = "%s and %s hold the same %s %s entries.";    // A, B, count, kind
inline constexpr const char* kCliDiffSummary = "%s and %s: %s of %s %s entries differ."; // A, B, n, m, kind
// A .syx file with no data of the KQ-3300.
inline constexpr const char* kCliDiffNoData =
    "%s holds no data of the KQ-3300. Name a library or SysEx file that does.";
inline constexpr const char* kCliDiffNothing = "nothing";
inline constexpr const char* kCliDiffNoCommonKind =
    "%s holds %s data and %s holds %s data; diff compares files of one kind. Name two files of one kind.";

} // namespace vantorel::res
