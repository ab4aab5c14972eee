#pragma once
// The Get and Send windows, views of a run (transfer/engine):
// - CTransferDlg: the modal Get or Send dialog (device text, START, Cancel,
//   the confirmation question, "Complete!" at the end);
// - CProgressDlg: the modeless "Getting..." or "Sending..." dialog that starts
//   its run, shows the run's text, bar and status line, and cancels it;
// - CGettingDlg and CSendingDlg: the progress dialogs of a Get and a Send.
#include <QPointer>
#include <QStringList>

#include <memory>
#include <string>

#include "framework/gui/Dialog.h"
#include "transfer/engine/GetRun.h"
#include "transfer/engine/SendRun.h"

class QLabel;
class QStatusBar;

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

    // The progress dialog's run is over: a whole transfer shows "Complete!"
    // first; either way the dialog then closes with IDOK.
    void OnTransferDone(const CRunResult& result);
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
    // START: a device that is not listed is said instead (the device text is
    // brought up to date); else ask, then start the progress dialog.
    void OnOK() override;

private:
    // Starts the progress dialog on the plan handed in.
    void StartTransfer();
    const char* m_szConfirm;
    bool m_bTransferring = false;
};

// "Getting..." or "Sending...": the window of one run.
class CProgressDlg : public CDialog, public IProgressDisplay {
    Q_OBJECT
public:
    CProgressDlg(const CDlgTemplate& tmpl, QWidget* parent);

    CTransferDlg* m_pOwner = nullptr;

    virtual CTransferRun& Run() = 0;
    const CTransferRun& Run() const { return const_cast<CProgressDlg*>(this)->Run(); }
    // Called once, right after the window has been created and shown.
    void Start();
    bool IsRunning() const { return Run().IsRunning(); }
    virtual bool HasStored() const { return false; }
    // True once the plan it runs has been handed in.
    virtual bool HasPlan() const = 0;
    // Cancel, as the button does (Escape in the Get or Send dialog).
    void CancelByUser() { OnCancel(); }
    // The main window's status bar line of this transfer ("" when idle).
    const std::string& GetStatusText() const { return Run().GetStatusText(); }

    // IProgressDisplay
    void ShowText(const std::string& text) override;
    // Wrapped to the text box's width; the box grows downwards, and the
    // window with it, until every line shows.
    void ShowNote(const std::string& text) override;
    void SetProgressPos(int nPos) override;
    void SetProgressStep(int nStep) override;
    void StepProgress() override;
    void ShowStatus(const std::string& text) override;

    // What the text box shows now, and the bar's position (-1 without a bar).
    const std::string& GetProgressText() const { return m_strText; }
    // The lines it is drawn on.
    const QStringList& GetProgressLines() const { return m_lines; }
    int GetProgressPos() const;

protected:
    // Cancel while running ends the run; the owner is told by its end.
    void OnCancel() override;
    // Paints the progress text into control 1000.
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    // Hands the run's problems and its end to this window.
    void WatchRun();
    // The run is over: its failure in a box, then the owner is told.
    void OnRunDone(const CRunResult& result);

private:
    // Shows text drawn on lines, the box made as tall as they need and never
    // less than its described height.
    void ShowLines(const std::string& text, QStringList lines);
    void FitTextBox(QLabel* pLabel);

    std::string m_strText;
    QStringList m_lines;
    int m_nGrowth = 0;                 // pixels the text box and the window have grown by
    QObject* m_pTextBox = nullptr;     // control 1000 once its painting is ours
    QPointer<QStatusBar> m_pStatusBar; // the main window's, found at Start
    int m_nStep = 10;
};

// Request and answer, for every kind: the run of the plan a kind made
// (CDocKind::MakeGetPlan), handed in before the dialog starts.
class CGettingDlg : public CProgressDlg {
    Q_OBJECT
public:
    CGettingDlg(const CDlgTemplate& tmpl, QWidget* parent);

    void SetPlan(std::unique_ptr<CGetPlan> plan);
    CGetPlan* Plan() const { return m_plan.get(); }
    bool HasPlan() const override { return m_plan != nullptr; }

    CTransferRun& Run() override { return m_run; }
    bool HasStored() const override { return m_plan && m_run.HasStored(); }

private:
    std::unique_ptr<CGetPlan> m_plan; // declared first: it outlives the run that reads it

public:
    CGetRun m_run;
};

// Paced data sets, for every kind: the run of the plan a kind made
// (CDocKind::MakeSendPlan), handed in before the dialog starts.
class CSendingDlg : public CProgressDlg {
    Q_OBJECT
public:
    CSendingDlg(const CDlgTemplate& tmpl, QWidget* parent);

    void SetPlan(std::unique_ptr<CSendPlan> plan);
    CSendPlan* Plan() const { return m_plan.get(); }
    bool HasPlan() const override { return m_plan != nullptr; }

    CTransferRun& Run() override { return m_run; }

private:
    std::unique_ptr<CSendPlan> m_plan; // declared first: it outlives the run that reads it

public:
    CSendRun m_run;
};

} // namespace vantorel
