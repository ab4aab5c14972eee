#include "framework/core/TimerService.h"

#include "framework/core/VirtualClock.h"

namespace vantorel {

namespace {
CTimerService* g_pService = nullptr;
CVirtualClock& FallbackClock()
{
    static CVirtualClock clock;
    return clock;
}
} // namespace

ITimerTarget::~ITimerTarget()
{
    CTimerService::Get().KillAllTimers(this);
}

CTimerService& CTimerService::Get()
{
    return g_pService ? *g_pService : FallbackClock();
}

void CTimerService::Install(CTimerService* pService)
{
    g_pService = pService;
}

} // namespace vantorel
