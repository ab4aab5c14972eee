#pragma once
// The synthesizer's exclusive messages: data request (0x11) and data set (0x12),
// 28-bit addresses sent as four 7-bit bytes, and the 7-bit checksum.
// Plain C++: no Qt, no MIDI service.
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <vector>

namespace vantorel {

namespace sysex {
inline constexpr uint8_t kExclusiveStatus = 0xF0;
inline constexpr uint8_t kEndOfExclusive = 0xF7;
inline constexpr uint8_t kFirstStatusByte = 0x80; // data bytes lie below it
inline constexpr uint8_t kFirstRealTime = 0xF8;   // real-time bytes may sit inside any message
inline constexpr uint8_t kManufacturerId = 0x41;
inline constexpr uint8_t kDeviceId = 0x10;
inline constexpr size_t kDeviceIdCount = 128; // device IDs a message may carry: seven bits
inline constexpr uint8_t kModelId = 0x06;     // sent as 00 06
inline constexpr int kModelIdLength = 2;
inline constexpr uint8_t kDataRequest = 0x11;
inline constexpr uint8_t kDataSet = 0x12;
inline constexpr size_t kRequestLength = 16;
inline constexpr size_t kDataSetOverhead = 12; // everything but the data bytes
inline constexpr size_t kHeaderLength = 10;    // F0 41 10 00 06 cmd + 4 address bytes
inline constexpr size_t kAddressLength = 4;    // the address bytes, last in the header
inline constexpr size_t kMaxDataSetBody = 500; // assembled in a 512-byte buffer
inline constexpr size_t kPortBufferSize = 512;
// Time one byte takes on a MIDI cable: 10 bits a byte at 31,250 baud.
inline constexpr int64_t kWireUsPerByte = 320;
} // namespace sysex

// Linear 28-bit number to its four wire bytes, highest first.
std::vector<uint8_t> ToWireBytes(uint32_t n);
// Linear number to byte form: byte i of the word (from the lowest) is (n >> 7i) & 0x7F.
uint32_t ToAddressBytes(uint32_t n);
// Byte form back to the linear number.
uint32_t FromAddressBytes(uint32_t w);
// Four wire bytes at p, highest first, back to the linear number (the
// address of a message, from its address field).
uint32_t DecodeWireAddress(const uint8_t* p);
// (0 - sum) & 0x7F.
uint8_t Checksum(const uint8_t* p, size_t n, uint32_t startSum = 0);

// The 16 bytes of a data request for size bytes at a linear address.
std::vector<uint8_t> BuildDataRequest(uint32_t address, uint32_t size);
// True when every one of count bytes is a MIDI data byte (below 0x80).
bool AreDataBytes(const uint8_t* data, size_t count);
// count + 12 bytes of a data set (count at most 500; a longer body is cut to
// 500 bytes so that the message fits a port buffer). Empty when a data byte
// is 0x80 or above: on the wire it would end the message early.
std::vector<uint8_t> BuildDataSet(uint32_t address, const uint8_t* data, size_t count);

// A built or received exclusive message. The raw bytes live in the base array.
class CSysExMessage : public std::vector<uint8_t> {
public:
    int32_t m_nManufacturer = sysex::kManufacturerId;
    int32_t m_nDevice = sysex::kDeviceId;
    int32_t m_nModel = sysex::kModelId;
    int32_t m_nModelLength = sysex::kModelIdLength;
    int32_t m_nCommand = sysex::kDataSet;
    uint32_t m_dwAddress = 0; // byte form
    uint32_t m_dwSize = 0;    // byte form; requests only
    std::unique_ptr<uint8_t[]> m_pBody;
    int32_t m_nBodyLength = 0;

    void SetBody(int32_t count, const uint8_t* bytes);
    void AppendBytes(int32_t count, const uint8_t* bytes);
    void Build();
    // Fills the fields from the raw bytes; never reads past them. Bytes that
    // do not start with F0, or that are too short for the header they read,
    // leave the defaults and an empty body.
    void Parse();
    const uint8_t* GetBody() const { return m_pBody.get(); }
};

// The answers received during one transfer, in arrival order. Owns them.
class CSysExList {
public:
    CSysExList() = default;
    ~CSysExList() { DeleteAll(); }
    CSysExList(const CSysExList&) = delete;
    CSysExList& operator=(const CSysExList&) = delete;

    CSysExMessage* AddReceived(int32_t count, const uint8_t* bytes);
    void Rewind();
    CSysExMessage* GetNextMessage();
    void DeleteAll();
    size_t GetCount() const { return m_list.size(); }

private:
    std::list<std::unique_ptr<CSysExMessage>> m_list;
    std::list<std::unique_ptr<CSysExMessage>>::iterator m_posNext = m_list.end();
    bool m_bHasNext = false;
};

// What a message is to this device as a data set, the first fault in this
// order: the maker, the model (00 06), the device ID (10, unless any is
// taken), the command (12), the length (header and checksum), the checksum.
// A message cut short is judged by the bytes it has. bytes run from the F0 up
// to the F7, which is not among them.
enum class EDataSetCheck { Ok, Truncated, OtherMaker, OtherModel, OtherDeviceId, OtherCommand, BadChecksum };
EDataSetCheck CheckDataSetMessage(const uint8_t* bytes, size_t count, bool bAnyDeviceId = false);

// True when bytes are a data set of this device (F0 41 10 00 06 12 ...) for the
// linear address expected, long enough to carry a checksum and F7, with a
// correct checksum. Transfers take only such answers.
bool IsValidDataSetFor(const uint8_t* bytes, size_t count, uint32_t expectedAddress);

} // namespace vantorel
