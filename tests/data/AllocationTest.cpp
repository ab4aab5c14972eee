// A damaged count must not reach the allocator. This program replaces the
// global allocation functions to see the largest request made while loading.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "DataTestSupport.h"

namespace {
std::atomic<bool> g_bTracking{false};
std::atomic<size_t> g_nLargest{0};

void* Allocate(size_t n)
{
    if (g_bTracking.load()) {
        size_t prev = g_nLargest.load();
        while (n > prev && !g_nLargest.compare_exchange_weak(prev, n)) {
        }
    }
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(size_t n)
{
    return Allocate(n);
}
void* operator new[](size_t n)
{
    return Allocate(n);
}
void* operator new(size_t n, const std::nothrow_t&) noexcept
{
    try {
        return Allocate(n);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](size_t n, const std::nothrow_t& t) noexcept
{
    return operator new(n, t);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, size_t) noexcept
{
    std::free(p);
}

using namespace vantorel;
using namespace vantorel::test;

TEST(Allocation, HugeDeclaredCountThrowsWithoutAllocatingIt)
{
    for (const char* type : {"PATTERN         ", "MOTION          "}) {
        Bytes file = MakeHeader(type);
        file.insert(file.end(), {1, 1, 0xFF, 0xFF, 0xFF, 0xFF});
        file.insert(file.end(), 4096, 0);
        std::unique_ptr<CDocument> doc;
        if (type[0] == 'P')
            doc = std::make_unique<CPatternDoc>();
        else
            doc = std::make_unique<CMotionDoc>();

        g_nLargest = 0;
        g_bTracking = true;
        bool bThrown = false;
        try {
            Load(*doc, file);
        } catch (const CArchiveException&) {
            bThrown = true;
        }
        g_bTracking = false;
        EXPECT_TRUE(bThrown) << type;
        EXPECT_LT(g_nLargest.load(), size_t{64 * 1024}) << type;
    }
}

TEST(Allocation, TrackingSeesLargeRequests)
{
    // Guards the test above: the replacement allocator really is in use.
    g_nLargest = 0;
    g_bTracking = true;
    auto p = std::make_unique<std::vector<uint8_t>>(1 << 20);
    g_bTracking = false;
    EXPECT_GE(g_nLargest.load(), size_t{1} << 20);
}
