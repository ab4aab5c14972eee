// The performance bank as a kind: 64 performances 11 to 88, .pfm files.
#include <algorithm>

#include "data/EntryName.h"
#include "data/FileHeader.h"
#include "res/strings/compare.h"
#include "res/strings/transfer.h"
#include "transfer/SysExPlace.h"
#include "transfer/SysExReader.h"
#include "transfer/TransferAddresses.h"
#include "transfer/engine/TransferText.h"
#include "transfer/plans/AuditionPlan.h"
#include "transfer/plans/DocKind.h"
#include "transfer/plans/PatchPlan.h"
#include "transfer/plans/PerformPlan.h"

namespace vantorel {

namespace {

// Five blocks, in the order they are exchanged; performances 0x4000 apart.
constexpr std::array<CSysExBlock, CPerformRecord::kBlockCount> PerformanceBlocks()
{
    std::array<CSysExBlock, CPerformRecord::kBlockCount> blocks{};
    for (size_t b = 0; b < blocks.size(); ++b)
        blocks[b] = {address::kPerformanceBlock[b], CPerformRecord::kBlocks[b].nOffset,
                     CPerformRecord::kBlocks[b].nSize};
    return blocks;
}
constexpr auto kPerformanceBlocks = PerformanceBlocks();
constexpr CSysExLayout kPerformanceLayout{CPerformDoc::kPerformanceCount, address::Performance(0),
                                          1u << address::kPerformanceShift, CPerformRecord::kSize,
                                          kPerformanceBlocks};

constexpr CTransferLayouts kPerformanceDialogs{
    {IDD_GET_PERFORMANCE, res::kGetPerformanceCaption, 80, 60, 9},
    {IDD_SEND_PERFORMANCE, res::kSendPerformanceCaption, 80, 60, 9},
    ProgressLayout(IDD_GETTING_PERFORMANCE, 74, true),
    ProgressLayout(IDD_SENDING_PERFORMANCE, 39, false),
};

class CPerformKind : public CDocKindT<CPerformDoc> {
public:
    CPerformKind()
        : CDocKindT({"performance",
                     "performance.pfm",
                     ".pfm",
                     kTypePerformance,
                     CPerformDoc::kPerformanceCount,
                     res::kRangePerformance,
                     res::kFileKindPerformance,
                     {res::kNounPerformance, res::kNounPerformances}},
                    kPerformanceDialogs)
    {
    }

    std::string EntryLabel(int n) const override { return FormatPerformanceLabel(n); }
    std::string EntryName(const CDocument& doc, int n) const override
    {
        return As(doc).m_aPerform[size_t(n)].GetName();
    }
    size_t NameSize() const override { return kEntryNameSize; }
    CInnerEntries InnerEntries() const override
    {
        static_assert(CPerformRecord::kCommonOffset == 0, "the name heads the record");
        return {&PatchKind(), CPerformRecord::kPatchCount, CPerformRecord::kFirstPatchOffset,
                CPerformRecord::kPatchSize};
    }

    // The named common part, the settings of both parts, and the two patches part by part.
    CEntryLayout EntryLayout(int) const override
    {
        using R = CPerformRecord;
        CEntryLayout layout{
            {{nullptr, res::kPartName, R::kCommonOffset, kEntryNameSize, true},
             {nullptr, res::kPartCommon, kEntryNameSize, R::kCommonSize - kEntryNameSize},
             {nullptr, res::kPartFirstPartSettings, R::kFirstPartOffset, R::kPartSettingsSize},
             {nullptr, res::kPartSecondPartSettings, R::kSecondPartOffset, R::kPartSettingsSize}},
            {}};
        AddPatchParts(layout, R::PatchOffset(0), res::kGroupFirstPatch, false);
        AddPatchParts(layout, R::PatchOffset(1), res::kGroupSecondPatch, false);
        return layout;
    }

    std::unique_ptr<CGetPlan> MakeGetPlan(CDocument& doc, int nEntry) const override
    {
        if (!Cast(doc) || !InRange(nEntry))
            return nullptr;
        auto plan = std::make_unique<CPerformGetPlan>();
        plan->m_pDoc = &doc; // it stores through the document's edits
        plan->m_bSingle = nEntry >= 0;
        plan->m_nIndex = std::max(nEntry, 0);
        return plan;
    }

    std::unique_ptr<CSendPlan> MakeSendPlan(const CDocument& doc, int nEntry) const override
    {
        const CPerformDoc* p = Cast(doc);
        if (!p || !InRange(nEntry))
            return nullptr;
        auto plan = std::make_unique<CPerformSendPlan>();
        plan->m_pDoc = p;
        if (nEntry >= 0) {
            plan->m_pRecord = &p->m_aPerform[size_t(nEntry)];
            plan->m_nIndex = nEntry;
        }
        return plan;
    }

    // A performance's patch travels as a patch, at its place in the performance.
    std::unique_ptr<CGetPlan> MakeInnerGetPlan(CDocument& doc, int nEntry, int nInner) const override
    {
        if (!Cast(doc) || !IsInner(nEntry, nInner))
            return nullptr;
        auto plan = std::make_unique<CPatchGetPlan>();
        plan->m_pDoc = &doc; // it stores through the performance bank's edits
        plan->m_bSingle = true;
        plan->m_nPerformance = nEntry;
        plan->m_nPart = nInner + 1;
        return plan;
    }

    std::unique_ptr<CSendPlan> MakeInnerSendPlan(const CDocument& doc, int nEntry, int nInner) const override
    {
        const CPerformDoc* p = Cast(doc);
        if (!p || !IsInner(nEntry, nInner))
            return nullptr;
        auto plan = std::make_unique<CPatchSendPlan>();
        plan->m_pRecord = &p->m_aPerform[size_t(nEntry)].m_aPatch[size_t(nInner)];
        plan->m_nPerformance = nEntry;
        plan->m_nPart = nInner + 1;
        return plan;
    }

    // A performance sounds as it is.
    bool HasAudition() const override { return true; }
    std::unique_ptr<CSendPlan> MakeAuditionPlan(std::span<const uint8_t> entry) const override
    {
        if (entry.size() != CPerformRecord::kSize)
            return nullptr;
        CPerformRecord performance;
        std::copy(entry.begin(), entry.end(), performance.Data());
        return std::make_unique<CAuditionPlan>(performance);
    }

    const CSysExLayout& SysExLayout() const override { return kPerformanceLayout; }
    std::optional<std::string> DescribeDataSet(uint32_t dwAddress, const CSysExHaul& haul) const override
    {
        const int i = ItemAt(dwAddress, kPerformanceLayout.dwFirst, kPerformanceLayout.dwStep,
                             kPerformanceLayout.nCount);
        if (i < 0)
            return std::nullopt;
        // The name is in the common block, which may not have come yet.
        const CSysExBank& bank = haul.Bank(kPerformanceLayout);
        if (bank.GetBlockMask(i) & 1u)
            return FormatLabelName(FormatPerformanceLabel(i),
                                   NameFromBytes(bank.GetRecord(i), kEntryNameSize));
        return FormatText(res::kEntryPerformance, FormatPerformanceLabel(i).c_str());
    }

private:
    bool IsInner(int nEntry, int nInner) const
    {
        return nEntry >= 0 && nEntry < EntryCount() && nInner >= 0 && nInner < CPerformRecord::kPatchCount;
    }
};

} // namespace

const CDocKind& PerformanceKind()
{
    static const CPerformKind kind;
    return kind;
}

const CKindRegistrar kPerformanceRegistered(PerformanceKind, 2);

} // namespace vantorel
