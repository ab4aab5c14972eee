#include "framework/core/SafeFile.h"
#include "framework/core/SafeFileCalls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <random>

namespace vantorel {

namespace {
// Deeper chains than this are a loop (the kernel gives up at 40 too).
constexpr int kMaxLinkHops = 40;
// One read() asks for at most this much, so a bound is never overshot by much.
constexpr size_t kReadChunk = size_t{1} << 16;
// A long name is cut so that the temporary one stays within 255 bytes.
constexpr size_t kMaxTempStem = 200;

const CFileWriteCalls kSystemCalls{::write, ::fsync, ::close};
const CFileWriteCalls* g_pCalls = &kSystemCalls;

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates a new file next to target that no one else has: mode 0666 less the
// umask, as any new file gets.
int CreateTempBeside(const std::string& target, std::string& tempPath)
{
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const unsigned tag = seed ^ (unsigned(::getpid()) << 8) ^ (counter++ * 2654435761u);
        tempPath = FolderOf(target) + "/." + NameOf(target).substr(0, kMaxTempStem) + "." +
                   std::to_string(tag) + ".tmp";
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

CFileStamp StampOf(const struct stat& st)
{
    constexpr int64_t kNsPerSecond = 1000000000;
    CFileStamp stamp;
    stamp.nDevice = uint64_t(st.st_dev);
    stamp.nInode = uint64_t(st.st_ino);
    stamp.nSize = uint64_t(st.st_size);
    stamp.nModifiedNs = int64_t(st.st_mtim.tv_sec) * kNsPerSecond + st.st_mtim.tv_nsec;
    stamp.nChangedNs = int64_t(st.st_ctim.tv_sec) * kNsPerSecond + st.st_ctim.tv_nsec;
    return stamp;
}

FileFault WriteAll(int fd, const uint8_t* p, size_t n)
{
    while (n > 0) {
        const ssize_t written = g_pCalls->write(fd, p, n);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return FaultFromErrno(errno, FileFault::WriteFault);
        if (written == 0)
            return FileFault::WriteFault; // no progress and no reason: do not spin
        p += written;
        n -= size_t(written);
    }
    return FileFault::None;
}
} // namespace

FileFault FaultFromErrno(int nErr, FileFault fallback)
{
    switch (nErr) {
    case ENOSPC:
    case EDQUOT: return FileFault::DiskFull;
    case EACCES:
    case EPERM: return FileFault::AccessDenied;
    case EROFS: return FileFault::ReadOnly;
    case ENAMETOOLONG: return FileFault::NameTooLong;
    default: return fallback;
    }
}

std::string ResolveFileLinks(const std::string& strPath)
{
    std::string path = strPath;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        char target[PATH_MAX];
        const ssize_t len = ::readlink(path.c_str(), target, sizeof target - 1);
        if (len < 0)
            return path; // not a link (or nothing there): this is the file
        target[len] = '\0';
        path = target[0] == '/' ? std::string(target) : FolderOf(path) + "/" + target;
    }
    return path;
}

FileFault CheckRegularFile(const std::string& strPath)
{
    struct stat st {};
    if (::stat(strPath.c_str(), &st) != 0)
        return errno == ENOENT ? FileFault::NotFound : FaultFromErrno(errno, FileFault::ReadFault);
    return S_ISREG(st.st_mode) ? FileFault::None : FileFault::NotRegular;
}

std::optional<CFileStamp> ReadFileStamp(const std::string& strPath)
{
    struct stat st {};
    if (::stat(strPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return StampOf(st);
}

CFileReader::~CFileReader()
{
    Close();
}

void CFileReader::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_stamp = {};
}

FileFault CFileReader::Open(const std::string& strPath)
{
    Close();
    if (const FileFault fault = CheckRegularFile(strPath); fault != FileFault::None)
        return fault;
    // The path may have been swapped for a pipe since: O_NONBLOCK keeps
    // open() from waiting for a writer, and fstat says what was opened.
    const int fd = ::open(strPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT ? FileFault::NotFound : FaultFromErrno(errno, FileFault::ReadFault);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return FileFault::NotRegular;
    }
    m_fd = fd;
    m_stamp = StampOf(st);
    return FileFault::None;
}

FileFault CFileReader::Read(std::vector<uint8_t>& out, size_t n)
{
    if (m_fd < 0)
        return FileFault::ReadFault;
    while (n > 0) {
        const size_t chunk = n < kReadChunk ? n : kReadChunk;
        const size_t start = out.size();
        out.resize(start + chunk);
        const ssize_t got = ::read(m_fd, out.data() + start, chunk);
        if (got < 0 && errno == EINTR) {
            out.resize(start);
            continue;
        }
        out.resize(start + (got > 0 ? size_t(got) : 0));
        if (got < 0)
            return FaultFromErrno(errno, FileFault::ReadFault);
        if (got == 0)
            break; // end of file
        n -= size_t(got);
    }
    return FileFault::None;
}

FileFault WriteFileAtomic(const std::string& strPath, const uint8_t* p, size_t n, CFileStamp* pStamp)
{
    const std::string target = ResolveFileLinks(strPath);
    struct stat old {};
    const bool bExists = ::stat(target.c_str(), &old) == 0;
    if (!bExists && errno != ENOENT)
        return errno == ENOTDIR ? FileFault::NoFolder : FaultFromErrno(errno, FileFault::WriteFault);
    if (bExists && !S_ISREG(old.st_mode))
        return FileFault::NotRegular;
    // A file the user may not write is not replaced behind its back.
    if (bExists && ::access(target.c_str(), W_OK) != 0)
        return FaultFromErrno(errno, FileFault::AccessDenied);

    std::string temp;
    const int fd = CreateTempBeside(target, temp);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? FileFault::NoFolder
                                                   : FaultFromErrno(errno, FileFault::WriteFault);

    FileFault fault = WriteAll(fd, p, n);
    struct stat written {};
    if (fault == FileFault::None && bExists) {
        // The new file keeps the old one's permissions (and owner, where allowed).
        if (::fchmod(fd, old.st_mode & 07777) != 0)
            fault = FaultFromErrno(errno, FileFault::WriteFault);
        else if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            (void)::fchown(fd, old.st_uid, old.st_gid); // best effort: only root may give files away
    }
    // Errors of delayed allocation surface here, not in write().
    if (fault == FileFault::None && g_pCalls->fsync(fd) != 0)
        fault = FaultFromErrno(errno, FileFault::WriteFault);
    if (fault == FileFault::None && ::fstat(fd, &written) != 0)
        fault = FaultFromErrno(errno, FileFault::WriteFault);
    if (g_pCalls->close(fd) != 0 && fault == FileFault::None)
        fault = FaultFromErrno(errno, FileFault::WriteFault);
    if (fault == FileFault::None && ::rename(temp.c_str(), target.c_str()) != 0)
        fault = FaultFromErrno(errno, FileFault::WriteFault);
    if (fault != FileFault::None) {
        ::unlink(temp.c_str());
        return fault;
    }
    if (pStamp) {
        // The rename moved the status-change time; anyone else's file in
        // place already keeps the stamp taken before, which then tells it.
        struct stat renamed {};
        const bool bOurs = ::stat(target.c_str(), &renamed) == 0 && renamed.st_dev == written.st_dev &&
                           renamed.st_ino == written.st_ino;
        *pStamp = StampOf(bOurs ? renamed : written);
    }
    // Make the rename itself durable; the new file is in place either way.
    const int dirFd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
    return FileFault::None;
}

void SetFileWriteCallsForTest(const CFileWriteCalls* pCalls)
{
    g_pCalls = pCalls ? pCalls : &kSystemCalls;
}

} // namespace vantorel
