#include "transfer/plans/AuditionPlan.h"

#include "midi/msg/SysEx.h"
#include "res/strings/transfer.h"

namespace vantorel {

void CAuditionPlan::PerformanceFor(const CPatchRecord& patch, CPerformRecord& performance)
{
    // Init gives the initial performance: common and part settings, and both
    // slots holding the initial patch.
    performance.Init();
    performance.m_aPatch[0] = patch;
    performance.SetName(patch.GetName()); // GetName stops at a zero byte; SetName pads with spaces
}

bool CAuditionPlan::CanStart() const
{
    return AreDataBytes(m_performance.Data(), CPerformRecord::kSize);
}

void CAuditionPlan::Begin(IProgressDisplay&)
{
    m_nStep = 0;
}

bool CAuditionPlan::Next(CDataSet& dataSet, IProgressDisplay&)
{
    if (m_nStep < 0 || m_nStep >= kStepCount) {
        dataSet.bValid = false;
        return false;
    }
    const CPerformRecord::CBlock& block = CPerformRecord::kBlocks[size_t(m_nStep)];
    dataSet.dwAddress = kAddresses[size_t(m_nStep)];
    dataSet.pData = m_performance.Data() + block.nOffset;
    dataSet.nCount = block.nSize;
    ++m_nStep;
    return m_nStep < kStepCount;
}

CTransferNoun CAuditionPlan::Noun() const
{
    return {res::kNounPerformance, res::kNounPerformances};
}

} // namespace vantorel
