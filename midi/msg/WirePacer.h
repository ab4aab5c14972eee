#pragma once
// When each message has left a MIDI cable, one message after another.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "midi/msg/SysEx.h"

namespace vantorel {

class CWirePacer {
public:
    // The delay from nowUs until nBytes handed over now have been played out,
    // starting when the previous message finished.
    int64_t Schedule(int64_t nowUs, size_t nBytes)
    {
        m_nWireEndUs = std::max(nowUs, m_nWireEndUs) + int64_t(nBytes) * sysex::kWireUsPerByte;
        return m_nWireEndUs - nowUs;
    }
    void Reset(int64_t nowUs) { m_nWireEndUs = nowUs; }
    // When the last message handed over has left the wire.
    int64_t WireEndUs() const { return m_nWireEndUs; }

private:
    int64_t m_nWireEndUs = 0;
};

} // namespace vantorel
