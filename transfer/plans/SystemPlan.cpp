#include "transfer/plans/SystemPlan.h"

#include <algorithm>

#include "data/SystemDoc.h"
#include "midi/msg/SysEx.h"
#include "res/Strings.h"
#include "res/strings/transfer.h"
#include "res/strings/views.h"
#include "transfer/engine/TransferText.h"
#include "transfer/TransferAddresses.h"

namespace vantorel {

std::vector<CSystemStep> SystemSteps(int nMode)
{
    using namespace address;
    const CSystemStep parameters{kSystemParameters, kSystemParametersSize, CSystemDoc::kSystemParameterOffset,
                                 25, 50};
    const CSystemStep txRx{kTxRxSettings, kTxRxSettingsSize, CSystemDoc::kTxRxSettingOffset, 75, 100};
    switch (nMode) {
    case kSystemParametersOnly:
        return {{kSystemParameters, kSystemParametersSize, CSystemDoc::kSystemParameterOffset, 50, 100}};
    case kSystemTxRxOnly:
        // The Tx/Rx group is its own block plus one byte among the parameters.
        return {{kTxRxExtra, kTxRxExtraSize, kTxRxExtraOffset, 25, 50}, txRx};
    default: return {parameters, txRx};
    }
}

namespace {
constexpr CTransferNoun kSystemNoun{res::kNounSystemBlock, res::kNounSystemBlocks};
} // namespace

CTransferNoun CSystemGetPlan::Noun() const
{
    return kSystemNoun;
}
CTransferNoun CSystemSendPlan::Noun() const
{
    return kSystemNoun;
}

// ---------------------------------------------------------------- Get

void CSystemGetPlan::Begin(IProgressDisplay&)
{
    m_steps = SystemSteps(m_nMode);
    m_nStep = 0;
}

CRequest CSystemGetPlan::Request(IProgressDisplay& display)
{
    const CSystemStep& step = m_steps[size_t(std::clamp<int>(m_nStep, 0, int(m_steps.size()) - 1))];
    display.SetProgressPos(step.nPosAsked);
    return {step.dwAddress, step.dwSize};
}

bool CSystemGetPlan::Store(const CSysExMessage& answer, CSysExList&, IProgressDisplay& display)
{
    const CSystemStep& step = m_steps[size_t(std::clamp<int>(m_nStep, 0, int(m_steps.size()) - 1))];
    if (m_pDoc && answer.GetBody()) {
        // A step lies inside one of the document's two blocks.
        const int nBlock = CSystemDoc::BlockAt(step.nOffset);
        const size_t nCopy = std::min(size_t(std::max(answer.m_nBodyLength, 0)), size_t(step.dwSize));
        m_pDoc->ApplyEntryBytes(res::kEditGet, nBlock, step.nOffset - CSystemDoc::BlockOffset(nBlock),
                                answer.GetBody(), nCopy);
        MarkStored();
    }
    EntryDone();
    display.SetProgressPos(step.nPosStored);
    return ++m_nStep < int(m_steps.size());
}

// ---------------------------------------------------------------- Send

void CSystemSendPlan::Begin(IProgressDisplay&)
{
    m_steps = SystemSteps(m_nMode);
    m_nStep = 0;
}

bool CSystemSendPlan::Next(CDataSet& dataSet, IProgressDisplay&)
{
    if (!m_pSystemData || m_nStep < 0 || m_nStep >= int(m_steps.size())) {
        dataSet.bValid = false;
        return false;
    }
    const CSystemStep& step = m_steps[size_t(m_nStep)];
    dataSet.nEntry = m_nStep;
    dataSet.strEntry = res::kEntrySystem;
    dataSet.dwAddress = step.dwAddress;
    dataSet.pData = m_pSystemData + step.nOffset;
    dataSet.nCount = step.dwSize;
    return ++m_nStep < int(m_steps.size());
}

} // namespace vantorel
