#include "transfer/plans/DocumentPlans.h"

#include <type_traits>

#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "transfer/plans/PatchPlan.h"
#include "transfer/plans/PerformPlan.h"
#include "transfer/plans/SystemPlan.h"
#include "transfer/plans/VarPlan.h"

namespace vantorel {

namespace {

bool InRange(int nEntry, int nCount) {
    return nEntry >= -1 && nEntry < nCount;
}

// The system's two entries are its two blocks.
int SystemMode(int nEntry) {
    return nEntry < 0 ? kSystemBoth : nEntry == 0 ? kSystemParametersOnly : kSystemTxRxOnly;
}

// A pattern or motion plan: the Get writes into the document, the Send reads its items.
template <class TPlan, class TTarget>
std::unique_ptr<TPlan> VarPlan(const CVarKind& kind, TTarget* pTarget, int nEntry) {
    auto plan = std::make_unique<TPlan>(kind);
    if constexpr (std::is_same_v<TPlan, CVarGetPlan>)
        plan->m_pDoc = pTarget;
    else
        plan->m_pItems = pTarget;
    plan->m_nSingle = nEntry;
    plan->m_nIndex = nEntry < 0 ? 0 : nEntry;
    return plan;
}

// A fixed-record bank's Get: into the document's entry nEntry, or all of them.
template <class TPlan>
std::unique_ptr<TPlan> RecordGetPlan(CDocument& doc, int nEntry) {
    auto plan = std::make_unique<TPlan>();
    plan->m_pDoc = &doc;
    plan->m_bSingle = nEntry >= 0;
    plan->m_nIndex = nEntry < 0 ? 0 : nEntry;
    return plan;
}

// A fixed-record bank's Send: the plan reads the record nEntry, or all.
template <class TPlan, class TBank, class TRecords>
std::unique_ptr<TPlan> RecordSendPlan(TBank& bank, TRecords& records, int nEntry) {
    auto plan = std::make_unique<TPlan>();
    if constexpr (std::is_same_v<TPlan, CPatchSendPlan>)
        plan->m_pRead = records.data(); // a patch Send reads the bank from its first record
    else
        plan->m_pDoc = &bank;
    if (nEntry >= 0) {
        plan->m_pRecord = &records[size_t(nEntry)];
        plan->m_nIndex = nEntry;
    }
    return plan;
}

} // namespace

std::unique_ptr<CGetPlan> MakeGetPlan(CDocument& doc, int nEntry) {
    if (auto* p = dynamic_cast<CPatchDoc*>(&doc); p && InRange(nEntry, CPatchDoc::kPatchCount))
        return RecordGetPlan<CPatchGetPlan>(*p, nEntry);
    if (auto* p = dynamic_cast<CPerformDoc*>(&doc); p && InRange(nEntry, CPerformDoc::kPerformanceCount))
        return RecordGetPlan<CPerformGetPlan>(*p, nEntry);
    if (auto* p = dynamic_cast<CSystemDoc*>(&doc); p && InRange(nEntry, 2)) {
        auto plan = std::make_unique<CSystemGetPlan>();
        plan->m_pDoc = p;
        plan->m_nMode = SystemMode(nEntry);
        return plan;
    }
    if (auto* p = dynamic_cast<CPatternDoc*>(&doc); p && InRange(nEntry, CPatternDoc::kPatternCount))
        return VarPlan<CVarGetPlan>(kPatternKind, static_cast<CDocument*>(p), nEntry);
    if (auto* p = dynamic_cast<CMotionDoc*>(&doc); p && InRange(nEntry, CMotionDoc::kMotionCount))
        return VarPlan<CVarGetPlan>(kMotionKind, static_cast<CDocument*>(p), nEntry);
    return nullptr;
}

std::unique_ptr<CSendPlan> MakeSendPlan(const CDocument& doc, int nEntry) {
    if (auto* p = dynamic_cast<const CPatchDoc*>(&doc); p && InRange(nEntry, CPatchDoc::kPatchCount))
        return RecordSendPlan<CPatchSendPlan>(*p, p->m_aPatch, nEntry);
    if (auto* p = dynamic_cast<const CPerformDoc*>(&doc);
        p && InRange(nEntry, CPerformDoc::kPerformanceCount))
        return RecordSendPlan<CPerformSendPlan>(*p, p->m_aPerform, nEntry);
    if (auto* p = dynamic_cast<const CSystemDoc*>(&doc); p && InRange(nEntry, 2)) {
        auto plan = std::make_unique<CSystemSendPlan>();
        plan->m_pSystemData = p->m_aSystem.data();
        plan->m_nMode = SystemMode(nEntry);
        return plan;
    }
    if (auto* p = dynamic_cast<const CPatternDoc*>(&doc); p && InRange(nEntry, CPatternDoc::kPatternCount))
        return VarPlan<CVarSendPlanT<CPatternEntry>>(kPatternKind, p->m_aPattern.data(), nEntry);
    if (auto* p = dynamic_cast<const CMotionDoc*>(&doc); p && InRange(nEntry, CMotionDoc::kMotionCount))
        return VarPlan<CVarSendPlanT<CMotionEntry>>(kMotionKind, p->m_aMotion.data(), nEntry);
    return nullptr;
}

} // namespace vantorel
