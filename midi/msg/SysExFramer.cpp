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

void CSysExFramer::Drop(EDropped reason, uint64_t nBytes, const std::string& why)
{
    const CDropped dropped{m_bOverflow ? EDropped::Overlong : reason, m_nStart, nBytes};
    Clear();
    if (m_dropNote)
        m_dropNote(why);
    if (m_watch.dropped)
        m_watch.dropped(dropped);
}

void CSysExFramer::End()
{
    if (m_bIn)
        Drop(EDropped::Unterminated, m_nWire, "the stream ended before the F7");
    m_bOutsideRun = false;
}

void CSysExFramer::TellOutside(uint64_t nOffset, size_t nCount)
{
    if (nCount == 0)
        return;
    const bool bRunStart = !m_bOutsideRun;
    m_bOutsideRun = true;
    if (m_watch.outside)
        m_watch.outside(nOffset, nCount, bRunStart);
}

void CSysExFramer::Feed(const uint8_t* bytes, size_t count, const Sink& sink)
{
    if (!bytes || count == 0)
        return;
    // Each short message comes as a chunk of its own: it does not belong to
    // an exclusive message in progress.
    if (m_input == EInput::MidiEvents && IsShortStatus(bytes[0])) {
        m_nPos += count;
        return;
    }
    // The bytes outside any message go to the watch a run at a time.
    uint64_t nOutsideStart = 0;
    size_t nOutside = 0;
    for (size_t i = 0; i < count; ++i, ++m_nPos) {
        const uint8_t b = bytes[i];
        if (!m_bIn && b != kExclusive) {
            if (nOutside++ == 0)
                nOutsideStart = m_nPos;
            continue;
        }
        if (b >= kFirstRealTime)
            continue;
        if (b == kExclusive) {
            TellOutside(nOutsideStart, nOutside);
            nOutside = 0;
            if (m_bIn && !(m_bOverflow && m_overlong == EOverlong::Truncate))
                Drop(EDropped::NewStart, m_nWire, "a new F0 came before the F7");
            Clear();
            m_message.assign(1, b);
            m_bIn = true;
            m_nStart = m_nPos;
            m_nWire = 1;
            m_bOutsideRun = false;
            continue;
        }
        ++m_nWire;
        if (b == kEndOfExclusive) {
            if (m_bOverflow) {
                // Under Truncate the first part has gone out already.
                if (m_overlong == EOverlong::Drop)
                    Drop(EDropped::Overlong, m_nWire, "longer than " + std::to_string(m_nLimit) + " bytes");
                else
                    Clear();
                continue;
            }
            m_message.push_back(b);
            std::vector<uint8_t> done;
            done.swap(m_message);
            Clear();
            if (!sink(done.data(), done.size())) {
                ++m_nPos;
                return;
            }
            continue;
        }
        if (b & kStatusBit) {
            if (m_bOverflow && m_overlong == EOverlong::Truncate)
                Clear();
            else // a real device ignores the whole message
                Drop(EDropped::BadByte, m_nWire,
                     "data byte " + HexByte(b) + " at offset " + std::to_string(m_message.size()) +
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
            if (!sink(full.data(), full.size())) {
                ++m_nPos;
                return;
            }
        }
    }
    TellOutside(nOutsideStart, nOutside);
}

void CSysExFramer::Feed(const uint8_t* bytes, size_t count, std::vector<std::vector<uint8_t>>& out)
{
    Feed(bytes, count, [&out](const uint8_t* p, size_t n) {
        out.emplace_back(p, p + n);
        return true;
    });
}

} // namespace vantorel
