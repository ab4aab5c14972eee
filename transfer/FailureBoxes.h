#pragma once
// How the windows show what went wrong: one message box with OK, the
// program's sentence for a run's failure or a port's own sentence.
namespace vantorel {

struct CRunFailure;
struct CPortError;

// DescribeFailure of failure; nothing when there is nothing to say.
void ShowFailureBox(const CRunFailure& failure);
void ShowPortErrorBox(const CPortError& error);

} // namespace vantorel
