// The performance bank as a kind: 64 performances 11 to 88, .pfm files.
#include <algorithm>

#include "data/EntryName.h"
#include "data/FileHeader.h"
#include "res/strings/cli.h"
#include "res/strings/transfer.h"
#include "transfer/SysExPlace.h"
#include "transfer/SysExReader.h"
#include "transfer/TransferAddresses.h"
#include "transfer/engine/TransferText.h"
#include "transfer/plans/DocKind.h"
#include "transfer/plans/PerformPlan.h"

namespace vantorel {

namespace {

constexpr std::array<CBlockRange, CPerformRecord::kBlockCount> PerformanceRanges()
{
    std::array<CBlockRange, CPerformRecord::kBlockCount> ranges{};
    for (size_t b = 0; b < ranges.size(); ++b)
        ranges[b] = {CPerformRecord::kBlocks[b].nOffset, CPerformRecord::kBlocks[b].nSize};
    return ranges;
}
constexpr auto kPerformanceRanges = PerformanceRanges();

constexpr CTransferLayouts kPerformanceDialogs{
    {IDD_GET_PERFORMANCE, res::kGetPerformanceCaption, 80, 60, 9},
    {IDD_SEND_PERFORMANCE, res::kSendPerformanceCaption, 80, 60, 9},
    ProgressLayout(IDD_GETTING_PERFORMANCE, 74, true),
    ProgressLayout(IDD_SENDING_PERFORMANCE, 39, false),
};

class CPerformKind : public CDocKindT<CPerformDoc> {
public:
    CPerformKind()
        : CDocKindT({"performance", "performance.pfm", ".pfm", kTypePerformance, CPerformDoc::kPerformanceCount,
                     res::kCliRangePerformance, {res::kNounPerformance, res::kNounPerformances}},
                    kPerformanceDialogs)
    {
    }

    std::string EntryLabel(int n) const override { return FormatPerformanceLabel(n); }
    std::string EntryName(const CDocument& doc, int n) const override
    {
        return As(doc).m_aPerform[size_t(n)].GetName();
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

    int TakenCount(const CSysExHaul& haul) const override { return haul.m_performances.GetTakenCount(); }
    bool IsTaken(const CSysExHaul& haul, int n) const override { return haul.m_performances.IsTaken(n); }
    int Merge(const CSysExHaul& haul, CDocument& doc, const CPlacement& placement,
              const std::string& strEdit) const override
    {
        return Cast(doc) ? MergeBank(haul.m_performances, doc, CPerformRecord::kSize, kPerformanceRanges.data(),
                                     kPerformanceRanges.size(), placement, strEdit)
                         : 0;
    }
    std::optional<std::string> DescribeDataSet(uint32_t dwAddress, const CSysExHaul& haul) const override
    {
        const int i = ItemAt(dwAddress, address::Performance(0), 1u << address::kPerformanceShift,
                             CPerformDoc::kPerformanceCount);
        if (i < 0)
            return std::nullopt;
        // The name is in the common block, which may not have come yet.
        if (haul.m_performances.GetBlockMask(i) & 1u)
            return FormatLabelName(FormatPerformanceLabel(i),
                                   NameFromBytes(haul.m_performances.GetRecord(i), kEntryNameSize));
        return FormatText(res::kEntryPerformance, FormatPerformanceLabel(i).c_str());
    }
};

} // namespace

const CDocKind& PerformanceKind()
{
    static const CPerformKind kind;
    return kind;
}

} // namespace vantorel
