#pragma once
// Two entries of one kind compared byte by byte, the differences grouped by
// the parts of the kind's records (CDocKind::EntryLayout). No widgets: the
// compare window and vantorel-cli both show it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/core/Document.h"

namespace vantorel {

class CDocKind;
struct CEntryLayout;

// One side of a change: a byte, or the two bytes of a signed pair; none when
// that entry ends before it.
struct CChangeSide {
    std::optional<uint8_t> by;
    std::optional<uint8_t> bySecond; // a pair's second byte
    // "64"; a pair as its value ("+5", "-127", "0"), or as its two bytes
    // ("2 0") when they hold no value; "-" when the entry ends before it.
    std::string Text(bool bPair) const;
};

struct CByteChange {
    size_t nOffset; // in the entry's bytes; for a pair, its first byte
    bool bPair;
    CChangeSide a, b;
};

struct CPartDiff {
    const char* szGroup; // the part's group (a performance's patch) or null
    const char* szName;
    size_t nOffset;        // where the part starts in the entry
    size_t nSizeA, nSizeB; // the part's length in each entry (they differ only for data of any length)
    size_t nBytes = 0;     // bytes that differ, counting those only one entry has
    std::vector<CByteChange> changes;
    // "first patch: common part", or the part's name alone.
    std::string Title() const;
};

struct CEntryDiff {
    std::vector<CPartDiff> parts; // only the parts that differ
    size_t nBytes = 0;            // all differing bytes
    bool bNameOnly = false;       // the entry's own name is all that differs
    bool IsSame() const { return nBytes == 0; }
};

// Entry nA of a against entry nB of b (both of kind), by the layout of entry nA.
CEntryDiff CompareEntries(const CDocKind& kind, const CDocument& a, int nA, const CDocument& b, int nB);
// The same for two entries as bytes.
CEntryDiff CompareEntryBytes(const CEntryLayout& layout, const std::vector<uint8_t>& a,
                             const std::vector<uint8_t>& b);

} // namespace vantorel
