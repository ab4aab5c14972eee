#include "transfer/engine/GetRun.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "res/strings/transfer.h"

namespace vantorel {

namespace {

// F0 41 10 00 06 12 and the four address bytes of address, whatever follows.
bool IsDataSetHeaderFor(const uint8_t* bytes, size_t count, uint32_t address)
{
    if (!bytes || count < sysex::kHeaderLength)
        return false;
    const uint8_t head[] = {sysex::kExclusiveStatus, sysex::kManufacturerId, sysex::kDeviceId, 0x00,
                            sysex::kModelId,         sysex::kDataSet};
    if (!std::equal(std::begin(head), std::end(head), bytes))
        return false;
    const std::vector<uint8_t> wire = ToWireBytes(address);
    return std::equal(wire.begin(), wire.end(), bytes + sizeof head);
}

// The data bytes of a data set against the size asked for.
bool HasAcceptedLength(size_t nCount, uint32_t dwAsked, bool bExact)
{
    const size_t nData = nCount >= sysex::kDataSetOverhead ? nCount - sysex::kDataSetOverhead : 0;
    return bExact ? nData == dwAsked : nData <= dwAsked;
}

// Keeps the var-length kinds' stall counting seconds for the silence notice.
constexpr int kNoticeTimer = 3;

} // namespace

CGetRun::CGetRun(CGetPlan* pPlan, IProgressDisplay& display) : CTransferRun(display), m_pPlan(pPlan)
{
    m_midiIn.UseChosenDevice();
    m_midiOut.UseChosenDevice();
    m_midiIn.SetErrorHandler(PortReports());
    m_midiOut.SetErrorHandler(PortReports());
}

void CGetRun::Start()
{
    BeginRun(true);
    m_bAwaiting = false;
    m_bOutBusy = false;
    m_bRequestPending = false;
    m_bRetried = false;
    m_nSilent = 0;
    m_bPortFailed = false;
    NewRequest();
    m_messages.DeleteAll();
    m_pPlan->ResetCounts();
    OpenPorts();
    m_pPlan->Begin(m_display);
    ShowCount();
    SendRequest();
}

std::string CGetRun::MissingDeviceText() const
{
    // In the order the ports open.
    if (!m_midiOut.IsAvailable())
        return m_midiOut.NotAvailableText();
    return m_midiIn.IsAvailable() ? std::string() : m_midiIn.NotAvailableText();
}

void CGetRun::NewRequest()
{
    m_nRepeats = 0;
    m_bDamagedSeen = false;
}

void CGetRun::OnPortError(const CPortError& error)
{
    m_portError = error;
    m_bPortFailed = true;
    if (IsRunning())
        ReportProblem(Counted(FailureFromPort(error)));
}

CRunFailure CGetRun::Counted(CRunFailure failure) const
{
    failure.nDone = m_pPlan->Done();
    failure.nTotal = m_pPlan->Total();
    failure.nEntry = std::max(0, std::min(failure.nDone, failure.nTotal - 1));
    failure.noun = m_pPlan->Noun();
    failure.nTries = m_nRepeats + 1;
    return failure;
}

void CGetRun::GiveUp()
{
    CRunFailure failure;
    if (m_bPortFailed) {
        failure = FailureFromPort(m_portError);
    } else {
        // The device the answers should have come from.
        failure.reason = m_bDamagedSeen ? EFailure::DamagedAnswer : EFailure::NoAnswer;
        failure.bInput = true;
        failure.wDevice = m_midiIn.m_wDeviceId;
        failure.strDevice = m_midiIn.DeviceName();
    }
    failure = Counted(failure);
    ClosePorts();
    m_messages.DeleteAll();
    m_bAwaiting = false;
    Fail(failure);
}

bool CGetRun::TakeTry()
{
    if (m_settings.nRetries != CRunSettings::kForEver && m_nRepeats >= m_settings.nRetries)
        return false;
    ++m_nRepeats;
    return true;
}

void CGetRun::AskAgain()
{
    if (!TakeTry()) {
        GiveUp();
        return;
    }
    ReopenPorts();
    SendRequest();
}

void CGetRun::ShowCount()
{
    m_status.Show(m_pPlan->Done(), m_pPlan->Total(), m_pPlan->Noun());
}

void CGetRun::CountSilence()
{
    if (++m_nSilent != kSilentSeconds)
        return;
    m_display.ShowNote(res::kNoAnswer);
    m_status.ShowNotice(res::kNoAnswerStatus);
}

void CGetRun::SendRequest()
{
    if (m_bOutBusy) {
        // The answer beat the done notice of its own request; the port's one
        // buffer is still taken, so the next request waits for that notice.
        m_bRequestPending = true;
        return;
    }
    m_bRequestPending = false;
    m_request = m_pPlan->Request(m_display);
    m_bAwaiting = true;
    m_bDamagedAnswer = false;
    m_bOutBusy = m_midiOut.SendDataRequest(m_request.dwAddress, m_request.dwSize);
    // A request that could not go out (the device is gone) gets no done
    // notice: the time-out runs all the same, so that the ports are opened
    // and the request asked again until the device is back.
    if (m_pPlan->Rules().bArmOnSend || !m_bOutBusy)
        SetTimer(m_pPlan->Rules().nTimeoutTimer, kAnswerTimeoutMs);
}

void CGetRun::OnMidiOutDone(HMIDIOUT hOut, MIDIHDR* pHeader)
{
    CPortError error;
    if (!CMidiOut::ReleaseHeader(hOut, pHeader, &error) && IsRunning()) {
        error.wDevice = m_midiOut.m_wDeviceId;
        error.strDevice = m_midiOut.DeviceName();
        OnPortError(error);
    }
    m_bOutBusy = false;
    if (!IsRunning())
        return;
    if (m_bRequestPending) {
        SendRequest();
        return;
    }
    // The answer must begin to arrive within a second after the request has left.
    if (!m_pPlan->Rules().bArmOnSend && m_bAwaiting)
        SetTimer(m_pPlan->Rules().nTimeoutTimer, kAnswerTimeoutMs);
}

void CGetRun::OnMidiInLongData(HMIDIIN, MIDIHDR* pHeader)
{
    if (!IsRunning() || !pHeader || !pHeader->lpData)
        return;
    const size_t nCount = std::min<size_t>(pHeader->dwBytesRecorded, pHeader->dwBufferLength);
    // The buffer given back by a reset: nothing to store, and not queued again.
    if (nCount == 0)
        return;
    // While the owner is told of a problem nothing is stored and nothing
    // asked: the time-out that waits for it asks again.
    if (IsReporting()) {
        m_midiIn.Requeue();
        return;
    }
    // Only a data set of this device for the address just asked for, with a
    // correct checksum, is an answer. Anything else is dropped and the wait,
    // with its time-out, goes on.
    const CGetRules& rules = m_pPlan->Rules();
    if (!m_bAwaiting || !IsValidDataSetFor(pHeader->lpData, nCount, m_request.dwAddress) ||
        !HasAcceptedLength(nCount, m_request.dwSize, rules.bExactLength)) {
        // A damaged answer to this very request is not silence: the device
        // has data here, so the time-out that follows asks again without
        // counting towards the end of an item (or a stall on a value).
        if (m_bAwaiting && IsDataSetHeaderFor(pHeader->lpData, nCount, m_request.dwAddress)) {
            m_bDamagedAnswer = true;
            m_bDamagedSeen = true;
            m_nSilent = 0;
        }
        m_midiIn.Requeue();
        return;
    }
    KillTimer(rules.nTimeoutTimer);
    m_bAwaiting = false;
    m_bRetried = false;
    m_nSilent = 0;
    // The device works again: a new failure is worth telling.
    ClearProblem();
    m_bPortFailed = false;
    NewRequest();
    const int nDoneBefore = m_pPlan->Done();
    CSysExMessage* pAnswer = m_messages.AddReceived(int32_t(nCount), pHeader->lpData);
    pAnswer->Parse();
    const bool bMore = m_pPlan->Store(*pAnswer, m_messages, m_display);
    m_midiIn.Requeue();
    ShowCount();
    if (m_pPlan->Done() != nDoneBefore)
        TellProgress(m_pPlan->Done(), m_pPlan->Total(), m_pPlan->Done() - 1);
    if (bMore)
        SendRequest();
    else
        SetTimer(rules.nFinishTimer, kPauseMs);
}

void CGetRun::OnTimer(int nIdEvent)
{
    KillTimer(nIdEvent);
    if (!IsRunning() || PutOffWhileReporting(nIdEvent))
        return;
    const CGetRules& rules = m_pPlan->Rules();
    if (nIdEvent == kNoticeTimer) {
        // A stall: each second of it is one more try of the last request.
        CountSilence();
        if (m_settings.nRetries != CRunSettings::kForEver) {
            if (!TakeTry()) {
                GiveUp();
                return;
            }
            SetTimer(kNoticeTimer, kAnswerTimeoutMs);
        } else if (m_nSilent < kSilentSeconds) {
            SetTimer(kNoticeTimer, kAnswerTimeoutMs);
        }
        return;
    }
    if (nIdEvent == rules.nFinishTimer) {
        ClosePorts();
        m_messages.DeleteAll();
        Finish(m_pPlan->IsWhole());
        return;
    }
    if (nIdEvent != rules.nTimeoutTimer || !m_bAwaiting)
        return;
    if (m_bDamagedAnswer) {
        // Only a damaged answer came: ask again, as after a first silence,
        // without counting it as one towards the end of an item.
        m_bRetried = false;
        AskAgain();
        return;
    }
    CountSilence();
    if (rules.bRetryOnce && m_bRetried) {
        // Silence after the repeat: the plan says what it means.
        m_bRetried = false;
        switch (m_pPlan->OnSilence(m_display)) {
        case CGetPlan::Silence::AskNext:
            NewRequest();
            SendRequest();
            break;
        case CGetPlan::Silence::Finish:
            m_bAwaiting = false;
            SetTimer(rules.nFinishTimer, kPauseMs);
            break;
        case CGetPlan::Silence::Stall:
            // Until Cancel; the seconds still count towards the notice.
            SetTimer(kNoticeTimer, kAnswerTimeoutMs);
            break;
        }
        return;
    }
    // No answer: start both ports afresh and ask again.
    m_bRetried = true;
    AskAgain();
}

void CGetRun::OpenPorts()
{
    // Both ports report to the run, which tells one problem until an
    // answer comes: a device that is gone, or that takes nothing, is told
    // once however often the Get tries again.
    m_midiOut.Open(this);
    m_midiIn.Open(this);
}

void CGetRun::ReopenPorts()
{
    ClosePorts();
    OpenPorts();
}

void CGetRun::ClosePorts()
{
    m_midiIn.Close();
    m_midiOut.Close();
    // A closed port reports nothing more, so nothing is in flight.
    m_bOutBusy = false;
    m_bRequestPending = false;
}

void CGetRun::CancelPorts()
{
    ClosePorts();
    m_messages.DeleteAll();
    m_bAwaiting = false;
}

} // namespace vantorel
