#pragma once
// The commands that talk to the synthesizer: get, send, backup, restore and
// verify. Each checks everything it can (ports, files, entries) before the
// first byte goes out, and writes files only when what they hold is complete.
#include "cli/Context.h"
#include "cli/Options.h"

namespace vantorel::cli {

// Runs options.command (one of the five); returns the exit code.
int RunTransfer(const COptions& options, CContext& ctx);

} // namespace vantorel::cli
