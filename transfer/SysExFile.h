#pragma once
// A .syx file read into a reader: only a regular file, in chunks, and never
// more than a SysEx file of this device can sensibly hold. The program's
// Import and the command line's convert both read files this way.
#include <cstdint>
#include <string>

#include "framework/core/SafeFile.h"

namespace vantorel {

class CSysExReader;

// Larger than every entry of every kind sent many times over: anything
// bigger is not a dump of this device.
inline constexpr uint64_t kMaxSysExFile = 16u << 20;

struct CSysExFileRead {
    FileFault fault = FileFault::None; // the file could not be opened or read
    bool bTooLarge = false;            // refused unread: larger than kMaxSysExFile
    bool IsOk() const { return fault == FileFault::None && !bTooLarge; }
};

// Feeds the whole file at path to reader and finishes it.
CSysExFileRead ReadSysExFile(const std::string& strPath, CSysExReader& reader);

} // namespace vantorel
