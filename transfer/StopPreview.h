#pragma once
#include <functional>

namespace vantorel {

// Ends a sounding preview note and closes the preview port. Every transfer
// and every audition calls it first, so that no note is left sounding.
void StopPreview();

// The main frame installs what StopPreview does; empty: nothing.
void SetStopPreviewHandler(std::function<void()> handler);

} // namespace vantorel
