// Initial contents of every record kind, byte for byte, against tables
// written out here from the format description, and the signed pair encoding.
#include <gtest/gtest.h>

#include <cstring>

#include "DataTestSupport.h"

using namespace vantorel;
using namespace vantorel::test;

namespace {
Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Text(const char* s)
{
    return Bytes(s, s + std::strlen(s));
}

Bytes ExpectedInitPatch()
{
    Bytes b = Concat({Text("INIT PATCH      "),
                      {0, 64, 0, 76, 0, 0, 0, 0},
                      {0, 64, 79, 64, 0, 0, 5, 0},
                      {0, 2, 0, 25, 50, 0, 0, 2},
                      {1, 127, 0, 64, 64, 64, 127, 0},
                      {0, 0, 0, 64, 64, 64, 0, 0},
                      {127, 0, 0, 64, 64, 0, 0, 0},
                      {64, 64, 0, 2, 2, 0, 64, 0},
                      {0, 2}});
    // 74..235: pairs of (0, 127) everywhere except the plain bytes at 152 and 155.
    for (size_t off = 74; off < 236;) {
        if (off == 152 || off == 155) {
            b.push_back(0);
            off += 1;
        } else {
            b.push_back(0);
            b.push_back(127);
            off += 2;
        }
    }
    for (uint8_t t : {1, 0, 0})
        b.push_back(t);
    return b;
}

Bytes ExpectedInitPerformance()
{
    const Bytes patch = ExpectedInitPatch();
    return Concat({Text("INIT PERFORMANCE"),
                   {0, 60, 0, 50, 0, 0, 2, 0},
                   {0, 4, 0, 0, 3, 0, 0, 14},
                   {1, 0, 0, 120},
                   {0, 0, 0, 24, 0, 0, 0},
                   {0, 0, 1, 24, 0, 0, 0},
                   patch,
                   patch});
}

Bytes ExpectedSystem()
{
    return {2,  0,  15, 0,  0,  1, 0,  0,  2,  17, 50, 0,  0,  0,  0,  0,  2,  2,  0,  0,  2,  0,
            0,  16, 20, 17, 70, 8, 18, 22, 25, 26, 27, 4,  76, 21, 77, 78, 79, 74, 71, 30, 19, 23,
            81, 82, 83, 28, 29, 7, 80, 24, 73, 75, 31, 72, 92, 95, 93, 12, 13, 94, 5,  32, 2};
}

Bytes RecordBytes(const uint8_t* p, size_t n)
{
    return Bytes(p, p + n);
}
} // namespace

TEST(InitialContents, ExpectedTablesHaveTheDescribedSizes)
{
    ASSERT_EQ(ExpectedInitPatch().size(), 239u);
    ASSERT_EQ(ExpectedInitPerformance().size(), 528u);
    ASSERT_EQ(ExpectedSystem().size(), 65u);
}

TEST(InitialContents, PatchRecordInitWritesEveryByte)
{
    CPatchRecord rec;
    EXPECT_EQ(RecordBytes(rec.Data(), 239), ExpectedInitPatch());
    std::memset(rec.Data(), 0xFF, 239);
    rec.Init();
    EXPECT_EQ(RecordBytes(rec.Data(), 239), ExpectedInitPatch());
    EXPECT_EQ(rec.GetName(), "INIT PATCH      ");
}

TEST(InitialContents, PerformanceRecordInitWritesEveryByteAndBothPatches)
{
    CPerformRecord rec;
    EXPECT_EQ(RecordBytes(rec.Data(), 528), ExpectedInitPerformance());
    std::memset(rec.Data(), 0xFF, 528);
    rec.Init();
    EXPECT_EQ(RecordBytes(rec.Data(), 528), ExpectedInitPerformance());
    EXPECT_EQ(rec.GetName(), "INIT PERFORMANCE");
    EXPECT_EQ(rec.m_aPatch[0].GetName(), "INIT PATCH      ");
    EXPECT_EQ(rec.m_aPatch[1].GetName(), "INIT PATCH      ");
}

TEST(InitialContents, EmbeddedPatchesAndBlocksSitAtTheirOffsets)
{
    CPerformRecord rec;
    rec.m_aPatch[0].SetName("FIRST");
    rec.m_aPatch[1].SetName("SECOND");
    EXPECT_EQ(std::memcmp(rec.Data() + 50, "FIRST           ", 16), 0);
    EXPECT_EQ(std::memcmp(rec.Data() + 289, "SECOND          ", 16), 0);

    const std::pair<size_t, size_t> expected[] = {{0, 36}, {36, 7}, {43, 7}, {50, 239}, {289, 239}};
    ASSERT_EQ(CPerformRecord::kBlocks.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(CPerformRecord::kBlocks[i].nOffset, expected[i].first) << "block " << i;
        EXPECT_EQ(CPerformRecord::kBlocks[i].nSize, expected[i].second) << "block " << i;
    }
    EXPECT_EQ(rec.m_aFirstPart.data(), rec.Data() + 36);
    EXPECT_EQ(rec.m_aSecondPart.data(), rec.Data() + 43);
}

TEST(InitialContents, NewDocumentsHoldInitialRecords)
{
    const Bytes patch = ExpectedInitPatch();
    CPatchDoc patches;
    for (const CPatchRecord& r : patches.m_aPatch)
        ASSERT_EQ(RecordBytes(r.Data(), 239), patch);

    const Bytes perform = ExpectedInitPerformance();
    CPerformDoc performs;
    for (const CPerformRecord& r : performs.m_aPerform)
        ASSERT_EQ(RecordBytes(r.Data(), 528), perform);

    CSystemDoc system;
    EXPECT_EQ(RecordBytes(system.m_aSystem.data(), 65), ExpectedSystem());
}

TEST(InitialContents, SystemBlocksInitialiseIndependently)
{
    const Bytes defaults = ExpectedSystem();
    CSystemDoc doc;
    std::memset(doc.m_aSystem.data(), 0x33, 65);
    doc.InitTxRxSetting();
    for (size_t i = 0; i < 23; ++i)
        EXPECT_EQ(doc.m_aSystem[i], 0x33) << i;
    EXPECT_EQ(Bytes(doc.m_aSystem.begin() + 23, doc.m_aSystem.end()),
              Bytes(defaults.begin() + 23, defaults.end()));

    std::memset(doc.m_aSystem.data(), 0x44, 65);
    doc.InitSystemParameter();
    EXPECT_EQ(Bytes(doc.m_aSystem.begin(), doc.m_aSystem.begin() + 23),
              Bytes(defaults.begin(), defaults.begin() + 23));
    for (size_t i = 23; i < 65; ++i)
        EXPECT_EQ(doc.m_aSystem[i], 0x44) << i;
}

TEST(InitialContents, PatternsAndMotionsStartWithTheirRepeatedBytes)
{
    const Bytes pattern = {21, 64, 78, 0, 32, 45, 90, 21, 64, 78, 0, 32, 45, 90};
    CPatternDoc patterns;
    for (const CPatternEntry& e : patterns.m_aPattern) {
        EXPECT_EQ(e.GetBytes(), pattern);
        EXPECT_EQ(e.m_byValue, 1);
        EXPECT_EQ(e.m_dwFlag, 1u);
    }
    const Bytes motion = {37, 64, 1, 0, 2, 12, 86, 37, 64, 1, 0, 2, 12, 86, 37, 64, 1, 0, 2, 12, 86};
    CMotionDoc motions;
    for (const CMotionEntry& e : motions.m_aMotion) {
        EXPECT_EQ(e.GetBytes(), motion);
        EXPECT_EQ(e.m_byValue, 1);
        EXPECT_EQ(e.m_dwFlag, 1u);
    }
}

TEST(VarEntry, ClearEmptiesAndSetsValueAndFlagAppendAddsAtTheEnd)
{
    CPatternEntry e;
    e.SetData(reinterpret_cast<const uint8_t*>("abc"), 3);
    e.m_byValue = 9;
    e.m_dwFlag = 0;
    e.Append('d');
    EXPECT_EQ(e.GetBytes(), Text("abcd"));
    e.Clear();
    EXPECT_EQ(e.GetSize(), 0u);
    EXPECT_EQ(e.GetBytes().capacity(), 0u); // storage released, not just emptied
    EXPECT_EQ(e.m_byValue, 1);
    EXPECT_EQ(e.m_dwFlag, 1u);
    e.Append(7);
    e.Append(8);
    EXPECT_EQ(e.GetBytes(), (Bytes{7, 8}));
}

TEST(SignedPair, ValuesAreStoredAsHighAndLowSevenBits)
{
    struct Case {
        int v;
        uint8_t hi, lo;
    };
    const Case cases[] = {{0, 0, 127}, {1, 1, 0}, {127, 1, 126}, {-127, 0, 0}, {-1, 0, 126}, {64, 1, 63}};
    for (const Case& c : cases) {
        CPatchRecord rec;
        rec.SetSignedPair(100, c.v);
        EXPECT_EQ(rec.m_data[100], c.hi) << c.v;
        EXPECT_EQ(rec.m_data[101], c.lo) << c.v;
        // v + 127 split into 7-bit halves
        EXPECT_EQ(rec.m_data[100] * 128 + rec.m_data[101], c.v + 127) << c.v;
    }
}

TEST(SignedPair, OutOfRangeValuesClampAndPairsPastTheEndAreIgnored)
{
    CPatchRecord rec;
    rec.SetSignedPair(10, 500);
    EXPECT_EQ(rec.m_data[10], 1);
    EXPECT_EQ(rec.m_data[11], 126);
    rec.SetSignedPair(10, -500);
    EXPECT_EQ(rec.m_data[10], 0);
    EXPECT_EQ(rec.m_data[11], 0);

    const CPatchRecord before = rec;
    rec.SetSignedPair(238, 5); // second byte would be outside the record
    rec.SetSignedPair(239, 5);
    rec.SetSignedPair(static_cast<size_t>(-1), 5);
    EXPECT_TRUE(rec == before);
    rec.SetSignedPair(237, 5);
    EXPECT_EQ(rec.m_data[237], 1);
    EXPECT_EQ(rec.m_data[238], 4);
}
