#pragma once
// What the command line reads from an entry of a loaded document: the name a
// window shows for it, and whether two documents hold the same entry.
#include <string>

#include "cli/Kinds.h"

namespace vantorel {

class CDocument;

namespace cli {

// The entry's name: a patch or performance name, a system row, or a pattern
// or motion row with its data size.
std::string EntryName(EKind kind, const CDocument& doc, int n);

// True when entry n holds the same bytes in both documents (of the kind): what
// a Get would bring back, so a pattern's or motion's value and data.
bool SameEntry(EKind kind, const CDocument& a, const CDocument& b, int n);

// Copies entry n of from into to (both of the kind).
void CopyEntry(EKind kind, const CDocument& from, CDocument& to, int n);

} // namespace cli
} // namespace vantorel
