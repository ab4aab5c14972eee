#include "midi/msg/SysExFramer.h"

#include <cstdio>

namespace vantorel {

namespace {
constexpr uint8_t kExclusive = 0xF0;
constexpr uint8_t kEndOfExclusive = 0xF7;
constexpr uint8_t kFirstRealTime = 0xF8;
constexpr uint8_t kStatusBit = 0x80;

std::string HexByte(uint8_t b)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X", b);
    return text;
}
} // namespace

void CSysExFramer::Drop(const std::string& why)
{
    m_bIn = false;
    m_bOverflow = false;
    m_message.clear();
    if (m_dropNote)
        m_dropNote(why);
}

void CSysExFramer::Feed(const uint8_t* bytes, size_t count, std::vector<std::vector<uint8_t>>& out)
{
    for (size_t i = 0; bytes && i < count; ++i) {
        const uint8_t b = bytes[i];
        if (b >= kFirstRealTime)
            continue;
        if (b == kExclusive) {
            if (m_bIn)
                Drop("a new F0 came before the F7");
            m_message.assign(1, b);
            m_bIn = true;
            continue;
        }
        if (!m_bIn)
            continue;
        if (b == kEndOfExclusive) {
            if (m_bOverflow) {
                Drop("longer than " + std::to_string(kMaxMessage) + " bytes");
                continue;
            }
            m_bIn = false;
            m_message.push_back(b);
            out.push_back(std::move(m_message));
            m_message.clear();
            continue;
        }
        if (b & kStatusBit) {
            // A real device ignores the whole message.
            Drop("data byte " + HexByte(b) + " at offset " + std::to_string(m_message.size()) +
                 " is 0x80 or above");
            continue;
        }
        if (m_message.size() >= kMaxMessage)
            m_bOverflow = true;
        else
            m_message.push_back(b);
    }
}

} // namespace vantorel
