#pragma once
// The library's SQLite database: opening it (WAL, busy time-out), its schema,
// and what a failure means to the user. Owns one connection.
#include <memory>
#include <string>

struct sqlite3;

namespace vantorel {

class CLibraryDb {
public:
    ~CLibraryDb();
    CLibraryDb(const CLibraryDb&) = delete;
    CLibraryDb& operator=(const CLibraryDb&) = delete;

    static std::unique_ptr<CLibraryDb> Open(const std::string& path, std::string& error);
    sqlite3* Handle() const { return m_pDb; }
    const std::string& Path() const { return m_strPath; }
    const std::string& Notice() const { return m_strNotice; }

private:
    CLibraryDb(sqlite3* pDb, std::string path) : m_pDb(pDb), m_strPath(std::move(path)) {}
    sqlite3* m_pDb = nullptr;
    std::string m_strPath;
    std::string m_strNotice;
};

} // namespace vantorel
