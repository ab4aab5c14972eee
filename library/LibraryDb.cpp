#include "library/LibraryDb.h"

#include <cstdlib>
#include <filesystem>
#include <sqlite3.h>
#include <system_error>

#include "res/strings/library.h"
#include "transfer/engine/TransferText.h"

namespace vantorel {

namespace {

constexpr int kBusyTimeoutMs = 10000;
constexpr int kSchemaVersion = 1;
// A connection is used by one thread at a time (the index serialises its
// own; a scan has its own), so SQLite need not lock each call.
constexpr int kOpenFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;

// Names are kept once each (entries point at their name) with a trigram
// index over them: a scan adds a batch's new names to it at once (much
// quicker than one by one); removed names leave it by trigger. Stars and tags belong to sounds
// (the hash of an entry's bytes without its name), not to files.
constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS folders(path TEXT PRIMARY KEY) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS files(
    id INTEGER PRIMARY KEY, path TEXT NOT NULL UNIQUE, size INTEGER NOT NULL, mtime INTEGER NOT NULL,
    kind TEXT, problem TEXT);
CREATE INDEX IF NOT EXISTS files_problem ON files(path) WHERE problem IS NOT NULL;
CREATE TABLE IF NOT EXISTS names(id INTEGER PRIMARY KEY, name TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS names_order ON names(name COLLATE NOCASE);
CREATE VIRTUAL TABLE IF NOT EXISTS name_text USING fts5(name, content='names', content_rowid='id',
    tokenize='trigram');
CREATE TRIGGER IF NOT EXISTS names_removed AFTER DELETE ON names BEGIN
    INSERT INTO name_text(name_text, rowid, name) VALUES ('delete', old.id, old.name); END;
CREATE TABLE IF NOT EXISTS entries(
    id INTEGER PRIMARY KEY, file INTEGER NOT NULL, kind TEXT NOT NULL, entry INTEGER NOT NULL,
    part INTEGER NOT NULL, label TEXT NOT NULL, name INTEGER NOT NULL, sound INTEGER NOT NULL, bytes INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS entries_name ON entries(name);
CREATE INDEX IF NOT EXISTS entries_sound ON entries(sound);
CREATE INDEX IF NOT EXISTS entries_file ON entries(file);
CREATE TABLE IF NOT EXISTS stars(sound INTEGER PRIMARY KEY);
CREATE TABLE IF NOT EXISTS tags(sound INTEGER NOT NULL, tag TEXT NOT NULL, PRIMARY KEY(sound, tag)) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS tags_tag ON tags(tag, sound);
PRAGMA user_version = 1;
)";

bool IsDamaged(int rc)
{
    rc &= 0xff;
    return rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT;
}

} // namespace

CLibraryDb::~CLibraryDb()
{
    sqlite3_close(m_pDb);
}

bool CLibraryDb::Exec(const char* sql, std::string& error)
{
    const int rc = sqlite3_exec(m_pDb, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        error = ErrorText(rc);
    return rc == SQLITE_OK;
}

std::string CLibraryDb::ErrorText(int rc) const
{
    const char* szPath = m_strPath.c_str();
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return FormatText(res::kLibDbLocked, szPath);
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN: return FormatText(res::kLibDbReadOnly, szPath);
    case SQLITE_FULL: return FormatText(res::kLibDbFull, szPath);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: return FormatText(res::kLibDbDamaged, szPath);
    default: return FormatText(res::kLibDbFault, szPath, sqlite3_errstr(rc));
    }
}

// Opens path and sets up the schema: SQLITE_OK, or the failing code with
// error set (db then null).
int CLibraryDb::OpenOnce(const std::string& path, std::unique_ptr<CLibraryDb>& db, std::string& error)
{
    sqlite3* pDb = nullptr;
    const int rcOpen = sqlite3_open_v2(path.c_str(), &pDb, kOpenFlags, nullptr);
    db.reset(new CLibraryDb(pDb, path));
    if (rcOpen != SQLITE_OK) {
        error = db->ErrorText(rcOpen);
        db.reset();
        return rcOpen;
    }
    sqlite3_busy_timeout(pDb, kBusyTimeoutMs);
    sqlite3_extended_result_codes(pDb, 0);
    int rc =
        sqlite3_exec(pDb, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr, nullptr);
    int nVersion = 0;
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(
            pDb, "PRAGMA user_version",
            [](void* p, int, char** values, char**) {
                *static_cast<int*>(p) = values[0] ? std::atoi(values[0]) : 0;
                return 0;
            },
            &nVersion, nullptr);
    // Said here, once, rather than at the first star. (Opening never writes
    // to an index that has its tables, so it does not wait for another
    // program's scan.)
    if (rc == SQLITE_OK && sqlite3_db_readonly(pDb, "main") == 1)
        rc = SQLITE_READONLY;
    if (rc == SQLITE_OK && nVersion != kSchemaVersion) {
        const std::string sql = std::string("BEGIN IMMEDIATE;") + kSchema + "COMMIT;";
        rc = sqlite3_exec(pDb, sql.c_str(), nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            sqlite3_exec(pDb, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        error = db->ErrorText(rc);
        db.reset();
    }
    return rc;
}

std::unique_ptr<CLibraryDb> CLibraryDb::Open(const std::string& path, std::string& error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path folder = fs::path(path).parent_path();
    if (!folder.empty() && !fs::is_directory(folder, ec)) {
        fs::create_directories(folder, ec);
        if (ec) {
            error = FormatText(res::kLibDbNoFolder, path.c_str());
            return nullptr;
        }
    }
    std::unique_ptr<CLibraryDb> db;
    const int rc = OpenOnce(path, db, error);
    if (!IsDamaged(rc))
        return db;
    // Only an index: set the damaged file aside (never delete what the user
    // may want to look at) and start again.
    const std::string aside = path + ".damaged";
    fs::rename(path, aside, ec);
    if (ec)
        return nullptr; // error already says it is damaged
    for (const char* szSuffix : {"-wal", "-shm"})
        fs::remove(path + szSuffix, ec);
    if (OpenOnce(path, db, error) != SQLITE_OK)
        return nullptr;
    db->m_strNotice = FormatText(res::kLibDbRebuilt, path.c_str(), aside.c_str());
    return db;
}

} // namespace vantorel
