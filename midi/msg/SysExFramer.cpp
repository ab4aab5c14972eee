#include "midi/msg/SysExFramer.h"

#include <cstdio>

#include "midi/msg/SysEx.h"

namespace vantorel {

namespace {
using sysex::kEndOfExclusive;
using sysex::kFirstRealTime;
constexpr uint8_t kExclusive = sysex::kExclusiveStatus;
constexpr uint8_t kStatusBit = sysex::kFirstStatusByte;

// A status that starts a short message (channel or system common).
bool IsShortStatus(uint8_t b)
{
    return (b & kStatusBit) && b != kExclusive && b != kEndOfExclusive && b < kFirstRealTime;
}

std::string HexByte(uint8_t b)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X", b);
    return text;
}
} // namespace

void CSysExFramer::Clear()
{
    m_bIn = false;
    m_bOverflow = false;
    m_message.clear();
}

void CSysExFramer::Drop(const std::string& why)
{
    Clear();
    if (m_dropNote)
        m_dropNote(why);
}

void CSysExFramer::Feed(const uint8_t* bytes, size_t count, const Sink& sink)
{
    // Each short message comes as a chunk of its own: it does not belong to
    // an exclusive message in progress.
    if (!bytes || count == 0 || IsShortStatus(bytes[0]))
        return;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t b = bytes[i];
        if (b >= kFirstRealTime)
            continue;
        if (b == kExclusive) {
            if (m_bIn && !(m_bOverflow && m_overlong == EOverlong::Truncate))
                Drop("a new F0 came before the F7");
            Clear();
            m_message.assign(1, b);
            m_bIn = true;
            continue;
        }
        if (!m_bIn)
            continue;
        if (b == kEndOfExclusive) {
            if (m_bOverflow) {
                // Under Truncate the first part has gone out already.
                if (m_overlong == EOverlong::Drop)
                    Drop("longer than " + std::to_string(m_nLimit) + " bytes");
                else
                    Clear();
                continue;
            }
            m_message.push_back(b);
            std::vector<uint8_t> done;
            done.swap(m_message);
            Clear();
            if (!sink(done.data(), done.size()))
                return;
            continue;
        }
        if (b & kStatusBit) {
            if (m_bOverflow && m_overlong == EOverlong::Truncate)
                Clear();
            else // a real device ignores the whole message
                Drop("data byte " + HexByte(b) + " at offset " + std::to_string(m_message.size()) +
                     " is 0x80 or above");
            continue;
        }
        if (m_bOverflow)
            continue;
        if (m_message.size() >= m_nLimit) {
            m_bOverflow = true;
            continue;
        }
        m_message.push_back(b);
        if (m_overlong == EOverlong::Truncate && m_message.size() >= m_nLimit) {
            // The buffer is full: it goes out now, the rest of the message is lost.
            std::vector<uint8_t> full;
            full.swap(m_message);
            m_bOverflow = true;
            if (!sink(full.data(), full.size()))
                return;
        }
    }
}

void CSysExFramer::Feed(const uint8_t* bytes, size_t count, std::vector<std::vector<uint8_t>>& out)
{
    Feed(bytes, count, [&out](const uint8_t* p, size_t n) {
        out.emplace_back(p, p + n);
        return true;
    });
}

} // namespace vantorel
