#pragma once
// What the command line asks before any window exists: --version and --help
// answer on the terminal, and a start with no display to show windows on is
// one line that says so, instead of the toolkit's abort.
#include <optional>

namespace vantorel {

// The exit code when the program ends here (its answer printed), or nothing
// when it goes on to start. Reads argv as given, before the toolkit takes its
// own options out; files after "--" are files whatever they are called.
std::optional<int> AnswerBeforeStart(int argc, char** argv);

} // namespace vantorel
