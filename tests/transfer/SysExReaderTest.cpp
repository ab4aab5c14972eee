// The exclusive stream reader: what each kind's Send emits reads back into
// exactly the entry bytes, whatever else the stream holds and however it is
// chunked; everything skipped is counted with its reason.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "midi/msg/SysEx.h"
#include "transfer/PatchTransfer.h"
#include "transfer/PerformTransfer.h"
#include "transfer/SystemTransfer.h"
#include "transfer/SysExReader.h"
#include "transfer/TransferAddresses.h"
#include "transfer/kinds/DocumentKinds.h"
#include "transfer/plans/VarPlan.h"

using namespace vantorel;

namespace {

using Bytes = std::vector<uint8_t>;

class CNoDisplay : public IProgressDisplay {
public:
    void ShowText(const std::string&) override {}
    void SetProgressPos(int) override {}
    void SetProgressStep(int) override {}
    void StepProgress() override {}
};

// What a Send plan puts on the wire, as one stream.
Bytes SendStream(CSendPlan& plan)
{
    CNoDisplay display;
    Bytes out;
    plan.Begin(display);
    bool bMore = true;
    while (bMore) {
        CDataSet ds;
        bMore = plan.Next(ds, display);
        if (!ds.bValid)
            break;
        const Bytes msg = BuildDataSet(ds.dwAddress, ds.pData, ds.nCount);
        out.insert(out.end(), msg.begin(), msg.end());
    }
    return out;
}

void Fill(uint8_t* p, size_t n, uint32_t seed)
{
    std::mt19937 rng(seed);
    for (size_t i = 0; i < n; ++i)
        p[i] = uint8_t(rng() & 0x7F); // data bytes are 7-bit on the wire
}

Bytes Random7(size_t n, uint32_t seed)
{
    Bytes b(n);
    Fill(b.data(), n, seed);
    return b;
}

void Append(Bytes& out, const Bytes& more)
{
    out.insert(out.end(), more.begin(), more.end());
}

// A kind's part of a haul.
const CSysExBank& Bank(const CSysExHaul& haul, const CDocKind& kind)
{
    return haul.Bank(kind.SysExLayout());
}
const CSysExItems& Items(const CSysExHaul& haul, const CDocKind& kind)
{
    return haul.Items(kind.SysExLayout());
}

CSysExHaul Read(const Bytes& stream, size_t nChunk = 0)
{
    CSysExReader reader(DocumentKinds().SysExLayouts());
    if (nChunk == 0)
        reader.Feed(stream.data(), stream.size());
    else
        for (size_t i = 0; i < stream.size(); i += nChunk)
            reader.Feed(stream.data() + i, std::min(nChunk, stream.size() - i));
    reader.Finish();
    return reader.GetHaul();
}

Bytes Record(const CSysExBank& bank, int n)
{
    return Bytes(bank.GetRecord(n), bank.GetRecord(n) + bank.GetRecordSize());
}

Bytes Taken(const CSysExItems& items, int n)
{
    return Bytes(items.GetData(n), items.GetData(n) + items.GetDataSize(n));
}

Bytes PatchSet(int n, const Bytes& data)
{
    return BuildDataSet(address::UserPatch(n), data.data(), data.size());
}

template <class TEntry, size_t N>
void FillItems(std::array<TEntry, N>& items, const std::vector<size_t>& sizes, uint32_t seed)
{
    for (size_t n = 0; n < N; ++n) {
        items[n].SetData(Random7(sizes[n % sizes.size()], seed + uint32_t(n)));
        items[n].m_byValue = uint8_t((seed + n) & 0x7F);
    }
}

template <class TEntry, size_t N>
void ExpectItemsRead(const std::array<TEntry, N>& items, const CSysExItems& read)
{
    for (int n = 0; n < int(N); ++n) {
        EXPECT_TRUE(read.HasValue(n)) << n;
        EXPECT_EQ(read.GetValue(n), items[size_t(n)].m_byValue) << n;
        EXPECT_TRUE(read.HasData(n)) << n;
        EXPECT_EQ(Taken(read, n), items[size_t(n)].GetBytes()) << n;
    }
}

} // namespace

// --- What each kind's Send emits reads back exactly ------------------------

TEST(SysExReader, PatchAndPerformanceBanksReadBackIntoTheirRecords)
{
    auto patches = std::make_unique<CPatchDoc>();
    for (int n = 0; n < CPatchDoc::kPatchCount; ++n)
        Fill(patches->m_aPatch[size_t(n)].Data(), CPatchRecord::kSize, uint32_t(n));
    CPatchSendPlan patchPlan;
    patchPlan.m_pRead = patches->m_aPatch.data();
    auto performances = std::make_unique<CPerformDoc>();
    for (int n = 0; n < CPerformDoc::kPerformanceCount; ++n)
        Fill(performances->m_aPerform[size_t(n)].Data(), CPerformRecord::kSize, 1000u + uint32_t(n));
    CPerformSendPlan performPlan;
    performPlan.m_pDoc = performances.get();

    Bytes stream = SendStream(patchPlan);
    Append(stream, SendStream(performPlan));
    const CSysExHaul haul = Read(stream);

    EXPECT_EQ(haul.TotalSkips(), 0u);
    EXPECT_EQ(haul.m_nDataSets, uint64_t(CPatchDoc::kPatchCount + 5 * CPerformDoc::kPerformanceCount));
    for (int n = 0; n < CPatchDoc::kPatchCount; ++n) {
        EXPECT_EQ(Bank(haul, PatchKind()).GetBlockMask(n), 1u) << n;
        const uint8_t* p = patches->m_aPatch[size_t(n)].Data();
        EXPECT_EQ(Record(Bank(haul, PatchKind()), n), Bytes(p, p + CPatchRecord::kSize)) << n;
    }
    for (int n = 0; n < CPerformDoc::kPerformanceCount; ++n) {
        EXPECT_EQ(Bank(haul, PerformanceKind()).GetBlockMask(n), 0x1Fu) << n;
        const uint8_t* p = performances->m_aPerform[size_t(n)].Data();
        EXPECT_EQ(Record(Bank(haul, PerformanceKind()), n), Bytes(p, p + CPerformRecord::kSize)) << n;
    }
    EXPECT_FALSE(Bank(haul, SystemKind()).IsTaken(0));
    EXPECT_EQ(Items(haul, PatternKind()).GetTakenCount() + Items(haul, MotionKind()).GetTakenCount(), 0);
}

TEST(SysExReader, PerformanceBlocksMayComeAloneAndInAnyOrderAndOnlyThoseAreMarked)
{
    CPerformRecord record;
    Fill(record.Data(), CPerformRecord::kSize, 7);
    Bytes stream;
    for (int b : {4, 1}) { // patch 2, then part 1
        const auto& block = CPerformRecord::kBlocks[size_t(b)];
        Append(stream, BuildDataSet(address::Performance(9) + address::kPerformanceBlock[size_t(b)],
                                    record.Data() + block.nOffset, block.nSize));
    }
    const CSysExHaul& haul = Read(stream);
    EXPECT_EQ(Bank(haul, PerformanceKind()).GetBlockMask(9), (1u << 4) | (1u << 1));
    EXPECT_EQ(Bank(haul, PerformanceKind()).GetTakenCount(), 1);
    const Bytes got = Record(Bank(haul, PerformanceKind()), 9);
    for (int b : {4, 1}) {
        const auto& block = CPerformRecord::kBlocks[size_t(b)];
        EXPECT_TRUE(std::equal(got.begin() + long(block.nOffset),
                               got.begin() + long(block.nOffset + block.nSize),
                               record.Data() + block.nOffset))
            << b;
    }
}

TEST(SysExReader, SystemSendOfEachModeReadsBackIntoItsBlocks)
{
    CSystemDoc doc;
    Fill(doc.m_aSystem.data(), CSystemDoc::kSize, 3);
    const Bytes all(doc.m_aSystem.begin(), doc.m_aSystem.end());
    const uint32_t params = 1u << kSystemParameterBlock, txrx = 1u << kTxRxBlock,
                   extra = 1u << kTxRxExtraBlock;
    struct Case {
        int nMode;
        uint32_t mask;
    };
    for (const Case& c : {Case{kSystemBoth, params | txrx}, Case{kSystemParametersOnly, params},
                          Case{kSystemTxRxOnly, txrx | extra}}) {
        CSystemSendPlan plan;
        plan.m_pSystemData = doc.m_aSystem.data();
        plan.m_nMode = c.nMode;
        const CSysExHaul& haul = Read(SendStream(plan));
        EXPECT_EQ(haul.TotalSkips(), 0u) << c.nMode;
        ASSERT_EQ(Bank(haul, SystemKind()).GetBlockMask(0), c.mask) << c.nMode;
        const Bytes got = Record(Bank(haul, SystemKind()), 0);
        if (c.mask & params) {
            EXPECT_TRUE(std::equal(all.begin(), all.begin() + 23, got.begin())) << c.nMode;
        }
        if (c.mask & extra) {
            EXPECT_EQ(got[6], all[6]);
        }
        if (c.mask & txrx) {
            EXPECT_TRUE(std::equal(all.begin() + 23, all.end(), got.begin() + 23)) << c.nMode;
        }
    }
}

TEST(SysExReader, PatternAndMotionSendsReadBackIntoTheirItems)
{
    // Empty, one short packet, exactly one and two full packets, and more.
    auto patterns = std::make_unique<CPatternDoc>();
    FillItems(patterns->m_aPattern, {0, 14, 231, 462, 500, 240}, 50);
    auto motions = std::make_unique<CMotionDoc>();
    FillItems(motions->m_aMotion, {1000, 0, 693, 21}, 90);
    CVarSendPlanT<CPatternEntry> patternPlan(kPatternKind);
    patternPlan.m_pItems = patterns->m_aPattern.data();
    CVarSendPlanT<CMotionEntry> motionPlan(kMotionKind);
    motionPlan.m_pItems = motions->m_aMotion.data();

    Bytes stream = SendStream(patternPlan);
    Append(stream, SendStream(motionPlan));
    const CSysExHaul& haul = Read(stream);

    EXPECT_EQ(haul.TotalSkips(), 0u);
    ExpectItemsRead(patterns->m_aPattern, Items(haul, PatternKind()));
    ExpectItemsRead(motions->m_aMotion, Items(haul, MotionKind()));
}

TEST(SysExReader, PatternPacketsOutOfOrderAreJoinedAndAGapEndsTheItem)
{
    const Bytes data = Random7(500, 11);
    const auto packet = [&](int item, uint32_t k) {
        const size_t from = k * address::kPacketSize;
        const size_t count = std::min<size_t>(address::kPacketSize, data.size() - from);
        return BuildDataSet(address::PatternData(item) + k * address::kPacketSize, data.data() + from, count);
    };
    Bytes stream;
    for (uint32_t k : {2u, 0u, 1u})
        Append(stream, packet(5, k));
    Append(stream, packet(6, 0));
    const size_t gapAt = stream.size();
    Append(stream, packet(6, 2)); // packet 1 of item 6 never comes
    // A short packet is the item's last: what follows it is not the item's.
    Append(stream, BuildDataSet(address::PatternData(7), data.data(), 100));
    Append(stream, packet(7, 1));
    const CSysExHaul& haul = Read(stream);

    EXPECT_EQ(Taken(Items(haul, PatternKind()), 5), data);
    EXPECT_FALSE(Items(haul, PatternKind()).HasValue(5));
    EXPECT_EQ(Taken(Items(haul, PatternKind()), 6), Bytes(data.begin(), data.begin() + address::kPacketSize));
    EXPECT_EQ(Taken(Items(haul, PatternKind()), 7), Bytes(data.begin(), data.begin() + 100));
    EXPECT_EQ(haul.SkipCount(SysExSkip::AfterGap), 2u);
    EXPECT_EQ(haul.SkipBytes(SysExSkip::AfterGap),
              data.size() - 2 * address::kPacketSize + address::kPacketSize);
    ASSERT_EQ(haul.m_notes.size(), 2u);
    EXPECT_EQ(FormatSysExNote(haul.m_notes[0]),
              "Byte " + std::to_string(gapAt) +
                  ": skipped a pattern or motion packet after a missing or short packet.");
}

// --- Streams from elsewhere ---------------------------------------------------

TEST(SysExReader, ThirdPartyStreamGivesOnlyOurDataSetsAndCountsTheRest)
{
    const Bytes a = Random7(CPatchRecord::kSize, 1), b = Random7(CPatchRecord::kSize, 2),
                c = Random7(CPatchRecord::kSize, 3);
    Bytes stream = {0x00, 0x12, 0x7F};                                      // noise before anything
    Append(stream, {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7}); // another maker
    Bytes withClock = PatchSet(0, a);
    withClock.insert(withClock.begin() + 40, 0xF8); // a timing clock inside our message
    withClock.insert(withClock.begin() + 100, 0xFE);
    Append(stream, withClock);
    Append(stream, {0x90, 0x3C, 0x40}); // a note between messages
    Bytes badSum = PatchSet(1, b);
    badSum[badSum.size() - 2] ^= 0x01;
    Append(stream, badSum);
    Bytes otherDevice = PatchSet(2, c);
    otherDevice[2] = 0x11;
    Append(stream, otherDevice);
    Append(stream, BuildDataRequest(address::UserPatch(3), address::kPatchSize));
    Append(stream, PatchSet(4, c));

    for (size_t chunk : {size_t(0), size_t(1), size_t(7)}) {
        const CSysExHaul& haul = Read(stream, chunk);
        EXPECT_EQ(Bank(haul, PatchKind()).GetTakenCount(), 2) << chunk;
        EXPECT_EQ(Record(Bank(haul, PatchKind()), 0), a);
        EXPECT_EQ(Record(Bank(haul, PatchKind()), 4), c);
        EXPECT_EQ(haul.SkipCount(SysExSkip::Noise), 2u);
        EXPECT_EQ(haul.SkipBytes(SysExSkip::Noise), 6u);
        EXPECT_EQ(haul.SkipCount(SysExSkip::OtherMaker), 1u);
        EXPECT_EQ(haul.SkipCount(SysExSkip::BadChecksum), 1u);
        EXPECT_EQ(haul.SkipCount(SysExSkip::OtherDevice), 1u);
        EXPECT_EQ(haul.SkipCount(SysExSkip::OtherCommand), 1u);
        EXPECT_EQ(haul.TotalSkips(), 6u);
        ASSERT_EQ(haul.m_notes.size(), 6u);
        EXPECT_EQ(FormatSysExNote(haul.m_notes[0]), "Byte 0: skipped bytes outside any exclusive message.");
        EXPECT_EQ(FormatSysExNote(haul.m_notes[1]), "Byte 3: skipped a message of another manufacturer.");
    }
}

// Another device ID is taken only when asked, another model never. (The
// device ID named, and taken: SysExFilesTest, CliTransferTest.)
TEST(SysExReader, DataSetsForAnotherDeviceIdAreTakenOnlyWhenAskedAndAnotherModelsNever)
{
    const Bytes patch = Random7(CPatchRecord::kSize, 4);
    Bytes stream = PatchSet(2, patch);
    stream[2] = 0x11; // a download made for device ID 0x11
    Bytes otherModel = PatchSet(3, patch);
    otherModel[4] = 0x07;
    Append(stream, otherModel);

    const CSysExHaul strict = Read(stream);
    EXPECT_EQ(Bank(strict, PatchKind()).GetTakenCount(), 0);
    ASSERT_EQ(strict.m_notes.size(), 2u);
    EXPECT_EQ(FormatSysExNote(strict.m_notes[1]),
              "Byte 251: skipped a message for another device ID or model.");

    CSysExReader reader(DocumentKinds().SysExLayouts());
    reader.SetAnyDevice(true);
    reader.Feed(stream.data(), stream.size());
    reader.Finish();
    const CSysExHaul& taken = reader.GetHaul();
    EXPECT_EQ(Bank(taken, PatchKind()).GetTakenCount(), 1);
    EXPECT_EQ(Record(Bank(taken, PatchKind()), 2), patch);
    EXPECT_EQ(taken.SkipCount(SysExSkip::OtherDevice), 1u); // another model stays another device's
}

TEST(SysExReader, ByteAtATimeEqualsAllAtOnce)
{
    auto performances = std::make_unique<CPerformDoc>();
    CPerformSendPlan performPlan;
    performPlan.m_pDoc = performances.get();
    auto patterns = std::make_unique<CPatternDoc>();
    FillItems(patterns->m_aPattern, {300, 0, 231}, 4);
    CVarSendPlanT<CPatternEntry> patternPlan(kPatternKind);
    patternPlan.m_pItems = patterns->m_aPattern.data();
    Bytes stream = {0x01, 0xF7};
    Append(stream, SendStream(performPlan));
    Append(stream, {0xF0, 0x41, 0x10, 0x00, 0x06, 0x12, 0x02});
    Append(stream, SendStream(patternPlan));
    Append(stream, {0xF0, 0x41, 0x10}); // the stream ends inside a message

    const CSysExHaul w = Read(stream), b = Read(stream, 1);
    EXPECT_EQ(w.m_aSkipCount, b.m_aSkipCount);
    EXPECT_EQ(w.m_aSkipBytes, b.m_aSkipBytes);
    EXPECT_EQ(w.SkipCount(SysExSkip::Truncated), 2u);
    EXPECT_EQ(w.SkipBytes(SysExSkip::Truncated), 7u + 3u); // the next message's F0 is not the cut one's
    ASSERT_EQ(w.m_notes.size(), b.m_notes.size());
    for (size_t i = 0; i < w.m_notes.size(); ++i)
        EXPECT_EQ(FormatSysExNote(w.m_notes[i]), FormatSysExNote(b.m_notes[i]));
    for (int n = 0; n < CPerformDoc::kPerformanceCount; ++n) {
        EXPECT_EQ(Bank(b, PerformanceKind()).GetBlockMask(n), 0x1Fu);
        EXPECT_EQ(Record(Bank(w, PerformanceKind()), n), Record(Bank(b, PerformanceKind()), n));
    }
    ExpectItemsRead(patterns->m_aPattern, Items(b, PatternKind()));
}

// --- Hostile and damaged input ------------------------------------------------

TEST(SysExReader, BlocksAreClippedAndShortOrMisplacedOnesRefused)
{
    const Bytes big = Random7(CPatchRecord::kSize + 11, 5);
    Bytes stream = PatchSet(0, big);                                  // 11 bytes too many
    Append(stream, PatchSet(1, Random7(CPatchRecord::kSize - 1, 6))); // one short
    const Bytes inside = Random7(CPatchRecord::kSize, 7);
    Append(stream, BuildDataSet(address::UserPatch(2) + 0x10, inside.data(), inside.size()));
    Append(stream,
           BuildDataSet(address::UserPatch(127) + 0x100, inside.data(), inside.size())); // past the bank
    const Bytes longPacket = Random7(address::kPacketSize + 4, 8);
    Append(stream, BuildDataSet(address::MotionData(3), longPacket.data(), longPacket.size()));
    const uint8_t value[] = {0x21, 0x22};
    Append(stream, BuildDataSet(address::PatternValue(47), value, 2));

    const CSysExHaul& haul = Read(stream);
    EXPECT_EQ(Record(Bank(haul, PatchKind()), 0), Bytes(big.begin(), big.begin() + CPatchRecord::kSize));
    EXPECT_FALSE(Bank(haul, PatchKind()).IsTaken(1));
    EXPECT_FALSE(Bank(haul, PatchKind()).IsTaken(2));
    EXPECT_EQ(Bank(haul, PatchKind()).GetTakenCount(), 1);
    EXPECT_EQ(Bank(haul, PerformanceKind()).GetTakenCount(), 0); // the patch bank's end is not a performance
    EXPECT_EQ(Taken(Items(haul, MotionKind()), 3),
              Bytes(longPacket.begin(), longPacket.begin() + address::kPacketSize));
    EXPECT_EQ(Items(haul, PatternKind()).GetValue(47), 0x21);
    EXPECT_EQ(haul.SkipCount(SysExSkip::Overrun), 3u);
    EXPECT_EQ(haul.SkipBytes(SysExSkip::Overrun), 11u + 4u + 1u);
    EXPECT_EQ(haul.SkipCount(SysExSkip::ShortBlock), 1u);
    EXPECT_EQ(haul.SkipCount(SysExSkip::UnknownAddress), 2u);
}

TEST(SysExReader, EndlessMessagesAndNoiseStayBoundedAndAreCounted)
{
    const Bytes good = PatchSet(7, Random7(CPatchRecord::kSize, 9));
    // An F0 followed by two megabytes of data bytes, ended by F7.
    Bytes stream = {0xF0, 0x41};
    stream.resize(2u << 20, 0x11);
    stream.push_back(0xF7);
    Append(stream, good);
    // A megabyte of noise, then a message cut off by a status byte.
    stream.resize(stream.size() + (1u << 20), 0x55);
    Append(stream, {0xF0, 0x41, 0x10, 0x00, 0x06, 0x12, 0x02, 0xB0, 0x07, 0x00});
    Append(stream, good);
    // An F0 that never ends.
    stream.push_back(0xF0);
    stream.resize(stream.size() + 100000, 0x22);

    const CSysExHaul& haul = Read(stream, 4096);
    EXPECT_EQ(Bank(haul, PatchKind()).GetTakenCount(), 1);
    EXPECT_EQ(haul.m_nDataSets, 2u);
    EXPECT_EQ(haul.SkipCount(SysExSkip::TooLong), 2u);
    EXPECT_EQ(haul.SkipBytes(SysExSkip::TooLong), (2u << 20) + 1u + 100001u);
    EXPECT_EQ(haul.SkipCount(SysExSkip::BadDataByte), 1u);
    EXPECT_EQ(haul.SkipCount(SysExSkip::Noise), 2u); // the megabyte, and the rest of the broken message
    EXPECT_EQ(haul.SkipBytes(SysExSkip::Noise), (1u << 20) + 2u);
    EXPECT_EQ(haul.m_nBytes, stream.size());
}

TEST(SysExReader, AKindIsReadFromItsLayoutAlone)
{
    // Sixteen records of seven bytes, 0x100 apart, in two blocks: a kind the reader has no code for.
    static constexpr CSysExBlock kBlocks[] = {{0x00, 0, 4}, {0x10, 4, 3}};
    static constexpr CSysExLayout kLayout{16, 0x0700000, 0x100, 7, kBlocks};
    Bytes stream = BuildDataSet(0x0700000 + 3 * 0x100 + 0x10, Bytes{1, 2, 3}.data(), 3);
    Append(stream, BuildDataSet(0x0700000 + 15 * 0x100, Bytes{4, 5, 6, 7}.data(), 4));
    CSysExReader reader({&kLayout});
    reader.Feed(stream.data(), stream.size());
    const CSysExBank& bank = reader.GetHaul().Bank(kLayout);
    EXPECT_EQ(reader.GetHaul().TotalSkips(), 0u);
    EXPECT_EQ(bank.GetBlockMask(3), 2u);
    EXPECT_EQ(Record(bank, 3), (Bytes{0, 0, 0, 0, 1, 2, 3}));
    EXPECT_EQ(Record(bank, 15), (Bytes{4, 5, 6, 7, 0, 0, 0}));
    // The registered kinds have nothing there.
    EXPECT_EQ(Read(stream).SkipCount(SysExSkip::UnknownAddress), 2u);
}
