#pragma once
// Reading and writing the user's files without surprises. Only regular files
// are read or replaced: a named pipe would block the program in open(), a
// device node would be swallowed by a rename. Reads are bounded by the caller.
// A write goes to a temporary file in the target's folder and replaces the
// target only when every byte has reached the disk, so a failed save leaves
// the old file as it was. Plain POSIX: the command line uses it too.
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantorel {

enum class FileFault {
    None,
    NotFound,     // nothing at the path
    NoFolder,     // the folder to write into does not exist
    NotRegular,   // a folder, pipe, device or socket (after following links)
    AccessDenied, // permissions
    ReadOnly,     // a read-only file system
    NameTooLong,  // the name, or a folder's in the path, is longer than the file system takes
    DiskFull,     // no space or quota left
    ReadFault,    // any other read error
    WriteFault,   // any other write error
};

// The fault for the errno of a failed call; other errors give fallback.
FileFault FaultFromErrno(int nErr, FileFault fallback);

// Follows symbolic links in the last part of path, dangling ones too, so that
// a write goes to the file a link names and the link stays a link.
std::string ResolveFileLinks(const std::string& strPath);

// What is at path after links: None for a regular file, NotFound for nothing,
// NotRegular for anything else; AccessDenied or ReadFault when it cannot be looked at.
FileFault CheckRegularFile(const std::string& strPath);

// Which file is at a path and when its contents last changed, so that a later
// look can tell that the file was written or replaced since: another inode, size,
// modification or status-change time. Nothing here reads the contents.
struct CFileStamp {
    uint64_t nDevice = 0;
    uint64_t nInode = 0;
    uint64_t nSize = 0;
    int64_t nModifiedNs = 0;
    int64_t nChangedNs = 0; // a copy that keeps the old times still moves this one
    bool operator==(const CFileStamp&) const = default;
};

// The stamp of the regular file at path (after links); none when there is no
// regular file there or it cannot be looked at.
std::optional<CFileStamp> ReadFileStamp(const std::string& strPath);

// A regular file open for reading.
class CFileReader {
public:
    CFileReader() = default;
    ~CFileReader();
    CFileReader(const CFileReader&) = delete;
    CFileReader& operator=(const CFileReader&) = delete;

    // Looks before it opens, opens without blocking and looks again at what
    // was opened, so neither a pipe nor a device is ever read.
    FileFault Open(const std::string& strPath);
    // The size when opened.
    uint64_t GetSize() const { return m_stamp.nSize; }
    // The file as it was opened.
    const CFileStamp& GetStamp() const { return m_stamp; }
    // Appends up to n bytes to out; fewer only at the end of the file.
    FileFault Read(std::vector<uint8_t>& out, size_t n);
    void Close();

private:
    int m_fd = -1;
    CFileStamp m_stamp;
};

// Replaces the regular file at path (a link: the file it names) with n bytes
// at p, or creates it. All or nothing: on any failure the target is untouched
// and the temporary file is gone. pStamp, when given, receives the stamp of
// the file written (left as it was on failure).
FileFault WriteFileAtomic(const std::string& strPath, const uint8_t* p, size_t n,
                          CFileStamp* pStamp = nullptr);

} // namespace vantorel
