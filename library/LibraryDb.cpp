#include "library/LibraryDb.h"

#include <memory>
#include <sqlite3.h>

namespace vantorel {

CLibraryDb::~CLibraryDb() { sqlite3_close(m_pDb); }

std::unique_ptr<CLibraryDb> CLibraryDb::Open(const std::string& path, std::string& error)
{
    sqlite3* pDb = nullptr;
    if (sqlite3_open_v2(path.c_str(), &pDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        error = "The library index " + path + " could not be opened.";
        sqlite3_close(pDb);
        return nullptr;
    }
    return std::unique_ptr<CLibraryDb>(new CLibraryDb(pDb, path));
}

} // namespace vantorel
