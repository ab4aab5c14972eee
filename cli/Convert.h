#pragma once
// convert IN OUT: a library file into a .syx file or back, the formats told
// by the names. No ports are opened. From a .syx file it prints what was
// taken and skipped, and exits kExitSkipped when anything was skipped unless
// --lenient.
#include "cli/Context.h"
#include "cli/Options.h"

namespace vantorel::cli {

int Convert(const COptions& options, CContext& ctx);

} // namespace vantorel::cli
