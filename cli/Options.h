#pragma once
// The command line as words: which command, its arguments and the options.
// Parsing checks the words only (kinds, entry labels, numbers); files and
// ports are looked at when the command runs.
#include <optional>
#include <string>
#include <vector>

#include "transfer/plans/DocKind.h"

namespace vantorel::cli {

enum class ECommand {
    Help,
    Ports,
    Get,
    Send,
    Backup,
    Restore,
    Verify,
    Info,
    Convert,
    Library,
    Search,
    Duplicates,
    Diff
};

// What `library` does: add folders, scan them, list the files left out.
enum class ELibraryAction { Add, Scan, Problems };

struct COptions {
    ECommand command = ECommand::Help;
    const CDocKind* pKind = nullptr; // get
    std::string strEntry;            // get, send: the label as typed (checked for get)
    std::optional<int> entry;        // get: the entry it names
    std::string strPath;   // send, verify, info: FILE; backup, restore: DIR; get: -o FILE; convert: IN
    std::string strTarget; // convert: OUT; diff: B
    std::optional<std::string> midiIn;
    std::optional<std::string> midiOut;
    int nRetries = 5;
    bool bQuiet = false;
    bool bKeepPartial = false;
    bool bLenient = false;   // convert: parts of a SysEx file skipped are no failure
    bool bAnyDevice = false; // convert, diff: a SysEx file's data sets for any device ID are taken
    ELibraryAction libraryAction = ELibraryAction::Scan;
    std::vector<std::string> folders;      // library add: DIR...
    std::string strText;                   // search: TEXT
    const CDocKind* pSearchKind = nullptr; // search --kind
    std::string strTag;                    // search --tag
    bool bStarred = false;                 // search --starred
    bool bJson = false;                    // library, search, duplicates: one JSON object per line
};

// Fills options from the words after the program's name; false with error set
// to the one line to show (a usage error).
bool ParseOptions(const std::vector<std::string>& args, COptions& options, std::string& error);

// A message with the values put in, for the few texts with two or more %s.
std::string FormatText(const char* pattern, const std::string& a = {}, const std::string& b = {},
                       const std::string& c = {}, const std::string& d = {}, const std::string& e = {});

} // namespace vantorel::cli
