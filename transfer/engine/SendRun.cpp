#include "transfer/engine/SendRun.h"

#include "midi/msg/SysEx.h"
#include "transfer/engine/DataSetCheck.h"

namespace vantorel {

CSendRun::CSendRun(CSendPlan* pPlan, IProgressDisplay& display) : CTransferRun(display), m_pPlan(pPlan)
{
    m_midiOut.UseChosenDevice();
    m_midiOut.SetErrorHandler(PortReports());
}

void CSendRun::OnPortError(const CPortError& error)
{
    m_portError = error;
    m_bPortFailed = true;
}

void CSendRun::Start()
{
    BeginRun(false);
    m_nEntry = -1;
    m_nEntriesSent = 0;
    CRunFailure failure;
    failure.bSending = true;
    failure.nTotal = m_pPlan->Total();
    failure.noun = m_pPlan->Noun();
    if (!m_pPlan->CanStart()) {
        failure.reason = EFailure::RefusedBytes;
        Fail(failure);
        return;
    }
    m_bPortFailed = false;
    if (!m_midiOut.Open(this)) {
        // Nothing goes out.
        CRunFailure portFailure = FailureFromPort(m_portError);
        portFailure.bSending = true;
        portFailure.nTotal = failure.nTotal;
        portFailure.noun = failure.noun;
        Fail(portFailure);
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

void CSendRun::Stop(CRunFailure failure, const CDataSet& dataSet)
{
    failure.bSending = true;
    failure.strEntry = dataSet.strEntry;
    failure.nEntry = dataSet.nEntry;
    // The entries before this one are on the synthesizer.
    failure.nDone = dataSet.nEntry;
    failure.nTotal = m_pPlan->Total();
    failure.noun = m_pPlan->Noun();
    failure.wDevice = m_midiOut.m_wDeviceId;
    failure.strDevice = m_midiOut.DeviceName();
    m_bMore = false;
    m_midiOut.Close();
    Fail(failure);
}

void CSendRun::EntrySent()
{
    if (m_nEntry >= 0)
        TellProgress(++m_nEntriesSent, m_pPlan->Total(), m_nEntry);
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
    if (dataSet.nEntry != m_nEntry) {
        EntrySent();
        m_nEntry = dataSet.nEntry;
    }
    m_status.Show(dataSet.nEntry, m_pPlan->Total(), m_pPlan->Noun());
    switch (CheckDataSet(dataSet)) {
    case EDataSetFault::None: break;
    case EDataSetFault::HighByte: {
        CRunFailure failure;
        failure.reason = EFailure::RefusedBytes;
        Stop(failure, dataSet);
        return;
    }
    case EDataSetFault::TooLarge: {
        CRunFailure failure;
        failure.reason = EFailure::EntryTooLarge;
        failure.nEntrySize = dataSet.nEntrySize;
        failure.nEntryRoom = dataSet.nEntryRoom;
        Stop(failure, dataSet);
        return;
    }
    }
    m_bPortFailed = false;
    if (m_midiOut.SendDataSet(dataSet.dwAddress, dataSet.pData, dataSet.nCount))
        return;
    CRunFailure failure;
    if (m_bPortFailed) {
        failure = FailureFromPort(m_portError);
    } else {
        // The port had failed before and kept it to itself.
        failure.reason = EFailure::ConnectionLost;
    }
    Stop(failure, dataSet);
}

void CSendRun::OnTimer(int nIdEvent)
{
    KillTimer(nIdEvent);
    if (!IsRunning() || PutOffWhileReporting(nIdEvent))
        return;
    if (nIdEvent == kSendTimer) {
        SendNext();
    } else if (nIdEvent == kFinishTimer) {
        EntrySent();
        m_bPortFailed = false;
        if (!m_midiOut.Close() && m_bPortFailed)
            ReportProblem(FailureFromPort(m_portError));
        Finish(m_pPlan->IsWhole());
    }
}

void CSendRun::OnMidiOutDone(HMIDIOUT hOut, MIDIHDR* pHeader)
{
    CPortError error;
    if (!CMidiOut::ReleaseHeader(hOut, pHeader, &error) && IsRunning()) {
        error.wDevice = m_midiOut.m_wDeviceId;
        error.strDevice = m_midiOut.DeviceName();
        ReportProblem(FailureFromPort(error));
    }
    if (!IsRunning())
        return;
    // Every data set is followed by a pause, the last one too.
    SetTimer(m_bMore ? kSendTimer : kFinishTimer, kPauseMs);
}

void CSendRun::CancelPorts()
{
    m_bPortFailed = false;
    if (!m_midiOut.Close() && m_bPortFailed)
        ReportProblem(FailureFromPort(m_portError));
}

} // namespace vantorel
