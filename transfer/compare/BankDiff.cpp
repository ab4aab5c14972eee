#include "transfer/compare/BankDiff.h"

#include <algorithm>
#include <map>

#include "transfer/compare/EntryDiff.h"
#include "transfer/plans/DocKind.h"
#include "transfer/plans/EntryLayout.h"

namespace vantorel {

namespace {

// What an entry holds apart from its own name: what finds it elsewhere. Only
// the bytes the layout compares count, each part with its length.
std::vector<uint8_t> Sound(const CEntryLayout& layout, const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> sound;
    for (const CEntryPart& part : layout.parts) {
        if (part.bName || part.nOffset >= bytes.size())
            continue;
        const size_t nEnd =
            part.nSize == kRestOfEntry ? bytes.size() : std::min(bytes.size(), part.nOffset + part.nSize);
        const uint64_t nLength = nEnd - part.nOffset;
        for (int i = 0; i < 8; ++i)
            sound.push_back(uint8_t(nLength >> (8 * i)));
        sound.insert(sound.end(), bytes.begin() + std::ptrdiff_t(part.nOffset),
                     bytes.begin() + std::ptrdiff_t(nEnd));
    }
    return sound;
}

} // namespace

int CBankDiff::CountDiffering() const
{
    return int(std::count_if(entries.begin(), entries.end(),
                             [](const CEntryMatch& e) { return e.match != EEntryMatch::Same; }));
}

CBankDiff CompareBanks(const CDocKind& kind, const CBankSide& a, const CBankSide& b)
{
    const int nCount = kind.EntryCount();
    CBankDiff diff;
    std::vector<std::vector<uint8_t>> soundA(static_cast<size_t>(nCount)),
        soundB(static_cast<size_t>(nCount));
    for (int n = 0; n < nCount; ++n) {
        const CEntryLayout layout = kind.EntryLayout(n);
        CEntryMatch m{n, EEntryMatch::Same};
        if (a.Has(n) && b.Has(n)) {
            const CEntryDiff d = CompareEntries(kind, a.doc, n, b.doc, n);
            m.nBytes = d.nBytes;
            m.match = d.IsSame()    ? EEntryMatch::Same
                      : d.bNameOnly ? EEntryMatch::NameOnly
                                    : EEntryMatch::Differs;
        } else if (a.Has(n) != b.Has(n)) {
            m.match = a.Has(n) ? EEntryMatch::OnlyInFirst : EEntryMatch::OnlyInSecond;
        }
        if (a.Has(n))
            soundA[size_t(n)] = Sound(layout, a.doc.GetEntryBytes(n));
        if (b.Has(n))
            soundB[size_t(n)] = Sound(layout, b.doc.GetEntryBytes(n));
        diff.entries.push_back(m);
    }
    if (!kind.HasMovableEntries())
        return diff;

    // Where the second holds each sound, at positions that do not keep their
    // own sound (those are not where anything moved to).
    std::map<std::vector<uint8_t>, std::vector<int>> places;
    for (int n = 0; n < nCount; ++n)
        if (b.Has(n) && !(a.Has(n) && soundA[size_t(n)] == soundB[size_t(n)]))
            places[soundB[size_t(n)]].push_back(n);
    for (CEntryMatch& m : diff.entries) {
        if (m.match != EEntryMatch::Differs && m.match != EEntryMatch::OnlyInFirst)
            continue;
        const auto it = places.find(soundA[size_t(m.nEntry)]);
        if (it == places.end() || it->second.empty())
            continue;
        // Each place takes one entry, the first that comes.
        m.match = EEntryMatch::Moved;
        m.nMovedTo = it->second.front();
        it->second.erase(it->second.begin());
    }
    return diff;
}

} // namespace vantorel
