#include "cli/Session.h"

#include "cli/Cli.h"
#include "cli/ExitCodes.h"
#include "cli/Options.h"
#include "cli/Patience.h"
#include "cli/WireWatch.h"
#include "res/strings/cli.h"
#include "transfer/engine/GetRun.h"
#include "transfer/engine/SendRun.h"

namespace vantorel::cli {

namespace {

// Every call of the run's display tells the command line to look at the count.
class CWatchDisplay : public IProgressDisplay {
  public:
    explicit CWatchDisplay(std::function<void()> onChange) : m_onChange(std::move(onChange)) {}
    void ShowText(const std::string&) override { m_onChange(); }
    void SetProgressPos(int) override { m_onChange(); }
    void SetProgressStep(int) override {}
    void StepProgress() override { m_onChange(); }
    void ShowStatus(const std::string&) override { m_onChange(); }

  private:
    std::function<void()> m_onChange;
};

// "patch" or "patches" as the plan counts.
template <class TPlan> std::string NounOf(const TPlan& plan) {
    const CTransferNoun noun = plan.Noun();
    return plan.Total() == 1 ? noun.szOne : noun.szMany;
}

// Runs run until it ends, a port fails, patience runs out or the user stops;
// then anything still running is cancelled, which closes the ports.
template <class TRun> EOutcome Drive(CContext& ctx, TRun& run, const std::function<bool()>& giveUp) {
    bool bEnded = false;
    ETransferEnd end = ETransferEnd::Failed;
    run.SetDoneHandler([&](ETransferEnd e) {
        bEnded = true;
        end = e;
    });
    const int nMessages = ctx.nMessages;
    run.Start();
    ctx.runUntil([&] { return bEnded || ctx.nMessages != nMessages || giveUp(); });
    const bool bFailed = ctx.nMessages != nMessages || (bEnded && end == ETransferEnd::Failed);
    if (bEnded && !bFailed)
        return EOutcome::Done;
    run.Cancel();
    if (ctx.bStopRequested)
        return EOutcome::Interrupted;
    return bFailed ? EOutcome::MidiFailed : EOutcome::NoAnswer;
}

} // namespace

int ExitCodeFor(EOutcome outcome) {
    switch (outcome) {
    case EOutcome::Done:
        return kExitDone;
    case EOutcome::Interrupted:
        return kExitInterrupted;
    case EOutcome::NoAnswer:
    case EOutcome::MidiFailed:
        return kExitMidi;
    }
    return kExitMidi;
}

EOutcome CSession::Get(EKind kind, CGetPlan& plan, std::optional<int> entry) {
    auto current = [&] { return entry ? *entry : std::min(plan.Done(), Info(kind).nEntries - 1); };
    CWatchDisplay display([&] {
        if (plan.Done() > 0)
            m_progress.Done(plan.Done(), EntryLabel(kind, entry ? *entry : plan.Done() - 1));
    });
    CPatience patience(m_nRetries);
    CWireWatch watch([&](const std::vector<uint8_t>& message) { return patience.OnRequest(message); });
    CGetRun run(&plan, display);
    // By name: a device that comes back under another number is found again.
    run.m_midiIn.SetDevice(uint16_t(m_ports.in.nDevice), m_ports.in.strName);
    run.m_midiOut.SetDevice(uint16_t(m_ports.out.nDevice), m_ports.out.strName);
    m_progress.Line(FormatText(res::kCliGetBegins, Info(kind).szWord, DescribePort(m_ports.in),
                               DescribePort(m_ports.out)));
    m_progress.Begin(kind, true, plan.Total());
    const EOutcome outcome = Drive(m_ctx, run, [&] { return patience.Exhausted(); });
    m_progress.End();
    if (outcome == EOutcome::Done)
        m_progress.Line(FormatText(res::kCliGetDone, std::to_string(plan.Total()), NounOf(plan),
                                   DescribePort(m_ports.in)));
    if (outcome == EOutcome::NoAnswer)
        PrintMessage(m_ctx, FormatText(res::kCliNoAnswer, Info(kind).szWord, EntryLabel(kind, current()),
                                       run.m_midiIn.DeviceName(), std::to_string(patience.Retries()),
                                       run.m_midiOut.DeviceName()));
    return outcome;
}

EOutcome CSession::Send(EKind kind, CSendPlan& plan, std::optional<int> entry,
                        const std::vector<int>& entries) {
    CWatchDisplay display([] {});
    size_t nSent = 0;
    int nDone = 0;
    CWireWatch watch([&](const std::vector<uint8_t>&) {
        // The last data set of an entry has left: that entry is on its way.
        const size_t k = nSent++;
        if (k < entries.size() && (k + 1 == entries.size() || entries[k + 1] != entries[k]))
            m_progress.Done(++nDone, EntryLabel(kind, entry ? *entry : entries[k]));
        return true;
    });
    CSendRun run(&plan, display);
    run.m_midiOut.SetDevice(uint16_t(m_ports.out.nDevice), m_ports.out.strName);
    m_progress.Line(FormatText(res::kCliSendBegins, Info(kind).szWord, DescribePort(m_ports.out)));
    m_progress.Begin(kind, false, plan.Total());
    const EOutcome outcome = Drive(m_ctx, run, [] { return false; });
    m_progress.End();
    if (outcome == EOutcome::Done)
        m_progress.Line(FormatText(res::kCliSendDone, std::to_string(plan.Total()), NounOf(plan),
                                   DescribePort(m_ports.out)));
    return outcome;
}

} // namespace vantorel::cli
