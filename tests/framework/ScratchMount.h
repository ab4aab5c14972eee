#pragma once
// A small tmpfs of its own for tests that need a full or a read-only file
// system (tests run as root). Unmounted when the object goes.
#include <sys/mount.h>
#include <sys/stat.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>

namespace vantorel::test {

class CScratchMount {
public:
    // A 64 KB tmpfs at dir (created if need be), read-only when asked.
    explicit CScratchMount(const std::string& dir, bool bReadOnly = false) : m_strDir(dir)
    {
        ::mkdir(dir.c_str(), 0755);
        m_bMounted = ::mount("tmpfs", dir.c_str(), "tmpfs", bReadOnly ? MS_RDONLY : 0, "size=64k") == 0;
    }
    ~CScratchMount()
    {
        if (m_bMounted)
            ::umount2(m_strDir.c_str(), MNT_DETACH);
    }
    CScratchMount(const CScratchMount&) = delete;
    CScratchMount& operator=(const CScratchMount&) = delete;
    bool IsMounted() const { return m_bMounted; }

    // Writes a filler file until the file system refuses more.
    void FillUp() const
    {
        const int fd = ::open((m_strDir + "/filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return;
        char block[512] = {};
        while (::write(fd, block, sizeof block) > 0) {
        }
        while (::write(fd, block, 1) > 0) {
        }
        ::close(fd);
    }

private:
    std::string m_strDir;
    bool m_bMounted = false;
};

} // namespace vantorel::test
