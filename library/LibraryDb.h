#pragma once
// The library's SQLite database: opening it (WAL and a busy time-out, so
// that two running programs share it), its schema, and what a failure of it
// means to the user. Owns one connection.
#include <memory>
#include <string>

struct sqlite3;

namespace vantorel {

class CLibraryDb {
public:
    ~CLibraryDb();
    CLibraryDb(const CLibraryDb&) = delete;
    CLibraryDb& operator=(const CLibraryDb&) = delete;

    // Opens (creating) the database at path with its schema. A damaged file
    // is set aside and a new one started (Notice() then says so). On failure
    // returns null with error set to the sentence to show.
    static std::unique_ptr<CLibraryDb> Open(const std::string& path, std::string& error);

    sqlite3* Handle() const { return m_pDb; }
    const std::string& Path() const { return m_strPath; }
    const std::string& Notice() const { return m_strNotice; }

    // Runs sql (statements without results); false with error set when it failed.
    bool Exec(const char* sql, std::string& error);
    // The sentence for a failed call that returned rc, naming the database.
    std::string ErrorText(int rc) const;

private:
    CLibraryDb(sqlite3* pDb, std::string path) : m_pDb(pDb), m_strPath(std::move(path)) {}
    static int OpenOnce(const std::string& path, std::unique_ptr<CLibraryDb>& db, std::string& error);

    sqlite3* m_pDb = nullptr;
    std::string m_strPath;
    std::string m_strNotice;
};

} // namespace vantorel
