#pragma once
// One Get or one Send on the program's transfer engine, as the command line
// runs it: on the ports chosen (its first line and its closing summary name
// them), with progress on stderr, given up after the repeats allowed (the
// run's own settings), and stopped cleanly (ports closed) when the user asks.
// A failure is printed once, from the run's result; the exit code follows
// from that result too.
#include <optional>

#include "cli/Context.h"
#include "cli/Ports.h"
#include "cli/Progress.h"
#include "transfer/engine/RunResult.h"
#include "transfer/engine/TransferPlan.h"
#include "transfer/plans/DocKind.h"

namespace vantorel {
class CTransferRun;
}

namespace vantorel::cli {

struct CPortPair {
    CPort in; // unused by a Send
    CPort out;
};

// The exit code of a run's result (ExitCodes.h): a cancelled run was
// stopped by the user; a failure is a MIDI error unless bytes or a file were
// refused.
int ExitCodeFor(const CRunResult& result);

class CSession {
public:
    CSession(CContext& ctx, CPortPair ports, int nRetries, bool bQuiet)
        : m_ctx(ctx), m_ports(ports), m_nRetries(nRetries), m_progress(ctx, bQuiet)
    {
    }

    // Fetches what plan asks for into its document. entry: the one entry it
    // fetches, else the whole kind.
    CRunResult Get(const CDocKind& kind, CGetPlan& plan, std::optional<int> entry);
    // Sends what plan holds.
    CRunResult Send(const CDocKind& kind, CSendPlan& plan, std::optional<int> entry);

private:
    // Drives run with its progress lines: strBegins first, strDone when it is done.
    CRunResult Run(const CDocKind& kind, CTransferRun& run, bool bGet, int nTotal, std::optional<int> entry,
                   const std::string& strBegins, const std::string& strDone);
    // The failure's one message line.
    void PrintFailure(const CDocKind& kind, std::optional<int> entry, const CRunFailure& failure);

    CContext& m_ctx;
    CPortPair m_ports;
    int m_nRetries;
    CProgress m_progress;
};

} // namespace vantorel::cli
