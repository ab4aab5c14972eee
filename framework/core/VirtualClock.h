#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <tuple>

#include "framework/core/TimerService.h"

namespace vantorel {

// Deterministic time for tests and benchmarks: nothing happens until the test
// advances the clock, and events run strictly in time order (ties in the order
// they were scheduled).
class CVirtualClock : public CTimerService {
public:
    CVirtualClock() = default;
    ~CVirtualClock() override;

    void SetTimer(ITimerTarget* pTarget, int nId, int nMs) override;
    void KillTimer(ITimerTarget* pTarget, int nId) override;
    void KillAllTimers(ITimerTarget* pTarget) override;
    bool IsTimerSet(ITimerTarget* pTarget, int nId) const override;
    void Post(std::function<void()> fn, int64_t delayUs = 0) override;
    int64_t NowUs() const override;

    // Runs everything due within the next us microseconds, then sets the
    // clock to now + us.
    void AdvanceUs(int64_t us);
    void AdvanceMs(int64_t ms) { AdvanceUs(ms * 1000); }
    // Runs events until none is left or maxUs of virtual time have passed.
    // Returns true when it ran dry (idle), false at the limit.
    bool RunUntilIdle(int64_t maxUs = 3'600'000'000LL);
    // Runs events until pred() holds (checked after each) or maxUs passes.
    bool RunUntil(const std::function<bool()>& pred, int64_t maxUs = 3'600'000'000LL);
    // Runs only what is due now.
    void RunPending() { AdvanceUs(0); }
    bool HasPending() const;

private:
    struct Key {
        int64_t due;
        uint64_t seq;
        bool operator<(const Key& o) const { return std::tie(due, seq) < std::tie(o.due, o.seq); }
    };
    struct Event {
        std::function<void()> fn; // posted work, or empty for a timer
        ITimerTarget* pTarget = nullptr;
        int nId = 0;
        uint64_t generation = 0; // a timer event is stale when its timer was reset
    };
    struct TimerState {
        int nMs = 0;
        uint64_t generation = 0;
    };
    bool RunOne(int64_t limit);

    mutable std::recursive_mutex m_mutex;
    int64_t m_nowUs = 0;
    uint64_t m_seq = 0;
    uint64_t m_generation = 0;
    std::map<Key, Event> m_events;
    std::map<std::pair<ITimerTarget*, int>, TimerState> m_timers;
};

} // namespace vantorel
