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

// Runs the search (bCount: its count instead, in column 0) and hands each row to the statement's reader.
std::string SearchSql(const CLibraryQuery& q, bool bCount);
void BindSearch(CStatement& st, const CLibraryQuery& q, bool bCount);

} // namespace vantorel
