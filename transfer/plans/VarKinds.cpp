// Patterns (48, C#2 to C6, .ptn files) and motions (4, A1 to B2, .mtn
// files) as kinds: variable entries that differ only by their numbers.
#include <cstdio>

#include "data/EntryName.h"
#include "data/FileHeader.h"
#include "data/MotionDoc.h"
#include "data/PatternDoc.h"
#include "res/strings/cli.h"
#include "res/strings/compare.h"
#include "res/strings/datawindows.h"
#include "res/strings/transfer.h"
#include "transfer/SysExPlace.h"
#include "transfer/SysExReader.h"
#include "transfer/TransferAddresses.h"
#include "transfer/engine/TransferText.h"
#include "transfer/plans/DocKind.h"
#include "transfer/plans/VarPlan.h"

namespace vantorel {

namespace {

std::string Trimmed(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

template <class TDoc, class TEntry, size_t N>
class CVarDocKind : public CDocKindT<TDoc> {
public:
    using Items = std::array<TEntry, N>;
    // What a kind of variable entries adds to its CVarKind: its entries in
    // the document, its part of a haul and its labels.
    struct CParts {
        const CVarKind& plans;
        Items TDoc::*pItems;
        const char* szRowLabel;            // "PATTERN %d"
        std::string (*pLabel)(int nIndex); // the label as the command line takes it
    };

    CVarDocKind(const CKindWords& words, const CTransferLayouts& dialogs, const CParts& parts)
        : CDocKindT<TDoc>(words, dialogs), m_parts(parts), m_layout{parts.plans.nCount,
                                                                    parts.plans.pDataAddress(0),
                                                                    parts.plans.dwItemStep,
                                                                    0,
                                                                    {},
                                                                    parts.plans.pValueAddress(0)}
    {
    }

    std::string EntryLabel(int n) const override { return m_parts.pLabel(n); }
    std::string EntryName(const CDocument& doc, int n) const override
    {
        char row[32];
        std::snprintf(row, sizeof row, m_parts.szRowLabel, n + 1);
        char text[128];
        std::snprintf(text, sizeof text, res::kCliInfoVarName, row, int(EntriesOf(doc)[size_t(n)].GetSize()));
        return text;
    }
    // What a Get brings back: the value and the data, not the flag.
    bool SameEntry(const CDocument& a, const CDocument& b, int n) const override
    {
        const CVarEntry& x = EntriesOf(a)[size_t(n)];
        const CVarEntry& y = EntriesOf(b)[size_t(n)];
        return x.m_byValue == y.m_byValue && x.GetBytes() == y.GetBytes();
    }

    // The value and the data; the flag is left out, as in SameEntry.
    CEntryLayout EntryLayout(int) const override
    {
        return CEntryLayout{{{nullptr, res::kPartValue, kEditValueOffset, 1},
                             {nullptr, res::kPartData, kEditDataOffset, kRestOfEntry}},
                            {}};
    }

    std::unique_ptr<CGetPlan> MakeGetPlan(CDocument& doc, int nEntry) const override
    {
        if (!this->Cast(doc) || !this->InRange(nEntry))
            return nullptr;
        auto plan = std::make_unique<CVarGetPlan>(m_parts.plans);
        plan->m_pDoc = &doc;
        Select(*plan, nEntry);
        return plan;
    }
    std::unique_ptr<CSendPlan> MakeSendPlan(const CDocument& doc, int nEntry) const override
    {
        const TDoc* p = this->Cast(doc);
        if (!p || !this->InRange(nEntry))
            return nullptr;
        auto plan = std::make_unique<CVarSendPlanT<TEntry>>(m_parts.plans);
        plan->m_pItems = (p->*m_parts.pItems).data();
        Select(*plan, nEntry);
        return plan;
    }

    const CSysExLayout& SysExLayout() const override { return m_layout; }
    std::optional<std::string> DescribeDataSet(uint32_t dwAddress, const CSysExHaul&) const override
    {
        int i = ItemAt(dwAddress, m_layout.dwFirstValue, 1, m_layout.nCount);
        if (i < 0)
            i = ItemAt(dwAddress, m_layout.dwFirst, m_layout.dwStep, m_layout.nCount);
        if (i < 0)
            return std::nullopt;
        return FormatItemText(m_parts.plans.szText, i + 1);
    }

private:
    const Items& EntriesOf(const CDocument& doc) const { return this->As(doc).*m_parts.pItems; }
    template <class TPlan>
    static void Select(TPlan& plan, int nEntry)
    {
        plan.m_nSingle = nEntry;
        plan.m_nIndex = nEntry < 0 ? 0 : nEntry;
    }

    CParts m_parts;
    CSysExLayout m_layout;
};

// An item's data room is the step from one item to the next.
static_assert(address::kPatternStep == CPatternDoc::kItemRoom &&
              address::kMotionStep == CMotionDoc::kItemRoom);

constexpr CTransferLayouts kPatternDialogs{
    {IDD_GET_PATTERN, res::kGetPatternCaption, 80, 60, 9},
    {IDD_SEND_PATTERN, res::kSendPatternCaption, 80, 60, 9},
    ProgressLayout(IDD_GETTING_PATTERN, 74, true),
    ProgressLayout(IDD_SENDING_PATTERN, 39, false),
};

constexpr CTransferLayouts kMotionDialogs{
    {IDD_GET_MOTION, res::kGetMotionCaption, 80, 60, 9},
    {IDD_SEND_MOTION, res::kSendMotionCaption, 80, 60, 9},
    ProgressLayout(IDD_GETTING_MOTION, 74, true),
    ProgressLayout(IDD_SENDING_MOTION, 39, false),
};

std::string MotionLabel(int n)
{
    return Trimmed(res::kMotionNames[n]);
}

} // namespace

const CDocKind& PatternKind()
{
    using CKind = CVarDocKind<CPatternDoc, CPatternEntry, CPatternDoc::kPatternCount>;
    static const CKind kind({"pattern", "pattern.ptn", ".ptn", kTypePattern, CPatternDoc::kPatternCount,
                             res::kRangePattern, res::kFileKindPattern, kPatternKind.noun},
                            kPatternDialogs,
                            {kPatternKind, &CPatternDoc::m_aPattern, res::kPatternLabel, FormatPatternLabel});
    return kind;
}

const CDocKind& MotionKind()
{
    using CKind = CVarDocKind<CMotionDoc, CMotionEntry, CMotionDoc::kMotionCount>;
    static const CKind kind({"motion", "motion.mtn", ".mtn", kTypeMotion, CMotionDoc::kMotionCount,
                             res::kRangeMotion, res::kFileKindMotion, kMotionKind.noun},
                            kMotionDialogs,
                            {kMotionKind, &CMotionDoc::m_aMotion, res::kMotionLabel, MotionLabel});
    return kind;
}

const CKindRegistrar kPatternRegistered(PatternKind, 4);
const CKindRegistrar kMotionRegistered(MotionKind, 5);

} // namespace vantorel
