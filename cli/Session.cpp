#include "cli/Session.h"

#include <algorithm>

#include "cli/Cli.h"
#include "cli/ExitCodes.h"
#include "cli/Options.h"
#include "res/strings/cli.h"
#include "transfer/engine/GetRun.h"
#include "transfer/engine/SendRun.h"

namespace vantorel::cli {

namespace {

// "patch" or "patches" as the plan counts.
template <class TPlan>
std::string NounOf(const TPlan& plan)
{
    const CTransferNoun noun = plan.Noun();
    return plan.Total() == 1 ? noun.szOne : noun.szMany;
}

// Runs run until it ends or the user stops it; a run still going then is
// cancelled, which closes its ports.
CRunResult Drive(CContext& ctx, CTransferRun& run)
{
    std::optional<CRunResult> result;
    run.SetDoneHandler([&](const CRunResult& r) { result = r; });
    run.Start();
    ctx.runUntil([&] { return result.has_value(); });
    if (!result)
        run.Cancel();
    return result.value_or(CRunResult{ERunEnd::Cancelled, false, {}});
}

} // namespace

int ExitCodeFor(const CRunResult& result)
{
    switch (result.end) {
    case ERunEnd::Done: return kExitDone;
    case ERunEnd::Cancelled: return kExitInterrupted;
    case ERunEnd::Failed: break;
    }
    switch (result.failure.reason) {
    case EFailure::RefusedBytes:
    case EFailure::EntryTooLarge:
    case EFailure::FileError: return kExitFile;
    default: return kExitMidi;
    }
}

void CSession::PrintFailure(const CDocKind& kind, std::optional<int> entry, const CRunFailure& failure)
{
    if (failure.reason != EFailure::NoAnswer) {
        PrintMessage(m_ctx, DescribeFailure(failure));
        return;
    }
    const int nEntry = entry ? *entry : std::min(std::max(failure.nEntry, 0), kind.EntryCount() - 1);
    PrintMessage(m_ctx,
                 FormatText(res::kCliNoAnswer, kind.Word(), kind.EntryLabel(nEntry), m_ports.in.strName,
                            std::to_string(failure.nTries - 1), m_ports.out.strName));
}

CRunResult CSession::Run(const CDocKind& kind, CTransferRun& run, bool bGet, int nTotal,
                         std::optional<int> entry, const std::string& strBegins, const std::string& strDone)
{
    run.SetProgressHandler(
        [&](int nDone, int, int nLast) { m_progress.Done(nDone, kind.EntryLabel(entry ? *entry : nLast)); });
    m_progress.Line(strBegins);
    m_progress.Begin(kind, bGet, nTotal);
    const CRunResult result = Drive(m_ctx, run);
    m_progress.End();
    if (result.end == ERunEnd::Done)
        m_progress.Line(strDone);
    if (result.end == ERunEnd::Failed)
        PrintFailure(kind, entry, result.failure);
    return result;
}

CRunResult CSession::Get(const CDocKind& kind, CGetPlan& plan, std::optional<int> entry)
{
    CSilentDisplay display;
    CGetRun run(&plan, display);
    run.SetSettings(CRunSettings{m_nRetries});
    // By name: a device that comes back under another number is found again.
    run.m_midiIn.SetDevice(uint16_t(m_ports.in.nDevice), m_ports.in.strName);
    run.m_midiOut.SetDevice(uint16_t(m_ports.out.nDevice), m_ports.out.strName);
    return Run(
        kind, run, true, plan.Total(), entry,
        FormatText(res::kCliGetBegins, kind.Word(), DescribePort(m_ports.in), DescribePort(m_ports.out)),
        FormatText(res::kCliGetDone, std::to_string(plan.Total()), NounOf(plan), DescribePort(m_ports.in)));
}

CRunResult CSession::Send(const CDocKind& kind, CSendPlan& plan, std::optional<int> entry)
{
    CSilentDisplay display;
    CSendRun run(&plan, display);
    run.m_midiOut.SetDevice(uint16_t(m_ports.out.nDevice), m_ports.out.strName);
    return Run(
        kind, run, false, plan.Total(), entry,
        FormatText(res::kCliSendBegins, kind.Word(), DescribePort(m_ports.out)),
        FormatText(res::kCliSendDone, std::to_string(plan.Total()), NounOf(plan), DescribePort(m_ports.out)));
}

} // namespace vantorel::cli
