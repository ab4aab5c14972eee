#include "transfer/compare/EntryDiff.h"

#include <algorithm>

#include "data/PatchRecord.h"
#include "transfer/plans/DocKind.h"

namespace vantorel {

namespace {

std::optional<uint8_t> ByteAt(const std::vector<uint8_t>& bytes, size_t n)
{
    return n < bytes.size() ? std::optional<uint8_t>(bytes[n]) : std::nullopt;
}

CChangeSide SideAt(const std::vector<uint8_t>& bytes, size_t n, bool bPair)
{
    return {ByteAt(bytes, n), bPair ? ByteAt(bytes, n + 1) : std::nullopt};
}

// The part's end in an entry of nSize bytes.
size_t PartEnd(const CEntryPart& part, size_t nSize)
{
    const size_t nEnd = part.nSize == kRestOfEntry ? nSize : part.nOffset + part.nSize;
    return std::min(nEnd, nSize);
}

size_t PartLength(const CEntryPart& part, size_t nSize)
{
    const size_t nEnd = PartEnd(part, nSize);
    return nEnd > part.nOffset ? nEnd - part.nOffset : 0;
}

} // namespace

std::string CChangeSide::Text(bool bPair) const
{
    if (!by)
        return "-";
    if (!bPair)
        return std::to_string(*by);
    if (bySecond)
        if (const std::optional<int> v = CPatchRecord::SignedPairValue(*by, *bySecond))
            return *v > 0 ? "+" + std::to_string(*v) : std::to_string(*v);
    return std::to_string(*by) + " " + (bySecond ? std::to_string(*bySecond) : "-");
}

std::string CPartDiff::Title() const
{
    return szGroup ? std::string(szGroup) + ": " + szName : std::string(szName);
}

CEntryDiff CompareEntryBytes(const CEntryLayout& layout, const std::vector<uint8_t>& a,
                             const std::vector<uint8_t>& b)
{
    CEntryDiff diff;
    size_t nNameBytes = 0;
    for (const CEntryPart& part : layout.parts) {
        CPartDiff pd{part.szGroup,
                     part.szName,
                     part.nOffset,
                     PartLength(part, a.size()),
                     PartLength(part, b.size()),
                     0,
                     {}};
        const size_t nEnd = std::max(PartEnd(part, a.size()), PartEnd(part, b.size()));
        for (size_t i = part.nOffset; i < nEnd;) {
            // A pair is one value: shown once, counted by the bytes that differ.
            const bool bPair = layout.IsPairStart(i) && i + 1 < nEnd;
            const size_t nWidth = bPair ? 2 : 1;
            size_t nDiffer = 0;
            for (size_t k = i; k < i + nWidth; ++k)
                nDiffer += ByteAt(a, k) != ByteAt(b, k) ? 1 : 0;
            if (nDiffer != 0) {
                pd.changes.push_back({i, bPair, SideAt(a, i, bPair), SideAt(b, i, bPair)});
                pd.nBytes += nDiffer;
            }
            i += nWidth;
        }
        if (pd.nBytes == 0)
            continue;
        diff.nBytes += pd.nBytes;
        if (part.bName)
            nNameBytes += pd.nBytes;
        diff.parts.push_back(std::move(pd));
    }
    diff.bNameOnly = diff.nBytes != 0 && nNameBytes == diff.nBytes;
    return diff;
}

CEntryDiff CompareEntries(const CDocKind& kind, const CDocument& a, int nA, const CDocument& b, int nB)
{
    return CompareEntryBytes(kind.EntryLayout(nA), a.GetEntryBytes(nA), b.GetEntryBytes(nB));
}

} // namespace vantorel
