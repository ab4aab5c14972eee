#pragma once
// Whole exclusive messages out of the chunks a MIDI system delivers: ALSA
// may split one message over several events, and real-time bytes may sit
// anywhere inside it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vantorel {

class CSysExFramer {
public:
    // A message longer than this is not one of the device's; it is dropped
    // up to its F7.
    static constexpr size_t kMaxMessage = 64 * 1024;

    // Feeds one chunk; each finished F0 .. F7 is appended to out. Short
    // messages are skipped; a status byte other than real-time or F7 ends
    // an unfinished message, which is dropped.
    void Feed(const uint8_t* bytes, size_t count, std::vector<std::vector<uint8_t>>& out);
    void Feed(const std::vector<uint8_t>& chunk, std::vector<std::vector<uint8_t>>& out)
    {
        Feed(chunk.data(), chunk.size(), out);
    }
    bool InMessage() const { return m_bIn; }

    // Told why each started message was dropped (for the traffic log).
    using DropNote = std::function<void(const std::string& why)>;
    void SetDropNote(DropNote note) { m_dropNote = std::move(note); }

private:
    void Drop(const std::string& why);

    DropNote m_dropNote;
    std::vector<uint8_t> m_message;
    bool m_bIn = false;
    bool m_bOverflow = false;
};

} // namespace vantorel
