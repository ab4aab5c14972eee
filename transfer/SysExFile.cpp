#include "transfer/SysExFile.h"

#include <vector>

#include "transfer/SysExReader.h"

namespace vantorel {

namespace {
constexpr size_t kReadChunk = 64 * 1024;
} // namespace

CSysExFileRead ReadSysExFile(const std::string& strPath, CSysExReader& reader)
{
    CSysExFileRead result;
    CFileReader file;
    if (result.fault = file.Open(strPath); result.fault != FileFault::None)
        return result;
    if (file.GetSize() > kMaxSysExFile) {
        result.bTooLarge = true;
        return result;
    }
    std::vector<uint8_t> chunk;
    uint64_t nRead = 0;
    // The size may change while the file is read: the bound holds anyway.
    while (nRead <= kMaxSysExFile) {
        chunk.clear();
        if (result.fault = file.Read(chunk, kReadChunk); result.fault != FileFault::None)
            return result;
        if (chunk.empty())
            break;
        reader.Feed(chunk.data(), chunk.size());
        nRead += chunk.size();
    }
    reader.Finish();
    return result;
}

} // namespace vantorel
