// The system data as a kind: two entries (its blocks), .syp files.
#include <bit>

#include "data/FileHeader.h"
#include "data/SystemDoc.h"
#include "res/strings/datawindows.h"
#include "res/strings/transfer.h"
#include "transfer/SysExPlace.h"
#include "transfer/SysExReader.h"
#include "transfer/TransferAddresses.h"
#include "transfer/plans/DocKind.h"
#include "transfer/plans/SystemPlan.h"

namespace vantorel {

namespace {

// In the order of the system's block numbers (kSystemParameterBlock ...).
constexpr CSysExBlock kSystemBlocks[] = {
    {address::kSystemParameters, CSystemDoc::kSystemParameterOffset, address::kSystemParametersSize},
    {address::kTxRxSettings, CSystemDoc::kTxRxSettingOffset, address::kTxRxSettingsSize},
    {address::kTxRxExtra, address::kTxRxExtraOffset, address::kTxRxExtraSize},
};
static_assert(kTxRxExtraBlock == 2 && std::size(kSystemBlocks) == 3);
// The system is a single entry; its blocks all lie below this.
constexpr uint32_t kSystemRoom = 0x4000;
static_assert(address::kTxRxSettings + address::kTxRxSettingsSize <= kSystemRoom);
constexpr CSysExLayout kSystemLayout{1, address::kSystemParameters, kSystemRoom, CSystemDoc::kSize,
                                     kSystemBlocks};

constexpr int kSystemEntries = 2; // the system parameters and the Tx/Rx settings
constexpr const char* kSystemLabels[kSystemEntries] = {"system", "txrx"};

// Its progress dialogs show no text: Getting has a bar above Cancel, Sending
// only Cancel.
constexpr CTransferLayouts kSystemDialogs{
    {IDD_GET_SYSTEM, res::kGetSystemCaption, 80, 60, 7},
    {IDD_SEND_SYSTEM, res::kSendSystemCaption, 86, 65, 9},
    {IDD_GETTING_SYSTEM, 110, 60, {38, 35, 32, 14}, std::nullopt, CLayoutBox{14, 16, 80, 9}},
    {IDD_SENDING_SYSTEM, 110, 54, {39, 26, 32, 14}, std::nullopt, std::nullopt},
};

// The system's two entries are its two blocks.
int SystemMode(int nEntry)
{
    return nEntry < 0 ? kSystemBoth : nEntry == 0 ? kSystemParametersOnly : kSystemTxRxOnly;
}

const char* RowName(int nBlock)
{
    return nBlock == CSystemDoc::kBlockSystemParameter ? res::kRowSystemParameter : res::kRowTxRxSetting;
}

class CSystemKind : public CDocKindT<CSystemDoc> {
public:
    CSystemKind()
        : CDocKindT({"system",
                     "system.syp",
                     ".syp",
                     kTypeSystem,
                     kSystemEntries,
                     res::kRangeSystem,
                     res::kFileKindSystem,
                     {res::kNounSystemBlock, res::kNounSystemBlocks}},
                    kSystemDialogs)
    {
    }

    std::string EntryLabel(int n) const override { return kSystemLabels[n]; }
    std::string EntryName(const CDocument&, int n) const override { return RowName(n); }

    // Each entry is one block, named as its row.
    CEntryLayout EntryLayout(int n) const override
    {
        return CEntryLayout{{{nullptr, RowName(n), 0, kRestOfEntry}}, {}};
    }

    std::unique_ptr<CGetPlan> MakeGetPlan(CDocument& doc, int nEntry) const override
    {
        if (!Cast(doc) || !InRange(nEntry))
            return nullptr;
        auto plan = std::make_unique<CSystemGetPlan>();
        plan->m_pDoc = &doc;
        plan->m_nMode = SystemMode(nEntry);
        return plan;
    }

    std::unique_ptr<CSendPlan> MakeSendPlan(const CDocument& doc, int nEntry) const override
    {
        const CSystemDoc* p = Cast(doc);
        if (!p || !InRange(nEntry))
            return nullptr;
        auto plan = std::make_unique<CSystemSendPlan>();
        plan->m_pSystemData = p->m_aSystem.data();
        plan->m_nMode = SystemMode(nEntry);
        return plan;
    }

    const CSysExLayout& SysExLayout() const override { return kSystemLayout; }
    // The system counts its blocks.
    int ShownCount(const CSysExHaul& haul) const override
    {
        return std::popcount(haul.Bank(kSystemLayout).GetBlockMask(0));
    }
    // Its entries are its blocks: the parameters, and the Tx/Rx settings with their extra part.
    bool IsTaken(const CSysExHaul& haul, int n) const override
    {
        const uint32_t dwBlocks = haul.Bank(kSystemLayout).GetBlockMask(0);
        return n == 0 ? (dwBlocks & 1u) != 0 : n == 1 && (dwBlocks & ~1u) != 0;
    }
    bool HasMovableEntries() const override { return false; }
    // The system is one record: placed where it is, whatever the placement.
    int Merge(const CSysExHaul& haul, CDocument& doc, const CPlacement&,
              const std::string& strEdit) const override
    {
        if (!Cast(doc))
            return 0;
        // The system's 65 bytes are its two blocks; every range lies inside one.
        const auto put = [&](size_t nOffset, const uint8_t* p, size_t nSize) {
            const int nBlock = CSystemDoc::BlockAt(nOffset);
            doc.ApplyEntryBytes(strEdit, nBlock, nOffset - CSystemDoc::BlockOffset(nBlock), p, nSize);
        };
        return MergeRecord(haul.Bank(kSystemLayout), 0, CSystemDoc::kSize, kSystemBlocks, put) ? 1 : 0;
    }
    std::optional<std::string> DescribeDataSet(uint32_t dwAddress, const CSysExHaul&) const override
    {
        for (const CSysExBlock& block : kSystemBlocks)
            if (dwAddress == kSystemLayout.dwFirst + block.dwAddress)
                return std::string(res::kEntrySystem);
        return std::nullopt;
    }
};

} // namespace

const CDocKind& SystemKind()
{
    static const CSystemKind kind;
    return kind;
}

const CKindRegistrar kSystemRegistered(SystemKind, 3);

} // namespace vantorel
