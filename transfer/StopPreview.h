#pragma once
// Every transfer and every audition calls StopPreview() before it touches the
// MIDI output, so that the main frame's preview note is turned off and its
// port closed first. The main frame registers the handler; with none
// registered (tests, tools) the call does nothing.
#include <functional>

namespace vantorel {

void StopPreview();
// Installs the handler; returns the previous one. An empty function removes it.
std::function<void()> SetStopPreviewHandler(std::function<void()> handler);

} // namespace vantorel
