#pragma once
// Turns the chunks a MIDI backend delivers into whole exclusive messages for
// a 512-byte port buffer, and paces "done" reports at MIDI wire speed.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace vantorel {

class CSysExAssembler {
public:
    // Called with each finished message: F0 .. F7, or the first 512 bytes of
    // a longer one (the rest of that message is dropped). Return false to stop
    // feeding the rest of the chunk (the port was closed meanwhile).
    using Sink = std::function<bool(const uint8_t* bytes, size_t count)>;

    explicit CSysExAssembler(size_t nLimit) : m_nLimit(nLimit) {}

    // One chunk as the backend delivered it. A chunk that starts with a
    // channel or system-common status is a short message of its own and is
    // dropped, even inside an exclusive message; real-time bytes are skipped;
    // any other status byte ends an unfinished exclusive message, which is
    // dropped.
    void Feed(const uint8_t* bytes, size_t count, const Sink& sink);
    void Clear();
    bool InMessage() const { return m_bInMessage; }

private:
    size_t m_nLimit;
    std::vector<uint8_t> m_message;
    bool m_bInMessage = false;
    bool m_bOverflowed = false; // the buffer went out full; drop to F7
};

// When each message has left a 31,250-baud wire, one message after another.
class CWirePacer {
public:
    static constexpr int64_t kByteUs = 320; // 10 bits at 31,250 baud

    // The delay from nowUs until nBytes handed over now have been played out,
    // starting when the previous message finished.
    int64_t Schedule(int64_t nowUs, size_t nBytes);
    void Reset(int64_t nowUs) { m_nWireEndUs = nowUs; }
    // When the last message handed over has left the wire.
    int64_t WireEndUs() const { return m_nWireEndUs; }

private:
    int64_t m_nWireEndUs = 0;
};

} // namespace vantorel
