#pragma once
// Port buffers for tests: while a CPortAllocationFailure lives, every port
// made fails to allocate its buffer, as when memory runs out.
#include "midi/PortBufferSource.h"

namespace vantorel::test {

class CPortAllocationFailure {
public:
    CPortAllocationFailure()
    {
        SetPortBufferSource([](CPortBuffer&) {});
    }
    ~CPortAllocationFailure() { SetPortBufferSource(nullptr); }
    CPortAllocationFailure(const CPortAllocationFailure&) = delete;
    CPortAllocationFailure& operator=(const CPortAllocationFailure&) = delete;
};

} // namespace vantorel::test
