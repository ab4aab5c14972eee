#pragma once
// The calls a safe write makes whose failures cannot be provoked on a real
// disk at will. Tests replace them; nothing of the program includes this.
#include <sys/types.h>

#include <cstddef>

namespace vantorel {

struct CFileWriteCalls {
    ssize_t (*write)(int fd, const void* p, size_t n);
    int (*fsync)(int fd);
    int (*close)(int fd);
};
// Null restores the system's own.
void SetFileWriteCallsForTest(const CFileWriteCalls* pCalls);

} // namespace vantorel
