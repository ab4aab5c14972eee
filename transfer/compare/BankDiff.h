#pragma once
// Two documents of one kind compared entry by entry: what became of each
// entry of the first in the second. An entry whose sound (all it holds but
// its own name) is found at another position of the second is moved there.
// No widgets: the compare window and vantorel-cli both show it.
#include <vector>

#include "framework/core/Document.h"

namespace vantorel {

class CDocKind;

// One side of a bank compare: a document and the entries it holds. A .syx
// file may hold only some; a library file holds them all (present empty).
struct CBankSide {
    const CDocument& doc;
    std::vector<bool> present;
    bool Has(int n) const { return present.empty() || (size_t(n) < present.size() && present[size_t(n)]); }
};

enum class EEntryMatch { Same, NameOnly, Differs, Moved, OnlyInFirst, OnlyInSecond };

struct CEntryMatch {
    int nEntry;
    EEntryMatch match;
    size_t nBytes = 0; // Differs, NameOnly, Moved: bytes that differ from the second's entry n
    int nMovedTo = -1; // Moved: where the second holds this entry's sound
};

struct CBankDiff {
    std::vector<CEntryMatch> entries; // one per entry, in order
    int CountDiffering() const;
};

CBankDiff CompareBanks(const CDocKind& kind, const CBankSide& a, const CBankSide& b);

} // namespace vantorel
