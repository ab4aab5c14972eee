#include "midi/msg/SysEx.h"

#include <algorithm>
#include <cstring>

namespace vantorel {

namespace {

constexpr int kAddressBytes = 4;
constexpr uint32_t kSevenBits = 0x7F;
constexpr int kMaxModelLength = 16; // more leading zeros than this is not a model ID

// Four wire bytes of a word in byte form, highest first.
void AppendWord(std::vector<uint8_t>& out, uint32_t w, uint32_t& sum)
{
    for (int i = kAddressBytes - 1; i >= 0; --i) {
        const uint8_t b = uint8_t(w >> (8 * i));
        out.push_back(b);
        sum += b;
    }
}

uint32_t ReadWord(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

} // namespace

std::vector<uint8_t> ToWireBytes(uint32_t n)
{
    return {uint8_t((n >> 21) & kSevenBits), uint8_t((n >> 14) & kSevenBits), uint8_t((n >> 7) & kSevenBits),
            uint8_t(n & kSevenBits)};
}

uint32_t ToAddressBytes(uint32_t n)
{
    uint32_t w = 0;
    for (int i = 0; i < kAddressBytes; ++i)
        w |= ((n >> (7 * i)) & kSevenBits) << (8 * i);
    return w;
}

uint32_t FromAddressBytes(uint32_t w)
{
    uint32_t n = 0;
    for (int i = 0; i < kAddressBytes; ++i)
        n |= ((w >> (8 * i)) & kSevenBits) << (7 * i);
    return n;
}

uint32_t DecodeWireAddress(const uint8_t* p)
{
    uint32_t n = 0;
    for (int i = 0; i < kAddressBytes; ++i)
        n = (n << 7) | (p[i] & kSevenBits);
    return n;
}

uint8_t Checksum(const uint8_t* p, size_t n, uint32_t startSum)
{
    uint32_t sum = startSum;
    for (size_t i = 0; p && i < n; ++i)
        sum += p[i];
    return uint8_t((0u - sum) & kSevenBits);
}

namespace {

std::vector<uint8_t> BuildHeader(uint8_t command, size_t reserve)
{
    std::vector<uint8_t> out;
    out.reserve(reserve);
    out.insert(out.end(), {sysex::kExclusiveStatus, sysex::kManufacturerId, sysex::kDeviceId, 0x00,
                           sysex::kModelId, command});
    return out;
}

} // namespace

std::vector<uint8_t> BuildDataRequest(uint32_t address, uint32_t size)
{
    std::vector<uint8_t> out = BuildHeader(sysex::kDataRequest, sysex::kRequestLength);
    uint32_t sum = 0;
    AppendWord(out, ToAddressBytes(address), sum);
    AppendWord(out, ToAddressBytes(size), sum);
    out.push_back(Checksum(nullptr, 0, sum));
    out.push_back(sysex::kEndOfExclusive);
    return out;
}

bool AreDataBytes(const uint8_t* data, size_t count)
{
    return !data ||
           std::none_of(data, data + count, [](uint8_t by) { return by >= sysex::kFirstStatusByte; });
}

std::vector<uint8_t> BuildDataSet(uint32_t address, const uint8_t* data, size_t count)
{
    // The port buffer holds 512 bytes; a longer body cannot be sent as one message.
    if (!data)
        count = 0;
    count = std::min(count, sysex::kMaxDataSetBody);
    if (!AreDataBytes(data, count))
        return {};
    std::vector<uint8_t> out = BuildHeader(sysex::kDataSet, count + sysex::kDataSetOverhead);
    uint32_t sum = 0;
    AppendWord(out, ToAddressBytes(address), sum);
    if (count > 0)
        out.insert(out.end(), data, data + count);
    out.push_back(Checksum(data, count, sum));
    out.push_back(sysex::kEndOfExclusive);
    return out;
}

// ---------------------------------------------------------------------------
// CSysExMessage

void CSysExMessage::SetBody(int32_t count, const uint8_t* bytes)
{
    if (count < 0 || !bytes)
        count = 0;
    // Never null, so that callers may copy zero bytes from it.
    m_pBody = std::make_unique<uint8_t[]>(size_t(std::max(count, 1)));
    if (count > 0)
        std::memcpy(m_pBody.get(), bytes, size_t(count));
    m_nBodyLength = count;
}

void CSysExMessage::AppendBytes(int32_t count, const uint8_t* bytes)
{
    if (count <= 0 || !bytes)
        return;
    insert(end(), bytes, bytes + count);
}

void CSysExMessage::Build()
{
    clear();
    push_back(sysex::kExclusiveStatus);
    push_back(uint8_t(m_nManufacturer));
    uint32_t sum = 0;
    if (m_nManufacturer == sysex::kManufacturerId) {
        push_back(uint8_t(m_nDevice));
        const int zeros = std::clamp(m_nModelLength, 1, kMaxModelLength) - 1;
        insert(end(), size_t(zeros), uint8_t(0));
        push_back(uint8_t(m_nModel));
        push_back(uint8_t(m_nCommand));
        AppendWord(*this, m_dwAddress, sum);
        if (m_nCommand == sysex::kDataRequest)
            AppendWord(*this, m_dwSize, sum);
    }
    const int32_t bodyLength = m_pBody ? std::max(m_nBodyLength, 0) : 0;
    for (int32_t i = 0; i < bodyLength; ++i) {
        push_back(m_pBody[size_t(i)]);
        sum += m_pBody[size_t(i)];
    }
    push_back(Checksum(nullptr, 0, sum));
    push_back(sysex::kEndOfExclusive);
}

void CSysExMessage::Parse()
{
    // A parse always starts from the defaults, so that a message that fails to
    // parse never keeps fields or a body from an earlier parse.
    m_nManufacturer = sysex::kManufacturerId;
    m_nDevice = sysex::kDeviceId;
    m_nModel = sysex::kModelId;
    m_nModelLength = sysex::kModelIdLength;
    m_nCommand = sysex::kDataSet;
    m_dwAddress = 0;
    m_dwSize = 0;
    SetBody(0, nullptr);

    const uint8_t* p = data();
    const size_t n = size();
    if (n == 0 || p[0] != sysex::kExclusiveStatus)
        return;
    // The message ends at its first F7; the header, the body and the checksum
    // must all lie before it.
    const uint8_t* pEnd = std::find(p + 1, p + n, sysex::kEndOfExclusive);
    if (pEnd == p + n)
        return;
    const size_t nEnd = size_t(pEnd - p);

    size_t pos = 1;
    if (pos >= nEnd)
        return;
    const int32_t manufacturer = p[pos++];
    int32_t device = m_nDevice, model = m_nModel, modelLength = m_nModelLength;
    int32_t command = m_nCommand;
    uint32_t address = 0, sizeWord = 0;
    if (manufacturer == sysex::kManufacturerId) {
        if (pos >= nEnd)
            return;
        device = p[pos++];
        modelLength = 0;
        while (pos < nEnd && p[pos] == 0x00) {
            ++pos;
            ++modelLength;
        }
        if (pos >= nEnd)
            return;
        model = p[pos++];
        ++modelLength;
        if (pos >= nEnd)
            return;
        command = p[pos++];
        if (nEnd - pos < size_t(kAddressBytes))
            return;
        address = ReadWord(p + pos);
        pos += kAddressBytes;
        if (command == sysex::kDataRequest) {
            if (nEnd - pos < size_t(kAddressBytes))
                return;
            sizeWord = ReadWord(p + pos);
            pos += kAddressBytes;
        }
    }
    // At least the checksum must follow the header.
    if (nEnd - pos < 1)
        return;

    m_nManufacturer = manufacturer;
    m_nDevice = device;
    m_nModel = model;
    m_nModelLength = modelLength;
    m_nCommand = command;
    m_dwAddress = address;
    m_dwSize = sizeWord;
    SetBody(int32_t(nEnd - pos - 1), p + pos);
}

// ---------------------------------------------------------------------------
// CSysExList

CSysExMessage* CSysExList::AddReceived(int32_t count, const uint8_t* bytes)
{
    auto msg = std::make_unique<CSysExMessage>();
    msg->AppendBytes(count, bytes);
    CSysExMessage* p = msg.get();
    m_list.push_back(std::move(msg));
    return p;
}

void CSysExList::Rewind()
{
    m_posNext = m_list.begin();
    m_bHasNext = !m_list.empty();
}

CSysExMessage* CSysExList::GetNextMessage()
{
    if (!m_bHasNext || m_posNext == m_list.end()) {
        m_bHasNext = false;
        return nullptr;
    }
    CSysExMessage* p = m_posNext->get();
    ++m_posNext;
    m_bHasNext = m_posNext != m_list.end();
    return p;
}

void CSysExList::DeleteAll()
{
    m_list.clear();
    m_posNext = m_list.end();
    m_bHasNext = false;
}

// ---------------------------------------------------------------------------

EDataSetCheck CheckDataSetMessage(const uint8_t* b, size_t n, bool bAnyDeviceId)
{
    constexpr size_t kManufacturerPos = 1;
    constexpr size_t kDevicePos = 2;
    constexpr size_t kModelPos = 3; // 00 06
    constexpr size_t kCommandPos = 5;
    constexpr size_t kAddressPos = sysex::kHeaderLength - sysex::kAddressLength;
    if (!b || n <= kManufacturerPos || b[0] != sysex::kExclusiveStatus)
        return EDataSetCheck::Truncated;
    if (b[kManufacturerPos] != sysex::kManufacturerId)
        return EDataSetCheck::OtherMaker;
    if ((n > kModelPos && b[kModelPos] != 0x00) || (n > kModelPos + 1 && b[kModelPos + 1] != sysex::kModelId))
        return EDataSetCheck::OtherModel;
    if (n > kDevicePos && b[kDevicePos] != sysex::kDeviceId && !bAnyDeviceId)
        return EDataSetCheck::OtherDeviceId;
    if (n > kCommandPos && b[kCommandPos] != sysex::kDataSet)
        return EDataSetCheck::OtherCommand;
    if (n < sysex::kDataSetOverhead - 1)
        return EDataSetCheck::Truncated;
    // Address, data and checksum add up to a multiple of 128.
    uint32_t sum = 0;
    for (size_t i = kAddressPos; i < n; ++i)
        sum += b[i];
    return (sum & kSevenBits) == 0 ? EDataSetCheck::Ok : EDataSetCheck::BadChecksum;
}

bool IsValidDataSetFor(const uint8_t* bytes, size_t count, uint32_t expectedAddress)
{
    return bytes && count >= sysex::kDataSetOverhead && bytes[count - 1] == sysex::kEndOfExclusive &&
           CheckDataSetMessage(bytes, count - 1) == EDataSetCheck::Ok &&
           ReadWord(bytes + sysex::kHeaderLength - sysex::kAddressLength) == ToAddressBytes(expectedAddress);
}

} // namespace vantorel
