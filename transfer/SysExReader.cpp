#include "transfer/SysExReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/PerformRecord.h"
#include "data/SystemDoc.h"
#include "res/strings/syx.h"
#include "transfer/TransferAddresses.h"

namespace vantorel {

namespace {

using sysex::kFirstRealTime;
constexpr uint8_t kFirstStatus = sysex::kFirstStatusByte;
constexpr size_t kDevicePos = 2;
constexpr size_t kModelPos = 3; // 00 06
constexpr size_t kAddressPos = sysex::kHeaderLength - sysex::kAddressLength;
constexpr size_t kDataPos = sysex::kHeaderLength;
constexpr size_t kShortestDataSet = sysex::kHeaderLength + 1; // header and checksum; F7 is not kept
constexpr uint8_t kSevenBits = 0x7F;

// One block of a fixed-size kind: its address relative to the entry, and its
// place in the entry's record.
struct CBlockPlace {
    uint32_t dwAddress;
    size_t nOffset;
    size_t nSize;
};

// A fixed-size kind: entry n starts at dwFirst + n * dwStep.
struct CFixedLayout {
    uint32_t dwFirst;
    uint32_t dwStep;
    int nCount;
    const CBlockPlace* pBlocks;
    int nBlocks;
    CSysExBank CSysExHaul::*pBank;
};

constexpr CBlockPlace kPatchBlocks[] = {{0, 0, address::kPatchSize}};

constexpr std::array<CBlockPlace, CPerformRecord::kBlockCount> PerformanceBlocks()
{
    std::array<CBlockPlace, CPerformRecord::kBlockCount> blocks{};
    for (int b = 0; b < CPerformRecord::kBlockCount; ++b)
        blocks[size_t(b)] = {address::kPerformanceBlock[size_t(b)], CPerformRecord::kBlocks[size_t(b)].nOffset,
                             CPerformRecord::kBlocks[size_t(b)].nSize};
    return blocks;
}
constexpr auto kPerformanceBlocks = PerformanceBlocks();

// In the order of CSysExHaul's system block numbers.
constexpr CBlockPlace kSystemBlocks[] = {
    {address::kSystemParameters, CSystemDoc::kSystemParameterOffset, address::kSystemParametersSize},
    {address::kTxRxSettings, CSystemDoc::kTxRxSettingOffset, address::kTxRxSettingsSize},
    {address::kTxRxExtra, address::kTxRxExtraOffset, address::kTxRxExtraSize},
};
static_assert(CSysExHaul::kTxRxExtraBlock == 2 && std::size(kSystemBlocks) == 3);
// The system is a single entry; its blocks all lie below this.
constexpr uint32_t kSystemRoom = 0x4000;
static_assert(address::kTxRxSettings + address::kTxRxSettingsSize <= kSystemRoom);

constexpr CFixedLayout kFixedLayouts[] = {
    {address::UserPatch(0), 1u << address::kPatchShift, CPatchDoc::kPatchCount, kPatchBlocks,
     int(std::size(kPatchBlocks)), &CSysExHaul::m_patches},
    {address::Performance(0), 1u << address::kPerformanceShift, CPerformDoc::kPerformanceCount,
     kPerformanceBlocks.data(), int(kPerformanceBlocks.size()), &CSysExHaul::m_performances},
    {address::kSystemParameters, kSystemRoom, 1, kSystemBlocks, int(std::size(kSystemBlocks)),
     &CSysExHaul::m_system},
};

// A variable-length kind: the item's value byte, and its data whose address
// room ends where the next item's begins.
struct CVarLayout {
    uint32_t dwFirstValue;
    uint32_t dwFirstData;
    uint32_t dwStep;
    int nCount;
    CSysExItems CSysExHaul::*pItems;
};

constexpr CVarLayout kVarLayouts[] = {
    {address::PatternValue(0), address::PatternData(0), address::kPatternStep, CPatternDoc::kPatternCount,
     &CSysExHaul::m_patterns},
    {address::MotionValue(0), address::MotionData(0), address::kMotionStep, CMotionDoc::kMotionCount,
     &CSysExHaul::m_motions},
};
static_assert(address::kPatternStep == CPatternDoc::kItemRoom && address::kMotionStep == CMotionDoc::kItemRoom);

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
    : m_nCount(nCount), m_nRecordSize(nRecordSize), m_data(size_t(nCount) * nRecordSize), m_masks(size_t(nCount))
{
}

uint32_t CSysExBank::GetBlockMask(int n) const { return n >= 0 && n < m_nCount ? m_masks[size_t(n)] : 0; }

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

CSysExItems::CSysExItems(int nCount, uint32_t dwRoom) : m_nCount(nCount), m_dwRoom(dwRoom), m_items(size_t(nCount))
{
}

const CSysExItems::CItem* CSysExItems::Item(int n) const
{
    return n >= 0 && n < m_nCount ? &m_items[size_t(n)] : nullptr;
}

bool CSysExItems::HasValue(int n) const { return Item(n) && Item(n)->bValue; }
uint8_t CSysExItems::GetValue(int n) const { return Item(n) ? Item(n)->byValue : 0; }

bool CSysExItems::HasData(int n) const
{
    const CItem* item = Item(n);
    return item && !item->packets.empty() && item->packets[0].bPresent;
}

size_t CSysExItems::GetDataSize(int n) const { return Item(n) ? Taken(*Item(n)).nBytes : 0; }
const uint8_t* CSysExItems::GetData(int n) const { return Item(n) ? Item(n)->data.data() : nullptr; }

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

CSysExHaul::CSysExHaul()
    : m_patches(CPatchDoc::kPatchCount, CPatchRecord::kSize),
      m_performances(CPerformDoc::kPerformanceCount, CPerformRecord::kSize), m_system(1, CSystemDoc::kSize),
      m_patterns(CPatternDoc::kPatternCount, CPatternDoc::kItemRoom),
      m_motions(CMotionDoc::kMotionCount, CMotionDoc::kItemRoom)
{
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

void CSysExReader::StartMessage()
{
    m_bInNoise = false;
    m_state = State::Message;
    m_nStart = m_nPos;
    m_nMsgBytes = 1;
    m_buffer[0] = sysex::kExclusiveStatus;
    m_nLength = 1;
}

void CSysExReader::Feed(const uint8_t* p, size_t n)
{
    if (!p)
        return;
    m_haul.m_nBytes += n;
    for (size_t i = 0; i < n; ++i, ++m_nPos) {
        const uint8_t c = p[i];
        if (m_state == State::Outside) {
            if (c == sysex::kExclusiveStatus) {
                StartMessage();
            } else if (m_bInNoise) {
                m_haul.m_aSkipBytes[size_t(SysExSkip::Noise)] += 1;
            } else {
                m_bInNoise = true;
                Skip(SysExSkip::Noise, m_nPos, 1);
            }
            continue;
        }
        if (c < kFirstStatus) {
            ++m_nMsgBytes;
            if (m_state == State::Message) {
                if (m_nLength + 1 < kMaxMessage) { // room for the F7 not kept
                    m_buffer[m_nLength++] = c;
                } else {
                    m_state = State::Overlong;
                }
            }
            continue;
        }
        if (c >= kFirstRealTime)
            continue; // real-time bytes may sit inside a message; they are not part of it
        // Any other status byte ends the message in progress.
        ++m_nMsgBytes;
        if (c == sysex::kEndOfExclusive) {
            if (m_state == State::Overlong)
                Skip(SysExSkip::TooLong, m_nStart, m_nMsgBytes);
            else
                EndMessage();
            m_state = State::Outside;
        } else if (c == sysex::kExclusiveStatus) {
            --m_nMsgBytes; // the F0 starts the next message
            Skip(m_state == State::Overlong ? SysExSkip::TooLong : SysExSkip::Truncated, m_nStart, m_nMsgBytes);
            StartMessage();
        } else {
            // What follows belongs to another message: noise until the next F0.
            Skip(m_state == State::Overlong ? SysExSkip::TooLong : SysExSkip::BadDataByte, m_nStart, m_nMsgBytes);
            m_state = State::Outside;
            m_bInNoise = false;
        }
    }
}

void CSysExReader::EndMessage()
{
    const uint8_t* b = m_buffer.data();
    const size_t n = m_nLength;
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

void CSysExReader::Store(uint32_t dwAddress, const uint8_t* pData, size_t nCount)
{
    // Takes nRoom bytes of a block; fewer is refused, more is clipped.
    const auto fit = [&](size_t nRoom) {
        if (nCount < nRoom) {
            Skip(SysExSkip::ShortBlock, m_nStart, m_nMsgBytes);
            return false;
        }
        if (nCount > nRoom)
            Skip(SysExSkip::Overrun, m_nStart, nCount - nRoom);
        ++m_haul.m_nDataSets;
        return true;
    };
    int n = 0;
    uint32_t dwOffset = 0;
    for (const CFixedLayout& kind : kFixedLayouts) {
        if (!Locate(dwAddress, kind.dwFirst, kind.dwStep, kind.nCount, n, dwOffset))
            continue;
        for (int b = 0; b < kind.nBlocks; ++b) {
            const CBlockPlace& block = kind.pBlocks[b];
            if (block.dwAddress == dwOffset) {
                if (fit(block.nSize))
                    (m_haul.*kind.pBank).StoreBlock(n, b, block.nOffset, pData, block.nSize);
                return;
            }
        }
    }
    for (const CVarLayout& kind : kVarLayouts) {
        CSysExItems& items = m_haul.*kind.pItems;
        if (dwAddress >= kind.dwFirstValue && dwAddress - kind.dwFirstValue < uint32_t(kind.nCount)) {
            if (fit(address::kValueSize))
                items.StoreValue(int(dwAddress - kind.dwFirstValue), pData[0]);
            return;
        }
        if (Locate(dwAddress, kind.dwFirstData, kind.dwStep, kind.nCount, n, dwOffset) &&
            dwOffset % address::kPacketSize == 0) {
            // A packet may be short (the item's last one); only its room is a limit.
            const uint32_t k = dwOffset / address::kPacketSize;
            const size_t room = items.PacketRoom(k);
            const size_t taken = std::min(nCount, room);
            if (nCount > room)
                Skip(SysExSkip::Overrun, m_nStart, nCount - room);
            ++m_haul.m_nDataSets;
            items.StorePacket(n, k, pData, taken, m_nStart);
            return;
        }
    }
    Skip(SysExSkip::UnknownAddress, m_nStart, m_nMsgBytes);
}

void CSysExReader::Finish()
{
    if (m_state != State::Outside) {
        Skip(m_state == State::Overlong ? SysExSkip::TooLong : SysExSkip::Truncated, m_nStart, m_nMsgBytes);
        m_state = State::Outside;
    }
    m_bInNoise = false;
    // Packets past a gap are only known once the stream is over; counted anew
    // each time so that a second Finish does not count them twice.
    auto& notes = m_haul.m_notes;
    notes.erase(std::remove_if(notes.begin(), notes.end(),
                               [](const CSysExNote& note) { return note.nReason == SysExSkip::AfterGap; }),
                notes.end());
    m_haul.m_aSkipCount[size_t(SysExSkip::AfterGap)] = 0;
    m_haul.m_aSkipBytes[size_t(SysExSkip::AfterGap)] = 0;
    for (const CVarLayout& kind : kVarLayouts)
        (m_haul.*kind.pItems).ForEachUntaken([this](uint64_t nOffset, size_t nBytes) {
            Skip(SysExSkip::AfterGap, nOffset, nBytes);
        });
}

} // namespace vantorel
