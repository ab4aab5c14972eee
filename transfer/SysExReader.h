#pragma once
// Reads any byte stream (a .syx file, or what an input port hands over while
// the synthesizer dumps its memory from its own panel) into the entries its
// data sets carry, and counts what it skipped and why. Bytes may come in
// chunks of any size. Plain C++: no Qt.
//
// Nothing is written outside the addressed entry, and memory stays bounded on
// any input: one message of 512 bytes at most (the shared framer,
// midi/msg/SysExFramer, splits the stream into messages), the fixed banks,
// and items' data no larger than the address room of their items. Which
// addresses hold which entries is each kind's to say (CSysExLayout).
#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "midi/msg/SysEx.h"
#include "midi/msg/SysExFramer.h"

namespace vantorel {

// Why a part of the stream was skipped. Counted per reason; the first few
// occurrences are kept as notes.
enum class SysExSkip : int {
    Noise,        // bytes outside F0 ... F7 (a run of them counts once)
    OtherMaker,   // manufacturer ID not ours
    OtherDevice,  // device ID or model ID not ours
    OtherCommand, // not a data set (a request, for example)
    BadChecksum,
    UnknownAddress, // no entry's block starts there
    Truncated,      // no F7 before the next F0 or the end, or too short for a data set
    TooLong,        // longer than the largest data set a port can carry
    BadDataByte,    // cut off by a byte of 80 hex or more other than F0, F7 and real-time bytes
    ShortBlock,     // fewer data bytes than the block holds
    Overrun,        // the data beyond a block's end (bytes; the block itself is taken)
    AfterGap,       // a pattern or motion packet after a missing or short one
    Count
};
inline constexpr int kSysExSkipCount = int(SysExSkip::Count);

// One skip as the user is told about it: the reason and the byte position
// (from 0) where the skipped message or run of bytes began.
struct CSysExNote {
    SysExSkip nReason;
    uint64_t nOffset;
    int nDevice = -1; // OtherDevice: the device ID of a data set of this model, when it had one
};
// "Byte 120: skipped a message of another manufacturer."
std::string FormatSysExNote(const CSysExNote& note);
// A device ID as the user knows it: "0x11".
std::string FormatDeviceId(int nDevice);
const char* SysExSkipText(SysExSkip reason);

// Entries of one fixed-size kind (a bank of records, or one record):
// each record with a mask of the blocks that arrived. Bytes of blocks that did
// not arrive are zero and mean nothing; a caller merges only masked blocks.
class CSysExBank {
public:
    CSysExBank(int nCount, size_t nRecordSize);

    int GetCount() const { return m_nCount; }
    size_t GetRecordSize() const { return m_nRecordSize; }
    // Bit b set: block b of entry n arrived (blocks numbered as the kind sends them).
    uint32_t GetBlockMask(int n) const;
    bool IsTaken(int n) const { return GetBlockMask(n) != 0; }
    int GetTakenCount() const;
    // The entry's record, GetRecordSize() bytes; null outside the bank. Records are contiguous.
    const uint8_t* GetRecord(int n) const;

    // Writes one whole block; refuses (false) anything that would reach outside
    // the record or the bank.
    bool StoreBlock(int n, int nBlock, size_t nOffset, const uint8_t* p, size_t nSize);

private:
    int m_nCount;
    size_t m_nRecordSize;
    std::vector<uint8_t> m_data;
    std::vector<uint32_t> m_masks;
};

// Items of one variable-length kind: a one-byte value and
// data reassembled from packets of 231 bytes that may arrive in any order. An
// item's data is taken from its first packet up to the first missing packet
// or the first packet shorter than a full one.
class CSysExItems {
public:
    CSysExItems(int nCount, uint32_t dwRoom);

    int GetCount() const { return m_nCount; }
    uint32_t GetRoom() const { return m_dwRoom; }
    bool HasValue(int n) const;
    uint8_t GetValue(int n) const;
    // True when the item's first packet arrived (it may carry no data bytes).
    bool HasData(int n) const;
    // The data taken: GetDataSize(n) bytes from GetData(n).
    size_t GetDataSize(int n) const;
    const uint8_t* GetData(int n) const;
    bool IsTaken(int n) const { return HasValue(n) || HasData(n); }
    int GetTakenCount() const;

    void StoreValue(int n, uint8_t byValue);
    // Stores packet k (nSize at most a packet, and within the item's room).
    bool StorePacket(int n, uint32_t k, const uint8_t* p, size_t nSize, uint64_t nOffset);
    // The room of packet k: 231 bytes, less where the item's room ends.
    size_t PacketRoom(uint32_t k) const;

    // Calls f(offset, bytes) for every stored packet that lies past what is taken.
    template <class F>
    void ForEachUntaken(F f) const
    {
        for (const CItem& item : m_items)
            for (size_t k = Taken(item).nPackets; k < item.packets.size(); ++k)
                if (item.packets[k].bPresent)
                    f(item.packets[k].nOffset, item.packets[k].nSize);
    }

private:
    struct CPacket {
        bool bPresent = false;
        uint16_t nSize = 0;
        uint64_t nOffset = 0; // where its message began in the stream
    };
    struct CItem {
        bool bValue = false;
        uint8_t byValue = 0;
        std::vector<uint8_t> data; // packet k at k * 231
        std::vector<CPacket> packets;
    };
    struct CTaken {
        size_t nPackets = 0; // packets taken, from the first
        size_t nBytes = 0;
    };
    static CTaken Taken(const CItem& item);
    const CItem* Item(int n) const;

    int m_nCount;
    uint32_t m_dwRoom;
    std::vector<CItem> m_items;
};

// One block of a fixed-size entry: its address relative to the entry, and
// its place in the entry's record.
struct CSysExBlock {
    uint32_t dwAddress;
    size_t nOffset;
    size_t nSize;
};

// Where the entries of one kind lie in the synthesizer's memory, as a stream
// is read. Each kind gives its own (CDocKind::SysExLayout); the reader knows
// no kind. Entry n starts at dwFirst + n * dwStep. An entry is either a
// record of fixed size whose blocks arrive one data set each, or an item (no
// blocks): a one-byte value at dwFirstValue + n, and data in packets of 231
// bytes from the entry's start, its room ending where the next item begins.
struct CSysExLayout {
    int nCount;
    uint32_t dwFirst;
    uint32_t dwStep;
    size_t nRecordSize = 0;                // records: their size
    std::span<const CSysExBlock> blocks{}; // records: their blocks, numbered as the mask counts them
    uint32_t dwFirstValue = 0;             // items: the first item's value
    bool IsItems() const { return blocks.empty(); }
};

// Everything a stream held, one part per kind, and what was skipped.
struct CSysExHaul {
    static constexpr size_t kMaxNotes = 8;

    // One part per layout, in the order given (an address two layouts could
    // take goes to the first whose block or item starts there).
    explicit CSysExHaul(const std::vector<const CSysExLayout*>& layouts);

    // The part of a kind whose entries are records, or items; throws for a
    // layout the haul was not made with, or of the other shape.
    const CSysExBank& Bank(const CSysExLayout& layout) const;
    const CSysExItems& Items(const CSysExLayout& layout) const;

    struct CPart {
        const CSysExLayout* pLayout;
        std::variant<CSysExBank, CSysExItems> data;
    };
    std::vector<CPart> m_parts;

    uint64_t m_nBytes = 0;    // bytes fed
    uint64_t m_nDataSets = 0; // data sets taken
    std::array<uint64_t, kSysExSkipCount> m_aSkipCount{};
    std::array<uint64_t, kSysExSkipCount> m_aSkipBytes{};
    std::vector<CSysExNote> m_notes; // the first kMaxNotes skips, in the order found
    // The device IDs of this model's messages that were skipped for their ID
    // (a file made for another unit, device ID 0x11 say).
    std::bitset<sysex::kDeviceIdCount> m_otherDeviceIds;

    uint64_t SkipCount(SysExSkip r) const { return m_aSkipCount[size_t(r)]; }
    uint64_t SkipBytes(SysExSkip r) const { return m_aSkipBytes[size_t(r)]; }
    uint64_t TotalSkips() const;
};

// The other device IDs a haul met, "0x11" or "0x11, 0x12"; empty for none.
std::string FormatDeviceIds(const CSysExHaul& haul);

class CSysExReader {
public:
    // Reads the entries of the kinds laid out so (a registry's SysExLayouts()).
    explicit CSysExReader(const std::vector<const CSysExLayout*>& layouts);
    // The framer calls back into the reader it belongs to.
    CSysExReader(const CSysExReader&) = delete;
    CSysExReader& operator=(const CSysExReader&) = delete;

    // The largest message kept: a data set of the most data bytes a port
    // buffer carries, F0 and F7 included.
    static constexpr size_t kMaxMessage = sysex::kMaxDataSetBody + sysex::kDataSetOverhead;

    // Takes this model's data sets whatever their device ID: for a file made
    // for another unit that the user takes as this synthesizer's. Set before
    // the first Feed.
    void SetAnyDevice(bool bAny) { m_bAnyDevice = bAny; }

    void Feed(const uint8_t* p, size_t n);
    // The end of the stream: a message still open is truncated, and pattern
    // and motion packets past a gap are counted. Feeding may go on after it.
    void Finish();
    const CSysExHaul& GetHaul() const { return m_haul; }

private:
    void Skip(SysExSkip reason, uint64_t nOffset, uint64_t nBytes, int nDevice = -1);
    // A whole message, F0 up to (not with) its F7.
    void ReadMessage(const uint8_t* b, size_t n);
    void Store(uint32_t dwAddress, const uint8_t* pData, size_t nCount);
    bool StoreRecordBlock(CSysExBank& bank, const CSysExLayout& layout, uint32_t dwAddress,
                          const uint8_t* pData, size_t nCount);
    bool StoreItemPart(CSysExItems& items, const CSysExLayout& layout, uint32_t dwAddress,
                       const uint8_t* pData, size_t nCount);
    // Takes nRoom bytes of a block; fewer is refused, more is clipped.
    bool Fit(size_t nCount, size_t nRoom);

    CSysExHaul m_haul;
    bool m_bAnyDevice = false;
    CSysExFramer m_framer;
    uint64_t m_nStart = 0;    // where the message being read began
    uint64_t m_nMsgBytes = 0; // its bytes, F0 and F7 included
};

} // namespace vantorel
