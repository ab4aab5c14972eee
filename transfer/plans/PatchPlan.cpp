#include "transfer/plans/PatchPlan.h"

#include <algorithm>

#include "data/EntryName.h"
#include "data/PerformRecord.h"
#include "midi/msg/SysEx.h"
#include "res/Strings.h"
#include "res/strings/transfer.h"
#include "res/strings/views.h"
#include "transfer/TransferAddresses.h"
#include "transfer/engine/TransferText.h"

namespace vantorel {

uint32_t PatchAddress(int nIndex, int nPerformance, int nPart)
{
    return nPart == 0 ? address::UserPatch(nIndex) : address::PerformancePatch(nPerformance, nPart);
}

namespace {

constexpr CTransferNoun kPatchNoun{res::kNounPatch, res::kNounPatches};

// "Patch A13", or "Patch 2 of performance A11" for a performance's patch.
std::string PatchEntryName(int nIndex, int nPerformance, int nPart)
{
    if (nPart != 0)
        return FormatText(res::kEntryPerformancePatch, nPart, FormatPerformanceLabel(nPerformance).c_str());
    return FormatText(res::kEntryPatch, FormatPatchLabel(nIndex).c_str());
}

} // namespace

CTransferNoun CPatchGetPlan::Noun() const
{
    return kPatchNoun;
}
CTransferNoun CPatchSendPlan::Noun() const
{
    return kPatchNoun;
}

// ---------------------------------------------------------------- Get

void CPatchGetPlan::Begin(IProgressDisplay&)
{
    if (!IsSingle())
        m_nIndex = 0;
}

CRequest CPatchGetPlan::Request(IProgressDisplay&)
{
    return {PatchAddress(m_nIndex, m_nPerformance, m_nPart), address::kPatchSize};
}

bool CPatchGetPlan::Store(const CSysExMessage& answer, CSysExList&, IProgressDisplay& display)
{
    const uint8_t* pBody = answer.GetBody();
    const size_t nBody = size_t(std::max(answer.m_nBodyLength, 0));
    display.ShowText(FormatLabelName(FormatPatchLabel(m_nIndex), NameFromBytes(pBody, nBody)));
    // The run lets through only answers of exactly one record. A user patch
    // is an entry of its own; a performance's patch is part of its entry.
    if (m_pDoc && pBody) {
        const int nEntry = m_nPart == 0 ? m_nIndex : m_nPerformance;
        const size_t nOffset = m_nPart == 0 ? 0 : CPerformRecord::PatchOffset(m_nPart - 1);
        m_pDoc->ApplyEntryBytes(res::kEditGet, nEntry, nOffset, pBody, std::min(nBody, CPatchRecord::kSize));
        MarkStored();
    }
    EntryDone();
    ++m_nIndex;
    return !IsSingle() && m_nIndex < CPatchDoc::kPatchCount;
}

// ---------------------------------------------------------------- Send

void CPatchSendPlan::Begin(IProgressDisplay&)
{
    if (!IsSingle())
        m_nIndex = 0;
}

bool CPatchSendPlan::Next(CDataSet& dataSet, IProgressDisplay& display)
{
    const CPatchRecord* pSource = nullptr;
    if (IsSingle())
        pSource = m_pRecord;
    else if (m_pRead && m_nIndex >= 0 && m_nIndex < CPatchDoc::kPatchCount)
        pSource = m_pRead + m_nIndex; // the bank's records are contiguous
    if (!pSource) {
        dataSet.bValid = false;
        return false;
    }
    display.ShowText(FormatLabelName(FormatPatchLabel(m_nIndex), pSource->GetName()));
    dataSet.nEntry = IsSingle() ? 0 : m_nIndex;
    dataSet.strEntry = PatchEntryName(m_nIndex, m_nPerformance, m_nPart);
    dataSet.dwAddress = PatchAddress(m_nIndex, m_nPerformance, m_nPart);
    dataSet.pData = pSource->Data();
    dataSet.nCount = CPatchRecord::kSize;
    ++m_nIndex;
    return !IsSingle() && m_nIndex < CPatchDoc::kPatchCount;
}

} // namespace vantorel
