#include "cli/Plans.h"

#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "transfer/plans/PatchPlan.h"
#include "transfer/plans/PerformPlan.h"
#include "transfer/plans/SystemPlan.h"
#include "transfer/plans/VarPlan.h"

namespace vantorel::cli {

namespace {

// The system's two entries are its two blocks.
int SystemMode(std::optional<int> entry) {
    return !entry ? kSystemBoth : *entry == 0 ? kSystemParametersOnly : kSystemTxRxOnly;
}

template <class TPlan, class TItems>
std::unique_ptr<TPlan> VarPlan(const CVarKind& kind, TItems* pItems, std::optional<int> entry) {
    auto plan = std::make_unique<TPlan>(kind);
    plan->m_pItems = pItems;
    plan->m_nSingle = entry.value_or(-1);
    plan->m_nIndex = entry.value_or(0);
    return plan;
}

} // namespace

std::unique_ptr<CGetPlan> MakeGetPlan(EKind kind, CDocument& doc, std::optional<int> entry) {
    switch (kind) {
    case EKind::Patch: {
        auto plan = std::make_unique<CPatchGetPlan>();
        auto& bank = static_cast<CPatchDoc&>(doc);
        plan->m_pDoc = &bank;
        if (entry) {
            plan->m_pRecord = &bank.m_aPatch[size_t(*entry)];
            plan->m_nIndex = *entry;
        }
        return plan;
    }
    case EKind::Performance: {
        auto plan = std::make_unique<CPerformGetPlan>();
        auto& bank = static_cast<CPerformDoc&>(doc);
        plan->m_pDoc = &bank;
        if (entry) {
            plan->m_pRecord = &bank.m_aPerform[size_t(*entry)];
            plan->m_nIndex = *entry;
        }
        return plan;
    }
    case EKind::System: {
        auto plan = std::make_unique<CSystemGetPlan>();
        plan->m_pSystemData = static_cast<CSystemDoc&>(doc).m_aSystem.data();
        plan->m_nMode = SystemMode(entry);
        return plan;
    }
    case EKind::Pattern:
        return VarPlan<CVarGetPlanT<CPatternEntry>>(kPatternKind,
                                                    static_cast<CPatternDoc&>(doc).m_aPattern.data(), entry);
    case EKind::Motion:
        return VarPlan<CVarGetPlanT<CMotionEntry>>(kMotionKind,
                                                   static_cast<CMotionDoc&>(doc).m_aMotion.data(), entry);
    }
    return nullptr;
}

std::unique_ptr<CSendPlan> MakeSendPlan(EKind kind, const CDocument& doc, std::optional<int> entry) {
    switch (kind) {
    case EKind::Patch: {
        auto plan = std::make_unique<CPatchSendPlan>();
        const auto& bank = static_cast<const CPatchDoc&>(doc);
        plan->m_pRead = bank.m_aPatch.data();
        if (entry) {
            plan->m_pRecord = &bank.m_aPatch[size_t(*entry)];
            plan->m_nIndex = *entry;
        }
        return plan;
    }
    case EKind::Performance: {
        auto plan = std::make_unique<CPerformSendPlan>();
        const auto& bank = static_cast<const CPerformDoc&>(doc);
        plan->m_pDoc = &bank;
        if (entry) {
            plan->m_pRecord = &bank.m_aPerform[size_t(*entry)];
            plan->m_nIndex = *entry;
        }
        return plan;
    }
    case EKind::System: {
        auto plan = std::make_unique<CSystemSendPlan>();
        plan->m_pSystemData = static_cast<const CSystemDoc&>(doc).m_aSystem.data();
        plan->m_nMode = SystemMode(entry);
        return plan;
    }
    case EKind::Pattern:
        return VarPlan<CVarSendPlanT<CPatternEntry>>(
            kPatternKind, static_cast<const CPatternDoc&>(doc).m_aPattern.data(), entry);
    case EKind::Motion:
        return VarPlan<CVarSendPlanT<CMotionEntry>>(
            kMotionKind, static_cast<const CMotionDoc&>(doc).m_aMotion.data(), entry);
    }
    return nullptr;
}

} // namespace vantorel::cli
