#pragma once
// Reads the files a scan writes into the index on a thread of its own, a few
// files ahead, so that reading and writing share the two cores. Hands them
// over in order.
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "library/EntryReader.h"
#include "library/FolderWalk.h"

namespace vantorel {

struct CFileRead {
    CReadFile file;
    std::vector<CFoundEntry> entries;
};

class CReadAhead {
public:
    // Starts reading files (a file with a problem already known is not read).
    explicit CReadAhead(std::vector<const CFoundFile*> files);
    ~CReadAhead();
    CReadAhead(const CReadAhead&) = delete;
    CReadAhead& operator=(const CReadAhead&) = delete;

    // The next file's reading, waiting for it.
    CFileRead Next();

private:
    void Run();

    std::vector<const CFoundFile*> m_files;
    std::deque<CFileRead> m_ready;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_bStop = false;
    std::thread m_thread;
};

} // namespace vantorel
