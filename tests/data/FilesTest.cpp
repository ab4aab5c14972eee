// Library files of all five kinds: sizes and layout of new files, header
// checks, truncated files and round trips.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "DataTestSupport.h"

using namespace vantorel;
using namespace vantorel::test;

template <class Kind>
class LibraryFile : public ::testing::Test {
};

using Kinds = ::testing::Types<PatchKind, PerformKind, SystemKind, PatternKind, MotionKind>;
TYPED_TEST_SUITE(LibraryFile, Kinds);

TYPED_TEST(LibraryFile, NewDocumentSavesToTheDescribedSizeWithHeader)
{
    typename TypeParam::Doc doc;
    const Bytes file = Save(doc);
    ASSERT_EQ(file.size(), TypeParam::kNewFileSize);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 128), MakeHeader(TypeParam::kType));
}

// The open refuses anything larger unread, so the bound must hold every
// file the program itself can write: fixed kinds have exactly one size.
TYPED_TEST(LibraryFile, BoundsHoldTheHeaderAndEveryFileTheKindWrites)
{
    typename TypeParam::Doc doc;
    const CFileBounds bounds = doc.GetFileBounds();
    EXPECT_EQ(bounds.nHeaderSize, 128u);
    std::mt19937 rng(7);
    TypeParam::Randomize(doc, rng);
    EXPECT_LE(Save(doc).size(), bounds.nMaxSize);
    EXPECT_LT(bounds.nMaxSize, CFileBounds::kDefaultMaxSize);
}

// Patterns and motions: the largest valid file has every item filled to the
// device's room for it, and that file loads.
template <class TDoc, class TEntries>
void ExpectFullItemsMakeTheLargestFile(TDoc& doc, TEntries& entries)
{
    for (auto& e : entries)
        e.SetData(std::vector<uint8_t>(TDoc::kItemRoom, 0x5A));
    const Bytes file = Save(doc);
    EXPECT_EQ(file.size(), doc.GetFileBounds().nMaxSize);
    auto loaded = std::make_unique<TDoc>();
    EXPECT_EQ(Load(*loaded, file), CDocument::LoadResult::Ok);
}

TEST(PatternFile, FullItemsMakeTheLargestFile)
{
    auto doc = std::make_unique<CPatternDoc>();
    ExpectFullItemsMakeTheLargestFile(*doc, doc->m_aPattern);
    EXPECT_EQ(doc->GetFileBounds().nMaxSize, 128u + 48u * (6u + 0x4000u));
}

TEST(MotionFile, FullItemsMakeTheLargestFile)
{
    auto doc = std::make_unique<CMotionDoc>();
    ExpectFullItemsMakeTheLargestFile(*doc, doc->m_aMotion);
    EXPECT_EQ(doc->GetFileBounds().nMaxSize, 128u + 4u * (6u + 0x100000u));
}

TYPED_TEST(LibraryFile, RandomContentsRoundTripByteForByte)
{
    std::mt19937 rng(1234);
    for (int round = 0; round < 5; ++round) {
        auto doc = std::make_unique<typename TypeParam::Doc>();
        TypeParam::Randomize(*doc, rng);
        const Bytes first = Save(*doc);

        auto loaded = std::make_unique<typename TypeParam::Doc>();
        size_t nRead = 0;
        ASSERT_EQ(Load(*loaded, first, &nRead), CDocument::LoadResult::Ok);
        EXPECT_EQ(nRead, first.size());
        EXPECT_TRUE(TypeParam::Same(*doc, *loaded));
        EXPECT_EQ(Save(*loaded), first);
    }
}

// A bad header returns HeaderMismatch, reads nothing past the header and
// leaves the initial contents, whatever the body holds.
TYPED_TEST(LibraryFile, HeaderMismatchInAnyFieldKeepsInitialContents)
{
    std::mt19937 rng(99);
    auto source = std::make_unique<typename TypeParam::Doc>();
    TypeParam::Randomize(*source, rng);
    const Bytes good = Save(*source);
    const typename TypeParam::Doc fresh;

    struct Damage {
        const char* what;
        size_t nOffset;
        std::string bytes;
    };
    const Damage damages[] = {
        {"model first byte", 0, "k"}, {"model trailing space", 7, std::string(1, '\0')},
        {"type first byte", 8, "X"},  {"type last byte", 23, "_"},
        {"version 0002", 24, "0002"}, {"version last byte", 27, "9"},
    };
    for (const Damage& d : damages) {
        Bytes bad = good;
        std::memcpy(bad.data() + d.nOffset, d.bytes.data(), d.bytes.size());
        auto doc = std::make_unique<typename TypeParam::Doc>();
        size_t nRead = 0;
        EXPECT_EQ(Load(*doc, bad, &nRead), CDocument::LoadResult::HeaderMismatch) << d.what;
        EXPECT_EQ(nRead, 128u) << d.what;
        EXPECT_TRUE(TypeParam::Same(*doc, fresh)) << d.what;
    }
}

TYPED_TEST(LibraryFile, ReservedHeaderBytesAreIgnoredOnLoad)
{
    std::mt19937 rng(7);
    auto source = std::make_unique<typename TypeParam::Doc>();
    TypeParam::Randomize(*source, rng);
    Bytes file = Save(*source);
    for (size_t i = 28; i < 128; ++i)
        file[i] = static_cast<uint8_t>(rng() | 1);
    auto doc = std::make_unique<typename TypeParam::Doc>();
    ASSERT_EQ(Load(*doc, file), CDocument::LoadResult::Ok);
    EXPECT_TRUE(TypeParam::Same(*doc, *source));
}

TYPED_TEST(LibraryFile, BytesAfterTheBodyAreNeverRead)
{
    typename TypeParam::Doc source;
    Bytes file = Save(source);
    const size_t nBody = file.size();
    file.insert(file.end(), {1, 2, 3, 0xFF, 0xFF, 0xFF, 0xFF});
    typename TypeParam::Doc doc;
    size_t nRead = 0;
    ASSERT_EQ(Load(doc, file, &nRead), CDocument::LoadResult::Ok);
    EXPECT_EQ(nRead, nBody);
}

// Every cut of a new file, from one byte to one short of the whole, throws;
// the document keeps what it had before the load.
TYPED_TEST(LibraryFile, EveryTruncationThrowsAndLeavesTheDocumentAlone)
{
    typename TypeParam::Doc source;
    const Bytes file = Save(source);
    std::mt19937 rng(5);
    auto doc = std::make_unique<typename TypeParam::Doc>();
    TypeParam::Randomize(*doc, rng);
    const Bytes before = Save(*doc);
    for (size_t n = 1; n < file.size(); ++n) {
        CArchive ar(file.data(), n);
        ASSERT_THROW(doc->Serialize(ar), CArchiveException) << "length " << n;
    }
    EXPECT_EQ(Save(*doc), before);
}

// The document manager skips the load of an empty file; if it ever asks, the
// archive refuses.
TYPED_TEST(LibraryFile, ZeroLengthArchiveThrows)
{
    typename TypeParam::Doc doc;
    CArchive ar(nullptr, 0);
    EXPECT_THROW(doc.Serialize(ar), CArchiveException);
}

TYPED_TEST(LibraryFile, DocumentIsDefaultConstructibleAndNamesItsClass)
{
    std::unique_ptr<CDocument> doc = std::make_unique<typename TypeParam::Doc>();
    const std::string name = doc->GetRuntimeClassName();
    const std::string expected = std::is_same_v<TypeParam, PatchKind>     ? "CPatchDoc"
                                 : std::is_same_v<TypeParam, PerformKind> ? "CPerformDoc"
                                 : std::is_same_v<TypeParam, SystemKind>  ? "CSystemDoc"
                                 : std::is_same_v<TypeParam, PatternKind> ? "CPatternDoc"
                                                                          : "CMotionDoc";
    EXPECT_EQ(name, expected);
}

TEST(LibraryFile, FileOfAnotherKindIsAHeaderMismatch)
{
    CPatchDoc patches;
    CPerformDoc performs;
    EXPECT_EQ(Load(performs, Save(patches)), CDocument::LoadResult::HeaderMismatch);
    CPatternDoc patterns;
    CMotionDoc motions;
    EXPECT_EQ(Load(patterns, Save(motions)), CDocument::LoadResult::HeaderMismatch);
    EXPECT_EQ(Load(motions, Save(patterns)), CDocument::LoadResult::HeaderMismatch);
}

TEST(LibraryFile, TypeWithZeroPaddingIsRejected)
{
    CPatternDoc source;
    source.m_aPattern[0].Clear();
    Bytes file = Save(source);
    std::memset(file.data() + 8 + 7, 0, 9); // "PATTERN" + nine zero bytes
    CPatternDoc doc;
    EXPECT_EQ(Load(doc, file), CDocument::LoadResult::HeaderMismatch);
    EXPECT_EQ(doc.m_aPattern[0].GetSize(), 14u);
}

TEST(PatchFile, RecordsFollowTheHeaderAt239ByteSteps)
{
    CPatchDoc doc;
    doc.m_aPatch[3].SetName("THIRD");
    doc.m_aPatch[127].SetName("LAST ONE");
    doc.m_aPatch[127].m_data[238] = 0x7E;
    const Bytes file = Save(doc);
    EXPECT_EQ(std::memcmp(file.data() + 128 + 239 * 3, "THIRD           ", 16), 0);
    EXPECT_EQ(std::memcmp(file.data() + 30481, "LAST ONE        ", 16), 0);
    EXPECT_EQ(file[30719], 0x7E);
    EXPECT_EQ(std::memcmp(file.data() + 128 + 239 * 126, "INIT PATCH      ", 16), 0);
}

TEST(PatchFile, NameWithAZeroByteLoadsShortAndSavesUnchanged)
{
    CPatchDoc source;
    Bytes file = Save(source);
    std::memcpy(file.data() + 128 + 239 * 3, "ABCDE\0GHIJKLMNOP", 16);
    CPatchDoc doc;
    ASSERT_EQ(Load(doc, file), CDocument::LoadResult::Ok);
    EXPECT_EQ(doc.m_aPatch[3].GetName(), "ABCDE");
    EXPECT_EQ(Save(doc), file);
}

TEST(PerformFile, RecordsAndTheirPatchesSitAtTheirFileOffsets)
{
    CPerformDoc doc;
    for (int n = 0; n < 64; ++n) {
        doc.m_aPerform[n].SetName("PERF " + std::to_string(n));
        doc.m_aPerform[n].m_aPatch[0].SetName("P1 OF " + std::to_string(n));
        doc.m_aPerform[n].m_aPatch[1].SetName("P2 OF " + std::to_string(n));
    }
    const Bytes file = Save(doc);
    ASSERT_EQ(file.size(), 33920u);
    auto nameAt = [&](size_t off) {
        return std::string(reinterpret_cast<const char*>(file.data() + off), 16);
    };
    for (size_t n = 0; n < 64; ++n) {
        const size_t base = 128 + 528 * n;
        EXPECT_EQ(nameAt(base).substr(0, 5 + std::to_string(n).size()), "PERF " + std::to_string(n));
        EXPECT_EQ(nameAt(base + 50).substr(0, 6 + std::to_string(n).size()), "P1 OF " + std::to_string(n));
        EXPECT_EQ(nameAt(base + 289).substr(0, 6 + std::to_string(n).size()), "P2 OF " + std::to_string(n));
    }
}

TEST(SystemFile, NewFileEndsWithTheTwoDefaultBlocks)
{
    CSystemDoc doc;
    const Bytes file = Save(doc);
    ASSERT_EQ(file.size(), 193u);
    EXPECT_EQ(file[128], 2);
    EXPECT_EQ(file[130], 15);
    EXPECT_EQ(file[138], 50);
    EXPECT_EQ(file[150], 0);  // last System Parameter byte
    EXPECT_EQ(file[151], 16); // first Tx/Rx Setting byte
    EXPECT_EQ(file[152], 20);
    EXPECT_EQ(file[192], 2);
}

namespace {
Bytes EntryBytes(const Bytes& file, size_t off, size_t n)
{
    return Bytes(file.begin() + off, file.begin() + off + n);
}
} // namespace

TEST(PatternFile, NewEntriesAreSixByteHeadsAndTheFourteenBytes)
{
    CPatternDoc doc;
    const Bytes file = Save(doc);
    const Bytes entry = {1, 1, 14, 0, 0, 0, 21, 64, 78, 0, 32, 45, 90, 21, 64, 78, 0, 32, 45, 90};
    for (size_t n = 0; n < 48; ++n)
        ASSERT_EQ(EntryBytes(file, 128 + 20 * n, 20), entry) << n;
}

TEST(MotionFile, NewEntriesAreSixByteHeadsAndTheTwentyOneBytes)
{
    CMotionDoc doc;
    const Bytes file = Save(doc);
    Bytes entry = {1, 1, 21, 0, 0, 0};
    for (int i = 0; i < 3; ++i)
        entry.insert(entry.end(), {37, 64, 1, 0, 2, 12, 86});
    for (size_t n = 0; n < 4; ++n)
        ASSERT_EQ(EntryBytes(file, 128 + 27 * n, 27), entry) << n;
}

TEST(PatternFile, ClearedEntryIsStoredAsSixBytes)
{
    CPatternDoc doc;
    doc.m_aPattern[0].m_byValue = 5;
    doc.m_aPattern[0].m_dwFlag = 0;
    doc.m_aPattern[0].Clear();
    const Bytes file = Save(doc);
    ASSERT_EQ(file.size(), 1088u - 14);
    EXPECT_EQ(EntryBytes(file, 128, 6), (Bytes{1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(EntryBytes(file, 134, 6), (Bytes{1, 1, 14, 0, 0, 0}));

    CMotionDoc motions;
    motions.m_aMotion[3].Clear();
    const Bytes mfile = Save(motions);
    ASSERT_EQ(mfile.size(), 236u - 21);
    EXPECT_EQ(EntryBytes(mfile, mfile.size() - 6, 6), (Bytes{1, 1, 0, 0, 0, 0}));
}

TEST(PatternFile, CountIsLittleEndian)
{
    CPatternDoc doc;
    Bytes data(240);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i);
    doc.m_aPattern[1].SetData(data.data(), data.size());
    doc.m_aPattern[2].SetData(Bytes(0x10203).data(), 0x10203);
    const Bytes file = Save(doc);
    EXPECT_EQ(EntryBytes(file, 148, 6), (Bytes{1, 1, 0xF0, 0, 0, 0}));
    EXPECT_EQ(EntryBytes(file, 154, 240), data);
    EXPECT_EQ(EntryBytes(file, 394, 6), (Bytes{1, 1, 0x03, 0x02, 0x01, 0}));
}

// Files carry the flag as one byte: 0 stays 0, anything else loads as 1.
TEST(PatternFile, FlagByteRoundTrips)
{
    CPatternDoc source;
    Bytes file = Save(source);
    file[128 + 1] = 0;         // entry 0
    file[128 + 20 + 1] = 0x7F; // entry 1
    file[128 + 40] = 0x42;     // entry 2 value
    CPatternDoc doc;
    ASSERT_EQ(Load(doc, file), CDocument::LoadResult::Ok);
    EXPECT_EQ(doc.m_aPattern[0].m_dwFlag, 0u);
    EXPECT_EQ(doc.m_aPattern[1].m_dwFlag, 1u);
    EXPECT_EQ(doc.m_aPattern[2].m_dwFlag, 1u);
    EXPECT_EQ(doc.m_aPattern[2].m_byValue, 0x42);
    const Bytes again = Save(doc);
    EXPECT_EQ(again[128 + 1], 0);
    EXPECT_EQ(again[128 + 20 + 1], 1);

    doc.m_aPattern[3].m_dwFlag = 0x100; // non-zero, low byte zero
    EXPECT_EQ(Save(doc)[128 + 60 + 1], 1);
}

TEST(MotionFile, FlagByteRoundTrips)
{
    CMotionDoc source;
    Bytes file = Save(source);
    file[128 + 27 * 2 + 1] = 0;
    CMotionDoc doc;
    ASSERT_EQ(Load(doc, file), CDocument::LoadResult::Ok);
    EXPECT_EQ(doc.m_aMotion[0].m_dwFlag, 1u);
    EXPECT_EQ(doc.m_aMotion[2].m_dwFlag, 0u);
    EXPECT_EQ(Save(doc), file);
}

TEST(PatternFile, LoadReplacesEveryEntryEvenWithEmptyOnes)
{
    CPatternDoc source;
    for (auto& e : source.m_aPattern)
        e.Clear();
    source.m_aPattern[47].Append(0x99);
    const Bytes file = Save(source);
    ASSERT_EQ(file.size(), 128u + 48 * 6 + 1);
    CPatternDoc doc;
    ASSERT_EQ(Load(doc, file), CDocument::LoadResult::Ok);
    for (int n = 0; n < 47; ++n)
        EXPECT_EQ(doc.m_aPattern[n].GetSize(), 0u) << n;
    EXPECT_EQ(doc.m_aPattern[47].GetBytes(), Bytes{0x99});
}
