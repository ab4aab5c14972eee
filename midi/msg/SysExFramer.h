#pragma once
// Whole exclusive messages out of the chunks a MIDI system delivers: ALSA
// may split one message over several events, and real-time bytes may sit
// anywhere inside it. Used by the backends (for a port's buffer) and by the
// simulator (for the device).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vantorel {

class CSysExFramer {
public:
    // The longest message the device side takes; anything longer is not one
    // of the device's.
    static constexpr size_t kMaxMessage = 64 * 1024;

    // What becomes of a message longer than the limit: a port's buffer takes
    // its first bytes (the rest is lost, as with a driver), a device ignores
    // all of it.
    enum class EOverlong { Truncate, Drop };

    explicit CSysExFramer(size_t nLimit = kMaxMessage, EOverlong overlong = EOverlong::Drop)
        : m_nLimit(nLimit), m_overlong(overlong)
    {
    }

    // Called with each finished message: F0 .. F7, or the first nLimit bytes
    // of a longer one under Truncate. Return false to stop feeding the rest
    // of the chunk (the port was closed meanwhile).
    using Sink = std::function<bool(const uint8_t* bytes, size_t count)>;

    // One chunk as the MIDI system delivered it. A chunk that starts with a
    // channel or system-common status is a short message of its own and is
    // skipped, even inside an exclusive message; real-time bytes are skipped;
    // any other status byte but F7 ends an unfinished message, which is
    // dropped.
    void Feed(const uint8_t* bytes, size_t count, const Sink& sink);
    // The same, appending each finished message to out.
    void Feed(const uint8_t* bytes, size_t count, std::vector<std::vector<uint8_t>>& out);
    void Feed(const std::vector<uint8_t>& chunk, std::vector<std::vector<uint8_t>>& out)
    {
        Feed(chunk.data(), chunk.size(), out);
    }
    // Forgets an unfinished message (the input was stopped or reset).
    void Clear();
    bool InMessage() const { return m_bIn; }

    // Told why each started message was dropped (for the traffic log).
    using DropNote = std::function<void(const std::string& why)>;
    void SetDropNote(DropNote note) { m_dropNote = std::move(note); }

private:
    void Drop(const std::string& why);

    size_t m_nLimit;
    EOverlong m_overlong;
    DropNote m_dropNote;
    std::vector<uint8_t> m_message;
    bool m_bIn = false;
    bool m_bOverflow = false; // past the limit: nothing more is kept up to F7
};

} // namespace vantorel
