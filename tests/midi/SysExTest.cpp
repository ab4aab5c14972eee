// Exclusive messages: wire layout, address arithmetic, checksum, parsing of
// good and hostile input, and the list of received answers.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "midi/msg/SysEx.h"

using namespace vantorel;

namespace {

using Bytes = std::vector<uint8_t>;

CSysExMessage Received(const Bytes& bytes)
{
    CSysExMessage msg;
    msg.AppendBytes(int32_t(bytes.size()), bytes.data());
    msg.Parse();
    return msg;
}

Bytes Body(const CSysExMessage& msg)
{
    return Bytes(msg.GetBody(), msg.GetBody() + msg.m_nBodyLength);
}

void ExpectDefaults(const CSysExMessage& msg)
{
    EXPECT_EQ(msg.m_nManufacturer, 0x41);
    EXPECT_EQ(msg.m_nDevice, 0x10);
    EXPECT_EQ(msg.m_nModel, 0x06);
    EXPECT_EQ(msg.m_nModelLength, 2);
    EXPECT_EQ(msg.m_nCommand, 0x12);
    EXPECT_EQ(msg.m_dwAddress, 0u);
    EXPECT_EQ(msg.m_dwSize, 0u);
    EXPECT_EQ(msg.m_nBodyLength, 0);
    EXPECT_NE(msg.GetBody(), nullptr);
}

} // namespace

TEST(SysExAddress, LinearNumbersToWireAndByteForm)
{
    struct Case {
        uint32_t linear;
        Bytes wire;
    } cases[] = {
        {0x0400000, {0x02, 0x00, 0x00, 0x00}},  {0x0400100, {0x02, 0x00, 0x02, 0x00}},
        {0x0404000, {0x02, 0x01, 0x00, 0x00}},  {0x0407F00, {0x02, 0x01, 0x7E, 0x00}},
        {0x0600800, {0x03, 0x00, 0x10, 0x00}},  {0x0001800, {0x00, 0x00, 0x30, 0x00}},
        {0x10000E7, {0x08, 0x00, 0x01, 0x67}},  {239, {0x00, 0x00, 0x01, 0x6F}},
        {0x0FFFFFFF, {0x7F, 0x7F, 0x7F, 0x7F}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToWireBytes(c.linear), c.wire) << std::hex << c.linear;
        const uint32_t word = ToAddressBytes(c.linear);
        EXPECT_EQ(word, (uint32_t(c.wire[0]) << 24) | (uint32_t(c.wire[1]) << 16) |
                            (uint32_t(c.wire[2]) << 8) | c.wire[3])
            << std::hex << c.linear;
        EXPECT_EQ(FromAddressBytes(word), c.linear) << std::hex << c.linear;
    }
    // Moving on by one packet carries into the next 7-bit byte.
    EXPECT_EQ(ToWireBytes(0x1000000 + 2 * 231), (Bytes{0x08, 0x00, 0x03, 0x4E}));
}

TEST(SysExBuild, DataRequestsAsTheDeviceExpectsThem)
{
    EXPECT_EQ(BuildDataRequest(0x0400000, 239), (Bytes{0xF0, 0x41, 0x10, 0x00, 0x06, 0x11, 0x02, 0x00, 0x00,
                                                       0x00, 0x00, 0x00, 0x01, 0x6F, 0x0E, 0xF7}));
    EXPECT_EQ(BuildDataRequest(0, 23), (Bytes{0xF0, 0x41, 0x10, 0x00, 0x06, 0x11, 0x00, 0x00, 0x00, 0x00,
                                              0x00, 0x00, 0x00, 0x17, 0x69, 0xF7}));
    EXPECT_EQ(BuildDataRequest(0x0000803, 1), (Bytes{0xF0, 0x41, 0x10, 0x00, 0x06, 0x11, 0x00, 0x00, 0x10,
                                                     0x03, 0x00, 0x00, 0x00, 0x01, 0x6C, 0xF7}));
}

TEST(SysExBuild, DataSetsIncludingEmptyAndZeroChecksum)
{
    const uint8_t five = 0x05;
    EXPECT_EQ(BuildDataSet(6, &five, 1),
              (Bytes{0xF0, 0x41, 0x10, 0x00, 0x06, 0x12, 0x00, 0x00, 0x00, 0x06, 0x05, 0x75, 0xF7}));

    // No data: the checksum covers the address alone.
    EXPECT_EQ(BuildDataSet(0x1000000 + 0x4000 * 2, nullptr, 0),
              (Bytes{0xF0, 0x41, 0x10, 0x00, 0x06, 0x12, 0x08, 0x02, 0x00, 0x00, 0x76, 0xF7}));
    EXPECT_EQ(BuildDataSet(0x0400000, nullptr, 0).size(), 12u);

    // 0x40 + 0x40 is a multiple of 128: checksum 0x00, never 0x80.
    const uint8_t two[] = {0x40, 0x40};
    const Bytes zero = BuildDataSet(0, two, 2);
    ASSERT_EQ(zero.size(), 14u);
    EXPECT_EQ(zero[12], 0x00);
    EXPECT_EQ(Checksum(two, 2), 0x00);
    EXPECT_EQ(Checksum(nullptr, 0, 0x80), 0x00);
    EXPECT_EQ(Checksum(two, 1, 0x3F), 0x01);

    // A data byte with the top bit set would end the message on the wire:
    // no data set is built from it, wherever it stands.
    const uint8_t high[] = {0x80, 0xFF};
    EXPECT_TRUE(BuildDataSet(0, high, 2).empty());
    const uint8_t last[] = {0x01, 0x7F, 0x80};
    EXPECT_TRUE(BuildDataSet(0, last, 3).empty());
    EXPECT_FALSE(AreDataBytes(last, 3));
    EXPECT_TRUE(AreDataBytes(last, 2));
    EXPECT_EQ(BuildDataSet(0, last, 2).size(), 14u);

    // The port buffer holds 512 bytes: longer bodies are cut to 500.
    const Bytes many(600, 0x01);
    const Bytes cut = BuildDataSet(0, many.data(), many.size());
    ASSERT_EQ(cut.size(), sysex::kPortBufferSize);
    EXPECT_EQ(cut[510], Checksum(many.data(), 500));
}

TEST(SysExBuild, MessageObjectGivesTheSameBytesAsTheBuilders)
{
    std::vector<uint8_t> patch(239);
    for (size_t i = 0; i < patch.size(); ++i)
        patch[i] = uint8_t((i * 37) & 0x7F);

    CSysExMessage set;
    set.m_dwAddress = ToAddressBytes(0x0602100 + 5 * 0x4000);
    set.SetBody(int32_t(patch.size()), patch.data());
    set.Build();
    EXPECT_EQ(static_cast<const Bytes&>(set), BuildDataSet(0x0602100 + 5 * 0x4000, patch.data(), 239));
    EXPECT_EQ(set.size(), 251u);

    CSysExMessage request;
    request.m_nCommand = sysex::kDataRequest;
    request.m_dwAddress = ToAddressBytes(0x0400000);
    request.m_dwSize = ToAddressBytes(239);
    request.Build();
    EXPECT_EQ(static_cast<const Bytes&>(request), BuildDataRequest(0x0400000, 239));

    // Building twice does not accumulate bytes.
    request.Build();
    EXPECT_EQ(request.size(), 16u);
}

TEST(SysExParse, FullPatchAnswer)
{
    Bytes patch(239);
    for (size_t i = 0; i < patch.size(); ++i)
        patch[i] = uint8_t(0x20 + i % 0x50);
    const CSysExMessage msg = Received(BuildDataSet(0x0400000, patch.data(), patch.size()));
    EXPECT_EQ(msg.m_nCommand, 0x12);
    EXPECT_EQ(msg.m_dwAddress, 0x02000000u);
    EXPECT_EQ(msg.m_nManufacturer, 0x41);
    EXPECT_EQ(msg.m_nDevice, 0x10);
    EXPECT_EQ(msg.m_nModel, 0x06);
    EXPECT_EQ(msg.m_nModelLength, 2);
    ASSERT_EQ(msg.m_nBodyLength, 239);
    EXPECT_EQ(Body(msg), patch);
}

TEST(SysExParse, RequestAndEmptyDataSet)
{
    const CSysExMessage req = Received(BuildDataRequest(0x0000803, 1));
    EXPECT_EQ(req.m_nCommand, 0x11);
    EXPECT_EQ(req.m_dwAddress, 0x00001003u);
    EXPECT_EQ(req.m_dwSize, 0x00000001u);
    EXPECT_EQ(req.m_nBodyLength, 0);

    const CSysExMessage empty = Received(BuildDataSet(0x1200000, nullptr, 0));
    EXPECT_EQ(empty.m_nCommand, 0x12);
    EXPECT_EQ(empty.m_dwAddress, 0x09000000u);
    EXPECT_EQ(empty.m_nBodyLength, 0);
}

TEST(SysExParse, LongModelIdRoundTrips)
{
    const Bytes in = {0xF0, 0x41, 0x10, 0x00, 0x00, 0x06, 0x12, 0x00, 0x00, 0x00, 0x06, 0x05, 0x75, 0xF7};
    CSysExMessage msg = Received(in);
    EXPECT_EQ(msg.m_nModel, 0x06);
    EXPECT_EQ(msg.m_nModelLength, 3);
    EXPECT_EQ(msg.m_dwAddress, 0x00000006u);
    EXPECT_EQ(Body(msg), (Bytes{0x05}));
    msg.Build();
    EXPECT_EQ(static_cast<const Bytes&>(msg), in);
}

TEST(SysExParse, OtherManufacturerHasBodyRightAfterIt)
{
    const CSysExMessage msg = Received({0xF0, 0x43, 0x01, 0x02, 0x03, 0x7A, 0xF7});
    EXPECT_EQ(msg.m_nManufacturer, 0x43);
    EXPECT_EQ(Body(msg), (Bytes{0x01, 0x02, 0x03}));
    EXPECT_EQ(msg.m_nCommand, 0x12); // untouched default

    CSysExMessage built;
    built.m_nManufacturer = 0x43;
    const uint8_t body[] = {0x01, 0x02, 0x03};
    built.SetBody(3, body);
    built.Build();
    EXPECT_EQ(static_cast<const Bytes&>(built), (Bytes{0xF0, 0x43, 0x01, 0x02, 0x03, 0x7A, 0xF7}));
}

TEST(SysExParse, BodyEndsAtTheFirstEndOfExclusive)
{
    // Anything after the first F7 belongs to no message.
    const CSysExMessage msg = Received(
        {0xF0, 0x41, 0x10, 0x00, 0x06, 0x12, 0x00, 0x00, 0x00, 0x06, 0x05, 0x75, 0xF7, 0x11, 0x22, 0xF7});
    EXPECT_EQ(Body(msg), (Bytes{0x05}));
}

TEST(SysExParse, MalformedInputLeavesDefaultsAndAnEmptyBody)
{
    const Bytes good = BuildDataSet(0x0400000, Bytes(239, 0x11).data(), 239);
    const std::vector<Bytes> bad = {
        {},
        {0x41, 0x10, 0x00, 0x06, 0x12, 0xF7},                               // no F0
        Bytes(good.begin(), good.end() - 1),                                // no F7
        {0xF0, 0xF7},                                                       // nothing at all
        {0xF0, 0x41, 0xF7},                                                 // ends after the manufacturer
        {0xF0, 0x41, 0x10, 0xF7},                                           // ends after the device
        {0xF0, 0x41, 0x10, 0x00, 0x00, 0x00, 0xF7},                         // model ID never ends
        {0xF0, 0x41, 0x10, 0x00, 0x06, 0xF7},                               // no command
        {0xF0, 0x41, 0x10, 0x00, 0x06, 0x12, 0x02, 0x00, 0xF7},             // half an address
        {0xF0, 0x41, 0x10, 0x00, 0x06, 0x12, 0x02, 0x00, 0x00, 0x00, 0xF7}, // no checksum
        {0xF0, 0x41, 0x10, 0x00, 0x06, 0x11, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF7}, // half a size
        {0xF0, 0x43, 0xF7},                                                             // no checksum
    };
    for (const Bytes& b : bad) {
        SCOPED_TRACE(::testing::PrintToString(b));
        ExpectDefaults(Received(b));
    }

    // Every cut of a good message either fails cleanly or, once the F7 is
    // gone, gives defaults too.
    for (size_t n = 0; n < good.size(); ++n) {
        Bytes cut(good.begin(), good.begin() + n);
        ExpectDefaults(Received(cut));
        cut.push_back(0xF7);
        const CSysExMessage m = Received(cut);
        if (n >= 11)
            EXPECT_EQ(m.m_nBodyLength, int32_t(n - 11));
        else
            ExpectDefaults(m);
    }
}

TEST(SysExParse, ReparseDropsTheOldBody)
{
    CSysExMessage msg = Received(BuildDataSet(0x0400000, Bytes(10, 0x22).data(), 10));
    ASSERT_EQ(msg.m_nBodyLength, 10);
    msg.clear();
    const Bytes junk = {0xF0, 0x41, 0x10};
    msg.AppendBytes(3, junk.data());
    msg.Parse();
    ExpectDefaults(msg);
}

TEST(SysExParse, RandomAndOversizedInputStaysInBounds)
{
    std::mt19937 rng(1234);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> len(0, 1000);
    for (int i = 0; i < 3000; ++i) {
        Bytes b(size_t(len(rng)));
        for (auto& x : b)
            x = uint8_t(byte(rng));
        // Biased towards plausible headers so that deep paths get exercised.
        if (!b.empty() && i % 2 == 0)
            b[0] = 0xF0;
        if (b.size() > 1 && i % 4 == 0)
            b[1] = 0x41;
        const CSysExMessage m = Received(b);
        EXPECT_GE(m.m_nBodyLength, 0);
        EXPECT_LT(size_t(m.m_nBodyLength), b.size() + 1);
        (void)IsValidDataSetFor(b.data(), b.size(), 0x0400000);
    }

    // 1000 data bytes of which none is F7: the whole body comes back.
    Bytes big = {0xF0, 0x41, 0x10, 0x00, 0x06, 0x12, 0x00, 0x00, 0x00, 0x00};
    for (int i = 0; i < 1000; ++i)
        big.push_back(uint8_t(i % 0x70));
    big.push_back(0x00);
    big.push_back(0xF7);
    EXPECT_EQ(Received(big).m_nBodyLength, 1000);
    big.pop_back();
    ExpectDefaults(Received(big));
}

TEST(SysExValidate, AcceptsOnlyCompleteAnswersForTheAddress)
{
    Bytes patch(239, 0x33);
    const Bytes good = BuildDataSet(0x0400100, patch.data(), patch.size());
    EXPECT_TRUE(IsValidDataSetFor(good.data(), good.size(), 0x0400100));
    EXPECT_FALSE(IsValidDataSetFor(good.data(), good.size(), 0x0400000));
    EXPECT_FALSE(IsValidDataSetFor(good.data(), good.size() - 1, 0x0400100));
    EXPECT_FALSE(IsValidDataSetFor(nullptr, 0, 0x0400100));

    Bytes badSum = good;
    badSum[good.size() - 2] ^= 0x01;
    EXPECT_FALSE(IsValidDataSetFor(badSum.data(), badSum.size(), 0x0400100));

    Bytes otherDevice = good;
    otherDevice[2] = 0x11;
    otherDevice[good.size() - 2] = Checksum(otherDevice.data() + 6, good.size() - 8);
    EXPECT_FALSE(IsValidDataSetFor(otherDevice.data(), otherDevice.size(), 0x0400100));

    const Bytes request = BuildDataRequest(0x0400100, 239);
    EXPECT_FALSE(IsValidDataSetFor(request.data(), request.size(), 0x0400100));

    const Bytes empty = BuildDataSet(0x1000000, nullptr, 0);
    EXPECT_TRUE(IsValidDataSetFor(empty.data(), empty.size(), 0x1000000));
    EXPECT_FALSE(IsValidDataSetFor(empty.data(), empty.size() - 1, 0x1000000));

    // Trailing bytes after the F7: the answer does not end where it should.
    Bytes trailing = good;
    trailing.push_back(0x00);
    EXPECT_FALSE(IsValidDataSetFor(trailing.data(), trailing.size(), 0x0400100));
}

TEST(SysExList, KeepsArrivalOrderAndOwnsItsMessages)
{
    CSysExList list;
    list.Rewind();
    EXPECT_EQ(list.GetNextMessage(), nullptr);

    std::vector<CSysExMessage*> added;
    for (uint8_t i = 0; i < 5; ++i) {
        const Bytes b = BuildDataSet(i, &i, 1);
        CSysExMessage* m = list.AddReceived(int32_t(b.size()), b.data());
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->size(), b.size());
        EXPECT_EQ(m->m_nBodyLength, 0); // not parsed until asked
        m->Parse();
        added.push_back(m);
    }
    EXPECT_EQ(list.GetCount(), 5u);
    // Without a Rewind nothing is returned.
    EXPECT_EQ(list.GetNextMessage(), nullptr);

    for (int pass = 0; pass < 2; ++pass) {
        list.Rewind();
        for (uint8_t i = 0; i < 5; ++i) {
            CSysExMessage* m = list.GetNextMessage();
            ASSERT_EQ(m, added[i]);
            EXPECT_EQ(Body(*m), (Bytes{i}));
        }
        EXPECT_EQ(list.GetNextMessage(), nullptr);
        EXPECT_EQ(list.GetNextMessage(), nullptr);
    }

    list.DeleteAll();
    EXPECT_EQ(list.GetCount(), 0u);
    list.Rewind();
    EXPECT_EQ(list.GetNextMessage(), nullptr);

    // Usable again after DeleteAll; bad input is stored as given.
    list.AddReceived(-3, nullptr);
    list.AddReceived(0, nullptr);
    list.Rewind();
    EXPECT_EQ(list.GetNextMessage()->size(), 0u);
    EXPECT_EQ(list.GetNextMessage()->size(), 0u);
    EXPECT_EQ(list.GetNextMessage(), nullptr);
}
