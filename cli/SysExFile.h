#pragma once
// .syx files on the command line: the data sets a Send of a document would
// carry, back to back, and such a file read into a document of one kind.
#include <optional>
#include <string>
#include <string_view>

#include "cli/LibraryFile.h"

namespace vantorel {
struct CSysExExport;
struct CSysExHaul;
} // namespace vantorel

namespace vantorel::cli {

// How a SysEx file's name ends.
inline constexpr const char* kSysExExtension = ".syx";
// True for a name ending in .syx, in any case.
bool IsSysExPath(std::string_view path);

// Reads every data set the file at path holds into haul (with bAnyDevice,
// those for any device ID); false with error set when it cannot be read.
bool ReadSysExHaul(const std::string& path, bool bAnyDevice, CSysExHaul& haul, std::string& error);

// Reads the data sets of kind that the file at path holds into a new
// document of that kind (entries the file does not hold keep their
// defaults); haul is what the file held and what was skipped. With
// bAnyDevice, data sets for any device ID are taken as this synthesizer's.
// Nothing of the kind in it is an error, which names other device IDs found.
std::optional<CLoadedFile> LoadSysExFile(const std::string& path, const CDocKind& kind, bool bAnyDevice,
                                         CSysExHaul& haul, std::string& error);

// Why an export (or the dry run of a send) refused an entry, naming path:
// the line a send shows when bSend, otherwise the line of a file not written.
std::string RefusedEntryText(const CSysExExport& out, const std::string& path, bool bSend);

// Writes doc (or one entry of it) as a .syx file, all or nothing; refused
// when an entry holds bytes the synthesizer cannot take or is larger than its memory.
bool SaveSysExFile(const std::string& path, const CDocument& doc, std::optional<int> entry,
                   std::string& error);

// A library file or a .syx file, as the name of path says.
bool SaveOutputFile(const std::string& path, CDocument& doc, std::optional<int> entry, std::string& error);

} // namespace vantorel::cli
