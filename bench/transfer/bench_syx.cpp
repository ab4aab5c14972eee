// Import speed of a .syx file: a 1 MiB stream of data sets of every kind (with
// a little noise and a foreign message now and then) read whole and in 512-byte
// chunks as an input port delivers them; and Receive Dump's path, one message
// a buffer, against the MIDI wire it must keep up with. Prints MB/s against
// the target with a ratio (above 1 is better). Always exits 0: a figure, not a test.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

#include "data/PatchRecord.h"
#include "data/PerformRecord.h"
#include "midi/msg/SysEx.h"
#include "transfer/SysExReader.h"
#include "transfer/TransferAddresses.h"
#include "transfer/kinds/DocumentKinds.h"

using namespace vantorel;

namespace {
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

constexpr double kTargetMBps = 50.0;
constexpr size_t kStreamBytes = 1u << 20;
constexpr size_t kPortChunk = 512;
constexpr double kWireMBps = 31250.0 / 10 / 1e6; // 10 bits a byte

double MedianMs(int nRuns, const std::function<void()>& fn)
{
    std::vector<double> ms;
    for (int i = 0; i < nRuns; ++i) {
        const auto t0 = Clock::now();
        fn();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::nth_element(ms.begin(), ms.begin() + nRuns / 2, ms.end());
    return ms[size_t(nRuns / 2)];
}

void Append(Bytes& out, const Bytes& more)
{
    out.insert(out.end(), more.begin(), more.end());
}

Bytes Stream(std::mt19937& rng)
{
    Bytes data(CPatchRecord::kSize);
    const auto fill = [&](size_t n) {
        data.resize(n);
        for (auto& b : data)
            b = uint8_t(rng() & 0x7F);
        return data.data();
    };
    Bytes out;
    for (int round = 0; out.size() < kStreamBytes; ++round) {
        const int n = round % 128;
        Append(out, BuildDataSet(address::UserPatch(n), fill(CPatchRecord::kSize), CPatchRecord::kSize));
        const auto& block = CPerformRecord::kBlocks[size_t(round % CPerformRecord::kBlockCount)];
        Append(out, BuildDataSet(address::Performance(n % 64) + address::kPerformanceBlock[size_t(round % 5)],
                                 fill(block.nSize), block.nSize));
        Append(out, BuildDataSet(address::PatternData(n % 48) + uint32_t(round % 8) * address::kPacketSize,
                                 fill(address::kPacketSize), address::kPacketSize));
        if (round % 16 == 0)
            Append(out, {0x00, 0x7F, 0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7});
    }
    out.resize(kStreamBytes);
    return out;
}
} // namespace

int main()
{
    std::mt19937 rng(7);
    const Bytes stream = Stream(rng);
    const std::vector<const CSysExLayout*> layouts = DocumentKinds().SysExLayouts();
    uint64_t nDataSets = 0;
    const double wholeMs = MedianMs(21, [&] {
        CSysExReader reader(layouts);
        reader.Feed(stream.data(), stream.size());
        reader.Finish();
        nDataSets = reader.GetHaul().m_nDataSets;
    });
    const double chunkMs = MedianMs(21, [&] {
        CSysExReader reader(layouts);
        for (size_t i = 0; i < stream.size(); i += kPortChunk)
            reader.Feed(stream.data() + i, std::min(kPortChunk, stream.size() - i));
        reader.Finish();
    });
    // Receive Dump gets one message in each buffer the port hands back.
    std::vector<std::pair<size_t, size_t>> messages;
    for (size_t start = 0, i = 0; i < stream.size(); ++i)
        if (stream[i] == 0xF7 || i + 1 == stream.size()) {
            messages.emplace_back(start, i + 1 - start);
            start = i + 1;
        }
    const double receiveMs = MedianMs(21, [&] {
        CSysExReader reader(layouts);
        for (auto [start, n] : messages)
            reader.Feed(stream.data() + start, n);
        reader.Finish();
    });
    const double receiveMBps = double(stream.size()) / 1e6 / (receiveMs / 1e3);
    std::printf(
        "syx receive, one message a buffer: %.0f MB/s (MIDI wire %.4f MB/s) ratio %.0f  [%.2f ms, %zu "
        "messages]\n",
        receiveMBps, kWireMBps, receiveMBps / kWireMBps, receiveMs, messages.size());
    for (auto [name, ms] : {std::pair{"whole", wholeMs}, std::pair{"512-byte chunks", chunkMs}}) {
        const double mbps = double(stream.size()) / 1e6 / (ms / 1e3);
        std::printf("syx 1 MiB import, %-15s: %.0f MB/s (target >= %.0f MB/s) ratio %.2f  [%.2f ms, %llu "
                    "data sets]\n",
                    name, mbps, kTargetMBps, mbps / kTargetMBps, ms,
                    static_cast<unsigned long long>(nDataSets));
    }
    return 0;
}
