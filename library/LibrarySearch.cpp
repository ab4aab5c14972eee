#include "library/LibrarySearch.h"

#include "library/SoundHash.h"
#include "transfer/kinds/DocumentKinds.h"
#include "transfer/plans/DocKind.h"

namespace vantorel {

namespace {

// The trigram index finds text of three characters or more.
constexpr size_t kTrigram = 3;

size_t CharacterCount(const std::string& text)
{
    size_t n = 0;
    for (unsigned char c : text)
        n += (c & 0xc0) != 0x80;
    return n;
}

// Names found by trigrams beyond which they are not sorted but met in order.
constexpr int kManyNames = 4000;

// Conditions on entries rather than names.
bool FiltersEntries(const CLibraryQuery& q)
{
    return q.pKind || !q.strTag.empty() || q.bStarredOnly;
}

// The text as one FTS5 string: any part of a name, quotes doubled.
std::string MatchText(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + "\"";
}

std::string LikeText(const std::string& text)
{
    std::string out = "%";
    for (char c : text) {
        if (c == '%' || c == '_' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "%";
}

} // namespace

const char* const kEntryColumns =
    "e.id, e.kind, e.label, n.name, f.path, e.entry, e.part, f.mtime, e.sound, e.bytes, "
    "EXISTS (SELECT 1 FROM stars s WHERE s.sound = e.sound)";
const char* const kEntryJoins =
    " FROM names n JOIN entries e ON e.name = n.id JOIN files f ON f.id = e.file ";

CLibraryEntry ReadEntryRow(const CStatement& row)
{
    CLibraryEntry e;
    e.nId = row.Int(0);
    e.pKind = DocumentKinds().FromWord(row.Text(1));
    e.strLabel = row.Text(2);
    e.strName = row.Text(3);
    e.strFile = row.Text(4);
    e.nEntry = int(row.Int(5));
    e.nPart = int(row.Int(6));
    e.nModified = row.Int(7) / 1000000000;
    e.strSound = HashText(uint64_t(row.Int(8)));
    e.strBytes = HashText(uint64_t(row.Int(9)));
    e.bStarred = row.Int(10) != 0;
    return e;
}

bool UsesTrigrams(sqlite3* pDb, const CLibraryQuery& q)
{
    if (CharacterCount(q.strText) < kTrigram)
        return false;
    if (FiltersEntries(q))
        return true;
    CStatement st(pDb,
                  "SELECT count(*) FROM (SELECT rowid FROM name_text WHERE name_text MATCH ?1 LIMIT ?2)");
    st.Bind(1, MatchText(q.strText)).Bind(2, int64_t(kManyNames));
    return st.Step() != SQLITE_ROW || st.Int(0) < kManyNames;
}

std::string SearchSql(const CLibraryQuery& q, bool bCount, bool bTrigrams)
{
    std::string text;
    if (!q.strText.empty())
        text = bTrigrams ? " AND n.id IN (SELECT rowid FROM name_text WHERE name_text MATCH ?1)"
                         : " AND n.name LIKE ?1 ESCAPE '\\'";
    std::string sql = "SELECT ";
    sql += bCount ? "count(*)" : kEntryColumns;
    if (!bCount && !FiltersEntries(q)) {
        // Every name has an entry, so the first page's entries are among the
        // first names of the page's end: names in order (from their index)
        // first, only then their entries.
        return sql + " FROM (SELECT n.id, n.name FROM names n WHERE 1" + text +
               " ORDER BY n.name COLLATE NOCASE, n.id LIMIT ?6) AS n"
               " JOIN entries e ON e.name = n.id JOIN files f ON f.id = e.file"
               " ORDER BY n.name COLLATE NOCASE, n.id, e.id LIMIT ?4 OFFSET ?5";
    }
    sql += kEntryJoins;
    sql += "WHERE 1" + text;
    if (q.pKind)
        sql += " AND e.kind = ?2";
    if (!q.strTag.empty())
        sql += " AND e.sound IN (SELECT sound FROM tags WHERE tag = ?3)";
    if (q.bStarredOnly)
        sql += " AND e.sound IN (SELECT sound FROM stars)";
    if (!bCount)
        sql += " ORDER BY n.name COLLATE NOCASE, n.id, e.id LIMIT ?4 OFFSET ?5";
    return sql;
}

void BindSearch(CStatement& st, const CLibraryQuery& q, bool bCount, bool bTrigrams)
{
    if (!q.strText.empty())
        st.Bind(1, bTrigrams ? MatchText(q.strText) : LikeText(q.strText));
    if (q.pKind)
        st.Bind(2, std::string_view(q.pKind->Word()));
    if (!q.strTag.empty())
        st.Bind(3, q.strTag);
    if (!bCount)
        st.Bind(4, int64_t(q.nLimit)).Bind(5, int64_t(q.nOffset));
    if (!bCount && !FiltersEntries(q))
        st.Bind(6, int64_t(q.nOffset) + q.nLimit);
}

} // namespace vantorel
