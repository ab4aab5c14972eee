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
    m_bProblemTold = false;
    m_status.Begin(&m_display, bGet);
}

void CTransferRun::EndRun(const CRunResult& result)
{
    m_bRunning = false;
    for (int nId : kRunTimers)
        KillTimer(nId);
    m_status.End();
    if (m_onDone)
        m_onDone(result);
}

void CTransferRun::Finish(bool bWhole)
{
    CRunResult result;
    result.bWhole = bWhole;
    EndRun(result);
}

void CTransferRun::Fail(const CRunFailure& failure)
{
    CRunResult result;
    result.end = ERunEnd::Failed;
    result.failure = failure;
    EndRun(result);
}

void CTransferRun::Cancel()
{
    if (!m_bRunning)
        return;
    CancelPorts();
    CRunResult result;
    result.end = ERunEnd::Cancelled;
    EndRun(result);
}

void CTransferRun::ReportProblem(const CRunFailure& failure)
{
    if (m_bProblemTold)
        return;
    m_bProblemTold = true;
    if (!m_onProblem)
        return;
    ++m_nReporting;
    m_onProblem(failure);
    --m_nReporting;
}

bool CTransferRun::PutOffWhileReporting(int nIdEvent)
{
    if (!IsReporting())
        return false;
    SetTimer(nIdEvent, kPauseMs);
    return true;
}

void CTransferRun::TellProgress(int nDone, int nTotal, int nLast)
{
    if (m_onProgress)
        m_onProgress(nDone, nTotal, nLast);
}

PortErrorHandler CTransferRun::PortReports()
{
    return [this](const CPortError& error) { OnPortError(error); };
}

} // namespace vantorel
