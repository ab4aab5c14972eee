#include "transfer/SysExPlace.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "data/EntryName.h"
#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "midi/msg/SysEx.h"
#include "res/strings/datawindows.h"
#include "res/strings/transfer.h"
#include "transfer/SysExReader.h"
#include "transfer/TransferAddresses.h"
#include "transfer/engine/TransferText.h"
#include "transfer/plans/VarPlan.h"

namespace vantorel {

namespace {

// Where block b of a record lies, numbered as the reader numbers them.
struct CBlockRange {
    size_t nOffset;
    size_t nSize;
};

constexpr CBlockRange kPatchRanges[] = {{0, CPatchRecord::kSize}};
static_assert(sizeof(CPatchRecord) == CPatchRecord::kSize);
constexpr std::array<CBlockRange, CPerformRecord::kBlockCount> PerformanceRanges() {
    std::array<CBlockRange, CPerformRecord::kBlockCount> ranges{};
    for (size_t b = 0; b < ranges.size(); ++b)
        ranges[b] = {CPerformRecord::kBlocks[b].nOffset, CPerformRecord::kBlocks[b].nSize};
    return ranges;
}
constexpr auto kPerformanceRanges = PerformanceRanges();
constexpr CBlockRange kSystemRanges[] = {
    {CSystemDoc::kSystemParameterOffset, CSystemDoc::kSystemParameterSize},
    {CSystemDoc::kTxRxSettingOffset, CSystemDoc::kTxRxSettingSize},
    {address::kTxRxExtraOffset, address::kTxRxExtraSize},
};
static_assert(CSysExHaul::kTxRxExtraBlock == 2 && std::size(kSystemRanges) == 3);

// Hands each block of record n that arrived (nRecordSize bytes) to put(offset, bytes, size).
template <class FPut>
bool MergeRecord(const CSysExBank& bank, int n, size_t nRecordSize, const CBlockRange* pRanges, size_t nRanges,
                 FPut put) {
    const uint32_t dwMask = bank.GetBlockMask(n);
    const uint8_t* pSource = bank.GetRecord(n);
    if (!dwMask || !pSource || bank.GetRecordSize() != nRecordSize)
        return false;
    for (size_t b = 0; b < nRanges && b < 32; ++b) {
        const CBlockRange& r = pRanges[b];
        if ((dwMask >> b) & 1u && r.nOffset + r.nSize <= nRecordSize)
            put(r.nOffset, pSource + r.nOffset, r.nSize);
    }
    return true;
}

// Where entry n of the haul goes: its own place, or, for the one entry
// moved, nInto; -1 for an entry that stays out.
struct CPlacement {
    int nFrom = -1;
    int nInto = -1;
    int Target(int n) const { return nFrom < 0 ? n : n == nFrom ? nInto : -1; }
};

// A bank whose entries are its records.
int MergeBank(const CSysExBank& bank, CDocument& doc, size_t nRecordSize, const CBlockRange* pRanges,
              size_t nRanges, CPlacement placement, const std::string& strEdit) {
    int nPlaced = 0;
    for (int n = 0; n < doc.GetEntryCount(); ++n) {
        const int t = placement.Target(n);
        if (t < 0 || t >= doc.GetEntryCount())
            continue;
        nPlaced += MergeRecord(bank, n, nRecordSize, pRanges, nRanges,
                               [&](size_t nOffset, const uint8_t* p, size_t nSize) {
                                   doc.ApplyEntryBytes(strEdit, t, nOffset, p, nSize);
                               })
                       ? 1
                       : 0;
    }
    return nPlaced;
}

int MergeItems(const CSysExItems& items, CDocument& doc, CPlacement placement, const std::string& strEdit) {
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

constexpr size_t kNameLength = 16; // the name at the head of a patch or performance

// Which of count items starting at dwFirst, dwStep apart, holds dwAddress.
int ItemAt(uint32_t dwAddress, uint32_t dwFirst, uint32_t dwStep, int nCount) {
    if (dwAddress < dwFirst)
        return -1;
    const uint32_t n = (dwAddress - dwFirst) / dwStep;
    return n < uint32_t(nCount) ? int(n) : -1;
}

// The entry a data set addresses, as the user knows it.
std::string DescribeDataSetIn(const uint8_t* p, size_t n, const CSysExHaul& haul) {
    if (n < sysex::kDataSetOverhead)
        return {};
    uint32_t dwAddress = 0;
    for (size_t i = 0; i < 4; ++i)
        dwAddress = (dwAddress << 7) | (p[sysex::kHeaderLength - 4 + i] & 0x7F);
    if (const int i = ItemAt(dwAddress, address::UserPatch(0), 1u << address::kPatchShift, 128); i >= 0)
        return FormatLabelName(FormatPatchLabel(i), NameFromBytes(haul.m_patches.GetRecord(i), kNameLength));
    if (const int i = ItemAt(dwAddress, address::Performance(0), 1u << address::kPerformanceShift, 64);
        i >= 0) {
        const bool bName = haul.m_performances.GetBlockMask(i) & 1u;
        return bName ? FormatLabelName(FormatPerformanceLabel(i),
                                       NameFromBytes(haul.m_performances.GetRecord(i), kNameLength))
                     : FormatText(res::kEntryPerformance, FormatPerformanceLabel(i).c_str());
    }
    for (const CVarKind* kind : {&kPatternKind, &kMotionKind}) {
        int i = ItemAt(dwAddress, kind->pValueAddress(0), 1, kind->nCount);
        if (i < 0)
            i = ItemAt(dwAddress, kind->pDataAddress(0), kind->dwItemStep, kind->nCount);
        if (i >= 0)
            return FormatItemText(kind->szText, i + 1);
    }
    return res::kEntrySystem;
}

// Writes what arrived into doc through its edits.
int Merge(const CSysExHaul& haul, CDocument& doc, CPlacement placement, const std::string& strEdit) {
    if (dynamic_cast<CPatchDoc*>(&doc))
        return MergeBank(haul.m_patches, doc, CPatchRecord::kSize, kPatchRanges, std::size(kPatchRanges), placement,
                         strEdit);
    if (dynamic_cast<CPerformDoc*>(&doc))
        return MergeBank(haul.m_performances, doc, CPerformRecord::kSize, kPerformanceRanges.data(),
                         kPerformanceRanges.size(), placement, strEdit);
    if (dynamic_cast<CSystemDoc*>(&doc)) {
        // The system's 65 bytes are its two blocks; every range lies inside one.
        auto put = [&](size_t nOffset, const uint8_t* p, size_t nSize) {
            const int nBlock = CSystemDoc::BlockAt(nOffset);
            doc.ApplyEntryBytes(strEdit, nBlock, nOffset - CSystemDoc::BlockOffset(nBlock), p, nSize);
        };
        return MergeRecord(haul.m_system, 0, CSystemDoc::kSize, kSystemRanges, std::size(kSystemRanges), put) ? 1 : 0;
    }
    if (dynamic_cast<CPatternDoc*>(&doc))
        return MergeItems(haul.m_patterns, doc, placement, strEdit);
    if (dynamic_cast<CMotionDoc*>(&doc))
        return MergeItems(haul.m_motions, doc, placement, strEdit);
    return 0;
}

// Calls f with the part of the haul that holds a kind: its bank or its items.
template <class F> auto WithPart(const CSysExHaul& haul, SysExKind kind, F f) {
    switch (kind) {
    case SysExKind::Performance:
        return f(haul.m_performances);
    case SysExKind::System:
        return f(haul.m_system);
    case SysExKind::Pattern:
        return f(haul.m_patterns);
    case SysExKind::Motion:
        return f(haul.m_motions);
    case SysExKind::Patch:
        break;
    }
    return f(haul.m_patches);
}

} // namespace

std::optional<SysExKind> KindOfDocument(const CDocument& doc) {
    if (dynamic_cast<const CPatchDoc*>(&doc))
        return SysExKind::Patch;
    if (dynamic_cast<const CPerformDoc*>(&doc))
        return SysExKind::Performance;
    if (dynamic_cast<const CSystemDoc*>(&doc))
        return SysExKind::System;
    if (dynamic_cast<const CPatternDoc*>(&doc))
        return SysExKind::Pattern;
    if (dynamic_cast<const CMotionDoc*>(&doc))
        return SysExKind::Motion;
    return std::nullopt;
}

int TakenCount(const CSysExHaul& haul, SysExKind kind) {
    return WithPart(haul, kind, [](const auto& part) { return part.GetTakenCount(); });
}

CTransferNoun NounOf(SysExKind kind) {
    switch (kind) {
    case SysExKind::Patch:
        return {res::kNounPatch, res::kNounPatches};
    case SysExKind::Performance:
        return {res::kNounPerformance, res::kNounPerformances};
    case SysExKind::System:
        return {res::kNounSystemBlock, res::kNounSystemBlocks};
    case SysExKind::Pattern:
        return kPatternKind.noun;
    case SysExKind::Motion:
        return kMotionKind.noun;
    }
    return {"", ""};
}

int ShownCount(const CSysExHaul& haul, SysExKind kind) {
    if (kind == SysExKind::System)
        return std::popcount(haul.m_system.GetBlockMask(0));
    return TakenCount(haul, kind);
}

std::string DescribeDataSet(const uint8_t* p, size_t n, const CSysExHaul& haul) {
    return p ? DescribeDataSetIn(p, n, haul) : std::string();
}

std::vector<int> TakenEntries(const CSysExHaul& haul, SysExKind kind) {
    return WithPart(haul, kind, [](const auto& part) {
        std::vector<int> taken;
        for (int n = 0; n < part.GetCount(); ++n)
            if (part.IsTaken(n))
                taken.push_back(n);
        return taken;
    });
}

int SingleEntry(const CSysExHaul& haul, SysExKind kind) {
    if (kind == SysExKind::System)
        return -1; // its blocks are not entries one could move
    const std::vector<int> taken = TakenEntries(haul, kind);
    return taken.size() == 1 ? taken.front() : -1;
}

std::string SysExEntryLabel(SysExKind kind, int n) {
    switch (kind) {
    case SysExKind::Patch:
        return FormatPatchLabel(n);
    case SysExKind::Performance:
        return FormatPerformanceLabel(n);
    case SysExKind::System:
        return res::kEntrySystem;
    case SysExKind::Pattern:
        return FormatPatternLabel(n);
    case SysExKind::Motion:
        if (n >= 0 && n < CMotionDoc::kMotionCount) {
            std::string label = res::kMotionNames[n];
            label.erase(label.find_last_not_of(' ') + 1);
            return label;
        }
        break;
    }
    return {};
}

int PlaceHaul(const CSysExHaul& haul, CDocument& doc, const std::string& strEdit, int nInto) {
    CEditGroup group(doc, strEdit);
    CPlacement placement;
    if (const std::optional<SysExKind> kind = KindOfDocument(doc); kind && nInto >= 0) {
        const int nFrom = SingleEntry(haul, *kind);
        if (nFrom >= 0 && nInto < doc.GetEntryCount())
            placement = {nFrom, nInto};
    }
    return Merge(haul, doc, placement, strEdit);
}

} // namespace vantorel
