// The patch bank as a kind: 128 patches A11 to B88, .pat files.
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
#include "transfer/plans/PatchPlan.h"

namespace vantorel {

namespace {

constexpr CBlockRange kPatchRanges[] = {{0, CPatchRecord::kSize}};
static_assert(sizeof(CPatchRecord) == CPatchRecord::kSize);

constexpr CTransferLayouts kPatchDialogs{
    {IDD_GET_PATCH, res::kGetPatchCaption, 80, 59, 9},
    {IDD_SEND_PATCH, res::kSendPatchCaption, 80, 60, 9},
    ProgressLayout(IDD_GETTING_PATCH, 40, false),
    ProgressLayout(IDD_SENDING_PATCH, 39, false),
};

class CPatchKind : public CDocKindT<CPatchDoc> {
public:
    CPatchKind()
        : CDocKindT({"patch", "patch.pat", ".pat", kTypePatch, CPatchDoc::kPatchCount, res::kCliRangePatch,
                     {res::kNounPatch, res::kNounPatches}},
                    kPatchDialogs)
    {
    }

    std::string EntryLabel(int n) const override { return FormatPatchLabel(n); }
    std::string EntryName(const CDocument& doc, int n) const override
    {
        return As(doc).m_aPatch[size_t(n)].GetName();
    }

    std::unique_ptr<CGetPlan> MakeGetPlan(CDocument& doc, int nEntry) const override
    {
        if (!Cast(doc) || !InRange(nEntry))
            return nullptr;
        auto plan = std::make_unique<CPatchGetPlan>();
        plan->m_pDoc = &doc; // it stores through the document's edits
        plan->m_bSingle = nEntry >= 0;
        plan->m_nIndex = std::max(nEntry, 0);
        return plan;
    }

    std::unique_ptr<CSendPlan> MakeSendPlan(const CDocument& doc, int nEntry) const override
    {
        const CPatchDoc* p = Cast(doc);
        if (!p || !InRange(nEntry))
            return nullptr;
        auto plan = std::make_unique<CPatchSendPlan>();
        plan->m_pRead = p->m_aPatch.data(); // a bank Send reads the bank from its first record
        if (nEntry >= 0) {
            plan->m_pRecord = &p->m_aPatch[size_t(nEntry)];
            plan->m_nIndex = nEntry;
        }
        return plan;
    }

    int TakenCount(const CSysExHaul& haul) const override { return haul.m_patches.GetTakenCount(); }
    bool IsTaken(const CSysExHaul& haul, int n) const override { return haul.m_patches.IsTaken(n); }
    int Merge(const CSysExHaul& haul, CDocument& doc, const CPlacement& placement,
              const std::string& strEdit) const override
    {
        return Cast(doc) ? MergeBank(haul.m_patches, doc, CPatchRecord::kSize, kPatchRanges, std::size(kPatchRanges),
                                     placement, strEdit)
                         : 0;
    }
    std::optional<std::string> DescribeDataSet(uint32_t dwAddress, const CSysExHaul& haul) const override
    {
        const int i = ItemAt(dwAddress, address::UserPatch(0), 1u << address::kPatchShift, CPatchDoc::kPatchCount);
        if (i < 0)
            return std::nullopt;
        return FormatLabelName(FormatPatchLabel(i), NameFromBytes(haul.m_patches.GetRecord(i), kEntryNameSize));
    }
};

} // namespace

const CDocKind& PatchKind()
{
    static const CPatchKind kind;
    return kind;
}

} // namespace vantorel
