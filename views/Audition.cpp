#include "views/Audition.h"

#include "framework/gui/ScrollView.h"
#include "midi/DeviceNames.h"
#include "midi/msg/SysEx.h"
#include "transfer/StopPreview.h"

namespace vantorel {

CAudition::CAudition(CScrollView* pOwner, IMidiNotify* pNotify) : m_pOwner(pOwner), m_pNotify(pNotify) {}

CAudition::~CAudition() = default;

void CAudition::BuildBuffer(const CPatchRecord& patch, CPerformRecord& buffer)
{
    // Init gives the initial performance: common and part settings, and both
    // slots holding the initial patch.
    buffer.Init();
    buffer.m_aPatch[0] = patch;
    buffer.SetName(patch.GetName()); // GetName stops at a zero byte; SetName pads with spaces
}

void CAudition::StartPatch(const CPatchRecord& patch)
{
    BuildBuffer(patch, m_buffer);
    Start(m_buffer.Data());
}

void CAudition::Start(const uint8_t* pPerformance)
{
    StopPreview();
    // Only the output is used; the input number is read as every transfer reads it.
    (void)ReadMidiInDevice();
    m_midiOut.m_wDeviceId = static_cast<uint16_t>(ReadMidiOutDevice());
    // Bytes of 0x80 and above would end a data set early on the wire: such a
    // patch is not auditioned at all, rather than cut short.
    if (!AreDataBytes(pPerformance, CPerformRecord::kSize)) {
        m_pRead = nullptr;
        m_bSending = 0;
        return;
    }
    m_pRead = pPerformance;
    m_bSending = 1;
    if (!m_midiOut.Open(m_pNotify)) {
        Abandon();
        return;
    }
    m_bMore = 1;
    m_nStep = 0;
    m_pOwner->SetTimer(kStepTimer, kPauseMs);
}

bool CAudition::OnTimer(int nId)
{
    if (nId == kStepTimer) {
        m_pOwner->KillTimer(kStepTimer);
        if (m_nStep >= kStepCount || !m_pRead)
            return true;
        const CPerformRecord::CBlock& block = CPerformRecord::kBlocks[static_cast<size_t>(m_nStep)];
        const uint8_t* pBlock = m_pRead;
        m_pRead += block.nSize;
        const uint32_t address = kAddresses[static_cast<size_t>(m_nStep)];
        if (m_nStep == kStepCount - 1)
            m_bMore = 0;
        ++m_nStep;
        if (!m_midiOut.SendDataSet(address, pBlock, block.nSize))
            Abandon();
        return true;
    }
    if (nId == kEndTimer) {
        m_pOwner->KillTimer(kEndTimer);
        if (m_midiOut.IsOpen())
            m_midiOut.Close();
        m_bSending = 0;
        return true;
    }
    return false;
}

void CAudition::OnOutputDone(HMIDIOUT hOut, MIDIHDR* pHeader)
{
    CMidiOut::ReleaseHeader(hOut, pHeader);
    m_pOwner->SetTimer(m_bMore ? kStepTimer : kEndTimer, kPauseMs);
}

void CAudition::Abandon()
{
    m_pOwner->KillTimer(kStepTimer);
    m_pOwner->KillTimer(kEndTimer);
    if (m_midiOut.IsOpen())
        m_midiOut.Close();
    m_bMore = 0;
    m_bSending = 0;
    m_pRead = nullptr;
}

} // namespace vantorel
