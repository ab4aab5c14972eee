#pragma once
#include <QObject>
#include <QTimer>

#include <chrono>
#include <map>
#include <mutex>
#include <tuple>

#include "framework/core/TimerService.h"

namespace vantorel {

// The program's timer service: one precise Qt timer drives a queue of window
// timers and posted work in time order, to the microsecond, on the GUI thread.
class CQtTimerService : public QObject, public CTimerService {
    Q_OBJECT
public:
    CQtTimerService();
    ~CQtTimerService() override;

    void SetTimer(ITimerTarget* pTarget, int nId, int nMs) override;
    void KillTimer(ITimerTarget* pTarget, int nId) override;
    void KillAllTimers(ITimerTarget* pTarget) override;
    bool IsTimerSet(ITimerTarget* pTarget, int nId) const override;
    void Post(std::function<void()> fn, int64_t delayUs = 0) override;
    int64_t NowUs() const override;

private slots:
    void Rearm();
    void RunDue();

private:
    struct Key {
        int64_t due;
        uint64_t seq;
        bool operator<(const Key& o) const { return std::tie(due, seq) < std::tie(o.due, o.seq); }
    };
    struct Event {
        std::function<void()> fn;
        ITimerTarget* pTarget = nullptr;
        int nId = 0;
        uint64_t generation = 0;
    };
    struct TimerState {
        int nMs = 0;
        uint64_t generation = 0;
    };

    mutable std::recursive_mutex m_mutex;
    std::chrono::steady_clock::time_point m_start;
    std::map<Key, Event> m_events;
    std::map<std::pair<ITimerTarget*, int>, TimerState> m_timers;
    uint64_t m_seq = 0;
    uint64_t m_generation = 0;
    QTimer m_timer;
};

} // namespace vantorel
