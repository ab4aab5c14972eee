#pragma once
// diff A B: two library or .syx files compared entry by entry, for each kind
// both hold (a library file holds one; a .syx file those it has data sets
// of). One line per entry that differs, then a line per kind. No ports are
// opened. Exit kExitDone when they hold the same, kExitDiffers otherwise.
#include "cli/Context.h"
#include "cli/Options.h"

namespace vantorel::cli {

int Diff(const COptions& options, CContext& ctx);

} // namespace vantorel::cli
