#pragma once
// Library files on the command line: read with the kind found in the header
// (or the kind asked for), checked against their kind's bounds, and written
// atomically so that a failed write leaves an existing file as it was.
#include <memory>
#include <optional>
#include <string>

#include "framework/core/Document.h"
#include "framework/core/SafeFile.h"
#include "transfer/plans/DocKind.h"

namespace vantorel::cli {

struct CLoadedFile {
    const CDocKind* pKind = nullptr;
    std::unique_ptr<CDocument> pDoc;
};

// Loads path with the program's reader. With pWanted set, a file of another
// kind is refused. An empty file is a new document of the kind asked for, or
// of its extension's kind. On failure returns nothing and sets error to the
// one line to show.
std::optional<CLoadedFile> LoadLibraryFile(const std::string& path, const CDocKind* pWanted,
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
