#include "library/Statement.h"

namespace vantorel {

CStatement::CStatement(sqlite3* pDb, std::string_view sql)
{
    sqlite3_prepare_v3(pDb, sql.data(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &m_pStmt, nullptr);
}

CStatement& CStatement::Bind(int n, int64_t v)
{
    sqlite3_bind_int64(m_pStmt, n, v);
    return *this;
}

CStatement& CStatement::Bind(int n, std::string_view v)
{
    sqlite3_bind_text(m_pStmt, n, v.data(), int(v.size()), SQLITE_TRANSIENT);
    return *this;
}

CStatement& CStatement::BindNull(int n)
{
    sqlite3_bind_null(m_pStmt, n);
    return *this;
}

int CStatement::Run()
{
    const int rc = Step();
    Reset();
    return rc;
}

void CStatement::Reset()
{
    sqlite3_reset(m_pStmt);
    sqlite3_clear_bindings(m_pStmt);
}

std::string CStatement::Text(int n) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_pStmt, n));
    return p ? std::string(p, size_t(sqlite3_column_bytes(m_pStmt, n))) : std::string();
}

} // namespace vantorel
