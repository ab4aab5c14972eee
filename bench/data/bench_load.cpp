// Load and save times of library files of each kind, and the throughput of
// loading a large pattern file. Prints each figure beside its target with a
// ratio (above 1 is better than the target). Always exits 0: a figure, not a test.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "framework/core/Archive.h"

using namespace vantorel;

namespace {
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

constexpr double kNormalTargetMs = 1.0;
constexpr double kLargeTargetMBps = 200.0;
constexpr size_t kLargeFileBytes = 16u << 20;

// Median of several timed runs, in milliseconds.
double MedianMs(int nRuns, const std::function<void()>& fn)
{
    std::vector<double> ms;
    ms.reserve(nRuns);
    for (int i = 0; i < nRuns; ++i) {
        const auto t0 = Clock::now();
        fn();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::nth_element(ms.begin(), ms.begin() + nRuns / 2, ms.end());
    return ms[nRuns / 2];
}

Bytes Save(CDocument& doc)
{
    Bytes out;
    CArchive ar(out);
    doc.Serialize(ar);
    return out;
}

bool Load(CDocument& doc, const Bytes& file)
{
    CArchive ar(file.data(), file.size());
    return doc.Serialize(ar) == CDocument::LoadResult::Ok;
}

void Randomize(uint8_t* p, size_t n, std::mt19937& rng)
{
    for (size_t i = 0; i < n; ++i)
        p[i] = static_cast<uint8_t>(rng() & 0x7F);
}

template <class Doc>
void BenchNormal(const char* name, const std::function<void(Doc&, std::mt19937&)>& fill)
{
    std::mt19937 rng(42);
    auto doc = std::make_unique<Doc>();
    fill(*doc, rng);
    const Bytes file = Save(*doc);

    bool bOk = true;
    const double loadMs = MedianMs(201, [&] {
        auto target = std::make_unique<Doc>();
        bOk = Load(*target, file) && bOk;
    });
    const double saveMs = MedianMs(201, [&] { (void)Save(*doc); });
    std::printf("%-12s %6zu bytes  load: %.4f ms (target < %.0f ms) ratio %.1f%s\n", name, file.size(),
                loadMs, kNormalTargetMs, kNormalTargetMs / std::max(loadMs, 1e-6),
                bOk ? "" : "  LOAD FAILED");
    std::printf("%-12s %6zu bytes  save: %.4f ms (target < %.0f ms) ratio %.1f\n", name, file.size(), saveMs,
                kNormalTargetMs, kNormalTargetMs / std::max(saveMs, 1e-6));
}

template <class TEntry, size_t N>
void FillEntries(std::array<TEntry, N>& entries, std::mt19937& rng, size_t nSize)
{
    for (TEntry& e : entries) {
        Bytes data(nSize);
        Randomize(data.data(), data.size(), rng);
        e.SetData(data.data(), data.size());
    }
}
} // namespace

int main()
{
    std::printf(
        "Library file load and save (median of 201 runs; a load includes constructing the document)\n");
    BenchNormal<CPatchDoc>("patch", [](CPatchDoc& d, std::mt19937& rng) {
        for (auto& r : d.m_aPatch)
            Randomize(r.Data() + kEntryNameSize, CPatchRecord::kSize - kEntryNameSize, rng);
    });
    BenchNormal<CPerformDoc>("performance", [](CPerformDoc& d, std::mt19937& rng) {
        for (auto& r : d.m_aPerform)
            Randomize(r.Data() + kEntryNameSize, CPerformRecord::kSize - kEntryNameSize, rng);
    });
    BenchNormal<CSystemDoc>("system", [](CSystemDoc& d, std::mt19937& rng) {
        Randomize(d.m_aSystem.data(), d.m_aSystem.size(), rng);
    });
    // A pattern as the synthesizer hands it out is a few packets of data.
    BenchNormal<CPatternDoc>("pattern",
                             [](CPatternDoc& d, std::mt19937& rng) { FillEntries(d.m_aPattern, rng, 480); });
    BenchNormal<CMotionDoc>("motion",
                            [](CMotionDoc& d, std::mt19937& rng) { FillEntries(d.m_aMotion, rng, 960); });

    // 16 MiB of pattern data spread over the 48 entries.
    std::mt19937 rng(7);
    auto big = std::make_unique<CPatternDoc>();
    const size_t nPerEntry =
        (kLargeFileBytes - kFileHeaderSize) / CPatternDoc::kPatternCount - kVarEntryDataOffset;
    FillEntries(big->m_aPattern, rng, nPerEntry);
    const size_t nUsed = kFileHeaderSize + CPatternDoc::kPatternCount * (kVarEntryDataOffset + nPerEntry);
    for (size_t i = nUsed; i < kLargeFileBytes; ++i) // the rest, so the file is exactly 16 MiB
        big->m_aPattern.back().Append(static_cast<uint8_t>(rng() & 0x7F));
    const Bytes file = Save(*big);
    bool bOk = true;
    const double ms = MedianMs(15, [&] {
        auto target = std::make_unique<CPatternDoc>();
        bOk = Load(*target, file) && bOk;
    });
    const double mbps = file.size() / 1e6 / (ms / 1e3);
    std::printf("pattern 16 MiB load: %.0f MB/s (target >= %.0f MB/s) ratio %.2f  [%zu bytes in %.2f ms]%s\n",
                mbps, kLargeTargetMBps, mbps / kLargeTargetMBps, file.size(), ms, bOk ? "" : "  LOAD FAILED");
    const double saveMs = MedianMs(15, [&] { (void)Save(*big); });
    const double saveMbps = file.size() / 1e6 / (saveMs / 1e3);
    std::printf("pattern 16 MiB save: %.0f MB/s (target >= %.0f MB/s) ratio %.2f\n", saveMbps,
                kLargeTargetMBps, saveMbps / kLargeTargetMBps);
    return 0;
}
