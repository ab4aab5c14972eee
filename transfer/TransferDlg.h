#pragma once
// The transfer machinery every kind shares:
// - CTransferDlg: the modal Get or Send dialog (device text, START, Cancel,
//   the confirmation question, "Complete!" at the end);
// - CGettingDlg: the modeless "Getting..." dialog that owns both ports and
//   walks a CGetPlan request by request;
// - CSendingDlg: the modeless "Sending..." dialog that owns the output port
//   and walks a CSendPlan data set by data set, 100 ms apart.
// Everything runs on the GUI thread from MIDI notifications and numbered
// window timers, so no handler ever overlaps another. A message box keeps
// its modal loop turning, though: while a transfer's own box is up its timers
// wait, so that no step runs (and no second box comes) behind it.
#include <cstdint>
#include <string>

#include "framework/gui/Dialog.h"
#include "midi/MidiPorts.h"
#include "midi/msg/SysEx.h"
#include "transfer/TransferPlan.h"
#include "transfer/TransferStatus.h"

namespace vantorel {

class CProgressDlg;

// A Get or Send dialog, run modally by a list window.
class CTransferDlg : public CDialog {
    Q_OBJECT
public:
    // szConfirm: the question START asks before anything is sent.
    CTransferDlg(const CDlgTemplate& tmpl, const char* szConfirm, QWidget* parent);

    // "MIDI IN:\n\t<name>\n\nMIDI OUT:\n\t<name>", shown in control 1000.
    std::string m_strDevices;

    // WM_TRANSFER_DONE from the progress dialog: kTransferWhole shows
    // "Complete!" first; either way the dialog then closes with IDOK.
    void OnTransferDone(int nWhole);
    bool IsTransferring() const { return m_bTransferring; }

    virtual CProgressDlg& Progress() = 0;
    // True once a Get has changed the document (a Send never does).
    bool HasStored();

protected:
    void OnInitDialog() override;
    // Escape, or the close box, while a transfer runs: Cancel the transfer.
    void reject() override;
    // Coming to the front keeps the progress window above this one.
    void changeEvent(QEvent* pEvent) override;
    // START: ask, then hand the fields to the progress dialog and start it.
    void OnOK() override;
    // Copies the caller's fields into the progress dialog's plan.
    virtual void PrepareProgress() = 0;

private:
    const char* m_szConfirm;
    bool m_bTransferring = false;
};

// "Getting..." or "Sending...": owns the ports of one transfer.
class CProgressDlg : public CDialog, public IMidiNotify, public IProgressDisplay {
    Q_OBJECT
public:
    CProgressDlg(const CDlgTemplate& tmpl, QWidget* parent);

    CTransferDlg* m_pOwner = nullptr;

    // Called once, right after the window has been created and shown.
    virtual void Start() = 0;
    bool IsRunning() const { return m_bRunning; }
    virtual bool HasStored() const { return false; }
    // Cancel, as the button does (Escape in the Get or Send dialog).
    void CancelByUser() { OnCancel(); }
    // The main window's status bar line of this transfer ("" when idle).
    const std::string& GetStatusText() const { return m_status.GetText(); }

    // IProgressDisplay
    void ShowText(const std::string& text) override;
    void SetProgressPos(int nPos) override;
    void SetProgressStep(int nStep) override;
    void StepProgress() override;

    // What the text box shows now, and the bar's position (-1 without a bar).
    const std::string& GetProgressText() const { return m_strText; }
    int GetProgressPos() const;

protected:
    // Stops the preview note and disables the owner's START and Cancel.
    void BeginTransfer();
    // Marks the transfer over and tells the owner (WM_TRANSFER_DONE).
    void EndTransfer(int nWhole);
    void OnCancel() override;
    // Cancel while running: close the ports; the owner is told by OnCancel.
    virtual void CancelTransfer() = 0;
    // Paints the progress text into control 1000.
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    // A timer that fires while this transfer's box is up is put off until
    // the box has gone; true when nIdEvent was put off.
    bool PutOffWhileBoxShows(int nIdEvent);

    // The one box of one failure, shared by the ports of this transfer.
    CPortAlarm m_alarm;
    CTransferStatus m_status;

private:
    std::string m_strText;
    QObject* m_pTextBox = nullptr; // control 1000 once its painting is ours
    int m_nStep = 10;
    bool m_bRunning = false;
};

// Request and answer, for every kind.
class CGettingDlg : public CProgressDlg {
    Q_OBJECT
public:
    // pPlan: the kind's plan, owned by the derived dialog.
    CGettingDlg(const CDlgTemplate& tmpl, CGetPlan* pPlan, QWidget* parent);

    void Start() override;
    void OnTimer(int nIdEvent) override;
    void OnMidiInLongData(HMIDIIN hIn, MIDIHDR* pHeader) override;
    void OnMidiOutDone(HMIDIOUT hOut, MIDIHDR* pHeader) override;
    bool HasStored() const override { return m_pPlan->HasStored(); }

    // Time-outs in a row without any answer before the progress text says
    // that the synthesizer does not answer.
    static constexpr int kSilentSeconds = 3;

    CMidiIn m_midiIn;
    CMidiOut m_midiOut;
    CSysExList m_messages; // the verified answers of this transfer

protected:
    void CancelTransfer() override;

private:
    void SendRequest();
    void OpenPorts();
    void ReopenPorts();
    void ClosePorts();
    void ShowCount();
    // One more second without an answer.
    void CountSilence();

    CGetPlan* m_pPlan;
    CRequest m_request;           // the request now waiting for its answer
    bool m_bAwaiting = false;     // an answer to m_request would be taken
    bool m_bOutBusy = false;      // a request is in the port, its done notice not yet handled
    bool m_bRequestPending = false; // the next request waits for that notice
    bool m_bRetried = false;      // the current request has been repeated once
    bool m_bDamagedAnswer = false; // a damaged answer to the current request came
    int m_nSilent = 0;            // time-outs since the last answer of any kind
};

// Paced data sets, for every kind.
class CSendingDlg : public CProgressDlg {
    Q_OBJECT
public:
    CSendingDlg(const CDlgTemplate& tmpl, CSendPlan* pPlan, QWidget* parent);

    void Start() override;
    void OnTimer(int nIdEvent) override;
    void OnMidiOutDone(HMIDIOUT hOut, MIDIHDR* pHeader) override;

    CMidiOut m_midiOut;
    bool m_bMore = false; // another data set follows the one in the port

protected:
    void CancelTransfer() override;

private:
    // Ends the transfer with its one message.
    void Stop(const std::string& text);

    static constexpr int kSendTimer = 1;
    static constexpr int kFinishTimer = 2;
    CSendPlan* m_pPlan;
};

} // namespace vantorel
