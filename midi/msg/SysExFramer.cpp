#include "midi/msg/SysExFramer.h"

#include <algorithm>
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

bool IsStatus(uint8_t b)
{
    return (b & kStatusBit) != 0;
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
        if (!(b & kStatusBit)) {
            // A run of data bytes is kept at once, up to the limit.
            const size_t nRun = size_t(std::find_if(bytes + i, bytes + count, IsStatus) - (bytes + i));
            if (!TakeData(bytes + i, nRun, sink)) {
                m_nPos += nRun;
                return;
            }
            i += nRun - 1;
            m_nPos += nRun - 1;
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
            const bool bGoOn = sink(done.data(), done.size());
            // The buffer serves the next message, unless the sink began one.
            if (m_message.capacity() == 0) {
                done.clear();
                m_message.swap(done);
            }
            if (!bGoOn) {
                ++m_nPos;
                return;
            }
            continue;
        }
        // Any other status byte cuts the message.
        if (m_bOverflow && m_overlong == EOverlong::Truncate)
            Clear();
        else // a real device ignores the whole message
            Drop(EDropped::BadByte, m_nWire,
                 "data byte " + HexByte(b) + " at offset " + std::to_string(m_message.size()) +
                     " is 0x80 or above");
    }
    TellOutside(nOutsideStart, nOutside);
}

bool CSysExFramer::TakeData(const uint8_t* bytes, size_t count, const Sink& sink)
{
    m_nWire += count;
    if (m_bOverflow)
        return true;
    if (m_message.size() >= m_nLimit) {
        m_bOverflow = true;
        return true;
    }
    const size_t nTaken = std::min(count, m_nLimit - m_message.size());
    m_message.insert(m_message.end(), bytes, bytes + nTaken);
    if (m_overlong == EOverlong::Truncate && m_message.size() >= m_nLimit) {
        // The buffer is full: it goes out now, the rest of the message is lost.
        std::vector<uint8_t> full;
        full.swap(m_message);
        m_bOverflow = true;
        return sink(full.data(), full.size());
    }
    if (nTaken < count)
        m_bOverflow = true;
    return true;
}

void CSysExFramer::Feed(const uint8_t* bytes, size_t count, std::vector<std::vector<uint8_t>>& out)
{
    Feed(bytes, count, [&out](const uint8_t* p, size_t n) {
        out.emplace_back(p, p + n);
        return true;
    });
}

} // namespace vantorel
