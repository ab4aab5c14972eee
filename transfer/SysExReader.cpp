#include "transfer/SysExReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <stdexcept>

#include "res/strings/syx.h"
#include "transfer/TransferAddresses.h"

namespace vantorel {

namespace {

constexpr size_t kDevicePos = 2;
constexpr size_t kModelPos = 3; // 00 06
constexpr size_t kAddressPos = sysex::kHeaderLength - sysex::kAddressLength;
constexpr size_t kDataPos = sysex::kHeaderLength;
constexpr size_t kShortestDataSet = sysex::kHeaderLength + 1; // header and checksum; F7 is not kept
constexpr uint8_t kSevenBits = 0x7F;

// Entry and offset of an address in a kind whose entries are dwStep apart.
bool Locate(uint32_t dwAddress, uint32_t dwFirst, uint32_t dwStep, int nCount, int& n, uint32_t& dwOffset)
{
    if (dwAddress < dwFirst)
        return false;
    const uint32_t rel = dwAddress - dwFirst;
    if (rel / dwStep >= uint32_t(nCount))
        return false;
    n = int(rel / dwStep);
    dwOffset = rel % dwStep;
    return true;
}

} // namespace

const char* SysExSkipText(SysExSkip reason)
{
    switch (reason) {
    case SysExSkip::Noise: return res::kSyxSkipNoise;
    case SysExSkip::OtherMaker: return res::kSyxSkipOtherMaker;
    case SysExSkip::OtherDevice: return res::kSyxSkipOtherDevice;
    case SysExSkip::OtherCommand: return res::kSyxSkipOtherCommand;
    case SysExSkip::BadChecksum: return res::kSyxSkipBadChecksum;
    case SysExSkip::UnknownAddress: return res::kSyxSkipUnknownAddress;
    case SysExSkip::Truncated: return res::kSyxSkipTruncated;
    case SysExSkip::TooLong: return res::kSyxSkipTooLong;
    case SysExSkip::BadDataByte: return res::kSyxSkipBadDataByte;
    case SysExSkip::ShortBlock: return res::kSyxSkipShortBlock;
    case SysExSkip::Overrun: return res::kSyxSkipOverrun;
    case SysExSkip::AfterGap: return res::kSyxSkipAfterGap;
    case SysExSkip::Count: break;
    }
    return "";
}

namespace {
void Replace(std::string& text, std::string_view key, const std::string& value)
{
    const size_t at = text.find(key);
    if (at != std::string::npos)
        text.replace(at, key.size(), value);
}
} // namespace

std::string FormatDeviceId(int nDevice)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", unsigned(nDevice) & kSevenBits);
    return text;
}

std::string FormatSysExNote(const CSysExNote& note)
{
    std::string reason = SysExSkipText(note.nReason);
    if (note.nReason == SysExSkip::OtherDevice && note.nDevice >= 0) {
        reason = res::kSyxSkipDeviceId;
        Replace(reason, "%1", FormatDeviceId(note.nDevice));
    }
    std::string text = res::kSyxSkipNote;
    Replace(text, "%1", std::to_string(note.nOffset));
    Replace(text, "%2", reason);
    return text;
}

std::string FormatDeviceIds(const CSysExHaul& haul)
{
    std::string text;
    for (int id = 0; id < int(haul.m_otherDeviceIds.size()); ++id)
        if (haul.m_otherDeviceIds[size_t(id)])
            text += (text.empty() ? "" : ", ") + FormatDeviceId(id);
    return text;
}

// ---------------------------------------------------------------------------
// CSysExBank

CSysExBank::CSysExBank(int nCount, size_t nRecordSize)
    : m_nCount(nCount), m_nRecordSize(nRecordSize), m_data(size_t(nCount) * nRecordSize),
      m_masks(size_t(nCount))
{
}

uint32_t CSysExBank::GetBlockMask(int n) const
{
    return n >= 0 && n < m_nCount ? m_masks[size_t(n)] : 0;
}

int CSysExBank::GetTakenCount() const
{
    return int(std::count_if(m_masks.begin(), m_masks.end(), [](uint32_t m) { return m != 0; }));
}

const uint8_t* CSysExBank::GetRecord(int n) const
{
    return n >= 0 && n < m_nCount ? m_data.data() + size_t(n) * m_nRecordSize : nullptr;
}

bool CSysExBank::StoreBlock(int n, int nBlock, size_t nOffset, const uint8_t* p, size_t nSize)
{
    if (n < 0 || n >= m_nCount || nBlock < 0 || nBlock >= 32 || nOffset > m_nRecordSize ||
        nSize > m_nRecordSize - nOffset || (nSize > 0 && !p))
        return false;
    if (nSize > 0)
        std::memcpy(m_data.data() + size_t(n) * m_nRecordSize + nOffset, p, nSize);
    m_masks[size_t(n)] |= 1u << nBlock;
    return true;
}

// ---------------------------------------------------------------------------
// CSysExItems

CSysExItems::CSysExItems(int nCount, uint32_t dwRoom)
    : m_nCount(nCount), m_dwRoom(dwRoom), m_items(size_t(nCount))
{
}

const CSysExItems::CItem* CSysExItems::Item(int n) const
{
    return n >= 0 && n < m_nCount ? &m_items[size_t(n)] : nullptr;
}

bool CSysExItems::HasValue(int n) const
{
    return Item(n) && Item(n)->bValue;
}
uint8_t CSysExItems::GetValue(int n) const
{
    return Item(n) ? Item(n)->byValue : 0;
}

bool CSysExItems::HasData(int n) const
{
    const CItem* item = Item(n);
    return item && !item->packets.empty() && item->packets[0].bPresent;
}

size_t CSysExItems::GetDataSize(int n) const
{
    return Item(n) ? Taken(*Item(n)).nBytes : 0;
}
const uint8_t* CSysExItems::GetData(int n) const
{
    return Item(n) ? Item(n)->data.data() : nullptr;
}

int CSysExItems::GetTakenCount() const
{
    int taken = 0;
    for (int n = 0; n < m_nCount; ++n)
        taken += IsTaken(n) ? 1 : 0;
    return taken;
}

size_t CSysExItems::PacketRoom(uint32_t k) const
{
    const uint64_t start = uint64_t(k) * address::kPacketSize;
    return start >= m_dwRoom ? 0 : size_t(std::min<uint64_t>(address::kPacketSize, m_dwRoom - start));
}

CSysExItems::CTaken CSysExItems::Taken(const CItem& item)
{
    CTaken taken;
    for (const CPacket& packet : item.packets) {
        if (!packet.bPresent)
            break;
        ++taken.nPackets;
        taken.nBytes += packet.nSize;
        if (packet.nSize < address::kPacketSize)
            break; // a short packet is the item's last
    }
    return taken;
}

void CSysExItems::StoreValue(int n, uint8_t byValue)
{
    if (n < 0 || n >= m_nCount)
        return;
    m_items[size_t(n)].bValue = true;
    m_items[size_t(n)].byValue = byValue;
}

bool CSysExItems::StorePacket(int n, uint32_t k, const uint8_t* p, size_t nSize, uint64_t nOffset)
{
    const size_t room = PacketRoom(k);
    if (n < 0 || n >= m_nCount || room == 0 || nSize > room || (nSize > 0 && !p))
        return false;
    CItem& item = m_items[size_t(n)];
    const size_t start = size_t(k) * address::kPacketSize;
    // Grows to cover this packet only: never past the item's room.
    if (item.data.size() < start + nSize)
        item.data.resize(start + nSize);
    if (item.packets.size() <= k)
        item.packets.resize(size_t(k) + 1);
    if (nSize > 0)
        std::memcpy(item.data.data() + start, p, nSize);
    item.packets[k] = {true, uint16_t(nSize), nOffset};
    return true;
}

// ---------------------------------------------------------------------------
// CSysExHaul

CSysExHaul::CSysExHaul(const std::vector<const CSysExLayout*>& layouts)
{
    m_parts.reserve(layouts.size());
    for (const CSysExLayout* pLayout : layouts) {
        if (pLayout->IsItems())
            m_parts.push_back({pLayout, CSysExItems(pLayout->nCount, pLayout->dwStep)});
        else
            m_parts.push_back({pLayout, CSysExBank(pLayout->nCount, pLayout->nRecordSize)});
    }
}

namespace {
template <class TPart, class TParts>
const TPart& PartOf(const TParts& parts, const CSysExLayout& layout)
{
    for (const auto& part : parts)
        if (part.pLayout == &layout)
            return std::get<TPart>(part.data);
    throw std::out_of_range("no part of this layout in the haul");
}
} // namespace

const CSysExBank& CSysExHaul::Bank(const CSysExLayout& layout) const
{
    return PartOf<CSysExBank>(m_parts, layout);
}

const CSysExItems& CSysExHaul::Items(const CSysExLayout& layout) const
{
    return PartOf<CSysExItems>(m_parts, layout);
}

uint64_t CSysExHaul::TotalSkips() const
{
    uint64_t total = 0;
    for (uint64_t c : m_aSkipCount)
        total += c;
    return total;
}

// ---------------------------------------------------------------------------
// CSysExReader

void CSysExReader::Skip(SysExSkip reason, uint64_t nOffset, uint64_t nBytes, int nDevice)
{
    m_haul.m_aSkipCount[size_t(reason)] += 1;
    m_haul.m_aSkipBytes[size_t(reason)] += nBytes;
    if (m_haul.m_notes.size() < CSysExHaul::kMaxNotes)
        m_haul.m_notes.push_back({reason, nOffset, nDevice});
}

CSysExReader::CSysExReader(const std::vector<const CSysExLayout*>& layouts)
    // The framer's limit counts the bytes before the F7.
    : m_haul(layouts),
      m_framer(kMaxMessage - 1, CSysExFramer::EOverlong::Drop, CSysExFramer::EInput::ByteStream)
{
    using EDropped = CSysExFramer::EDropped;
    m_framer.SetStreamWatch({
        [this](uint64_t nOffset, size_t nCount, bool bRunStart) {
            // A run of bytes outside the messages counts once.
            if (bRunStart)
                Skip(SysExSkip::Noise, nOffset, nCount);
            else
                m_haul.m_aSkipBytes[size_t(SysExSkip::Noise)] += nCount;
        },
        [this](const CSysExFramer::CDropped& dropped) {
            const SysExSkip reason = dropped.reason == EDropped::Overlong  ? SysExSkip::TooLong
                                     : dropped.reason == EDropped::BadByte ? SysExSkip::BadDataByte
                                                                           : SysExSkip::Truncated;
            Skip(reason, dropped.nOffset, dropped.nBytes);
        },
    });
}

void CSysExReader::Feed(const uint8_t* p, size_t n)
{
    if (!p)
        return;
    m_haul.m_nBytes += n;
    m_framer.Feed(p, n, [this](const uint8_t* message, size_t nCount) {
        m_nStart = m_framer.MessageOffset();
        m_nMsgBytes = nCount;
        ReadMessage(message, nCount - 1);
        return true;
    });
}

void CSysExReader::ReadMessage(const uint8_t* b, size_t n)
{
    switch (CheckDataSetMessage(b, n, m_bAnyDevice)) {
    case EDataSetCheck::Ok: break;
    case EDataSetCheck::Truncated: return Skip(SysExSkip::Truncated, m_nStart, m_nMsgBytes);
    case EDataSetCheck::OtherMaker: return Skip(SysExSkip::OtherMaker, m_nStart, m_nMsgBytes);
    case EDataSetCheck::OtherModel: return Skip(SysExSkip::OtherDevice, m_nStart, m_nMsgBytes);
    case EDataSetCheck::OtherDeviceId: {
        // The model is ours, so the ID is worth naming (when the message got that far).
        const bool bModel = n > kModelPos + 1;
        if (bModel)
            m_haul.m_otherDeviceIds.set(b[kDevicePos]);
        return Skip(SysExSkip::OtherDevice, m_nStart, m_nMsgBytes, bModel ? b[kDevicePos] : -1);
    }
    case EDataSetCheck::OtherCommand: return Skip(SysExSkip::OtherCommand, m_nStart, m_nMsgBytes);
    case EDataSetCheck::BadChecksum: return Skip(SysExSkip::BadChecksum, m_nStart, m_nMsgBytes);
    }
    Store(DecodeWireAddress(b + kAddressPos), b + kDataPos, n - kShortestDataSet);
}

bool CSysExReader::Fit(size_t nCount, size_t nRoom)
{
    if (nCount < nRoom) {
        Skip(SysExSkip::ShortBlock, m_nStart, m_nMsgBytes);
        return false;
    }
    if (nCount > nRoom)
        Skip(SysExSkip::Overrun, m_nStart, nCount - nRoom);
    ++m_haul.m_nDataSets;
    return true;
}

bool CSysExReader::StoreRecordBlock(CSysExBank& bank, const CSysExLayout& layout, uint32_t dwAddress,
                                    const uint8_t* pData, size_t nCount)
{
    int n = 0;
    uint32_t dwOffset = 0;
    if (!Locate(dwAddress, layout.dwFirst, layout.dwStep, layout.nCount, n, dwOffset))
        return false;
    for (size_t b = 0; b < layout.blocks.size(); ++b) {
        const CSysExBlock& block = layout.blocks[b];
        if (block.dwAddress == dwOffset) {
            if (Fit(nCount, block.nSize))
                bank.StoreBlock(n, int(b), block.nOffset, pData, block.nSize);
            return true;
        }
    }
    return false;
}

bool CSysExReader::StoreItemPart(CSysExItems& items, const CSysExLayout& layout, uint32_t dwAddress,
                                 const uint8_t* pData, size_t nCount)
{
    if (dwAddress >= layout.dwFirstValue && dwAddress - layout.dwFirstValue < uint32_t(layout.nCount)) {
        if (Fit(nCount, address::kValueSize))
            items.StoreValue(int(dwAddress - layout.dwFirstValue), pData[0]);
        return true;
    }
    int n = 0;
    uint32_t dwOffset = 0;
    if (!Locate(dwAddress, layout.dwFirst, layout.dwStep, layout.nCount, n, dwOffset) ||
        dwOffset % address::kPacketSize != 0)
        return false;
    // A packet may be short (the item's last one); only its room is a limit.
    const uint32_t k = dwOffset / address::kPacketSize;
    const size_t room = items.PacketRoom(k);
    if (nCount > room)
        Skip(SysExSkip::Overrun, m_nStart, nCount - room);
    ++m_haul.m_nDataSets;
    items.StorePacket(n, k, pData, std::min(nCount, room), m_nStart);
    return true;
}

void CSysExReader::Store(uint32_t dwAddress, const uint8_t* pData, size_t nCount)
{
    // Records before items: a record's room may hold other kinds' addresses
    // where it has no block of its own.
    for (CSysExHaul::CPart& part : m_haul.m_parts)
        if (CSysExBank* bank = std::get_if<CSysExBank>(&part.data))
            if (StoreRecordBlock(*bank, *part.pLayout, dwAddress, pData, nCount))
                return;
    for (CSysExHaul::CPart& part : m_haul.m_parts)
        if (CSysExItems* items = std::get_if<CSysExItems>(&part.data))
            if (StoreItemPart(*items, *part.pLayout, dwAddress, pData, nCount))
                return;
    Skip(SysExSkip::UnknownAddress, m_nStart, m_nMsgBytes);
}

void CSysExReader::Finish()
{
    m_framer.End();
    // Packets past a gap are only known once the stream is over; counted anew
    // each time so that a second Finish does not count them twice.
    auto& notes = m_haul.m_notes;
    notes.erase(std::remove_if(notes.begin(), notes.end(),
                               [](const CSysExNote& note) { return note.nReason == SysExSkip::AfterGap; }),
                notes.end());
    m_haul.m_aSkipCount[size_t(SysExSkip::AfterGap)] = 0;
    m_haul.m_aSkipBytes[size_t(SysExSkip::AfterGap)] = 0;
    for (const CSysExHaul::CPart& part : m_haul.m_parts)
        if (const CSysExItems* items = std::get_if<CSysExItems>(&part.data))
            items->ForEachUntaken(
                [this](uint64_t nOffset, size_t nBytes) { Skip(SysExSkip::AfterGap, nOffset, nBytes); });
}

} // namespace vantorel
