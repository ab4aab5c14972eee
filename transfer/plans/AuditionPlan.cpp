#include "transfer/plans/AuditionPlan.h"

#include "midi/msg/SysEx.h"
#include "res/strings/transfer.h"

namespace vantorel {

bool CAuditionPlan::CanStart() const
{
    return m_pPerformance && AreDataBytes(m_pPerformance, CPerformRecord::kSize);
}

void CAuditionPlan::Begin(IProgressDisplay&) { m_nStep = 0; }

bool CAuditionPlan::Next(CDataSet& dataSet, IProgressDisplay&)
{
    if (!m_pPerformance || m_nStep < 0 || m_nStep >= kStepCount) {
        dataSet.bValid = false;
        return false;
    }
    const CPerformRecord::CBlock& block = CPerformRecord::kBlocks[size_t(m_nStep)];
    dataSet.dwAddress = kAddresses[size_t(m_nStep)];
    dataSet.pData = m_pPerformance + block.nOffset;
    dataSet.nCount = block.nSize;
    ++m_nStep;
    return m_nStep < kStepCount;
}

CTransferNoun CAuditionPlan::Noun() const { return {res::kNounPerformance, res::kNounPerformances}; }

} // namespace vantorel
