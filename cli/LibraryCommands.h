#pragma once
// The library on the command line: library add / scan / problems, search
// and duplicates, each as text or (--json) one JSON object per line.
#include "cli/Context.h"
#include "cli/Options.h"

namespace vantorel::cli {

int RunLibraryCommand(const COptions& options, CContext& ctx);

} // namespace vantorel::cli
