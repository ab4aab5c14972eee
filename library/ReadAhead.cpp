#include "library/ReadAhead.h"

namespace vantorel {

namespace {

// Files read but not yet written: enough to keep both threads busy.
constexpr size_t kAhead = 16;

} // namespace

CReadAhead::CReadAhead(std::vector<const CFoundFile*> files) : m_files(std::move(files))
{
    m_thread = std::thread([this] { Run(); });
}

CReadAhead::~CReadAhead()
{
    {
        std::lock_guard lock(m_mutex);
        m_bStop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void CReadAhead::Run()
{
    for (const CFoundFile* pFile : m_files) {
        CFileRead read;
        if (pFile->strProblem.empty()) {
            read.file = ReadLibraryFile(pFile->strPath);
            read.entries = ListEntries(read.file);
        }
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_bStop || m_ready.size() < kAhead; });
        if (m_bStop)
            return;
        m_ready.push_back(std::move(read));
        m_changed.notify_all();
    }
}

CFileRead CReadAhead::Next()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_ready.empty(); });
    CFileRead read = std::move(m_ready.front());
    m_ready.pop_front();
    m_changed.notify_all();
    return read;
}

} // namespace vantorel
