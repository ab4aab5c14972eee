#pragma once
// One prepared SQLite statement: bind, step, read columns, reset. Owns it.
#include <cstdint>
#include <string>
#include <string_view>

#include <sqlite3.h>

namespace vantorel {

class CStatement {
public:
    CStatement(sqlite3* pDb, std::string_view sql);
    ~CStatement() { sqlite3_finalize(m_pStmt); }
    CStatement(const CStatement&) = delete;
    CStatement& operator=(const CStatement&) = delete;

    bool IsValid() const { return m_pStmt != nullptr; }
    CStatement& Bind(int n, int64_t v);
    CStatement& Bind(int n, std::string_view v);
    CStatement& BindNull(int n);
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int Step() { return sqlite3_step(m_pStmt); }
    // Steps once, then resets; returns the step's result code.
    int Run();
    void Reset();

    int64_t Int(int n) const { return sqlite3_column_int64(m_pStmt, n); }
    std::string Text(int n) const;
    bool IsNull(int n) const { return sqlite3_column_type(m_pStmt, n) == SQLITE_NULL; }

private:
    sqlite3_stmt* m_pStmt = nullptr;
};

} // namespace vantorel
