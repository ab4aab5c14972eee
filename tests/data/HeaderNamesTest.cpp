// File header fields, entry names and entry labels.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "data/EntryName.h"
#include "data/FileHeader.h"
#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatchRecord.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "DataTestSupport.h"

using namespace vantorel;
using namespace vantorel::test;

namespace {
CFileHeader CompleteHeader(const char* type)
{
    CFileHeader h;
    h.SetModel();
    h.SetType(type);
    h.SetVersion();
    return h;
}

std::string Field(const uint8_t* p, size_t n)
{
    return std::string(reinterpret_cast<const char*>(p), n);
}
} // namespace

TEST(FileHeader, FieldsSitAtTheirOffsetsAndFillThemExactly)
{
    const CFileHeader h = CompleteHeader("USER PERFORMANCE");
    EXPECT_EQ(Field(h.Data(), 8), "KQ-3300 ");
    EXPECT_EQ(Field(h.Data() + 8, 16), "USER PERFORMANCE");
    EXPECT_EQ(Field(h.Data() + 24, 4), "0001");
    for (size_t i = 28; i < 128; ++i)
        EXPECT_EQ(h.m_data[i], 0) << "reserved byte " << i;
    EXPECT_TRUE(h.CheckModel());
    EXPECT_TRUE(h.CheckType("USER PERFORMANCE"));
    EXPECT_TRUE(h.CheckVersion());
}

TEST(FileHeader, TypeConstantsAreTheFiveSixteenCharacterStrings)
{
    EXPECT_EQ(kTypePatch, "USER PATCH      ");
    EXPECT_EQ(kTypePerformance, "USER PERFORMANCE");
    EXPECT_EQ(kTypeSystem, "SYSTEM          ");
    EXPECT_EQ(kTypePattern, "PATTERN         ");
    EXPECT_EQ(kTypeMotion, "MOTION          ");
}

// A change of any single byte of a field, last byte included, fails its check.
TEST(FileHeader, EveryByteOfEachFieldIsCompared)
{
    struct Case {
        size_t nOffset, nSize;
        bool (*check)(const CFileHeader&);
    };
    const Case cases[] = {
        {0, 8, [](const CFileHeader& h) { return h.CheckModel(); }},
        {8, 16, [](const CFileHeader& h) { return h.CheckType("PATTERN         "); }},
        {24, 4, [](const CFileHeader& h) { return h.CheckVersion(); }},
    };
    for (const Case& c : cases) {
        for (size_t i = c.nOffset; i < c.nOffset + c.nSize; ++i) {
            CFileHeader h = CompleteHeader("PATTERN         ");
            ASSERT_TRUE(c.check(h));
            h.m_data[i] ^= 0x20; // also flips the case of letters
            EXPECT_FALSE(c.check(h)) << "byte " << i;
        }
    }
}

TEST(FileHeader, TypeIsComparedInFullIncludingTrailingSpaces)
{
    CFileHeader h = CompleteHeader("PATTERN         ");
    std::memset(h.Data() + 8 + 7, 0, 9); // "PATTERN" and nine zero bytes
    EXPECT_FALSE(h.CheckType("PATTERN         "));
    EXPECT_FALSE(CompleteHeader("USER PATCH      ").CheckType("USER PERFORMANCE"));
    EXPECT_FALSE(CompleteHeader("MOTION          ").CheckType("motion          "));
}

TEST(FileHeader, ReservedBytesAreNeverCompared)
{
    CFileHeader h = CompleteHeader("SYSTEM          ");
    for (size_t i = 28; i < 128; ++i)
        h.m_data[i] = static_cast<uint8_t>(0xA5 + i);
    EXPECT_TRUE(h.CheckModel());
    EXPECT_TRUE(h.CheckType("SYSTEM          "));
    EXPECT_TRUE(h.CheckVersion());
}

TEST(FileHeader, StoredHeaderIsExactlyTheHandWrittenOne)
{
    Bytes out;
    CArchive ar(out);
    StoreFileHeader(ar, kTypeMotion);
    EXPECT_EQ(out, MakeHeader("MOTION          "));
}

TEST(EntryName, ShortTextIsPaddedWithSpacesAndReadBackWhole)
{
    std::array<uint8_t, 16> field;
    field.fill(0xEE);
    SetEntryName(field, "ABCD");
    EXPECT_EQ(Field(field.data(), 16), "ABCD            ");
    char text[17];
    std::memset(text, 'x', sizeof text);
    GetEntryName(field, text);
    EXPECT_EQ(std::strlen(text), 16u);
    EXPECT_STREQ(text, "ABCD            ");
    EXPECT_EQ(GetEntryName(CConstNameField(field)), "ABCD            ");
}

TEST(EntryName, LongTextKeepsTheFirstSixteenCharacters)
{
    std::array<uint8_t, 20> buffer;
    buffer.fill(0x55);
    SetEntryName(CNameField(buffer.data(), 16), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(Field(buffer.data(), 16), "ABCDEFGHIJKLMNOP");
    for (size_t i = 16; i < 20; ++i)
        EXPECT_EQ(buffer[i], 0x55) << "wrote past the field at " << i;
    SetEntryName(CNameField(buffer.data(), 16), std::string("12345678901234567890"));
    EXPECT_EQ(Field(buffer.data(), 16), "1234567890123456");
}

TEST(EntryName, EmptyOrMissingTextGivesSixteenSpaces)
{
    std::array<uint8_t, 16> field;
    field.fill('Z');
    SetEntryName(field, "");
    EXPECT_EQ(Field(field.data(), 16), std::string(16, ' '));
    field.fill('Z');
    SetEntryName(field, static_cast<const char*>(nullptr));
    EXPECT_EQ(Field(field.data(), 16), std::string(16, ' '));
}

TEST(EntryName, ZeroByteInsideANameEndsTheTextButStaysInTheField)
{
    std::array<uint8_t, 16> field;
    std::memcpy(field.data(), "HELLO\0WORLD     ", 16);
    char text[17];
    GetEntryName(field, text);
    EXPECT_STREQ(text, "HELLO");
    EXPECT_EQ(GetEntryName(CConstNameField(field)), "HELLO");
    EXPECT_EQ(field[6], 'W'); // reading never rewrites
}

TEST(EntryName, BytesAreKeptAsTheyAreNotTrimmedOrUpperCased)
{
    std::array<uint8_t, 16> field;
    SetEntryName(field, " lower\xE9\x7F  x");
    EXPECT_EQ(Field(field.data(), 16), " lower\xE9\x7F  x     ");
}

TEST(EntryLabels, PatchLabelsRunFromA11ToB88)
{
    EXPECT_EQ(FormatPatchLabel(0), "A11");
    EXPECT_EQ(FormatPatchLabel(7), "A18");
    EXPECT_EQ(FormatPatchLabel(8), "A21");
    EXPECT_EQ(FormatPatchLabel(63), "A88");
    EXPECT_EQ(FormatPatchLabel(64), "B11");
    EXPECT_EQ(FormatPatchLabel(127), "B88");
    char text[4] = {'x', 'x', 'x', 'x'};
    FormatPatchLabel(100, text);
    EXPECT_STREQ(text, "B55");

    std::set<std::string> seen;
    for (int n = 0; n < 128; ++n)
        seen.insert(FormatPatchLabel(n));
    EXPECT_EQ(seen.size(), 128u);
}

TEST(EntryLabels, PerformanceLabelsRunFrom11To88)
{
    EXPECT_EQ(FormatPerformanceLabel(0), "11");
    EXPECT_EQ(FormatPerformanceLabel(7), "18");
    EXPECT_EQ(FormatPerformanceLabel(8), "21");
    EXPECT_EQ(FormatPerformanceLabel(63), "88");
    char text[3] = {'x', 'x', 'x'};
    FormatPerformanceLabel(36, text);
    EXPECT_STREQ(text, "55");
}

TEST(EntryLabels, IndexesOutsideTheRangeStillGiveDigitsOneToEight)
{
    for (int n : {-1, -64, 128, 1000, INT32_MIN, INT32_MAX}) {
        const std::string p = FormatPatchLabel(n);
        ASSERT_EQ(p.size(), 3u);
        EXPECT_TRUE(p[0] == 'A' || p[0] == 'B') << p;
        EXPECT_TRUE(p[1] >= '1' && p[1] <= '8' && p[2] >= '1' && p[2] <= '8') << p;
        const std::string q = FormatPerformanceLabel(n);
        ASSERT_EQ(q.size(), 2u);
        EXPECT_TRUE(q[0] >= '1' && q[0] <= '8' && q[1] >= '1' && q[1] <= '8') << q;
    }
}
