#include "transfer/SysExPlace.h"

#include <algorithm>

#include "data/VarEntry.h"
#include "framework/core/Document.h"
#include "transfer/SysExReader.h"
#include "transfer/plans/DocKind.h"

namespace vantorel {

bool MergeRecord(const CSysExBank& bank, int n, uint8_t* pTarget, size_t nRecordSize, const CBlockRange* pRanges,
                 size_t nRanges)
{
    const uint32_t dwMask = bank.GetBlockMask(n);
    const uint8_t* pSource = bank.GetRecord(n);
    if (!dwMask || !pSource || bank.GetRecordSize() != nRecordSize)
        return false;
    for (size_t b = 0; b < nRanges && b < 32; ++b) {
        const CBlockRange& r = pRanges[b];
        if ((dwMask >> b) & 1u && r.nOffset + r.nSize <= nRecordSize)
            std::copy_n(pSource + r.nOffset, r.nSize, pTarget + r.nOffset);
    }
    return true;
}

bool MergeItem(const CSysExItems& items, int n, CVarEntry& entry)
{
    if (n >= items.GetCount() || !items.IsTaken(n))
        return false;
    if (items.HasValue(n))
        entry.m_byValue = items.GetValue(n);
    if (items.HasData(n)) {
        entry.SetData(items.GetData(n), items.GetDataSize(n));
        entry.m_dwFlag = 1; // as a Get leaves a fetched item
    }
    return true;
}

int ItemAt(uint32_t dwAddress, uint32_t dwFirst, uint32_t dwStep, int nCount)
{
    if (dwAddress < dwFirst)
        return -1;
    const uint32_t n = (dwAddress - dwFirst) / dwStep;
    return n < uint32_t(nCount) ? int(n) : -1;
}

int PlaceHaul(const CSysExHaul& haul, const CDocKind& kind, CDocument& doc, const std::string& strEdit, int nInto)
{
    if (!kind.IsKindOf(doc))
        return 0;
    const CEntrySnapshot before = doc.SnapshotEntries();
    CPlacement placement;
    if (nInto >= 0) {
        const int nFrom = kind.SingleEntry(haul);
        if (nFrom >= 0 && nInto < kind.EntryCount())
            placement = {nFrom, nInto};
    }
    const int nPlaced = kind.Merge(haul, doc, placement);
    if (nPlaced > 0)
        doc.RecordChangesSince(strEdit, before);
    return nPlaced;
}

} // namespace vantorel
