#include "cli/Session.h"

#include <algorithm>

#include "cli/Cli.h"
#include "cli/ExitCodes.h"
#include "cli/Options.h"
#include "midi/DeviceNames.h"
#include "res/strings/cli.h"
#include "transfer/engine/GetRun.h"
#include "transfer/engine/SendRun.h"

namespace vantorel::cli {

namespace {

std::string PortName(bool bInput, unsigned n) {
    const std::string name = bInput ? GetMidiInName(uint16_t(n)) : GetMidiOutName(uint16_t(n));
    return name.empty() ? "device " + std::to_string(n) : name;
}

// Runs run until it ends or the user stops it; a run still going then is
// cancelled, which closes its ports.
CRunResult Drive(CContext& ctx, CTransferRun& run) {
    std::optional<CRunResult> result;
    run.SetDoneHandler([&](const CRunResult& r) { result = r; });
    run.Start();
    ctx.runUntil([&] { return result.has_value(); });
    if (!result)
        run.Cancel();
    return result.value_or(CRunResult{ERunEnd::Cancelled, false, {}});
}

} // namespace

int ExitCodeFor(const CRunResult& result) {
    switch (result.end) {
    case ERunEnd::Done:
        return kExitDone;
    case ERunEnd::Cancelled:
        return kExitInterrupted;
    case ERunEnd::Failed:
        break;
    }
    switch (result.failure.reason) {
    case EFailure::RefusedBytes:
    case EFailure::EntryTooLarge:
    case EFailure::FileError:
        return kExitFile;
    default:
        return kExitMidi;
    }
}

void CSession::PrintFailure(EKind kind, std::optional<int> entry, const CRunFailure& failure) {
    if (failure.reason != EFailure::NoAnswer) {
        PrintMessage(m_ctx, DescribeFailure(failure));
        return;
    }
    const int nEntry = entry ? *entry : std::min(std::max(failure.nEntry, 0), Info(kind).nEntries - 1);
    PrintMessage(m_ctx, FormatText(res::kCliNoAnswer, Info(kind).szWord, EntryLabel(kind, nEntry),
                                   PortName(true, m_ports.nIn), std::to_string(failure.nTries - 1),
                                   PortName(false, m_ports.nOut)));
}

CRunResult CSession::Get(EKind kind, CGetPlan& plan, std::optional<int> entry) {
    CSilentDisplay display;
    CGetRun run(&plan, display);
    run.SetSettings(CRunSettings{m_nRetries});
    run.m_midiIn.m_wDeviceId = uint16_t(m_ports.nIn);
    run.m_midiOut.m_wDeviceId = uint16_t(m_ports.nOut);
    run.SetProgressHandler([&](int nDone, int, int nLast) {
        m_progress.Done(nDone, EntryLabel(kind, entry ? *entry : nLast));
    });
    m_progress.Begin(kind, true, plan.Total());
    const CRunResult result = Drive(m_ctx, run);
    m_progress.End();
    if (result.end == ERunEnd::Failed)
        PrintFailure(kind, entry, result.failure);
    return result;
}

CRunResult CSession::Send(EKind kind, CSendPlan& plan, std::optional<int> entry) {
    CSilentDisplay display;
    CSendRun run(&plan, display);
    run.m_midiOut.m_wDeviceId = uint16_t(m_ports.nOut);
    run.SetProgressHandler([&](int nDone, int, int nLast) {
        m_progress.Done(nDone, EntryLabel(kind, entry ? *entry : nLast));
    });
    m_progress.Begin(kind, false, plan.Total());
    const CRunResult result = Drive(m_ctx, run);
    m_progress.End();
    if (result.end == ERunEnd::Failed)
        PrintFailure(kind, entry, result.failure);
    return result;
}

} // namespace vantorel::cli
