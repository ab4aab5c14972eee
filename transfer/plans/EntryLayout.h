#pragma once
// The parts of an entry's bytes (as CDocument::GetEntryBytes gives them) by
// name, for a compare: where each lies, which is the entry's own name and
// where signed pairs start. Each kind describes its entries this way.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantorel {

// A part that runs from its offset to the end of the entry, whatever its length.
inline constexpr size_t kRestOfEntry = SIZE_MAX;

struct CEntryPart {
    const char* szGroup; // the record inside the entry it belongs to ("first patch"), or null
    const char* szName;  // "common part"
    size_t nOffset;
    size_t nSize;       // or kRestOfEntry
    bool bName = false; // the entry's own name: differing only here is "name only"
};

struct CEntryLayout {
    // In entry order; bytes in no part are not compared (a pattern's flag).
    std::vector<CEntryPart> parts;
    // Entry offsets of the first bytes of signed pairs, ascending.
    std::vector<size_t> pairs;

    bool IsPairStart(size_t nOffset) const;
};

// The parts and pairs of a patch record at nBase of an entry, under szGroup;
// bOwnName when its name is the entry's name.
void AddPatchParts(CEntryLayout& layout, size_t nBase, const char* szGroup, bool bOwnName);

} // namespace vantorel
