// The library index: a scan of a small tree (every kind, what cannot be
// read, a moved file, a link loop), the re-scan reading only what changed,
// substring search, stars and tags following a sound, a damaged index.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "library/LibraryFiles.h"
#include "library/LibraryIndex.h"
#include "transfer/plans/PatchPlan.h"
#include "transfer/plans/PerformPlan.h"

namespace vantorel::test {
namespace {

namespace fs = std::filesystem;

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        fs::create_directories(Lib(""));
        m_pIndex = CLibraryIndex::Open(DbPath(), error);
        ASSERT_TRUE(m_pIndex) << error;
        ASSERT_TRUE(m_pIndex->AddFolder(Lib(""), error)) << error;
    }
    std::string DbPath() const { return m_dir.path().toStdString() + "/data/library.db"; }
    std::string Lib(const std::string& name) const { return m_dir.path().toStdString() + "/lib/" + name; }

    std::vector<std::string> Find(const std::string& text, bool bStarred = false) const
    {
        CLibraryQuery q;
        q.strText = text;
        q.bStarredOnly = bStarred;
        q.nLimit = 1000;
        std::vector<std::string> found;
        for (const CLibraryEntry& e : m_pIndex->Search(q))
            found.push_back(e.strName + "@" + fs::path(e.strFile).filename().string() + ":" + e.strLabel);
        return found;
    }
    CLibraryEntry First(const std::string& text) const
    {
        CLibraryQuery q;
        q.strText = text;
        const auto found = m_pIndex->Search(q);
        return found.empty() ? CLibraryEntry{} : found.front();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CLibraryIndex> m_pIndex;
};

TEST_F(LibraryTest, ScanIndexesEveryEntryAndListsWhatItLeftOut)
{
    WritePatchBank(Lib("bank.pat"), {MakePatch("Warm Pad", 1), MakePatch("Brass", 2)});
    WritePatchSysEx(Lib("sub/dump.syx"), {MakePatch("Glass Bell", 3)});
    CPerformDoc perform;
    perform.m_aPerform[1].SetName("Split Pad");
    perform.m_aPerform[1].m_aPatch[1] = MakePatch("Low Strings", 4);
    WriteBytes(Lib("live.pfm"), DocBytes(perform));
    std::vector<uint8_t> cut = DocBytes(perform);
    cut.resize(cut.size() / 2);
    WriteBytes(Lib("sub/cut.pfm"), cut);
    WriteBytes(Lib("notes.pat"), {'h', 'e', 'l', 'l', 'o'});
    ASSERT_EQ(::mkfifo(Lib("sub/pipe.pat").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", Lib("device.syp"));
    WriteBytes(Lib("huge.syx"), {});
    fs::resize_file(Lib("huge.syx"), (uint64_t{64} << 20) + 1); // sparse: nothing is written
    fs::create_directory_symlink(Lib(""), Lib("sub/loop"));

    const CScanSummary s = m_pIndex->Scan();
    EXPECT_EQ(s.strError, "");
    EXPECT_EQ(s.nFiles, 8);
    EXPECT_EQ(s.nProblems, 5);
    EXPECT_EQ(Find("Warm"), std::vector<std::string>{"Warm Pad@bank.pat:A11"});
    EXPECT_EQ(Find("Glass"), std::vector<std::string>{"Glass Bell@dump.syx:A11"}); // once, loop or not
    EXPECT_EQ(Find("Low Str"), std::vector<std::string>{"Low Strings@live.pfm:12 patch 2"});
    CLibraryQuery patches;
    patches.pKind = &PatchKind();
    // 128 in the bank, 128 in the .syx, two in each of 64 performances.
    EXPECT_EQ(m_pIndex->Count(patches), 128 + 128 + 128);

    std::vector<std::string> problems;
    for (const CLibraryProblem& p : m_pIndex->Problems())
        problems.push_back(fs::path(p.strFile).filename().string() + ": " + p.strReason);
    EXPECT_EQ(problems,
              (std::vector<std::string>{
                  "device.syp: not a regular file (a FIFO, a device or a socket)",
                  "huge.syx: larger than 64 MiB, far more than any file of this synthesizer",
                  "notes.pat: not a KQ-3300 library file", "cut.pfm: damaged: it ends before its last entry",
                  "pipe.pat: not a regular file (a FIFO, a device or a socket)"}));
}

TEST_F(LibraryTest, RescanReadsOnlyChangedFilesAndFollowsMovedOnes)
{
    WritePatchBank(Lib("a.pat"), {MakePatch("Alpha", 1)});
    WritePatchBank(Lib("b.pat"), {MakePatch("Beta", 2)});
    WritePatchBank(Lib("c.pat"), {MakePatch("Gamma", 3)});
    ASSERT_EQ(m_pIndex->Scan().nRead, 3);

    const CScanSummary same = m_pIndex->Scan();
    EXPECT_EQ(same.nRead, 0);
    EXPECT_EQ(same.nUnchanged, 3);

    // Same size; only its time tells.
    WritePatchBank(Lib("b.pat"), {MakePatch("Beta Two", 2)});
    struct stat st {};
    ::stat(Lib("b.pat").c_str(), &st);
    const struct timespec later[2] = {st.st_atim, {st.st_mtim.tv_sec + 10, 0}};
    ::utimensat(AT_FDCWD, Lib("b.pat").c_str(), later, 0);
    fs::create_directory(Lib("old"));
    fs::rename(Lib("c.pat"), Lib("old/c.pat"));
    const CScanSummary changed = m_pIndex->Scan();
    EXPECT_EQ(changed.nRead, 2); // b.pat and the moved c.pat
    EXPECT_EQ(changed.nUnchanged, 1);
    EXPECT_EQ(changed.nRemoved, 1);
    EXPECT_EQ(Find("Beta"), std::vector<std::string>{"Beta Two@b.pat:A11"});
    EXPECT_EQ(Find("Gamma"), std::vector<std::string>{"Gamma@c.pat:A11"});
    EXPECT_EQ(First("Gamma").strFile, Lib("old/c.pat"));

    // The watcher's way: one file at a time, read again or forgotten.
    WritePatchBank(Lib("a.pat"), {MakePatch("Alpha Two", 1)});
    m_pIndex->Refresh(Lib("a.pat"));
    fs::remove(Lib("b.pat"));
    m_pIndex->Refresh(Lib("b.pat"));
    EXPECT_EQ(Find("Alpha"), std::vector<std::string>{"Alpha Two@a.pat:A11"});
    EXPECT_EQ(Find("Beta"), std::vector<std::string>{});
}

TEST_F(LibraryTest, SearchFindsAnyPartOfANameInAnyCaseInNameOrder)
{
    WritePatchBank(Lib("a.pat"), {MakePatch("Warm PAD", 1), MakePatch("Space Pad 2", 2), MakePatch("Bass", 3),
                                  MakePatch("apadana", 4)});
    m_pIndex->Scan();
    const struct {
        const char* szText;
        std::vector<std::string> found;
    } kCases[] = {
        {"pad", {"apadana@a.pat:A14", "Space Pad 2@a.pat:A12", "Warm PAD@a.pat:A11"}},
        {"E PA", {"Space Pad 2@a.pat:A12"}},
        {"ss", {"Bass@a.pat:A13"}},
        {"D 2", {"Space Pad 2@a.pat:A12"}},
        {"2", {"Space Pad 2@a.pat:A12"}},
        {"zzz", {}},
        {"%", {}},
        {"\"", {}},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(Find(c.szText), c.found) << c.szText;
}

TEST_F(LibraryTest, StarsAndTagsFollowASoundRenamedIntoAnotherFile)
{
    WritePatchBank(Lib("a.pat"), {MakePatch("Choir", 7)});
    m_pIndex->Scan();
    const CLibraryEntry choir = First("Choir");
    std::string why;
    ASSERT_TRUE(m_pIndex->SetStarred(choir.strSound, true, why)) << why;
    ASSERT_TRUE(m_pIndex->AddTag(choir.strSound, "vocal", why)) << why;

    WritePatchBank(Lib("b.pat"), {MakePatch("Init", 1), MakePatch("Angels", 7)});
    m_pIndex->Scan();
    EXPECT_EQ(Find("", true), (std::vector<std::string>{"Angels@b.pat:A12", "Choir@a.pat:A11"}));
    CLibraryQuery tagged;
    tagged.strTag = "vocal";
    EXPECT_EQ(m_pIndex->Count(tagged), 2);
    EXPECT_TRUE(First("Angels").bStarred);
    // The initial patches are one sound held in many places too.
    const auto groups = m_pIndex->Duplicates();
    const auto choirs = std::find_if(groups.begin(), groups.end(),
                                     [&](const auto& g) { return g.front().strSound == choir.strSound; });
    ASSERT_NE(choirs, groups.end());
    EXPECT_EQ(choirs->size(), 2u);

    std::string error;
    const std::optional<std::vector<uint8_t>> bytes = m_pIndex->EntryBytes(First("Angels"), error);
    ASSERT_TRUE(bytes) << error;
    const CPatchRecord angels = MakePatch("Angels", 7);
    EXPECT_EQ(*bytes, std::vector<uint8_t>(angels.Data(), angels.Data() + CPatchRecord::kSize));
    WritePatchBank(Lib("b.pat"), {MakePatch("Init", 1), MakePatch("Angels", 8)});
    EXPECT_FALSE(m_pIndex->EntryBytes(First("Angels"), error));
    EXPECT_NE(error.find(Lib("b.pat")), std::string::npos) << error;
}

TEST_F(LibraryTest, ADamagedIndexIsSetAsideAndRebuiltWithoutTouchingLibraryFiles)
{
    WritePatchBank(Lib("a.pat"), {MakePatch("Keep Me", 1)});
    const auto before = fs::last_write_time(Lib("a.pat"));
    m_pIndex.reset();
    WriteBytes(DbPath(), std::vector<uint8_t>(4096, 0x5a));
    fs::remove(DbPath() + "-wal");
    fs::remove(DbPath() + "-shm");

    std::string error;
    m_pIndex = CLibraryIndex::Open(DbPath(), error);
    ASSERT_TRUE(m_pIndex) << error;
    EXPECT_NE(m_pIndex->Notice().find(DbPath() + ".damaged"), std::string::npos) << m_pIndex->Notice();
    EXPECT_EQ(fs::file_size(DbPath() + ".damaged"), 4096u);
    EXPECT_TRUE(m_pIndex->Folders().empty());
    ASSERT_TRUE(m_pIndex->AddFolder(Lib(""), error));
    m_pIndex->Scan();
    EXPECT_EQ(Find("Keep"), std::vector<std::string>{"Keep Me@a.pat:A11"});
    EXPECT_EQ(fs::last_write_time(Lib("a.pat")), before);
}

TEST(LibraryOpenTest, AnIndexThatCannotBeMadeIsReportedNamingIt)
{
    QTemporaryDir dir;
    const std::string file = dir.path().toStdString() + "/plain";
    WriteBytes(file, {1});
    const std::string path = file + "/library.db";
    std::string error;
    EXPECT_FALSE(CLibraryIndex::Open(path, error));
    EXPECT_EQ(error.find("The library index " + path + " cannot be created"), 0u) << error;
}

} // namespace
} // namespace vantorel::test
