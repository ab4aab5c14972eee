#include "framework/gui/RecentFiles.h"

#include <algorithm>

#include "framework/core/Settings.h"

namespace vantorel {

void CRecentFiles::Load()
{
    m_files = CSettings::ReadRecentFiles();
}

void CRecentFiles::Add(const std::string& strPath)
{
    if (strPath.empty())
        return;
    // Another instance may have added files since: the list on disk is the one to add to.
    m_files = CSettings::ReadRecentFiles();
    std::erase(m_files, strPath);
    m_files.insert(m_files.begin(), strPath);
    if (m_files.size() > size_t(CSettings::kRecentFileCount))
        m_files.resize(size_t(CSettings::kRecentFileCount));
    CSettings::WriteRecentFiles(m_files);
}

} // namespace vantorel
