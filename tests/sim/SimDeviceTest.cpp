// The simulated synthesizer: every address kind the transfers use, packet
// boundaries of variable-length items, stores, faults and memory images.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include <sys/stat.h>
#include <unistd.h>

#include "midi/msg/SysEx.h"
#include "sim/model/SimDevice.h"

using namespace vantorel;

namespace {

using Bytes = std::vector<uint8_t>;

// Sends one request and returns the body of its single valid answer; fails
// the test when the answer is missing, duplicated or malformed.
Bytes Ask(CSimDevice& dev, uint32_t address, uint32_t size)
{
    const auto answers = dev.Receive(BuildDataRequest(address, size));
    EXPECT_EQ(answers.size(), 1u) << std::hex << address;
    if (answers.size() != 1)
        return {};
    const Bytes& a = answers[0].m_bytes;
    EXPECT_TRUE(IsValidDataSetFor(a.data(), a.size(), address)) << std::hex << address;
    if (a.size() < sysex::kDataSetOverhead)
        return {};
    return Bytes(a.begin() + 10, a.end() - 2);
}

bool Silent(CSimDevice& dev, uint32_t address, uint32_t size)
{
    return dev.Receive(BuildDataRequest(address, size)).empty();
}

void Store(CSimDevice& dev, uint32_t address, const Bytes& data)
{
    EXPECT_TRUE(dev.Receive(BuildDataSet(address, data.data(), data.size())).empty());
}

Bytes Pattern(uint8_t seed, size_t n)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = uint8_t((seed + i * 3) & 0x7F);
    return b;
}

} // namespace

TEST(SimDeviceMemory, FactoryMemoryIsDistinctAndRepeatable)
{
    CSimDevice a, b;
    EXPECT_EQ(a.SaveImageBytes(), b.SaveImageBytes());
    EXPECT_EQ(CSimDevice::GetName(a.Patch(0).data()), "Warm Pad 001    ");
    for (int i = 0; i < sim::kPatchCount; ++i)
        EXPECT_NE(CSimDevice::GetName(a.Patch(i).data()), "INIT PATCH      ");
    for (int p = 0; p < sim::kPerformanceCount; ++p) {
        EXPECT_NE(CSimDevice::GetName(a.Performance(p).data()), "INIT PERFORMANCE");
        EXPECT_NE(CSimDevice::GetName(a.Performance(p).data() + 50), "INIT PATCH      ");
    }
    // Every packet edge case is present in both kinds of items.
    auto lengths = [](auto&& item, int count) {
        std::vector<size_t> v;
        for (int i = 0; i < count; ++i)
            v.push_back(item(i).m_data.size());
        return v;
    };
    for (const auto& v :
         {lengths([&](int n) -> const CSimItem& { return a.Pattern(n); }, sim::kPatternCount),
          lengths([&](int m) -> const CSimItem& { return a.Motion(m); }, sim::kMotionCount)}) {
        auto has = [&v](auto pred) { return std::any_of(v.begin(), v.end(), pred); };
        EXPECT_TRUE(has([](size_t n) { return n == 0; }));
        EXPECT_TRUE(has([](size_t n) { return n == 231; }));
        EXPECT_TRUE(has([](size_t n) { return n == 240; }));
        EXPECT_TRUE(has([](size_t n) { return n > 462; }));
    }
    EXPECT_EQ(a.Pattern(2).m_data.size(), 240u);
    EXPECT_NE(a.Pattern(0).m_nValue, 1);
}

TEST(SimDeviceRequests, PatchesPerformancesAndSystem)
{
    CSimDevice dev;
    for (int i : {0, 1, 63, 64, 127}) {
        const Bytes body = Ask(dev, sim::PatchAddress(i), 239);
        EXPECT_EQ(body, Bytes(dev.Patch(i).begin(), dev.Patch(i).end())) << i;
    }
    // Patch 70 lives at 02 01 0C 00.
    EXPECT_EQ(ToWireBytes(sim::PatchAddress(70)), (Bytes{0x02, 0x01, 0x0C, 0x00}));
    // Between the patches there is nothing.
    EXPECT_TRUE(Silent(dev, sim::PatchAddress(0) + 239, 1));
    EXPECT_TRUE(Silent(dev, sim::PatchAddress(128), 239));

    const int p = 9;
    const auto& record = dev.Performance(p);
    size_t total = 0;
    for (int block = 0; block < sim::kPerformanceBlocks; ++block) {
        const auto& layout = sim::kPerformanceLayout[size_t(block)];
        const Bytes body = Ask(dev, sim::PerformanceAddress(p, block), uint32_t(layout.nSize));
        ASSERT_EQ(body.size(), layout.nSize) << block;
        EXPECT_TRUE(std::equal(body.begin(), body.end(), record.begin() + ptrdiff_t(layout.nRecordOffset)));
        total += body.size();
    }
    EXPECT_EQ(total, sim::kPerformanceSize);
    EXPECT_EQ(ToWireBytes(sim::PerformanceAddress(5, 4)), (Bytes{0x03, 0x05, 0x42, 0x00}));
    EXPECT_EQ(ToWireBytes(sim::PerformanceAddress(0, 1)), (Bytes{0x03, 0x00, 0x10, 0x00}));

    const auto& sys = dev.System();
    EXPECT_EQ(Ask(dev, 0, 23), Bytes(sys.begin(), sys.begin() + 23));
    EXPECT_EQ(Ask(dev, 0x1800, 42), Bytes(sys.begin() + 23, sys.end()));
    EXPECT_EQ(Ask(dev, 6, 1), Bytes{sys[6]});
    // A request never reaches past its block.
    EXPECT_EQ(Ask(dev, 20, 10).size(), 3u);
    EXPECT_EQ(dev.m_nRequests, 5 + 2 + 5 + 4);
}

TEST(SimDeviceRequests, ValuesAndPacketsEndInSilence)
{
    CSimDevice dev;
    dev.Pattern(7).m_nValue = 0x33;
    EXPECT_EQ(Ask(dev, 0x800 + 7, 1), Bytes{0x33});
    dev.Motion(3).m_nValue = 0x44;
    EXPECT_EQ(Ask(dev, 0x1000 + 3, 1), Bytes{0x44});

    auto packets = [&dev](uint32_t base) {
        std::vector<size_t> sizes;
        for (uint32_t k = 0; k < 10; ++k) {
            const auto answers = dev.Receive(BuildDataRequest(base + k * 231, 231));
            if (answers.empty())
                break;
            sizes.push_back(answers.at(0).m_bytes.size() - sysex::kDataSetOverhead);
        }
        return sizes;
    };
    dev.Pattern(0).m_data = Pattern(1, 231);
    dev.Pattern(1).m_data = Pattern(2, 240);
    dev.Pattern(2).m_data.clear();
    dev.Pattern(47).m_data = Pattern(3, 500);
    EXPECT_EQ(packets(sim::PatternDataAddress(0)), (std::vector<size_t>{231}));
    EXPECT_EQ(packets(sim::PatternDataAddress(1)), (std::vector<size_t>{231, 9}));
    EXPECT_EQ(packets(sim::PatternDataAddress(2)), (std::vector<size_t>{}));
    EXPECT_EQ(packets(sim::PatternDataAddress(47)), (std::vector<size_t>{231, 231, 38}));
    EXPECT_EQ(ToWireBytes(sim::PatternDataAddress(2) + 231), (Bytes{0x08, 0x02, 0x01, 0x67}));

    dev.Motion(1).m_data = Pattern(4, 700);
    EXPECT_EQ(packets(sim::MotionDataAddress(1)), (std::vector<size_t>{231, 231, 231, 7}));
    EXPECT_EQ(ToWireBytes(sim::MotionDataAddress(3)), (Bytes{0x0A, 0x40, 0x00, 0x00}));

    // The packets put together are the item.
    Bytes joined;
    for (uint32_t k = 0; k < 4; ++k) {
        const Bytes b = Ask(dev, sim::MotionDataAddress(1) + k * 231, 231);
        joined.insert(joined.end(), b.begin(), b.end());
    }
    EXPECT_EQ(joined, dev.Motion(1).m_data);
    // Far past the end is silent too.
    EXPECT_TRUE(Silent(dev, sim::MotionDataAddress(1) + 5000, 231));
}

TEST(SimDeviceDataSets, StoresAndReadsBackEveryKind)
{
    CSimDevice dev;
    const Bytes patch = Pattern(9, 239);
    Store(dev, sim::PatchAddress(100), patch);
    EXPECT_EQ(Bytes(dev.Patch(100).begin(), dev.Patch(100).end()), patch);
    EXPECT_EQ(Ask(dev, sim::PatchAddress(100), 239), patch);
    EXPECT_NE(Bytes(dev.Patch(99).begin(), dev.Patch(99).end()), patch);

    // Five blocks of a performance fill its record in order.
    Bytes record;
    for (int block = 0; block < sim::kPerformanceBlocks; ++block) {
        const Bytes part = Pattern(uint8_t(block * 20), sim::kPerformanceLayout[size_t(block)].nSize);
        Store(dev, sim::PerformanceAddress(63, block), part);
        record.insert(record.end(), part.begin(), part.end());
    }
    EXPECT_EQ(Bytes(dev.Performance(63).begin(), dev.Performance(63).end()), record);

    // The audition goes to the scratch performance and nowhere else.
    const Bytes before = dev.SaveImageBytes();
    const Bytes scratchName = {'A', 'u', 'd', 'i', 't', 'i', 'o', 'n',
                               ' ', 'P', 'a', 't', 'c', 'h', ' ', ' '};
    Bytes common = scratchName;
    common.resize(36, 0x10);
    Store(dev, sim::kScratchAddress, common);
    Store(dev, 0x200800, Pattern(1, 7));
    Store(dev, 0x200880, Pattern(2, 7));
    Store(dev, 0x202000, patch);
    Store(dev, 0x202100, Pattern(3, 239));
    EXPECT_EQ(CSimDevice::GetName(dev.Scratch().data()), "Audition Patch  ");
    EXPECT_TRUE(std::equal(patch.begin(), patch.end(), dev.Scratch().begin() + 50));
    EXPECT_EQ(Ask(dev, 0x202000, 239), patch);
    CSimDevice untouched;
    untouched.LoadImageBytes(before);
    untouched.Scratch() = dev.Scratch();
    EXPECT_EQ(untouched.SaveImageBytes(), dev.SaveImageBytes());

    // System: the extra byte is byte 6 of the system parameters.
    Store(dev, 6, {0x05});
    EXPECT_EQ(dev.System()[6], 0x05);
    const Bytes txrx = Pattern(40, 42);
    Store(dev, 0x1800, txrx);
    EXPECT_TRUE(std::equal(txrx.begin(), txrx.end(), dev.System().begin() + 23));
    // A block takes no more than its size: a data set that runs past it is refused whole.
    const uint8_t lastParameter = dev.System()[22];
    Store(dev, 20, Pattern(50, 10));
    EXPECT_EQ(dev.System()[22], lastParameter);
    EXPECT_TRUE(std::equal(txrx.begin(), txrx.end(), dev.System().begin() + 23));

    Store(dev, 0x800 + 47, {0x7E});
    EXPECT_EQ(dev.Pattern(47).m_nValue, 0x7E);
    Store(dev, 0x1000, {0x11});
    EXPECT_EQ(dev.Motion(0).m_nValue, 0x11);
}

TEST(SimDeviceDataSets, PacketDecidesTheItemLength)
{
    CSimDevice dev;
    const uint32_t base = sim::PatternDataAddress(4);
    ASSERT_GT(dev.Pattern(4).m_data.size(), 462u);
    const Bytes first = dev.Pattern(4).m_data;

    // Packet 1 with 10 bytes: the item ends after it.
    Store(dev, base + 231, Pattern(7, 10));
    ASSERT_EQ(dev.Pattern(4).m_data.size(), 241u);
    EXPECT_TRUE(std::equal(first.begin(), first.begin() + 231, dev.Pattern(4).m_data.begin()));
    EXPECT_EQ(Ask(dev, base + 231, 231), Pattern(7, 10));
    EXPECT_TRUE(Silent(dev, base + 462, 231));

    // An empty data set at the base empties the item.
    Store(dev, base, {});
    EXPECT_TRUE(dev.Pattern(4).m_data.empty());
    EXPECT_TRUE(Silent(dev, base, 231));

    // A sent item of 500 bytes: 231 + 231 + 38.
    const Bytes item = Pattern(11, 500);
    for (size_t pos = 0; pos < item.size(); pos += 231)
        Store(
            dev, sim::MotionDataAddress(2) + uint32_t(pos),
            Bytes(item.begin() + ptrdiff_t(pos), item.begin() + ptrdiff_t(std::min(pos + 231, item.size()))));
    EXPECT_EQ(dev.Motion(2).m_data, item);

    // A later packet on an empty item leaves zeros before it.
    dev.Motion(0).m_data.clear();
    Store(dev, sim::MotionDataAddress(0) + 2 * 231, Pattern(5, 5));
    ASSERT_EQ(dev.Motion(0).m_data.size(), 467u);
    EXPECT_EQ(dev.Motion(0).m_data[0], 0);
    EXPECT_EQ(dev.Motion(0).m_data[466], Pattern(5, 5)[4]);
}

// A data set that would run past its item's memory or its block is ignored
// whole; a last packet may end exactly where the memory ends. (A pattern's
// packets running into the next pattern's memory: JackPatchTransferTest.)
TEST(SimDeviceDataSets, ADataSetThatWouldRunPastItsRoomIsIgnoredWhole)
{
    CSimDevice dev;
    const CSimDevice before = dev;
    const uint32_t lastPacket = 0x100000 / 231 * 231;
    Store(dev, sim::MotionDataAddress(0) + lastPacket, Pattern(3, 0x100000 - lastPacket + 1));
    EXPECT_EQ(dev.Motion(0), before.Motion(0));
    EXPECT_NE(dev.LastIgnored().find("past the end of its memory"), std::string::npos) << dev.LastIgnored();
    Store(dev, sim::MotionDataAddress(0) + lastPacket, Pattern(3, 0x100000 - lastPacket));
    EXPECT_EQ(dev.Motion(0).m_data.size(), 0x100000u);

    Store(dev, sim::PatchAddress(5), Pattern(4, 240));
    EXPECT_EQ(dev.Patch(5), before.Patch(5));
    EXPECT_EQ(dev.Patch(6), before.Patch(6));
    EXPECT_NE(dev.LastIgnored().find("past the end of its block"), std::string::npos) << dev.LastIgnored();
}

TEST(SimDeviceDataSets, IgnoresWhatIsNotForIt)
{
    CSimDevice dev;
    const Bytes before = dev.SaveImageBytes();
    const Bytes patch = Pattern(9, 239);

    Bytes badSum = BuildDataSet(sim::PatchAddress(0), patch.data(), patch.size());
    badSum[badSum.size() - 2] ^= 1;
    Bytes otherDevice = BuildDataSet(sim::PatchAddress(0), patch.data(), patch.size());
    otherDevice[2] = 0x11;
    Bytes longRequest = BuildDataRequest(sim::PatchAddress(0), 239);
    longRequest.insert(longRequest.end() - 2, 0x00);
    Bytes noEnd = BuildDataRequest(sim::PatchAddress(0), 239);
    noEnd.pop_back();
    const std::vector<Bytes> junk = {
        {},
        {0xF0, 0xF7},
        {0x90, 0x3C, 0x64},
        badSum,
        otherDevice,
        longRequest,
        noEnd,
        BuildDataRequest(0x0300000, 10),                     // no memory there
        BuildDataSet(0x0300000, patch.data(), patch.size()), // nor there
    };
    for (const Bytes& b : junk)
        EXPECT_TRUE(dev.Receive(b).empty()) << ::testing::PrintToString(b);
    EXPECT_EQ(dev.SaveImageBytes(), before);
    EXPECT_EQ(dev.m_nAnswers, 0);
    // The request for an empty address is a request, only unanswered.
    EXPECT_EQ(dev.m_nRequests, 1);
    EXPECT_EQ(dev.m_nIgnored, int(junk.size()) - 1);

    std::mt19937 rng(7);
    for (int i = 0; i < 2000; ++i) {
        Bytes b(size_t(rng() % 300));
        for (auto& x : b)
            x = uint8_t(rng());
        if (b.size() > 6) {
            b[0] = 0xF0, b[1] = 0x41, b[2] = 0x10, b[3] = 0x00, b[4] = 0x06;
            b.back() = 0xF7;
        }
        for (const auto& a : dev.Receive(b))
            EXPECT_LE(a.m_bytes.size(), sysex::kPortBufferSize);
    }
}

TEST(SimDeviceDataSets, IgnoresMessagesWithHighDataBytes)
{
    // A byte of 0x80 or above between F0 and F7 makes the whole message
    // invalid, even where the checksum still adds up.
    CSimDevice dev;
    const Bytes before = dev.SaveImageBytes();
    Bytes data = Pattern(4, 239);
    // The program refuses to build such a message, so the byte goes in afterwards.
    Bytes set = BuildDataSet(sim::PatchAddress(0), data.data(), data.size());
    set[sysex::kHeaderLength + 20] = 0x85;
    set[set.size() - 2] = Checksum(set.data() + 6, set.size() - 8);
    ASSERT_EQ(set[set.size() - 2], Checksum(set.data() + 6, set.size() - 8));
    Bytes request = BuildDataRequest(sim::PatchAddress(0), 239);
    request.insert(request.begin() + 7, 0xF8);
    request[request.size() - 2] = Checksum(request.data() + 6, request.size() - 8);
    for (const Bytes& b : {set, request}) {
        EXPECT_TRUE(dev.Receive(b).empty()) << ::testing::PrintToString(b);
        EXPECT_NE(dev.LastIgnored().find("0x80"), std::string::npos) << dev.LastIgnored();
    }
    EXPECT_EQ(dev.SaveImageBytes(), before);
    EXPECT_EQ(dev.m_nIgnored, 2);
    EXPECT_EQ(dev.m_nDataSets + dev.m_nRequests, 0);
}

TEST(SimDeviceFaults, ShortAndEndlessAnswersAreWellFormedButWrongInLength)
{
    const uint32_t address = sim::PatchAddress(7);
    CSimDevice dev;
    dev.Faults().m_nShortEvery = 2;
    dev.Faults().m_nEndlessEvery = 3;
    for (int i = 1; i <= 6; ++i) {
        SCOPED_TRACE(i);
        const auto answers = dev.Receive(BuildDataRequest(address, 239));
        ASSERT_EQ(answers.size(), 1u);
        const Bytes& a = answers[0].m_bytes;
        const size_t nData = a.size() - sysex::kDataSetOverhead;
        // Header, address and checksum are right whatever the length.
        ASSERT_TRUE(IsValidDataSetFor(a.data(), a.size(), address));
        if (i % 3 == 0)
            EXPECT_GT(a.size(), sysex::kPortBufferSize);
        else if (i % 2 == 0)
            EXPECT_LT(nData, 239u);
        else
            EXPECT_EQ(nData, 239u);
        EXPECT_EQ(Bytes(a.begin() + 10, a.begin() + 10 + std::min<size_t>(nData, 16)),
                  Bytes(dev.Patch(7).begin(), dev.Patch(7).begin() + std::min<size_t>(nData, 16)));
    }
}

TEST(SimDeviceFaults, DropCorruptStrayAndLateDoWhatTheySay)
{
    const uint32_t address = sim::PatchAddress(3);
    {
        CSimDevice dev;
        dev.Faults().m_nDropEvery = 2;
        std::vector<size_t> counts;
        for (int i = 0; i < 4; ++i)
            counts.push_back(dev.Receive(BuildDataRequest(address, 239)).size());
        EXPECT_EQ(counts, (std::vector<size_t>{1, 0, 1, 0}));
        EXPECT_EQ(dev.m_nAnswers, 4);
    }
    {
        CSimDevice dev;
        dev.Faults().m_nCorruptEvery = 3;
        for (int i = 1; i <= 6; ++i) {
            const auto answers = dev.Receive(BuildDataRequest(address, 239));
            ASSERT_EQ(answers.size(), 1u);
            const Bytes& a = answers[0].m_bytes;
            EXPECT_EQ(IsValidDataSetFor(a.data(), a.size(), address), i % 3 != 0) << i;
            EXPECT_EQ(a.size(), 251u);
            EXPECT_EQ(a.back(), 0xF7);
            EXPECT_LT(a[a.size() - 2], 0x80);
        }
    }
    {
        CSimDevice dev;
        dev.Faults().m_nStrayEvery = 2;
        for (uint32_t where : {address, uint32_t(0)}) {
            EXPECT_EQ(dev.Receive(BuildDataRequest(where, 23)).size(), 1u);
            const auto answers = dev.Receive(BuildDataRequest(where, 23));
            ASSERT_EQ(answers.size(), 2u);
            const Bytes& stray = answers[0].m_bytes;
            const CSysExMessage parsed = [&] {
                CSysExMessage m;
                m.AppendBytes(int32_t(stray.size()), stray.data());
                m.Parse();
                return m;
            }();
            EXPECT_EQ(parsed.m_nCommand, 0x12);
            EXPECT_NE(FromAddressBytes(parsed.m_dwAddress), where);
            EXPECT_TRUE(IsValidDataSetFor(stray.data(), stray.size(), FromAddressBytes(parsed.m_dwAddress)));
            EXPECT_TRUE(IsValidDataSetFor(answers[1].m_bytes.data(), answers[1].m_bytes.size(), where));
        }
    }
    {
        CSimDevice dev;
        dev.Faults().m_nResponseDelayMs = 10;
        dev.Faults().m_nLateEvery = 2;
        dev.Faults().m_nLateMs = 50;
        std::vector<int64_t> delays;
        for (int i = 0; i < 4; ++i)
            delays.push_back(dev.Receive(BuildDataRequest(address, 239)).at(0).m_nDelayUs);
        EXPECT_EQ(delays, (std::vector<int64_t>{10'000, 60'000, 10'000, 60'000}));
        // Counting starts again after a reset.
        dev.ResetCounters();
        dev.Faults().m_nDropEvery = 1;
        EXPECT_TRUE(dev.Receive(BuildDataRequest(address, 239)).empty());
        EXPECT_EQ(dev.m_nAnswers, 1);
    }
    {
        // Silence is not an answer and does not move the count.
        CSimDevice dev;
        dev.Faults().m_nDropEvery = 2;
        dev.Pattern(3).m_data.clear();
        EXPECT_TRUE(Silent(dev, sim::PatternDataAddress(3), 231));
        EXPECT_EQ(dev.Receive(BuildDataRequest(address, 239)).size(), 1u);
        EXPECT_TRUE(dev.Receive(BuildDataRequest(address, 239)).empty());
    }
}

TEST(SimDeviceImage, SaveLoadRoundTripAndDamagedImages)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vantorel-simimg-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "memory.img").string();

    CSimDevice dev;
    Store(dev, sim::PatchAddress(5), Pattern(1, 239));
    Store(dev, sim::PatternDataAddress(9), Pattern(2, 17));
    dev.Motion(3).m_data = Pattern(3, 5000);
    dev.Scratch()[100] = 0x55;
    std::string error;
    ASSERT_TRUE(dev.SaveImage(path, &error)) << error;
    EXPECT_FALSE(fs::exists(path + ".tmp"));

    CSimDevice loaded;
    ASSERT_NE(loaded.SaveImageBytes(), dev.SaveImageBytes());
    ASSERT_TRUE(loaded.LoadImage(path, &error)) << error;
    EXPECT_EQ(loaded.SaveImageBytes(), dev.SaveImageBytes());
    EXPECT_EQ(loaded.Motion(3).m_data.size(), 5000u);
    EXPECT_EQ(Ask(loaded, sim::PatchAddress(5), 239), Pattern(1, 239));

    // Damaged images change nothing.
    const Bytes good = dev.SaveImageBytes();
    const CSimDevice fresh;
    std::vector<Bytes> bad = {{}, Bytes(good.begin(), good.end() - 1), good, good, good};
    bad[2].push_back(0);
    bad[3][0] = 'X';
    bad[4][good.size() - 5000 - 4] = 0x7F; // motion 3 claims far more bytes than follow
    for (const Bytes& b : bad) {
        CSimDevice victim;
        EXPECT_FALSE(victim.LoadImageBytes(b, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(victim.SaveImageBytes(), fresh.SaveImageBytes());
    }
    CSimDevice victim;
    EXPECT_FALSE(victim.LoadImage((dir / "missing.img").string(), &error));
    EXPECT_FALSE(victim.SaveImage((dir / "no-such-dir" / "x.img").string(), &error));
    fs::remove_all(dir);
}

TEST(SimDeviceImage, RefusesWhatIsNotAnImageFile)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vantorel-simimg-kinds-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string fifo = (dir / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string big = (dir / "big.img").string();
    {
        std::ofstream out(big, std::ios::binary);
        const CSimDevice dev;
        const Bytes image = dev.SaveImageBytes();
        out.write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
        out.seekp(std::streamoff(CSimDevice::MaxImageSize()));
        out.put(0);
    }
    const CSimDevice fresh;
    // A directory, a FIFO with no writer, an endless device and an oversized
    // file: each refused with a reason, none read for ever.
    for (const std::string& path : {dir.string(), fifo, std::string("/dev/zero"), big}) {
        SCOPED_TRACE(path);
        CSimDevice victim;
        std::string error;
        EXPECT_FALSE(victim.LoadImage(path, &error));
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        EXPECT_EQ(victim.SaveImageBytes(), fresh.SaveImageBytes());
    }
    fs::remove_all(dir);
}

// An image is saved by the program's own rules for files (their cases:
// SafeFileTest, DocManagerTest): a link stays a link and its file gets the
// image; a pipe is never replaced, and the message names it.
TEST(SimDeviceImage, SaveWritesThroughLinksAndReplacesOnlyRegularFiles)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vantorel-simimg-save-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    CSimDevice dev;
    Store(dev, sim::PatchAddress(7), Pattern(4, 239));
    std::string error;
    std::ofstream(dir / "real.img") << "old";
    fs::create_symlink("real.img", dir / "link.img");
    ASSERT_TRUE(dev.SaveImage((dir / "link.img").string(), &error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir / "link.img"));
    CSimDevice loaded;
    ASSERT_TRUE(loaded.LoadImage((dir / "real.img").string(), &error)) << error;
    EXPECT_EQ(loaded.SaveImageBytes(), dev.SaveImageBytes());

    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    fs::create_symlink("fifo", dir / "to-fifo.img");
    EXPECT_FALSE(dev.SaveImage((dir / "to-fifo.img").string(), &error));
    EXPECT_NE(error.find((dir / "to-fifo.img").string()), std::string::npos) << error;
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    EXPECT_TRUE(fs::is_symlink(dir / "to-fifo.img"));
    fs::remove_all(dir);
}
