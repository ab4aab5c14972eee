#include "transfer/engine/TransferRun.h"

#include "transfer/StopPreview.h"

namespace vantorel {

namespace {
// The timers a run may have running: its two steps and the silence notice.
constexpr int kRunTimers[] = {1, 2, 3};
} // namespace

void CTransferRun::BeginRun(bool bGet)
{
    StopPreview();
    m_bRunning = true;
    m_alarm.Clear();
    m_status.Begin(&m_display, bGet);
}

void CTransferRun::EndRun(ETransferEnd end)
{
    m_bRunning = false;
    for (int nId : kRunTimers)
        KillTimer(nId);
    m_status.End();
    if (m_onDone)
        m_onDone(end);
}

void CTransferRun::Cancel()
{
    if (!m_bRunning)
        return;
    CancelPorts();
    EndRun(ETransferEnd::Partial);
}

bool CTransferRun::PutOffWhileBoxShows(int nIdEvent)
{
    if (!m_alarm.IsShowing())
        return false;
    SetTimer(nIdEvent, kPauseMs);
    return true;
}

} // namespace vantorel
