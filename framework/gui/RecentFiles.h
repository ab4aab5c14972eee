#pragma once
// The recent-file list: the last files opened or saved, most recent first,
// kept in the profile as they change.
#include <string>
#include <vector>

namespace vantorel {

class CRecentFiles {
public:
    // Reads the list from the profile.
    void Load();
    // Puts a path first (once) in the list as the profile now holds it, and
    // writes the list back.
    void Add(const std::string& strPath);
    const std::vector<std::string>& Get() const { return m_files; }

private:
    std::vector<std::string> m_files;
};

} // namespace vantorel
