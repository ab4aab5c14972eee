#include "library/LibraryIndex.h"

#include <cstdlib>

#include "library/LibraryDb.h"

namespace vantorel {

CLibraryIndex::CLibraryIndex(std::unique_ptr<CLibraryDb> db) : m_pDb(std::move(db)) {}
CLibraryIndex::~CLibraryIndex() = default;

std::unique_ptr<CLibraryIndex> CLibraryIndex::Open(const std::string& path, std::string& error)
{
    auto db = CLibraryDb::Open(path, error);
    if (!db)
        return nullptr;
    return std::unique_ptr<CLibraryIndex>(new CLibraryIndex(std::move(db)));
}

std::string CLibraryIndex::DefaultPath()
{
    const char* szData = std::getenv("XDG_DATA_HOME");
    std::string base;
    if (szData && *szData)
        base = szData;
    else if (const char* szHome = std::getenv("HOME"))
        base = std::string(szHome) + "/.local/share";
    return base + "/vantorel/library.db";
}

const std::string& CLibraryIndex::Path() const { return m_pDb->Path(); }
const std::string& CLibraryIndex::Notice() const { return m_pDb->Notice(); }
std::vector<std::string> CLibraryIndex::Folders() const { return {}; }
bool CLibraryIndex::AddFolder(const std::string&, std::string&) { return false; }
bool CLibraryIndex::RemoveFolder(const std::string&) { return false; }
CScanSummary CLibraryIndex::Scan(const std::function<void(const CScanProgress&)>&, const std::function<bool()>&)
{
    return {};
}
void CLibraryIndex::Refresh(const std::string&) {}
std::vector<CLibraryEntry> CLibraryIndex::Search(const CLibraryQuery&) const { return {}; }
int CLibraryIndex::Count(const CLibraryQuery&) const { return 0; }
void CLibraryIndex::SetStarred(const std::string&, bool) {}
void CLibraryIndex::AddTag(const std::string&, const std::string&) {}
void CLibraryIndex::RemoveTag(const std::string&, const std::string&) {}
std::vector<std::string> CLibraryIndex::Tags(const std::string&) const { return {}; }
std::vector<std::string> CLibraryIndex::AllTags() const { return {}; }
std::vector<std::vector<CLibraryEntry>> CLibraryIndex::Duplicates() const { return {}; }
std::vector<CLibraryProblem> CLibraryIndex::Problems() const { return {}; }
std::optional<std::vector<uint8_t>> CLibraryIndex::EntryBytes(const CLibraryEntry&, std::string& error) const
{
    error = "Not built yet.";
    return std::nullopt;
}

} // namespace vantorel
