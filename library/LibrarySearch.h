#pragma once
// The index's queries as SQL: a search (names by trigram for three
// characters or more, by LIKE for fewer; ordered by name), its count, and the
// rows of an entry as CLibraryEntry.
#include <string>

#include "library/LibraryIndex.h"
#include "library/Statement.h"

namespace vantorel {

// The columns every entry query selects, for ReadEntryRow.
extern const char* const kEntryColumns;
// From entries e, names n, files f.
extern const char* const kEntryJoins;
CLibraryEntry ReadEntryRow(const CStatement& row);

// Whether the search is best made with the trigram index: for text of three
// characters or more, unless so many names hold it that going through the
// names in order finds a page sooner than sorting every name found.
bool UsesTrigrams(sqlite3* pDb, const CLibraryQuery& q);
// The search (bCount: its count instead, in column 0).
std::string SearchSql(const CLibraryQuery& q, bool bCount, bool bTrigrams);
void BindSearch(CStatement& st, const CLibraryQuery& q, bool bCount, bool bTrigrams);

} // namespace vantorel
