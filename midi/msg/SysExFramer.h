#pragma once
// Whole exclusive messages out of the chunks a MIDI system delivers: ALSA
// may split one message over several events, and real-time bytes may sit
// anywhere inside it. Used by the backends (for a port's buffer), by the
// simulator (for the device) and by the .syx stream reader, which is told
// besides where each message began, the bytes outside any message and each
// message dropped (SetStreamWatch).
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

    // What a chunk is: one or more events as a MIDI system delivers them (a
    // chunk that starts with a channel or system-common status is a short
    // message of its own), or any piece of a byte stream such as a file.
    enum class EInput { MidiEvents, ByteStream };

    // nLimit: the bytes kept of a message before its F7.
    explicit CSysExFramer(size_t nLimit = kMaxMessage, EOverlong overlong = EOverlong::Drop,
                          EInput input = EInput::MidiEvents)
        : m_nLimit(nLimit), m_overlong(overlong), m_input(input)
    {
    }

    // Called with each finished message: F0 .. F7, or the first nLimit bytes
    // of a longer one under Truncate. Return false to stop feeding the rest
    // of the chunk (the port was closed meanwhile).
    using Sink = std::function<bool(const uint8_t* bytes, size_t count)>;

    // One chunk as the MIDI system delivered it. A chunk that starts with a
    // channel or system-common status is a short message of its own and is
    // skipped, even inside an exclusive message (not so in a byte stream);
    // real-time bytes are skipped; any other status byte but F7 ends an
    // unfinished message, which is dropped.
    void Feed(const uint8_t* bytes, size_t count, const Sink& sink);
    // The same, appending each finished message to out.
    void Feed(const uint8_t* bytes, size_t count, std::vector<std::vector<uint8_t>>& out);
    void Feed(const std::vector<uint8_t>& chunk, std::vector<std::vector<uint8_t>>& out)
    {
        Feed(chunk.data(), chunk.size(), out);
    }
    // Forgets an unfinished message (the input was stopped or reset).
    void Clear();
    // The end of a stream: an unfinished message is dropped (Unterminated),
    // and bytes fed after it start a new run outside.
    void End();
    bool InMessage() const { return m_bIn; }
    // Where the message being delivered, or the last one started, began: the
    // place of its F0 among all the bytes fed so far, from 0.
    uint64_t MessageOffset() const { return m_nStart; }

    // Told why each started message was dropped (for the traffic log).
    using DropNote = std::function<void(const std::string& why)>;
    void SetDropNote(DropNote note) { m_dropNote = std::move(note); }

    // Why a started message was not delivered: a new F0 came before its F7, a
    // status byte other than F7 cut it, it ran past the limit (whatever ended
    // it), or the stream ended inside it (End).
    enum class EDropped { NewStart, BadByte, Overlong, Unterminated };
    struct CDropped {
        EDropped reason;
        uint64_t nOffset; // where its F0 was
        // Its bytes: F0, every data byte (those past the limit too), and the
        // F7 or status byte that ended it; neither a new F0 nor real-time bytes.
        uint64_t nBytes;
    };
    // For a reader that accounts for every byte fed. outside: bytes that
    // belong to no message (real-time bytes between messages among them), a
    // piece at a time, bRunStart for the first piece after a message began or
    // ended, after End, or of the stream. dropped: each message dropped (the
    // overlong first part a port's buffer delivers under Truncate is not).
    struct CStreamWatch {
        std::function<void(uint64_t nOffset, size_t nCount, bool bRunStart)> outside;
        std::function<void(const CDropped& dropped)> dropped;
    };
    void SetStreamWatch(CStreamWatch watch) { m_watch = std::move(watch); }

private:
    void Drop(EDropped reason, uint64_t nBytes, const std::string& why);
    // Data bytes of the open message; false when the sink, handed a full
    // buffer under Truncate, said to stop.
    bool TakeData(const uint8_t* bytes, size_t count, const Sink& sink);
    // Hands nCount bytes outside any message, from nOffset, to the watch.
    void TellOutside(uint64_t nOffset, size_t nCount);

    size_t m_nLimit;
    EOverlong m_overlong;
    EInput m_input;
    DropNote m_dropNote;
    CStreamWatch m_watch;
    std::vector<uint8_t> m_message;
    bool m_bIn = false;
    bool m_bOverflow = false;   // past the limit: nothing more is kept up to F7
    uint64_t m_nPos = 0;        // bytes fed so far: the place of the next one
    uint64_t m_nStart = 0;      // where the open message began
    uint64_t m_nWire = 0;       // bytes of the open message so far, F0 included
    bool m_bOutsideRun = false; // the bytes outside continue a run already told
};

} // namespace vantorel
