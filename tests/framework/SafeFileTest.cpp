// Safe reading and writing of the user's files: a failed write leaves the
// old file whole and no temporary behind; reads stop at the bound asked for.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/core/SafeFile.h"
#include "framework/core/SafeFileCalls.h"

using namespace vantorel;

namespace {
std::string ReadAll(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

class SafeFile : public ::testing::Test {
protected:
    void TearDown() override { SetFileWriteCallsForTest(nullptr); }
    std::string Path(const char* name) const { return (m_dir.path() + "/" + name).toStdString(); }
    FileFault Write(const std::string& path, const std::string& bytes)
    {
        return WriteFileAtomic(path, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    QStringList Files() const
    {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
    QTemporaryDir m_dir;
};
} // namespace

TEST_F(SafeFile, ShortWritesAreContinuedUntilEveryByteIsWritten)
{
    static const CFileWriteCalls dribble{[](int fd, const void* p, size_t) { return ::write(fd, p, 1); },
                                         ::fsync, ::close};
    SetFileWriteCallsForTest(&dribble);
    EXPECT_EQ(Write(Path("a.bin"), "twelve bytes"), FileFault::None);
    EXPECT_EQ(ReadAll(Path("a.bin")), "twelve bytes");
    EXPECT_EQ(Files(), QStringList{"a.bin"});
    // A name at the file system's limit still has room for its temporary file.
    SetFileWriteCallsForTest(nullptr);
    const std::string longName = std::string(251, 'n') + ".bin";
    EXPECT_EQ(Write(Path(longName.c_str()), "x"), FileFault::None);
    EXPECT_EQ(ReadAll(Path(longName.c_str())), "x");
}

TEST_F(SafeFile, EveryWriteErrorKeepsTheOldFileAndLeavesNoTemporary)
{
    ASSERT_EQ(Write(Path("old.bin"), "old contents"), FileFault::None);
    ::chmod(Path("old.bin").c_str(), 0640);
    static const CFileWriteCalls ioError{[](int, const void*, size_t) -> ssize_t { return errno = EIO, -1; },
                                         ::fsync, ::close};
    static const CFileWriteCalls stuck{[](int, const void*, size_t) -> ssize_t { return 0; }, ::fsync,
                                       ::close};
    static const CFileWriteCalls quota{::write, [](int) { return errno = EDQUOT, -1; }, ::close};
    static const CFileWriteCalls closeFails{::write, ::fsync,
                                            [](int fd) { return ::close(fd), errno = EIO, -1; }};
    const struct {
        const CFileWriteCalls* pCalls;
        FileFault expected;
    } cases[] = {{&ioError, FileFault::WriteFault},
                 {&stuck, FileFault::WriteFault},
                 {&quota, FileFault::DiskFull},
                 {&closeFails, FileFault::WriteFault}};
    for (const auto& c : cases) {
        SetFileWriteCallsForTest(c.pCalls);
        EXPECT_EQ(Write(Path("old.bin"), "new contents, longer"), c.expected);
        EXPECT_EQ(ReadAll(Path("old.bin")), "old contents");
        EXPECT_EQ(Files(), QStringList{"old.bin"});
    }
    // A replacement keeps the old file's permissions.
    SetFileWriteCallsForTest(nullptr);
    EXPECT_EQ(Write(Path("old.bin"), "new"), FileFault::None);
    struct stat st {};
    ASSERT_EQ(::stat(Path("old.bin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(SafeFile, ReaderOpensRegularFilesOnlyAndReadsNoMoreThanAsked)
{
    ASSERT_EQ(Write(Path("data.bin"), std::string(1000, 'd')), FileFault::None);
    CFileReader reader;
    ASSERT_EQ(reader.Open(Path("data.bin")), FileFault::None);
    EXPECT_EQ(reader.GetSize(), 1000u);
    std::vector<uint8_t> bytes;
    EXPECT_EQ(reader.Read(bytes, 10), FileFault::None);
    EXPECT_EQ(bytes.size(), 10u);
    EXPECT_EQ(reader.Read(bytes, 5000), FileFault::None);
    EXPECT_EQ(bytes.size(), 1000u);

    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0644), 0);
    EXPECT_EQ(reader.Open(Path("pipe")), FileFault::NotRegular);
    EXPECT_EQ(reader.Open("/dev/zero"), FileFault::NotRegular);
    EXPECT_EQ(reader.Open(m_dir.path().toStdString()), FileFault::NotRegular);
    EXPECT_EQ(reader.Open(Path("missing")), FileFault::NotFound);
    EXPECT_EQ(Write(Path("no-folder/x.bin"), "x"), FileFault::NoFolder);
}
