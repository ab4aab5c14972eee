#include "library/LibraryIndex.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sqlite3.h>
#include <system_error>

#include "library/EntryReader.h"
#include "library/LibraryDb.h"
#include "library/LibrarySearch.h"
#include "library/Scanner.h"
#include "library/SoundHash.h"
#include "library/Statement.h"
#include "res/strings/library.h"
#include "transfer/engine/TransferText.h"
#include "transfer/plans/DocKind.h"

namespace vantorel {

namespace {

// The texts of a one-column query.
std::vector<std::string> Texts(sqlite3* pDb, const char* sql, const std::string& arg = {})
{
    CStatement st(pDb, sql);
    if (!arg.empty())
        st.Bind(1, arg);
    std::vector<std::string> out;
    while (st.Step() == SQLITE_ROW)
        out.push_back(st.Text(0));
    return out;
}

// Runs one change with a sound's hash as ?1 and text as ?2.
// Runs sql for one sound; false with error set when the database refused it.
bool ChangeSound(const CLibraryDb& db, const char* sql, const std::string& strSound, std::string& error,
                 const std::string& text = {})
{
    const std::optional<uint64_t> sound = ParseHashText(strSound);
    if (!sound)
        return true; // no sound, nothing to keep
    CStatement st(db.Handle(), sql);
    st.Bind(1, int64_t(*sound));
    if (!text.empty())
        st.Bind(2, text);
    if (const int rc = st.Run(); rc != SQLITE_DONE && rc != SQLITE_ROW) {
        error = db.ErrorText(rc);
        return false;
    }
    return true;
}

} // namespace

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
    if (szData && *szData == '/')
        base = szData;
    else if (const char* szHome = std::getenv("HOME"))
        base = std::string(szHome) + "/.local/share";
    return base + "/vantorel/library.db";
}

const std::string& CLibraryIndex::Path() const
{
    return m_pDb->Path();
}
const std::string& CLibraryIndex::Notice() const
{
    return m_pDb->Notice();
}

std::vector<std::string> CLibraryIndex::Folders() const
{
    std::lock_guard lock(m_mutex);
    return Texts(m_pDb->Handle(), "SELECT path FROM folders ORDER BY path");
}

bool CLibraryIndex::AddFolder(const std::string& dir, std::string& error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path absolute = fs::absolute(dir, ec);
    if (ec || !fs::exists(absolute, ec)) {
        error = FormatText(res::kLibFolderMissing, dir.c_str());
        return false;
    }
    if (!fs::is_directory(absolute, ec)) {
        error = FormatText(res::kLibFolderNotFolder, dir.c_str());
        return false;
    }
    std::string path = absolute.lexically_normal().string();
    if (path.size() > 1 && path.back() == '/')
        path.pop_back();
    std::lock_guard lock(m_mutex);
    CStatement st(m_pDb->Handle(), "INSERT OR IGNORE INTO folders(path) VALUES (?1)");
    const int rc = st.Bind(1, path).Run();
    if (rc != SQLITE_DONE) {
        error = m_pDb->ErrorText(rc);
        return false;
    }
    return true;
}

bool CLibraryIndex::RemoveFolder(const std::string& dir)
{
    std::lock_guard lock(m_mutex);
    CStatement st(m_pDb->Handle(), "DELETE FROM folders WHERE path = ?1");
    if (st.Bind(1, dir).Run() != SQLITE_DONE || sqlite3_changes(m_pDb->Handle()) == 0)
        return false;
    // Its files leave the index unless another folder holds them.
    std::string error;
    m_pDb->Exec("BEGIN IMMEDIATE", error);
    CStatement files(m_pDb->Handle(),
                     "SELECT id FROM files f WHERE NOT EXISTS (SELECT 1 FROM folders d WHERE "
                     "substr(f.path, 1, length(d.path) + 1) = d.path || '/')");
    std::vector<int64_t> gone;
    while (files.Step() == SQLITE_ROW)
        gone.push_back(files.Int(0));
    CStatement entries(m_pDb->Handle(), "DELETE FROM entries WHERE file = ?1");
    CStatement file(m_pDb->Handle(), "DELETE FROM files WHERE id = ?1");
    for (int64_t nId : gone) {
        entries.Bind(1, nId).Run();
        file.Bind(1, nId).Run();
    }
    return m_pDb->Exec("COMMIT", error);
}

CScanSummary CLibraryIndex::Scan(const std::function<void(const CScanProgress&)>& progress,
                                 const std::function<bool()>& stop)
{
    std::lock_guard scanLock(m_scanMutex);
    // Its own connection: searches go on while it writes.
    std::string error;
    auto db = CLibraryDb::Open(Path(), error);
    if (!db) {
        CScanSummary summary;
        summary.strError = error;
        return summary;
    }
    // The indexes' pages stay in memory for the whole scan rather than going
    // back and forth to the disk; the log is copied back once, at the end.
    db->Exec("PRAGMA cache_size = -65536; PRAGMA temp_store = MEMORY; PRAGMA wal_autocheckpoint = 0", error);
    CScanner scanner(*db);
    CScanSummary summary = scanner.Scan(Folders(), progress, stop);
    db->Exec("PRAGMA wal_checkpoint(TRUNCATE)", error); // busy readers may keep it for later: no harm
    return summary;
}

void CLibraryIndex::Refresh(const std::string& file)
{
    std::lock_guard lock(m_mutex);
    CScanner scanner(*m_pDb);
    std::string error;
    scanner.Refresh(file, error);
}

std::vector<CLibraryEntry> CLibraryIndex::Search(const CLibraryQuery& q) const
{
    std::lock_guard lock(m_mutex);
    const bool bTrigrams = UsesTrigrams(m_pDb->Handle(), q);
    CStatement st(m_pDb->Handle(), SearchSql(q, false, bTrigrams));
    BindSearch(st, q, false, bTrigrams);
    std::vector<CLibraryEntry> out;
    while (st.Step() == SQLITE_ROW)
        out.push_back(ReadEntryRow(st));
    return out;
}

int CLibraryIndex::Count(const CLibraryQuery& q) const
{
    std::lock_guard lock(m_mutex);
    const bool bTrigrams = UsesTrigrams(m_pDb->Handle(), q);
    CStatement st(m_pDb->Handle(), SearchSql(q, true, bTrigrams));
    BindSearch(st, q, true, bTrigrams);
    return st.Step() == SQLITE_ROW ? int(st.Int(0)) : 0;
}

bool CLibraryIndex::SetStarred(const std::string& strSound, bool bStarred, std::string& error)
{
    std::lock_guard lock(m_mutex);
    return ChangeSound(*m_pDb,
                       bStarred ? "INSERT OR IGNORE INTO stars(sound) VALUES (?1)"
                                : "DELETE FROM stars WHERE sound = ?1",
                       strSound, error);
}

bool CLibraryIndex::AddTag(const std::string& strSound, const std::string& tag, std::string& error)
{
    if (tag.empty())
        return true;
    std::lock_guard lock(m_mutex);
    return ChangeSound(*m_pDb, "INSERT OR IGNORE INTO tags(sound, tag) VALUES (?1, ?2)", strSound, error,
                       tag);
}

bool CLibraryIndex::RemoveTag(const std::string& strSound, const std::string& tag, std::string& error)
{
    std::lock_guard lock(m_mutex);
    return ChangeSound(*m_pDb, "DELETE FROM tags WHERE sound = ?1 AND tag = ?2", strSound, error, tag);
}

std::vector<std::string> CLibraryIndex::Tags(const std::string& strSound) const
{
    const std::optional<uint64_t> sound = ParseHashText(strSound);
    if (!sound)
        return {};
    std::lock_guard lock(m_mutex);
    CStatement st(m_pDb->Handle(), "SELECT tag FROM tags WHERE sound = ?1 ORDER BY tag");
    st.Bind(1, int64_t(*sound));
    std::vector<std::string> out;
    while (st.Step() == SQLITE_ROW)
        out.push_back(st.Text(0));
    return out;
}

std::vector<std::string> CLibraryIndex::AllTags() const
{
    std::lock_guard lock(m_mutex);
    return Texts(m_pDb->Handle(), "SELECT DISTINCT tag FROM tags ORDER BY tag");
}

std::vector<std::vector<CLibraryEntry>> CLibraryIndex::Duplicates() const
{
    std::lock_guard lock(m_mutex);
    const std::string sql = std::string("SELECT ") + kEntryColumns + kEntryJoins +
                            "WHERE e.sound IN (SELECT sound FROM entries GROUP BY sound HAVING count(*) > 1) "
                            "ORDER BY e.sound, f.path, e.entry, e.part";
    CStatement st(m_pDb->Handle(), sql);
    std::vector<std::vector<CLibraryEntry>> groups;
    while (st.Step() == SQLITE_ROW) {
        CLibraryEntry e = ReadEntryRow(st);
        if (groups.empty() || groups.back().front().strSound != e.strSound)
            groups.emplace_back();
        groups.back().push_back(std::move(e));
    }
    // By the name the sound has first, then by how it sounds.
    std::stable_sort(groups.begin(), groups.end(),
                     [](const auto& a, const auto& b) { return a.front().strName < b.front().strName; });
    return groups;
}

std::vector<CLibraryProblem> CLibraryIndex::Problems() const
{
    std::lock_guard lock(m_mutex);
    CStatement st(m_pDb->Handle(), "SELECT path, problem FROM files WHERE problem IS NOT NULL ORDER BY path");
    std::vector<CLibraryProblem> out;
    while (st.Step() == SQLITE_ROW)
        out.push_back({st.Text(0), st.Text(1)});
    return out;
}

std::optional<std::vector<uint8_t>> CLibraryIndex::EntryBytes(const CLibraryEntry& e,
                                                              std::string& error) const
{
    const std::string gone = FormatText(res::kLibEntryGone, e.strLabel.c_str(), e.strFile.c_str());
    const CReadFile file = ReadLibraryFile(e.strFile);
    std::optional<std::vector<uint8_t>> bytes;
    if (e.pKind && file.strProblem.empty())
        bytes = FindEntryBytes(file, *e.pKind, e.nEntry, e.nPart);
    if (!bytes || HashText(HashEntry(*e.pKind, bytes->data(), bytes->size()).nSound) != e.strSound) {
        error = gone;
        return std::nullopt;
    }
    return bytes;
}

} // namespace vantorel
