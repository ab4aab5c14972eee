#pragma once
// Library files on the command line: read with the kind found in the header
// (or the kind asked for), checked against their kind's bounds, and written
// atomically so that a failed write leaves an existing file as it was.
#include <memory>
#include <optional>
#include <string>

#include "cli/Kinds.h"
#include "framework/core/SafeFile.h"

namespace vantorel::cli {

struct CLoadedFile {
    EKind kind = EKind::Patch;
    std::unique_ptr<CDocument> pDoc;
};

// Loads path. With wanted set, a file of another kind is refused. On failure
// returns nothing and sets error to the one line to show.
std::optional<CLoadedFile> LoadLibraryFile(const std::string& path, std::optional<EKind> wanted,
                                           std::string& error);

// The one line for a file that cannot be read, or written.
std::string ReadFaultText(FileFault fault, const std::string& path);
std::string WriteFaultText(FileFault fault, const std::string& path);

// Creates the folder dir and the folders above it that are missing; the
// fault says why it could not (WriteFaultText names dir).
FileFault CreateFolder(const std::string& dir);

// Writes doc to path all or nothing; false with error set on failure.
bool SaveLibraryFile(const std::string& path, CDocument& doc, std::string& error);

} // namespace vantorel::cli
