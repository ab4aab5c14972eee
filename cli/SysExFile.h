#pragma once
// .syx files on the command line: the data sets a Send of a document would
// carry, back to back, and such a file read into a document of one kind.
#include <optional>
#include <string>
#include <string_view>

#include "cli/LibraryFile.h"

namespace vantorel::cli {

// True for a name ending in .syx, in any case.
bool IsSysExPath(std::string_view path);

// Reads the data sets of kind that the file at path holds into a new
// document of that kind (entries the file does not hold keep their
// defaults). Nothing of the kind in it is an error.
std::optional<CLoadedFile> LoadSysExFile(const std::string& path, const CDocKind& kind, std::string& error);

// Writes doc (or one entry of it) as a .syx file, all or nothing; refused
// when an entry holds bytes the synthesizer cannot take.
bool SaveSysExFile(const std::string& path, const CDocument& doc, std::optional<int> entry,
                   std::string& error);

// A library file or a .syx file, as the name of path says.
bool SaveOutputFile(const std::string& path, CDocument& doc, std::optional<int> entry, std::string& error);

} // namespace vantorel::cli
