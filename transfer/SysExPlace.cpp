#include "transfer/SysExPlace.h"

#include <algorithm>

#include "data/VarEntry.h"
#include "framework/core/Document.h"
#include "transfer/SysExReader.h"
#include "transfer/plans/DocKind.h"

namespace vantorel {

bool MergeRecord(const CSysExBank& bank, int n, size_t nRecordSize, std::span<const CSysExBlock> blocks,
                 const FPutBytes& put)
{
    const uint32_t dwMask = bank.GetBlockMask(n);
    const uint8_t* pSource = bank.GetRecord(n);
    if (!dwMask || !pSource || bank.GetRecordSize() != nRecordSize)
        return false;
    for (size_t b = 0; b < blocks.size() && b < 32; ++b) {
        const CSysExBlock& r = blocks[b];
        if ((dwMask >> b) & 1u && r.nOffset + r.nSize <= nRecordSize)
            put(r.nOffset, pSource + r.nOffset, r.nSize);
    }
    return true;
}

int MergeBank(const CSysExBank& bank, CDocument& doc, size_t nRecordSize, std::span<const CSysExBlock> blocks,
              const CPlacement& placement, const std::string& strEdit)
{
    int nPlaced = 0;
    for (int n = 0; n < doc.GetEntryCount(); ++n) {
        const int t = placement.Target(n);
        if (t < 0 || t >= doc.GetEntryCount())
            continue;
        nPlaced += MergeRecord(bank, n, nRecordSize, blocks,
                               [&](size_t nOffset, const uint8_t* p, size_t nSize) {
                                   doc.ApplyEntryBytes(strEdit, t, nOffset, p, nSize);
                               })
                       ? 1
                       : 0;
    }
    return nPlaced;
}

int MergeItems(const CSysExItems& items, CDocument& doc, const CPlacement& placement,
               const std::string& strEdit)
{
    int nPlaced = 0;
    for (int n = 0; n < doc.GetEntryCount() && n < items.GetCount(); ++n) {
        const int t = placement.Target(n);
        if (!items.IsTaken(n) || t < 0 || t >= doc.GetEntryCount())
            continue;
        CVarEntry entry;
        SetVarEntryBytes(entry, doc.GetEntryBytes(t));
        if (items.HasValue(n))
            entry.m_byValue = items.GetValue(n);
        if (items.HasData(n)) {
            entry.SetData(items.GetData(n), items.GetDataSize(n));
            entry.m_dwFlag = 1; // as a Get leaves a fetched item
        }
        doc.ApplyEntries(strEdit, {{t, VarEntryBytes(entry)}});
        ++nPlaced;
    }
    return nPlaced;
}

int ItemAt(uint32_t dwAddress, uint32_t dwFirst, uint32_t dwStep, int nCount)
{
    if (dwAddress < dwFirst)
        return -1;
    const uint32_t n = (dwAddress - dwFirst) / dwStep;
    return n < uint32_t(nCount) ? int(n) : -1;
}

int PlaceHaul(const CSysExHaul& haul, const CDocKind& kind, CDocument& doc, const std::string& strEdit,
              int nInto)
{
    if (!kind.IsKindOf(doc))
        return 0;
    CEditGroup group(doc, strEdit);
    CPlacement placement;
    if (nInto >= 0) {
        const int nFrom = kind.SingleEntry(haul);
        if (nFrom >= 0 && nInto < kind.EntryCount())
            placement = {nFrom, nInto};
    }
    return kind.Merge(haul, doc, placement, strEdit);
}

} // namespace vantorel
