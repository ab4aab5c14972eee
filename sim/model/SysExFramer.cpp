#include "sim/model/SysExFramer.h"

namespace vantorel {

namespace {
constexpr uint8_t kExclusive = 0xF0;
constexpr uint8_t kEndOfExclusive = 0xF7;
constexpr uint8_t kFirstRealTime = 0xF8;
constexpr uint8_t kStatusBit = 0x80;
} // namespace

void CSysExFramer::Feed(const uint8_t* bytes, size_t count, std::vector<std::vector<uint8_t>>& out)
{
    for (size_t i = 0; bytes && i < count; ++i) {
        const uint8_t b = bytes[i];
        if (b >= kFirstRealTime)
            continue;
        if (b == kExclusive) {
            m_message.assign(1, b);
            m_bIn = true;
            m_bOverflow = false;
            continue;
        }
        if (!m_bIn)
            continue;
        if (b == kEndOfExclusive) {
            m_bIn = false;
            if (!m_bOverflow) {
                m_message.push_back(b);
                out.push_back(std::move(m_message));
            }
            m_message.clear();
            continue;
        }
        if (b & kStatusBit) {
            m_bIn = false;
            m_message.clear();
            continue;
        }
        if (m_message.size() >= kMaxMessage)
            m_bOverflow = true;
        else
            m_message.push_back(b);
    }
}

} // namespace vantorel
