#include "framework/core/VirtualClock.h"

#include <vector>

namespace vantorel {

CVirtualClock::~CVirtualClock()
{
    if (&CTimerService::Get() == this)
        CTimerService::Install(nullptr);
}

void CVirtualClock::SetTimer(ITimerTarget* pTarget, int nId, int nMs)
{
    std::lock_guard lock(m_mutex);
    if (nMs < 0)
        nMs = 0;
    auto& t = m_timers[{pTarget, nId}];
    t.nMs = nMs;
    t.generation = ++m_generation;
    Event e;
    e.pTarget = pTarget;
    e.nId = nId;
    e.generation = t.generation;
    m_events.emplace(Key{m_nowUs + int64_t(nMs) * 1000, m_seq++}, std::move(e));
}

void CVirtualClock::KillTimer(ITimerTarget* pTarget, int nId)
{
    std::lock_guard lock(m_mutex);
    m_timers.erase({pTarget, nId});
}

void CVirtualClock::KillAllTimers(ITimerTarget* pTarget)
{
    std::lock_guard lock(m_mutex);
    for (auto it = m_timers.begin(); it != m_timers.end();)
        it = it->first.first == pTarget ? m_timers.erase(it) : std::next(it);
}

bool CVirtualClock::IsTimerSet(ITimerTarget* pTarget, int nId) const
{
    std::lock_guard lock(m_mutex);
    return m_timers.count({pTarget, nId}) != 0;
}

void CVirtualClock::Post(std::function<void()> fn, int64_t delayUs)
{
    std::lock_guard lock(m_mutex);
    Event e;
    e.fn = std::move(fn);
    m_events.emplace(Key{m_nowUs + (delayUs > 0 ? delayUs : 0), m_seq++}, std::move(e));
}

int64_t CVirtualClock::NowUs() const
{
    std::lock_guard lock(m_mutex);
    return m_nowUs;
}

bool CVirtualClock::HasPending() const
{
    std::lock_guard lock(m_mutex);
    return !m_events.empty();
}

// Runs the earliest event due at or before limit. Returns false when none is.
bool CVirtualClock::RunOne(int64_t limit)
{
    std::function<void()> fn;
    ITimerTarget* pTarget = nullptr;
    int nId = 0;
    {
        std::lock_guard lock(m_mutex);
        for (;;) {
            if (m_events.empty() || m_events.begin()->first.due > limit)
                return false;
            auto node = m_events.extract(m_events.begin());
            if (node.key().due > m_nowUs)
                m_nowUs = node.key().due;
            Event& e = node.mapped();
            if (e.fn) {
                fn = std::move(e.fn);
                break;
            }
            auto it = m_timers.find({e.pTarget, e.nId});
            if (it == m_timers.end() || it->second.generation != e.generation)
                continue; // killed or reset since: a stale tick
            // Periodic, like a window timer: schedule the next tick now.
            Event next = e;
            m_events.emplace(Key{m_nowUs + int64_t(it->second.nMs) * 1000, m_seq++}, next);
            pTarget = e.pTarget;
            nId = e.nId;
            break;
        }
    }
    if (fn)
        fn();
    else
        pTarget->OnTimer(nId);
    return true;
}

void CVirtualClock::AdvanceUs(int64_t us)
{
    int64_t limit;
    {
        std::lock_guard lock(m_mutex);
        limit = m_nowUs + (us > 0 ? us : 0);
    }
    while (RunOne(limit)) {
    }
    std::lock_guard lock(m_mutex);
    if (m_nowUs < limit)
        m_nowUs = limit;
}

bool CVirtualClock::RunUntilIdle(int64_t maxUs)
{
    return RunUntil([] { return false; }, maxUs) || !HasPending();
}

bool CVirtualClock::RunUntil(const std::function<bool()>& pred, int64_t maxUs)
{
    int64_t limit;
    {
        std::lock_guard lock(m_mutex);
        limit = m_nowUs + maxUs;
    }
    if (pred())
        return true;
    while (RunOne(limit)) {
        if (pred())
            return true;
    }
    std::lock_guard lock(m_mutex);
    if (m_events.empty() || m_events.begin()->first.due > limit) {
        if (m_events.empty())
            return false;
        m_nowUs = limit;
    }
    return false;
}

} // namespace vantorel
