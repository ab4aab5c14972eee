#include "transfer/TransferDlg.h"

#include <QLabel>
#include <QEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

#include "framework/core/MessageBox.h"
#include "framework/gui/DC.h"
#include "midi/DeviceNames.h"
#include "res/strings/transfer.h"
#include "transfer/CompleteDlg.h"
#include "transfer/StopPreview.h"
#include "transfer/TransferTemplates.h"
#include "transfer/TransferText.h"

namespace vantorel {

namespace {
// F0 41 10 00 06 12 and the four address bytes of address, whatever follows.
bool IsDataSetHeaderFor(const uint8_t* bytes, size_t count, uint32_t address)
{
    if (!bytes || count < sysex::kHeaderLength)
        return false;
    const uint8_t head[] = {sysex::kExclusiveStatus, sysex::kManufacturerId, sysex::kDeviceId, 0x00,
                            sysex::kModelId, sysex::kDataSet};
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

namespace {

// The progress text: "Courier New" 15 by 7, normal weight, at 5,0 on white.
constexpr CFontSpec kProgressFont{15, 7, 400, "Courier New"};
constexpr int kProgressTextX = 5;
constexpr int kProgressTextY = 0;
constexpr int kProgressMax = 100;

QString DialogText(const std::string& text)
{
    // Static controls expand tabs; the labels do not, so give them the room.
    return QString::fromStdString(text).replace(QLatin1Char('\t'), QStringLiteral("    "));
}

} // namespace

// ---------------------------------------------------------------- CTransferDlg

CTransferDlg::CTransferDlg(const CDlgTemplate& tmpl, const char* szConfirm, QWidget* parent)
    : CDialog(tmpl, parent), m_szConfirm(szConfirm)
{
}

void CTransferDlg::OnInitDialog()
{
    // Shown (again): START and Cancel work until a transfer starts.
    m_bTransferring = false;
    for (int nId : {IDOK, IDCANCEL})
        if (QPushButton* pButton = GetButton(nId))
            pButton->setEnabled(true);
    if (QLabel* pText = GetStatic(IDC_TRANSFER_TEXT))
        pText->setText(DialogText(m_strDevices));
}

void CTransferDlg::OnOK()
{
    if (m_bTransferring)
        return;
    if (AfxMessageBox(m_szConfirm, MB_OKCANCEL) != IDOK) {
        // Declined: nothing is opened, nothing is sent.
        EndDialog(IDOK);
        return;
    }
    m_bTransferring = true;
    PrepareProgress();
    CProgressDlg& progress = Progress();
    progress.m_pOwner = this;
    progress.CreateModeless();
    progress.move(pos());
    // In front, and the window the keyboard talks to: Escape there is Cancel.
    progress.raise();
    progress.activateWindow();
    progress.Start();
}

bool CTransferDlg::HasStored() { return Progress().HasStored(); }

void CTransferDlg::reject()
{
    if (m_bTransferring) {
        Progress().CancelByUser();
        return;
    }
    CDialog::reject();
}

void CTransferDlg::changeEvent(QEvent* pEvent)
{
    CDialog::changeEvent(pEvent);
    if (pEvent->type() == QEvent::ActivationChange && isActiveWindow() && m_bTransferring &&
        Progress().isVisible()) {
        Progress().raise();
        Progress().activateWindow();
    }
}

void CTransferDlg::OnTransferDone(int nWhole)
{
    if (nWhole == kTransferWhole) {
        CCompleteDlg complete;
        complete.DoModal();
    }
    m_bTransferring = false;
    Progress().hide();
    EndDialog(IDOK);
}

// ---------------------------------------------------------------- CProgressDlg

CProgressDlg::CProgressDlg(const CDlgTemplate& tmpl, QWidget* parent) : CDialog(tmpl, parent) {}

void CProgressDlg::ShowText(const std::string& text)
{
    m_strText = text;
    QLabel* pLabel = GetStatic(IDC_TRANSFER_TEXT);
    if (!pLabel)
        return;
    if (m_pTextBox != pLabel) {
        pLabel->installEventFilter(this);
        m_pTextBox = pLabel;
    }
    // A text longer than the box (the note on a silent synthesizer) can
    // still be read whole.
    pLabel->setToolTip(QString::fromStdString(text));
    // Drawn with the next paint, after the request that follows this answer
    // has gone out: the wire never waits for the screen.
    pLabel->update();
}

bool CProgressDlg::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched != m_pTextBox || pEvent->type() != QEvent::Paint || m_strText.empty())
        return CDialog::eventFilter(pWatched, pEvent);
    auto* pLabel = static_cast<QLabel*>(pWatched);
    // The sunken frame first, then the text box: white, fixed font, at 5,0.
    static_cast<QObject*>(pLabel)->event(pEvent);
    const QRect box = pLabel->contentsRect();
    QPainter painter(pLabel);
    painter.setClipRect(box);
    painter.translate(box.topLeft());
    CDC dc(painter);
    dc.FillSolidRect(CRect{0, 0, box.width(), box.height()}, Qt::white);
    dc.SelectFont(kProgressFont);
    dc.TextOut(kProgressTextX, kProgressTextY, QString::fromLatin1(m_strText.data(), qsizetype(m_strText.size())));
    return true;
}

void CProgressDlg::SetProgressPos(int nPos)
{
    if (QProgressBar* pBar = GetProgress(IDC_TRANSFER_PROGRESS))
        pBar->setValue(std::clamp(nPos, 0, kProgressMax));
}

void CProgressDlg::SetProgressStep(int nStep) { m_nStep = nStep; }

void CProgressDlg::StepProgress()
{
    QProgressBar* pBar = GetProgress(IDC_TRANSFER_PROGRESS);
    if (!pBar)
        return;
    // Past the end the bar starts over, as a stepping progress control does.
    int nPos = pBar->value() + m_nStep;
    if (nPos > kProgressMax)
        nPos -= kProgressMax;
    pBar->setValue(std::clamp(nPos, 0, kProgressMax));
}

int CProgressDlg::GetProgressPos() const
{
    const QProgressBar* pBar = GetProgress(IDC_TRANSFER_PROGRESS);
    return pBar ? pBar->value() : -1;
}

void CProgressDlg::BeginTransfer()
{
    StopPreview();
    if (m_pOwner) {
        if (QPushButton* pStart = m_pOwner->GetButton(IDOK))
            pStart->setEnabled(false);
        if (QPushButton* pCancel = m_pOwner->GetButton(IDCANCEL))
            pCancel->setEnabled(false);
    }
    m_bRunning = true;
}

bool CProgressDlg::PutOffWhileBoxShows(int nIdEvent)
{
    if (!m_alarm.IsShowing())
        return false;
    SetTimer(nIdEvent, kPauseMs);
    return true;
}

void CProgressDlg::EndTransfer(int nWhole)
{
    m_bRunning = false;
    KillTimer(1);
    KillTimer(2);
    KillTimer(kNoticeTimer);
    m_status.End();
    // Sent, not posted: the owner has ended its modal run when this returns.
    if (m_pOwner)
        m_pOwner->OnTransferDone(nWhole);
}

void CProgressDlg::OnCancel()
{
    // The window belongs to the Get or Send dialog and goes with it; Cancel
    // only ends the transfer.
    if (!m_bRunning)
        return;
    CancelTransfer();
    EndTransfer(kTransferPartial);
}

// ---------------------------------------------------------------- CGettingDlg

CGettingDlg::CGettingDlg(const CDlgTemplate& tmpl, CGetPlan* pPlan, QWidget* parent)
    : CProgressDlg(tmpl, parent), m_pPlan(pPlan)
{
    m_midiIn.m_wDeviceId = uint16_t(ReadMidiInDevice());
    m_midiOut.m_wDeviceId = uint16_t(ReadMidiOutDevice());
    m_midiIn.ShareAlarm(&m_alarm);
    m_midiOut.ShareAlarm(&m_alarm);
}

void CGettingDlg::Start()
{
    BeginTransfer();
    m_bAwaiting = false;
    m_bOutBusy = false;
    m_bRequestPending = false;
    m_bRetried = false;
    m_nSilent = 0;
    m_messages.DeleteAll();
    m_alarm.Clear();
    m_status.Begin(m_pOwner ? m_pOwner->parentWidget() : parentWidget(), true);
    OpenPorts();
    m_pPlan->ResetCounts();
    m_pPlan->Begin(*this);
    ShowCount();
    SendRequest();
}

void CGettingDlg::ShowCount() { m_status.Show(m_pPlan->Done(), m_pPlan->Total(), m_pPlan->Noun()); }

void CGettingDlg::CountSilence()
{
    if (++m_nSilent != kSilentSeconds)
        return;
    ShowText(res::kNoAnswer);
    m_status.ShowNotice(res::kNoAnswer);
}

void CGettingDlg::SendRequest()
{
    if (m_bOutBusy) {
        // The answer beat the done notice of its own request; the port's one
        // buffer is still taken, so the next request waits for that notice.
        m_bRequestPending = true;
        return;
    }
    m_bRequestPending = false;
    m_request = m_pPlan->Request(*this);
    m_bAwaiting = true;
    m_bDamagedAnswer = false;
    m_bOutBusy = m_midiOut.SendDataRequest(m_request.dwAddress, m_request.dwSize);
    // A request that could not go out (the device is gone) gets no done
    // notice: the time-out runs all the same, so that the ports are opened
    // and the request asked again until the device is back.
    if (m_pPlan->Rules().bArmOnSend || !m_bOutBusy)
        SetTimer(m_pPlan->Rules().nTimeoutTimer, kAnswerTimeoutMs);
}

void CGettingDlg::OnMidiOutDone(HMIDIOUT hOut, MIDIHDR* pHeader)
{
    CMidiOut::ReleaseHeader(hOut, pHeader);
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

void CGettingDlg::OnMidiInLongData(HMIDIIN, MIDIHDR* pHeader)
{
    if (!IsRunning() || !pHeader || !pHeader->lpData)
        return;
    const size_t nCount = std::min<size_t>(pHeader->dwBytesRecorded, pHeader->dwBufferLength);
    // The buffer given back by a reset: nothing to store, and not queued again.
    if (nCount == 0)
        return;
    // Behind this transfer's own box nothing is stored and nothing asked:
    // the time-out that waits for the box asks again.
    if (m_alarm.IsShowing()) {
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
            m_nSilent = 0;
        }
        m_midiIn.Requeue();
        return;
    }
    KillTimer(rules.nTimeoutTimer);
    m_bAwaiting = false;
    m_bRetried = false;
    m_nSilent = 0;
    // The device works again: a new failure is worth a new box.
    m_alarm.Clear();
    CSysExMessage* pAnswer = m_messages.AddReceived(int32_t(nCount), pHeader->lpData);
    pAnswer->Parse();
    const bool bMore = m_pPlan->Store(*pAnswer, m_messages, *this);
    m_midiIn.Requeue();
    ShowCount();
    if (bMore)
        SendRequest();
    else
        SetTimer(m_pPlan->Rules().nFinishTimer, kPauseMs);
}

void CGettingDlg::OnTimer(int nIdEvent)
{
    KillTimer(nIdEvent);
    if (!IsRunning() || PutOffWhileBoxShows(nIdEvent))
        return;
    const CGetRules& rules = m_pPlan->Rules();
    if (nIdEvent == kNoticeTimer) {
        CountSilence();
        if (m_nSilent < kSilentSeconds)
            SetTimer(kNoticeTimer, kAnswerTimeoutMs);
        return;
    }
    if (nIdEvent == rules.nFinishTimer) {
        ClosePorts();
        m_messages.DeleteAll();
        EndTransfer(m_pPlan->IsWhole() ? kTransferWhole : kTransferPartial);
        return;
    }
    if (nIdEvent != rules.nTimeoutTimer || !m_bAwaiting)
        return;
    if (m_bDamagedAnswer) {
        // Only a damaged answer came: ask again, as after a first silence,
        // without counting it as one.
        m_bRetried = false;
        ReopenPorts();
        SendRequest();
        return;
    }
    CountSilence();
    if (rules.bRetryOnce && m_bRetried) {
        // Silence after the repeat: the plan says what it means.
        m_bRetried = false;
        switch (m_pPlan->OnSilence(*this)) {
        case CGetPlan::Silence::AskNext:
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
    ReopenPorts();
    SendRequest();
}

void CGettingDlg::OpenPorts()
{
    // Both ports report through one alarm, cleared only by an answer: a
    // device that is gone, or that takes nothing, gives one box however
    // often the Get tries again.
    m_midiOut.Open(this);
    m_midiIn.Open(this);
}

void CGettingDlg::ReopenPorts()
{
    ClosePorts();
    OpenPorts();
}

void CGettingDlg::ClosePorts()
{
    m_midiIn.Close();
    m_midiOut.Close();
    // A closed port reports nothing more, so nothing is in flight.
    m_bOutBusy = false;
    m_bRequestPending = false;
}

void CGettingDlg::CancelTransfer()
{
    ClosePorts();
    m_messages.DeleteAll();
    m_bAwaiting = false;
}

// ---------------------------------------------------------------- CSendingDlg

CSendingDlg::CSendingDlg(const CDlgTemplate& tmpl, CSendPlan* pPlan, QWidget* parent)
    : CProgressDlg(tmpl, parent), m_pPlan(pPlan)
{
    m_midiOut.m_wDeviceId = uint16_t(ReadMidiOutDevice());
    m_midiOut.ShareAlarm(&m_alarm);
    // A failed send is told with how far the Send got, not by the port.
    m_midiOut.m_bQuietSend = true;
}

void CSendingDlg::Start()
{
    BeginTransfer();
    m_alarm.Clear();
    m_status.Begin(m_pOwner ? m_pOwner->parentWidget() : parentWidget(), false);
    if (!m_midiOut.Open(this)) {
        // The port has said that the device is not available; nothing goes out.
        EndTransfer(kTransferPartial);
        return;
    }
    m_bMore = true;
    m_pPlan->Begin(*this);
    SetTimer(kSendTimer, kPauseMs);
}

void CSendingDlg::Stop(const std::string& text)
{
    m_alarm.Raise(text);
    m_bMore = false;
    m_midiOut.Close();
    EndTransfer(kTransferPartial);
}

void CSendingDlg::OnTimer(int nIdEvent)
{
    KillTimer(nIdEvent);
    if (!IsRunning() || PutOffWhileBoxShows(nIdEvent))
        return;
    if (nIdEvent == kSendTimer) {
        CDataSet dataSet;
        m_bMore = m_pPlan->Next(dataSet, *this);
        if (dataSet.bValid) {
            m_status.Show(dataSet.nEntry, m_pPlan->Total(), m_pPlan->Noun());
            if (!AreDataBytes(dataSet.pData, dataSet.nCount)) {
                Stop(FormatText(res::kEntryNotSendable, dataSet.strEntry.c_str()));
                return;
            }
            if (!m_midiOut.SendDataSet(dataSet.dwAddress, dataSet.pData, dataSet.nCount)) {
                // The entries before this one are on the synthesizer.
                const CTransferNoun noun = m_pPlan->Noun();
                const int nTotal = m_pPlan->Total();
                Stop(FormatText(res::kSendStopped, GetPortDeviceName(false, m_midiOut.m_wDeviceId).c_str(),
                                int(m_midiOut.m_wDeviceId), dataSet.nEntry, nTotal,
                                nTotal == 1 ? noun.szOne : noun.szMany));
            }
        } else {
            m_bMore = false;
            SetTimer(kFinishTimer, kPauseMs);
        }
    } else if (nIdEvent == kFinishTimer) {
        m_midiOut.Close();
        EndTransfer(m_pPlan->IsWhole() ? kTransferWhole : kTransferPartial);
    }
}

void CSendingDlg::OnMidiOutDone(HMIDIOUT hOut, MIDIHDR* pHeader)
{
    CMidiOut::ReleaseHeader(hOut, pHeader);
    if (!IsRunning())
        return;
    // Every data set is followed by a pause, the last one too.
    SetTimer(m_bMore ? kSendTimer : kFinishTimer, kPauseMs);
}

void CSendingDlg::CancelTransfer() { m_midiOut.Close(); }

} // namespace vantorel
