#pragma once
// What a Get run and a Send run share: the display they report to, the done
// callback, numbered timers of their own, the one message box of one failure,
// and the status line. Everything runs on the thread of the timer service, from
// MIDI notifications and timers, so no handler ever overlaps another. A
// message box keeps its modal loop turning, though: while a run's own box is
// up its timers wait, so that no step runs (and no second box comes) behind it.
// No widgets here: a window, a command line or a test watches a run through
// IProgressDisplay and the done callback.
#include <functional>
#include <string>

#include "framework/core/TimerService.h"
#include "midi/MidiPorts.h"
#include "transfer/engine/TransferPlan.h"
#include "transfer/engine/TransferStatus.h"

namespace vantorel {

class CTransferRun : public ITimerTarget, public IMidiNotify {
public:
    using DoneFn = std::function<void(ETransferEnd)>;

    // display: told everything the run shows; it must outlive the run.
    explicit CTransferRun(IProgressDisplay& display) : m_display(display) {}
    CTransferRun(const CTransferRun&) = delete;
    CTransferRun& operator=(const CTransferRun&) = delete;

    // Called once at the end of every run that started, also a failed or
    // cancelled one; the run is idle again when it is called.
    void SetDoneHandler(DoneFn fn) { m_onDone = std::move(fn); }

    virtual void Start() = 0;
    // Before a start: the message for a device of this run that is not listed
    // now ("... is not available. ..."), empty when every one is.
    virtual std::string MissingDeviceText() const = 0;
    bool IsRunning() const { return m_bRunning; }
    // The user's Cancel: ports closed, the run ends as partial.
    void Cancel();
    // The status line of this run ("" when idle).
    const std::string& GetStatusText() const { return m_status.GetText(); }

    void SetTimer(int nId, int nMs) { CTimerService::Get().SetTimer(this, nId, nMs); }
    void KillTimer(int nId) { CTimerService::Get().KillTimer(this, nId); }

protected:
    // Stops the preview note (before the output is touched) and marks the run started.
    void BeginRun(bool bGet);
    // Marks the run over and calls the done handler.
    void EndRun(ETransferEnd end);
    // A timer that fires while this run's box is up is put off until the box
    // has gone; true when nIdEvent was put off.
    bool PutOffWhileBoxShows(int nIdEvent);
    // Cancel while running: close the ports.
    virtual void CancelPorts() = 0;

    IProgressDisplay& m_display;
    // The one box of one failure, shared by the ports of this run.
    CPortAlarm m_alarm;
    CTransferStatus m_status;

private:
    DoneFn m_onDone;
    bool m_bRunning = false;
};

} // namespace vantorel
