#pragma once
#include <cstdint>
#include <functional>

namespace vantorel {

// A window that owns numbered timers (ids 1 and 2 in this program).
class ITimerTarget {
public:
    virtual ~ITimerTarget(); // kills every timer the target still has
    virtual void OnTimer(int nIdEvent) = 0;
};

// The seam through which everything asynchronous reaches the GUI thread:
// numbered window timers and posted work (MIDI notifications). The program
// uses Qt timers; tests install a CVirtualClock and drive time by hand.
class CTimerService {
public:
    virtual ~CTimerService() = default;

    // Window-style timer: fires every ms milliseconds until killed. Setting an
    // id that is running restarts it.
    virtual void SetTimer(ITimerTarget* pTarget, int nId, int nMs) = 0;
    virtual void KillTimer(ITimerTarget* pTarget, int nId) = 0;
    virtual void KillAllTimers(ITimerTarget* pTarget) = 0;
    virtual bool IsTimerSet(ITimerTarget* pTarget, int nId) const = 0;

    // Runs fn on the GUI thread after delayUs microseconds, after everything
    // posted earlier for the same moment. Safe to call from any thread.
    virtual void Post(std::function<void()> fn, int64_t delayUs = 0) = 0;

    // Monotonic time in microseconds.
    virtual int64_t NowUs() const = 0;

    // The service in use. Until one is installed, a virtual clock serves.
    static CTimerService& Get();
    // Installs pService (not owned); nullptr goes back to the built-in clock.
    static void Install(CTimerService* pService);
};

} // namespace vantorel
