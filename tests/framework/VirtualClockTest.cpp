#include <gtest/gtest.h>

#include "framework/core/VirtualClock.h"

using namespace vantorel;

namespace {
struct CTarget : ITimerTarget {
    std::vector<std::pair<int64_t, int>> fired;
    CVirtualClock* clock = nullptr;
    bool killOnFire = false;
    void OnTimer(int id) override
    {
        fired.emplace_back(clock->NowUs(), id);
        if (killOnFire)
            clock->KillTimer(this, id);
    }
};
} // namespace

TEST(VirtualClock, TimersArePeriodicUntilKilledAndRestartWhenSetAgain)
{
    CVirtualClock clock;
    CTimerService::Install(&clock);
    CTarget t;
    t.clock = &clock;
    clock.SetTimer(&t, 1, 100);
    clock.AdvanceMs(250);
    ASSERT_EQ(t.fired.size(), 2u);
    EXPECT_EQ(t.fired[0].first, 100'000);
    EXPECT_EQ(t.fired[1].first, 200'000);
    clock.SetTimer(&t, 1, 100); // restart at 250 ms
    clock.AdvanceMs(99);
    EXPECT_EQ(t.fired.size(), 2u);
    clock.AdvanceMs(1);
    EXPECT_EQ(t.fired.back().first, 350'000);
    clock.KillTimer(&t, 1);
    clock.AdvanceMs(1000);
    EXPECT_EQ(t.fired.size(), 3u);
    CTimerService::Install(nullptr);
}

TEST(VirtualClock, PostedWorkAndTimersRunInTimeOrder)
{
    CVirtualClock clock;
    CTarget t;
    t.clock = &clock;
    t.killOnFire = true;
    std::vector<int> order;
    clock.SetTimer(&t, 2, 1);
    clock.Post([&] { order.push_back(1); }, 500);
    clock.Post([&] { order.push_back(0); }, 0);
    clock.Post([&] { order.push_back(2); }, 2000);
    EXPECT_TRUE(clock.RunUntilIdle());
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    ASSERT_EQ(t.fired.size(), 1u);
    EXPECT_EQ(t.fired[0].first, 1000);
    EXPECT_EQ(clock.NowUs(), 2000);
}

TEST(VirtualClock, DestroyedTargetLosesItsTimers)
{
    CVirtualClock clock;
    CTimerService::Install(&clock);
    {
        CTarget t;
        t.clock = &clock;
        clock.SetTimer(&t, 1, 10);
        EXPECT_TRUE(clock.IsTimerSet(&t, 1));
    }
    clock.AdvanceMs(100); // would crash under the sanitizer if the dead target fired
    CTimerService::Install(nullptr);
}

TEST(VirtualClock, RunUntilStopsAtThePredicateOrTheLimit)
{
    CVirtualClock clock;
    int n = 0;
    for (int i = 1; i <= 5; ++i)
        clock.Post([&] { ++n; }, i * 1000);
    EXPECT_TRUE(clock.RunUntil([&] { return n == 3; }));
    EXPECT_EQ(clock.NowUs(), 3000);
    EXPECT_FALSE(clock.RunUntil([] { return false; }, 1000));
    EXPECT_EQ(n, 4);
}
