#pragma once
// One Get or one Send on the program's transfer engine, as the command line
// runs it: on the ports chosen (its first line and its closing summary name
// them), with progress on stderr, given up after the repeats allowed, and
// stopped cleanly (ports closed) when the user asks.
#include <optional>
#include <vector>

#include "cli/Context.h"
#include "cli/Kinds.h"
#include "cli/Ports.h"
#include "cli/Progress.h"
#include "transfer/engine/TransferPlan.h"

namespace vantorel::cli {

struct CPortPair {
    CPort in; // unused by a Send
    CPort out;
};

enum class EOutcome {
    Done,
    NoAnswer,    // the repeats allowed found no answer (the message is out)
    MidiFailed,  // a port failed (the ports have said so)
    Interrupted, // SIGINT or SIGTERM
};

// The exit code of an outcome that is not Done.
int ExitCodeFor(EOutcome outcome);

class CSession {
  public:
    CSession(CContext& ctx, CPortPair ports, int nRetries, bool bQuiet)
        : m_ctx(ctx), m_ports(ports), m_nRetries(nRetries), m_progress(ctx, bQuiet) {}

    // Fetches what plan asks for into its document. entry: the one entry it
    // fetches, else the whole kind.
    EOutcome Get(EKind kind, CGetPlan& plan, std::optional<int> entry);
    // Sends what plan holds; entries: the entry of each data set, in order,
    // as a dry run of the plan found them (counted from 0 in the transfer).
    EOutcome Send(EKind kind, CSendPlan& plan, std::optional<int> entry, const std::vector<int>& entries);

  private:
    CContext& m_ctx;
    CPortPair m_ports;
    int m_nRetries;
    CProgress m_progress;
};

} // namespace vantorel::cli
