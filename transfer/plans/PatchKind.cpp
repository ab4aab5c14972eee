// The patch bank as a kind: 128 patches A11 to B88, .pat files.
#include <algorithm>

#include "data/EntryName.h"
#include "data/FileHeader.h"
#include "res/strings/transfer.h"
#include "transfer/SysExPlace.h"
#include "transfer/SysExReader.h"
#include "transfer/TransferAddresses.h"
#include "transfer/engine/TransferText.h"
#include "transfer/plans/AuditionPlan.h"
#include "transfer/plans/DocKind.h"
#include "transfer/plans/PatchPlan.h"

namespace vantorel {

namespace {

// A patch is one block, 256 addresses apart.
constexpr CSysExBlock kPatchBlocks[] = {{0, 0, address::kPatchSize}};
static_assert(sizeof(CPatchRecord) == CPatchRecord::kSize && address::kPatchSize == CPatchRecord::kSize);
constexpr CSysExLayout kPatchLayout{CPatchDoc::kPatchCount, address::UserPatch(0), 1u << address::kPatchShift,
                                    CPatchRecord::kSize, kPatchBlocks};

constexpr CTransferLayouts kPatchDialogs{
    {IDD_GET_PATCH, res::kGetPatchCaption, 80, 59, 9},
    {IDD_SEND_PATCH, res::kSendPatchCaption, 80, 60, 9},
    ProgressLayout(IDD_GETTING_PATCH, 40, false),
    ProgressLayout(IDD_SENDING_PATCH, 39, false),
};

class CPatchKind : public CDocKindT<CPatchDoc> {
public:
    CPatchKind()
        : CDocKindT({"patch",
                     "patch.pat",
                     ".pat",
                     kTypePatch,
                     CPatchDoc::kPatchCount,
                     res::kRangePatch,
                     res::kFileKindPatch,
                     {res::kNounPatch, res::kNounPatches}},
                    kPatchDialogs)
    {
    }

    std::string EntryLabel(int n) const override { return FormatPatchLabel(n); }
    std::string EntryName(const CDocument& doc, int n) const override
    {
        return As(doc).m_aPatch[size_t(n)].GetName();
    }
    size_t NameSize() const override { return kEntryNameSize; }

    CEntryLayout EntryLayout(int) const override
    {
        CEntryLayout layout;
        AddPatchParts(layout, 0, nullptr, true);
        return layout;
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

    // A patch sounds as the first patch of the initial performance.
    bool HasAudition() const override { return true; }
    std::unique_ptr<CSendPlan> MakeAuditionPlan(std::span<const uint8_t> entry) const override
    {
        if (entry.size() != CPatchRecord::kSize)
            return nullptr;
        CPatchRecord patch;
        std::copy(entry.begin(), entry.end(), patch.Data());
        return std::make_unique<CAuditionPlan>(patch);
    }

    const CSysExLayout& SysExLayout() const override { return kPatchLayout; }
    std::optional<std::string> DescribeDataSet(uint32_t dwAddress, const CSysExHaul& haul) const override
    {
        const int i = ItemAt(dwAddress, kPatchLayout.dwFirst, kPatchLayout.dwStep, kPatchLayout.nCount);
        if (i < 0)
            return std::nullopt;
        return FormatLabelName(FormatPatchLabel(i),
                               NameFromBytes(haul.Bank(kPatchLayout).GetRecord(i), kEntryNameSize));
    }
};

} // namespace

const CDocKind& PatchKind()
{
    static const CPatchKind kind;
    return kind;
}

const CKindRegistrar kPatchRegistered(PatchKind, 1);

} // namespace vantorel
