#include "transfer/plans/VarPlan.h"

#include <algorithm>

#include "data/MotionDoc.h"
#include "data/PatternDoc.h"
#include "midi/msg/SysEx.h"
#include "res/strings/transfer.h"
#include "res/strings/views.h"
#include "transfer/TransferAddresses.h"
#include "transfer/engine/TransferText.h"

namespace vantorel {

namespace {
constexpr int kProgressStep = 10;  // one full packet moves the bar this far
constexpr int kProgressDone = 100; // an item is complete
} // namespace

const CVarKind kPatternKind{CPatternDoc::kPatternCount, address::PatternValue,
                            address::PatternData,       address::kPatternStep,
                            res::kProgressPattern,      {res::kNounPattern, res::kNounPatterns}};
const CVarKind kMotionKind{CMotionDoc::kMotionCount, address::MotionValue,
                           address::MotionData,      address::kMotionStep,
                           res::kProgressMotion,     {res::kNounMotion, res::kNounMotions}};

// ---------------------------------------------------------------- Get

void CVarGetPlan::Begin(IProgressDisplay& display)
{
    m_nStep = 0;
    m_bBusy = true;
    m_nIndex = m_nSingle == -1 ? 0 : m_nSingle;
    m_dwBase = m_dwAddress = m_kind.pDataAddress(m_nIndex);
    display.SetProgressStep(kProgressStep);
    StartItem();
}

void CVarGetPlan::StartItem()
{
    m_bHasValue = false;
    m_byValue = 0;
    m_data.clear();
}

CRequest CVarGetPlan::Request(IProgressDisplay& display)
{
    if (m_nStep == 0)
        return {m_kind.pValueAddress(m_nIndex), address::kValueSize};
    display.ShowText(FormatItemText(m_kind.szText, m_nIndex + 1));
    return {m_dwAddress, address::kPacketSize};
}

bool CVarGetPlan::Store(const CSysExMessage& answer, CSysExList&, IProgressDisplay& display)
{
    // A verified data set: its data are everything between the four address
    // bytes and the checksum.
    const size_t nAnswer = answer.size();
    const size_t nData = nAnswer >= sysex::kDataSetOverhead ? nAnswer - sysex::kDataSetOverhead : 0;
    const uint8_t* pData = answer.data() + sysex::kHeaderLength;
    if (m_nStep == 0) {
        if (nData > 0) {
            m_bHasValue = true;
            m_byValue = pData[0];
        }
        m_nStep = 1;
        display.SetProgressPos(0);
        return m_bBusy;
    }

    m_data.insert(m_data.end(), pData, pData + nData);
    // A full packet means more may follow, unless the next one would lie in
    // the next item's memory.
    const bool bFull = nAnswer == address::kFullPacketAnswer;
    const bool bRoom = m_dwAddress - m_dwBase + 2 * address::kPacketSize <= m_kind.dwItemStep;
    if (bFull && bRoom) {
        display.StepProgress();
        m_dwAddress += address::kPacketSize;
    } else {
        ItemComplete(display);
    }
    return m_bBusy;
}

CGetPlan::Silence CVarGetPlan::OnSilence(IProgressDisplay& display)
{
    // Silence after a full packet ends the item; silence where the value
    // should come means the synthesizer is gone.
    if (m_nStep == 0)
        return Silence::Stall;
    ItemComplete(display);
    return m_bBusy ? Silence::AskNext : Silence::Finish;
}

void CVarGetPlan::ItemComplete(IProgressDisplay& display)
{
    // Only now does the document's item change: a cleared item with what arrived.
    if (m_pDoc && m_nIndex < m_kind.nCount && m_nIndex < m_pDoc->GetEntryCount()) {
        CVarEntry item;
        if (m_bHasValue)
            item.m_byValue = m_byValue;
        item.SetData(std::move(m_data));
        m_pDoc->ApplyEntries(res::kEditGet, {{m_nIndex, VarEntryBytes(item)}});
        MarkStored();
    }
    EntryDone();
    display.SetProgressPos(kProgressDone);
    m_dwBase += m_kind.dwItemStep;
    m_dwAddress = m_dwBase;
    ++m_nIndex;
    if (m_nIndex < m_kind.nCount && m_nSingle == -1)
        StartItem();
    else
        m_bBusy = false;
    m_nStep = 0;
}

// ---------------------------------------------------------------- Send

void CVarSendPlan::Begin(IProgressDisplay&)
{
    m_nIndex = Single() == -1 ? 0 : Single();
    m_dwBase = m_dwAddress = m_kind.pDataAddress(m_nIndex);
    m_nStep = 0;
    // A cancelled Send may have stopped inside an item: start at its first byte.
    m_nPos = 0;
}

bool CVarSendPlan::Next(CDataSet& dataSet, IProgressDisplay& display)
{
    const CVarEntry* pItem = Item(m_nIndex);
    if (!pItem) {
        dataSet.bValid = false;
        return false;
    }
    dataSet.nEntry = Single() == -1 ? m_nIndex : 0;
    dataSet.strEntry = FormatItemText(m_kind.szText, m_nIndex + 1);
    dataSet.nEntrySize = pItem->GetSize();
    dataSet.nEntryRoom = m_kind.dwItemStep; // the item's data ends where the next item's begins
    if (m_nStep == 0) {
        dataSet.dwAddress = m_kind.pValueAddress(m_nIndex);
        dataSet.pData = &pItem->m_byValue;
        dataSet.nCount = address::kValueSize;
        m_nStep = 1;
        return true;
    }

    const size_t nSize = pItem->GetSize();
    const size_t nPos = std::min(m_nPos, nSize);
    const size_t nCount = std::min<size_t>(nSize - nPos, address::kPacketSize);
    display.ShowText(FormatItemText(m_kind.szText, m_nIndex + 1));
    dataSet.dwAddress = m_dwAddress;
    dataSet.pData = nCount ? pItem->GetData() + nPos : nullptr;
    dataSet.nCount = nCount;
    m_nPos = nPos + nCount;
    if (m_nPos < nSize) {
        m_dwAddress += address::kPacketSize;
        return true;
    }
    // The item is out: on to the next one, if any.
    const int nFinished = m_nIndex;
    m_nPos = 0;
    ++m_nIndex;
    m_dwBase += m_kind.dwItemStep;
    m_dwAddress = m_dwBase;
    m_nStep = 0;
    return nFinished < m_kind.nCount - 1 && Single() == -1;
}

} // namespace vantorel
