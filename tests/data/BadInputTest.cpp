// Damaged files: whatever bytes a loader is given, it loads, reports a
// header mismatch or throws CArchiveException. Nothing else, and no crash
// (the dev build runs this under the address and undefined-behaviour sanitizers).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "DataTestSupport.h"

using namespace vantorel;
using namespace vantorel::test;

namespace {
enum class Outcome { Loaded, Mismatch, Thrown };

template <class Doc>
Outcome TryLoad(const Bytes& bytes)
{
    auto doc = std::make_unique<Doc>();
    try {
        return Load(*doc, bytes) == CDocument::LoadResult::Ok ? Outcome::Loaded : Outcome::Mismatch;
    } catch (const CArchiveException&) {
        return Outcome::Thrown;
    }
    // Any other exception escapes and fails the test.
}

// One damaged variant of a valid file, chosen by the generator.
Bytes Damage(const Bytes& valid, std::mt19937& rng)
{
    Bytes b = valid;
    switch (rng() % 6) {
    case 0: // cut anywhere
        b.resize(rng() % (valid.size() + 1));
        break;
    case 1: // extra bytes after the end
        for (size_t n = rng() % 64; n > 0; --n)
            b.push_back(static_cast<uint8_t>(rng()));
        break;
    case 2: // noise of any length
        b.resize(rng() % (2 * valid.size() + 1));
        Fill(b.data(), b.size(), rng);
        break;
    case 3: // a good header on noise
        b.resize(128 + rng() % (2 * valid.size()));
        Fill(b.data() + 128, b.size() - 128, rng);
        break;
    case 4: // a few bytes of the body changed, count fields included
        for (int n = 1 + rng() % 8; n > 0; --n)
            b[128 + rng() % (valid.size() - 128)] = static_cast<uint8_t>(rng());
        break;
    default: // changed bytes, then cut
        for (int n = 1 + rng() % 4; n > 0; --n)
            b[rng() % valid.size()] = static_cast<uint8_t>(rng());
        b.resize(rng() % (valid.size() + 1));
        break;
    }
    return b;
}
} // namespace

template <class Kind>
class BadInput : public ::testing::Test {
};

using Kinds = ::testing::Types<PatchKind, PerformKind, SystemKind, PatternKind, MotionKind>;
TYPED_TEST_SUITE(BadInput, Kinds);

TYPED_TEST(BadInput, DamagedFilesLoadMismatchOrThrowOnly)
{
    std::mt19937 rng(20240611);
    auto source = std::make_unique<typename TypeParam::Doc>();
    TypeParam::Randomize(*source, rng);
    const Bytes valid = Save(*source);

    int counts[3] = {0, 0, 0};
    for (int i = 0; i < 1500; ++i) {
        const Bytes bad = Damage(valid, rng);
        const Outcome o = TryLoad<typename TypeParam::Doc>(bad);
        ++counts[static_cast<int>(o)];
        // Anything shorter than a complete file of this content, with a good
        // header, can only be loaded by the variable-length kinds.
        if (o == Outcome::Loaded && bad.size() < valid.size() && !std::is_same_v<TypeParam, PatternKind> &&
            !std::is_same_v<TypeParam, MotionKind>)
            ADD_FAILURE() << "a " << bad.size() << "-byte file loaded";
    }
    // The mix must exercise all three outcomes, or the test proves little.
    EXPECT_GT(counts[0], 0);
    EXPECT_GT(counts[1], 0);
    EXPECT_GT(counts[2], 0);
}

TEST(BadInput, HugeDeclaredCountThrows)
{
    for (uint32_t count : {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 15u}) {
        Bytes file = MakeHeader("PATTERN         ");
        file.insert(file.end(),
                    {1, 1, uint8_t(count), uint8_t(count >> 8), uint8_t(count >> 16), uint8_t(count >> 24)});
        file.insert(file.end(), 14, 0xAB); // one short of 15
        CPatternDoc patterns;
        EXPECT_THROW(Load(patterns, file), CArchiveException) << count;

        std::memcpy(file.data() + 8, "MOTION          ", 16);
        CMotionDoc motions;
        EXPECT_THROW(Load(motions, file), CArchiveException) << count;
    }
}

TEST(BadInput, CountExactlyFillingTheRestLoads)
{
    CMotionDoc source;
    for (auto& e : source.m_aMotion)
        e.Clear();
    Bytes file = Save(source);
    // Last entry's count: all that follows it.
    file.insert(file.end(), 1000, 0x11);
    const size_t nCount = file.size() - 1000 - 4;
    file[nCount] = 0xE8; // 1000 = 0x3E8
    file[nCount + 1] = 0x03;
    CMotionDoc doc;
    ASSERT_EQ(Load(doc, file), CDocument::LoadResult::Ok);
    EXPECT_EQ(doc.m_aMotion[3].GetSize(), 1000u);
    file.pop_back();
    CMotionDoc shortDoc;
    EXPECT_THROW(Load(shortDoc, file), CArchiveException);
}

// A load that fails half-way leaves no half-loaded entries behind.
TEST(BadInput, FailedPatternLoadLeavesEveryEntryAsItWas)
{
    std::mt19937 rng(3);
    CPatternDoc source;
    PatternKind::Randomize(source, rng);
    const Bytes file = Save(source);

    CPatternDoc doc;
    doc.m_aPattern[0].Clear();
    doc.m_aPattern[0].Append(0x5A);
    doc.m_aPattern[0].m_dwFlag = 0;
    const Bytes before = Save(doc);
    for (size_t cut : {file.size() - 1, file.size() / 2, size_t{200}, size_t{129}}) {
        const Bytes shortFile(file.begin(), file.begin() + cut);
        EXPECT_THROW(Load(doc, shortFile), CArchiveException) << cut;
        EXPECT_EQ(Save(doc), before) << cut;
    }
}
