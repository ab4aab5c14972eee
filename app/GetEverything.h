#pragma once
// File > Get Everything: after one question, each kind of the registry in
// turn into a new window of its own through that window's Get, with the
// status bar counting the whole. A Get that fails or is cancelled ends the
// series: the windows filled so far stay, and a failure is said once, naming
// the kind and the entry.
namespace vantorel {

class CDocManager;
class CMDIFrameWnd;

// How often each Get of the series asks again for an entry before the series
// stops (as vantorel-cli does by default).
inline constexpr int kGetEverythingRetries = 5;

// True when every kind arrived whole.
bool GetEverything(CDocManager& manager, CMDIFrameWnd& frame);

} // namespace vantorel
