#include "transfer/SysExExport.h"

#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "midi/msg/SysEx.h"
#include "transfer/plans/PatchPlan.h"
#include "transfer/plans/PerformPlan.h"
#include "transfer/plans/SystemPlan.h"
#include "transfer/plans/VarPlan.h"

namespace vantorel {

namespace {

bool InRange(int nEntry, int nCount) {
    return nEntry >= -1 && nEntry < nCount;
}

CSysExExport ExportPatches(const CPatchDoc& doc, int nEntry) {
    CPatchSendPlan plan;
    if (nEntry < 0) {
        plan.m_pRead = doc.m_aPatch.data();
    } else {
        plan.m_pRecord = &doc.m_aPatch[size_t(nEntry)];
        plan.m_nIndex = nEntry;
    }
    return ExportSendPlan(plan);
}

CSysExExport ExportPerformances(const CPerformDoc& doc, int nEntry) {
    CPerformSendPlan plan;
    plan.m_pDoc = &doc;
    if (nEntry >= 0) {
        plan.m_pRecord = &doc.m_aPerform[size_t(nEntry)];
        plan.m_nIndex = nEntry;
    }
    return ExportSendPlan(plan);
}

CSysExExport ExportSystem(const CSystemDoc& doc, int nEntry) {
    CSystemSendPlan plan;
    plan.m_pSystemData = doc.m_aSystem.data();
    plan.m_nMode = nEntry < 0 ? kSystemBoth : nEntry == 0 ? kSystemParametersOnly : kSystemTxRxOnly;
    return ExportSendPlan(plan);
}

template <class TEntry, size_t N>
CSysExExport ExportItems(const CVarKind& kind, const std::array<TEntry, N>& items, int nEntry) {
    CVarSendPlanT<TEntry> plan(kind);
    plan.m_pItems = items.data();
    plan.m_nSingle = nEntry;
    return ExportSendPlan(plan);
}

} // namespace

CSysExExport ExportSendPlan(CSendPlan& plan) {
    CSysExExport result;
    CSilentDisplay display; // a file has no progress bar
    plan.Begin(display);
    for (bool bMore = true; bMore;) {
        CDataSet dataSet;
        bMore = plan.Next(dataSet, display);
        if (!dataSet.bValid)
            break;
        if (!AreDataBytes(dataSet.pData, dataSet.nCount)) {
            result.messages.clear();
            result.strBadEntry = dataSet.strEntry;
            break;
        }
        if (result.messages.empty())
            result.strFirstEntry = dataSet.strEntry;
        result.messages.push_back(BuildDataSet(dataSet.dwAddress, dataSet.pData, dataSet.nCount));
    }
    return result;
}

CSysExExport ExportSysEx(const CDocument& doc, int nEntry) {
    if (const auto* p = dynamic_cast<const CPatchDoc*>(&doc); p && InRange(nEntry, CPatchDoc::kPatchCount))
        return ExportPatches(*p, nEntry);
    if (const auto* p = dynamic_cast<const CPerformDoc*>(&doc);
        p && InRange(nEntry, CPerformDoc::kPerformanceCount))
        return ExportPerformances(*p, nEntry);
    if (const auto* p = dynamic_cast<const CSystemDoc*>(&doc); p && InRange(nEntry, 2))
        return ExportSystem(*p, nEntry);
    if (const auto* p = dynamic_cast<const CPatternDoc*>(&doc);
        p && InRange(nEntry, CPatternDoc::kPatternCount))
        return ExportItems(kPatternKind, p->m_aPattern, nEntry);
    if (const auto* p = dynamic_cast<const CMotionDoc*>(&doc); p && InRange(nEntry, CMotionDoc::kMotionCount))
        return ExportItems(kMotionKind, p->m_aMotion, nEntry);
    return {};
}

CSysExBytes JoinSysEx(const std::vector<CSysExBytes>& messages) {
    CSysExBytes bytes;
    for (const CSysExBytes& m : messages)
        bytes.insert(bytes.end(), m.begin(), m.end());
    return bytes;
}

} // namespace vantorel
