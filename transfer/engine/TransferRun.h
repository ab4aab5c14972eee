#pragma once
// What a Get run and a Send run share: the display they report to, their
// settings, the callbacks that tell the owner what happens (progress, a
// problem the run rides out, the result at the end), numbered timers of their
// own and the status line. Everything runs on the thread of the timer service,
// from MIDI notifications and timers, so no handler ever overlaps another.
// An owner told of a problem may keep a modal loop turning (a message box):
// while it is being told, the run's timers wait, so that no step runs (and no
// second problem is told) behind it. No widgets here: a window, a command line
// or a test watches a run through IProgressDisplay and the callbacks.
#include <functional>
#include <string>

#include "framework/core/TimerService.h"
#include "midi/MidiPorts.h"
#include "transfer/engine/RunResult.h"
#include "transfer/engine/TransferPlan.h"
#include "transfer/engine/TransferStatus.h"

namespace vantorel {

class CTransferRun : public ITimerTarget, public IMidiNotify {
public:
    using DoneFn = std::function<void(const CRunResult&)>;
    using ProblemFn = std::function<void(const CRunFailure&)>;
    // nDone entries of nTotal are complete; nLast (counted from 0 in the
    // transfer) is the one completed last.
    using ProgressFn = std::function<void(int nDone, int nTotal, int nLast)>;

    // display: told everything the run shows; it must outlive the run.
    explicit CTransferRun(IProgressDisplay& display) : m_display(display) {}
    CTransferRun(const CTransferRun&) = delete;
    CTransferRun& operator=(const CTransferRun&) = delete;

    // Called once at the end of every run that started, also a failed or
    // cancelled one; the run is idle again when it is called.
    void SetDoneHandler(DoneFn fn) { m_onDone = std::move(fn); }
    // Told of a failure the run does not end on (it asks again, or it is
    // closing its ports), once until the device answers again.
    void SetProblemHandler(ProblemFn fn) { m_onProblem = std::move(fn); }
    void SetProgressHandler(ProgressFn fn) { m_onProgress = std::move(fn); }
    void SetSettings(const CRunSettings& settings) { m_settings = settings; }

    virtual void Start() = 0;
    // Before a start: the message for a device of this run that is not listed
    // now ("... is not available. ..."), empty when every one is.
    virtual std::string MissingDeviceText() const = 0;
    bool IsRunning() const { return m_bRunning; }
    // The user's Cancel: ports closed, the run ends cancelled.
    void Cancel();
    // The status line of this run ("" when idle).
    const std::string& GetStatusText() const { return m_status.GetText(); }

    void SetTimer(int nId, int nMs) { CTimerService::Get().SetTimer(this, nId, nMs); }
    void KillTimer(int nId) { CTimerService::Get().KillTimer(this, nId); }

protected:
    // Stops the preview note (before the output is touched) and marks the run started.
    void BeginRun(bool bGet);
    // Marks the run over and tells the done handler.
    void Finish(bool bWhole);
    void Fail(const CRunFailure& failure);
    // Tells the problem handler, unless a problem has been told since the
    // device last answered.
    void ReportProblem(const CRunFailure& failure);
    // The device works again: a new failure is worth telling.
    void ClearProblem() { m_bProblemTold = false; }
    // True while the owner is being told of a problem.
    bool IsReporting() const { return m_nReporting > 0; }
    // A timer that fires while the owner is being told is put off until it
    // has been; true when nIdEvent was put off.
    bool PutOffWhileReporting(int nIdEvent);
    void TellProgress(int nDone, int nTotal, int nLast);
    // The handler the run's ports report to: keeps the report, and lets the
    // run say what it means.
    PortErrorHandler PortReports();
    virtual void OnPortError(const CPortError& error) = 0;
    // Cancel while running: close the ports.
    virtual void CancelPorts() = 0;

    IProgressDisplay& m_display;
    CRunSettings m_settings;
    CTransferStatus m_status;

private:
    void EndRun(const CRunResult& result);

    DoneFn m_onDone;
    ProblemFn m_onProblem;
    ProgressFn m_onProgress;
    bool m_bRunning = false;
    bool m_bProblemTold = false;
    int m_nReporting = 0;
};

} // namespace vantorel
