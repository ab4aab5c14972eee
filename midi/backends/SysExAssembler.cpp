#include "midi/backends/SysExAssembler.h"

#include <algorithm>

namespace vantorel {

namespace {
constexpr uint8_t kStatusBit = 0x80;
constexpr uint8_t kSysExStart = 0xF0;
constexpr uint8_t kSysExEnd = 0xF7;
constexpr uint8_t kFirstRealTime = 0xF8;

bool IsShortStatus(uint8_t b) { return (b & kStatusBit) && b != kSysExStart && b != kSysExEnd && b < kFirstRealTime; }
} // namespace

void CSysExAssembler::Clear()
{
    m_message.clear();
    m_bInMessage = false;
    m_bOverflowed = false;
}

void CSysExAssembler::Feed(const uint8_t* bytes, size_t count, const Sink& sink)
{
    if (!bytes || count == 0 || IsShortStatus(bytes[0]))
        return;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t b = bytes[i];
        if (b >= kFirstRealTime)
            continue;
        if (b == kSysExStart) {
            Clear();
            m_bInMessage = true;
            m_message.push_back(b);
            continue;
        }
        if (!m_bInMessage)
            continue;
        if (IsShortStatus(b)) {
            Clear(); // a status byte cuts the message short
            continue;
        }
        if (m_bOverflowed) {
            if (b == kSysExEnd)
                Clear();
            continue;
        }
        m_message.push_back(b);
        if (b == kSysExEnd) {
            std::vector<uint8_t> done;
            done.swap(m_message);
            Clear();
            if (!sink(done.data(), done.size()))
                return;
        } else if (m_message.size() >= m_nLimit) {
            std::vector<uint8_t> full;
            full.swap(m_message);
            m_bOverflowed = true;
            if (!sink(full.data(), full.size()))
                return;
        }
    }
}

int64_t CWirePacer::Schedule(int64_t nowUs, size_t nBytes)
{
    const int64_t start = std::max(nowUs, m_nWireEndUs);
    m_nWireEndUs = start + int64_t(nBytes) * kByteUs;
    return m_nWireEndUs - nowUs;
}

} // namespace vantorel
