#include "transfer/engine/SendRun.h"

#include "midi/msg/SysEx.h"
#include "res/strings/transfer.h"
#include "transfer/engine/TransferText.h"

namespace vantorel {

CSendRun::CSendRun(CSendPlan* pPlan, IProgressDisplay& display) : CTransferRun(display), m_pPlan(pPlan)
{
    m_midiOut.UseChosenDevice();
    m_midiOut.ShareAlarm(&m_alarm);
    m_midiOut.m_bQuietSend = true;
}

void CSendRun::Start()
{
    BeginRun(false);
    if (!m_pPlan->CanStart()) {
        EndRun(ETransferEnd::Failed);
        return;
    }
    if (!m_midiOut.Open(this)) {
        // The port has said that the device is not available; nothing goes out.
        EndRun(ETransferEnd::Failed);
        return;
    }
    m_bMore = true;
    m_pPlan->Begin(m_display);
    SetTimer(kSendTimer, kPauseMs);
}

std::string CSendRun::MissingDeviceText() const
{
    return m_midiOut.IsAvailable() ? std::string() : m_midiOut.NotAvailableText();
}

void CSendRun::Stop(const std::string& text)
{
    if (!text.empty())
        m_alarm.Raise(text);
    m_bMore = false;
    m_midiOut.Close();
    EndRun(ETransferEnd::Failed);
}

void CSendRun::SendNext()
{
    CDataSet dataSet;
    m_bMore = m_pPlan->Next(dataSet, m_display);
    if (!dataSet.bValid) {
        m_bMore = false;
        SetTimer(kFinishTimer, kPauseMs);
        return;
    }
    m_status.Show(dataSet.nEntry, m_pPlan->Total(), m_pPlan->Noun());
    if (!AreDataBytes(dataSet.pData, dataSet.nCount)) {
        Stop(FormatText(res::kEntryNotSendable, dataSet.strEntry.c_str()));
        return;
    }
    if (m_midiOut.SendDataSet(dataSet.dwAddress, dataSet.pData, dataSet.nCount))
        return;
    if (!m_midiOut.m_bQuietSend) {
        Stop({});
        return;
    }
    // The entries before this one are on the synthesizer.
    const CTransferNoun noun = m_pPlan->Noun();
    const int nTotal = m_pPlan->Total();
    Stop(FormatText(res::kSendStopped, m_midiOut.DeviceName().c_str(),
                    int(m_midiOut.m_wDeviceId), dataSet.nEntry, nTotal, nTotal == 1 ? noun.szOne : noun.szMany));
}

void CSendRun::OnTimer(int nIdEvent)
{
    KillTimer(nIdEvent);
    if (!IsRunning() || PutOffWhileBoxShows(nIdEvent))
        return;
    if (nIdEvent == kSendTimer) {
        SendNext();
    } else if (nIdEvent == kFinishTimer) {
        m_midiOut.Close();
        EndRun(m_pPlan->IsWhole() ? ETransferEnd::Whole : ETransferEnd::Partial);
    }
}

void CSendRun::OnMidiOutDone(HMIDIOUT hOut, MIDIHDR* pHeader)
{
    CMidiOut::ReleaseHeader(hOut, pHeader);
    if (!IsRunning())
        return;
    // Every data set is followed by a pause, the last one too.
    SetTimer(m_bMore ? kSendTimer : kFinishTimer, kPauseMs);
}

void CSendRun::CancelPorts() { m_midiOut.Close(); }

} // namespace vantorel
