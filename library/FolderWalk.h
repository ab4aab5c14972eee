#pragma once
// Finds the files the library reads under its folders: library files of any
// kind and .syx files, following links to folders but entering each real
// folder once (so a link loop ends), with each file's size and time as the
// scan compares them.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vantorel {

struct CFoundFile {
    std::string strPath;
    int64_t nSize = 0;
    int64_t nTime = 0;      // modification time, nanoseconds since the epoch
    std::string strProblem; // set when it is no file the library can read (a FIFO, say)
};

std::vector<CFoundFile> WalkFolders(const std::vector<std::string>& folders,
                                    const std::function<bool()>& stop);

// The size, time and problem of one file; false when it is gone.
bool StatLibraryFile(const std::string& path, CFoundFile& file);

} // namespace vantorel
