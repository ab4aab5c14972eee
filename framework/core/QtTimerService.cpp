#include "framework/core/QtTimerService.h"

#include <QThread>

namespace vantorel {

CQtTimerService::CQtTimerService() : m_start(std::chrono::steady_clock::now())
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CQtTimerService::RunDue);
}

CQtTimerService::~CQtTimerService()
{
    if (&CTimerService::Get() == this)
        CTimerService::Install(nullptr);
}

int64_t CQtTimerService::NowUs() const
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - m_start)
        .count();
}

void CQtTimerService::SetTimer(ITimerTarget* pTarget, int nId, int nMs)
{
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
        m_events.emplace(Key{NowUs() + int64_t(nMs) * 1000, m_seq++}, std::move(e));
    }
    Rearm();
}

void CQtTimerService::KillTimer(ITimerTarget* pTarget, int nId)
{
    std::lock_guard lock(m_mutex);
    m_timers.erase({pTarget, nId});
}

void CQtTimerService::KillAllTimers(ITimerTarget* pTarget)
{
    std::lock_guard lock(m_mutex);
    for (auto it = m_timers.begin(); it != m_timers.end();)
        it = it->first.first == pTarget ? m_timers.erase(it) : std::next(it);
}

bool CQtTimerService::IsTimerSet(ITimerTarget* pTarget, int nId) const
{
    std::lock_guard lock(m_mutex);
    return m_timers.count({pTarget, nId}) != 0;
}

void CQtTimerService::Post(std::function<void()> fn, int64_t delayUs)
{
    {
        std::lock_guard lock(m_mutex);
        Event e;
        e.fn = std::move(fn);
        m_events.emplace(Key{NowUs() + (delayUs > 0 ? delayUs : 0), m_seq++}, std::move(e));
    }
    if (QThread::currentThread() == thread())
        Rearm();
    else
        QMetaObject::invokeMethod(this, "Rearm", Qt::QueuedConnection);
}

void CQtTimerService::Rearm()
{
    int64_t wait;
    {
        std::lock_guard lock(m_mutex);
        if (m_events.empty()) {
            m_timer.stop();
            return;
        }
        wait = m_events.begin()->first.due - NowUs();
    }
    // Qt timers count whole milliseconds: wake a little early and spin the
    // event loop for the rest, so that paced MIDI keeps its microseconds.
    const int ms = wait <= 0 ? 0 : int(wait / 1000);
    m_timer.start(ms);
}

void CQtTimerService::RunDue()
{
    // Run what is due now; work posted while running waits for the next pass,
    // so that the GUI stays responsive.
    const int64_t now = NowUs();
    for (int budget = 256; budget > 0; --budget) {
        std::function<void()> fn;
        ITimerTarget* pTarget = nullptr;
        int nId = 0;
        {
            std::lock_guard lock(m_mutex);
            if (m_events.empty() || m_events.begin()->first.due > now)
                break;
            auto node = m_events.extract(m_events.begin());
            Event& e = node.mapped();
            if (e.fn) {
                fn = std::move(e.fn);
            } else {
                auto it = m_timers.find({e.pTarget, e.nId});
                if (it == m_timers.end() || it->second.generation != e.generation)
                    continue;
                Event next = e;
                m_events.emplace(Key{now + int64_t(it->second.nMs) * 1000, m_seq++}, next);
                pTarget = e.pTarget;
                nId = e.nId;
            }
        }
        if (fn)
            fn();
        else
            pTarget->OnTimer(nId);
    }
    Rearm();
}

} // namespace vantorel
