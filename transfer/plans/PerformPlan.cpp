#include "transfer/plans/PerformPlan.h"

#include <algorithm>

#include "data/EntryName.h"
#include "midi/msg/SysEx.h"
#include "res/Strings.h"
#include "res/strings/transfer.h"
#include "res/strings/views.h"
#include "transfer/TransferAddresses.h"
#include "transfer/engine/TransferText.h"

namespace vantorel {

namespace {

constexpr int kBlockCount = CPerformRecord::kBlockCount;
// The bar after the answer of each block: 0, 25, 50, 75, 100.
constexpr std::array<int, kBlockCount> kProgressAfterBlock = {0, 25, 50, 75, 100};

bool IsIndex(int nIndex)
{
    return nIndex >= 0 && nIndex < CPerformDoc::kPerformanceCount;
}

constexpr CTransferNoun kPerformanceNoun{res::kNounPerformance, res::kNounPerformances};

} // namespace

CTransferNoun CPerformGetPlan::Noun() const
{
    return kPerformanceNoun;
}
CTransferNoun CPerformSendPlan::Noun() const
{
    return kPerformanceNoun;
}

uint32_t PerformanceBlockAddress(int nIndex, int nBlock)
{
    return address::Performance(nIndex) +
           address::kPerformanceBlock[size_t(std::clamp(nBlock, 0, kBlockCount - 1))];
}

// ---------------------------------------------------------------- Get

void CPerformGetPlan::Begin(IProgressDisplay&)
{
    if (!m_bSingle)
        m_nIndex = 0;
    m_nStep = 0;
}

CRequest CPerformGetPlan::Request(IProgressDisplay&)
{
    const int nBlock = std::clamp(m_nStep, 0, kBlockCount - 1);
    return {PerformanceBlockAddress(m_nIndex, nBlock),
            uint32_t(CPerformRecord::kBlocks[size_t(nBlock)].nSize)};
}

bool CPerformGetPlan::Store(const CSysExMessage& answer, CSysExList& answers, IProgressDisplay& display)
{
    if (m_nStep == 0) {
        display.ShowText(
            FormatLabelName(FormatPerformanceLabel(m_nIndex),
                            NameFromBytes(answer.GetBody(), size_t(std::max(answer.m_nBodyLength, 0)))));
    }
    display.SetProgressPos(kProgressAfterBlock[size_t(std::clamp(m_nStep, 0, kBlockCount - 1))]);
    if (m_nStep < kBlockCount - 1) {
        ++m_nStep;
        return true;
    }

    // All five blocks are in: only now does the performance change, as one
    // edit. Each answer goes to its own block, never past that block's size.
    if (m_pDoc && IsIndex(m_nIndex) && m_nIndex < m_pDoc->GetEntryCount()) {
        std::vector<uint8_t> bytes = m_pDoc->GetEntryBytes(m_nIndex);
        for (int nBlock = 0; nBlock < kBlockCount; ++nBlock) {
            const uint32_t dwWanted = ToAddressBytes(PerformanceBlockAddress(m_nIndex, nBlock));
            const CPerformRecord::CBlock& block = CPerformRecord::kBlocks[size_t(nBlock)];
            answers.Rewind();
            while (const CSysExMessage* pMsg = answers.GetNextMessage()) {
                if (pMsg->m_dwAddress != dwWanted || !pMsg->GetBody() ||
                    block.nOffset + block.nSize > bytes.size())
                    continue;
                const size_t nCopy = std::min(size_t(std::max(pMsg->m_nBodyLength, 0)), block.nSize);
                std::copy_n(pMsg->GetBody(), nCopy, bytes.begin() + std::ptrdiff_t(block.nOffset));
                MarkStored();
                break;
            }
        }
        m_pDoc->ApplyEntries(res::kEditGet, {{m_nIndex, std::move(bytes)}});
    }
    answers.DeleteAll();
    EntryDone();
    if (m_bSingle || m_nIndex >= CPerformDoc::kPerformanceCount - 1) {
        m_nStep = kBlockCount;
        return false;
    }
    m_nStep = 0;
    ++m_nIndex;
    return true;
}

// ---------------------------------------------------------------- Send

void CPerformSendPlan::Begin(IProgressDisplay&)
{
    if (!m_pRecord)
        m_nIndex = 0;
    m_nStep = 0;
}

bool CPerformSendPlan::Next(CDataSet& dataSet, IProgressDisplay& display)
{
    const CPerformRecord* pSource = m_pRecord;
    if (!pSource && m_pDoc && IsIndex(m_nIndex))
        pSource = &m_pDoc->m_aPerform[size_t(m_nIndex)];
    if (!pSource || m_nStep < 0 || m_nStep >= kBlockCount) {
        dataSet.bValid = false;
        return false;
    }
    if (m_nStep == 0)
        display.ShowText(FormatLabelName(FormatPerformanceLabel(m_nIndex), pSource->GetName()));
    const CPerformRecord::CBlock& block = CPerformRecord::kBlocks[size_t(m_nStep)];
    dataSet.nEntry = m_pRecord ? 0 : m_nIndex;
    dataSet.strEntry = FormatText(res::kEntryPerformance, FormatPerformanceLabel(m_nIndex).c_str());
    dataSet.dwAddress = PerformanceBlockAddress(m_nIndex, m_nStep);
    dataSet.pData = pSource->Data() + block.nOffset;
    dataSet.nCount = block.nSize;
    if (++m_nStep < kBlockCount)
        return true;
    ++m_nIndex;
    if (m_pRecord || m_nIndex >= CPerformDoc::kPerformanceCount)
        return false;
    m_nStep = 0;
    return true;
}

} // namespace vantorel
