#pragma once
// vantorel-cli's commands, run on a context (Context.h) with the MIDI and
// timer services already installed. Returns the exit code (ExitCodes.h).
#include <string>
#include <vector>

#include "cli/Context.h"

namespace vantorel::cli {

// args: the words after the program's name.
int RunCli(const std::vector<std::string>& args, CContext& ctx);

// Writes one message line to err.
void PrintMessage(CContext& ctx, const std::string& text);

} // namespace vantorel::cli
