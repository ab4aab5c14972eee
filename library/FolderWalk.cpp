#include "library/FolderWalk.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <system_error>

#include "library/EntryReader.h"
#include "res/strings/library.h"

namespace vantorel {

namespace {

std::string RealPath(const std::string& path)
{
    char buf[PATH_MAX];
    return ::realpath(path.c_str(), buf) ? std::string(buf) : std::string();
}

} // namespace

bool StatLibraryFile(const std::string& path, CFoundFile& file)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    file.strPath = path;
    file.nSize = int64_t(st.st_size);
    file.nTime = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    file.strProblem.clear();
    if (!S_ISREG(st.st_mode))
        file.strProblem = res::kLibSkipNotRegular;
    else if (uint64_t(st.st_size) > kMaxLibraryFile)
        file.strProblem = res::kLibSkipHuge;
    return true;
}

std::vector<CFoundFile> WalkFolders(const std::vector<std::string>& folders,
                                    const std::function<bool()>& stop)
{
    namespace fs = std::filesystem;
    std::vector<CFoundFile> found;
    std::set<std::string> seen; // real paths of the folders entered
    std::vector<std::string> pending(folders.rbegin(), folders.rend());
    while (!pending.empty() && !(stop && stop())) {
        const std::string dir = pending.back();
        pending.pop_back();
        const std::string real = RealPath(dir);
        if (real.empty() || !seen.insert(real).second)
            continue;
        std::error_code ec;
        fs::directory_iterator it(dir, ec);
        if (ec) {
            found.push_back(
                {dir, 0, 0,
                 ec == std::errc::permission_denied ? res::kLibSkipNoAccess : res::kLibSkipUnreadable});
            continue;
        }
        std::vector<std::string> subfolders;
        for (; it != fs::directory_iterator(); it.increment(ec)) {
            const fs::directory_entry& entry = *it;
            std::string path = entry.path().string();
            std::error_code ecType;
            if (entry.is_directory(ecType)) { // follows links; a loop ends at seen
                subfolders.push_back(std::move(path));
                continue;
            }
            CFoundFile file;
            if (IsLibraryCandidate(path) && StatLibraryFile(path, file))
                found.push_back(std::move(file));
        }
        // In name order, depth first.
        std::sort(subfolders.rbegin(), subfolders.rend());
        pending.insert(pending.end(), subfolders.begin(), subfolders.end());
    }
    return found;
}

} // namespace vantorel
