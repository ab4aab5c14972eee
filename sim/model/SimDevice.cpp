#include "sim/model/SimDevice.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>

#include "framework/core/SafeFile.h"
#include "midi/msg/SysEx.h"
#include "res/strings/sim.h"

namespace vantorel {

namespace {

constexpr size_t kAddressOffset = 6; // after F0 41 10 00 06 cmd
constexpr size_t kSizeOffset = 10;   // requests: after the address
constexpr size_t kDataOffset = 10;   // data sets: after the address
constexpr uint8_t kHeader[] = {sysex::kExclusiveStatus, sysex::kManufacturerId, sysex::kDeviceId, 0x00,
                               sysex::kModelId};

// A data set of any length; the program's own builder stops at what fits
// a port buffer.
std::vector<uint8_t> BuildAnyDataSet(uint32_t address, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> out(std::begin(kHeader), std::end(kHeader));
    out.push_back(sysex::kDataSet);
    for (int shift : {21, 14, 7, 0})
        out.push_back(uint8_t((address >> shift) & 0x7F));
    out.insert(out.end(), data.begin(), data.end());
    out.push_back(Checksum(out.data() + kAddressOffset, out.size() - kAddressOffset));
    out.push_back(sysex::kEndOfExclusive);
    return out;
}

} // namespace

// Where an address lands: a fixed block (or a value byte), or an item's data.
struct CSimDevice::CLocation {
    uint8_t* pBlock = nullptr;
    size_t nBlockSize = 0;
    CSimItem* pItem = nullptr;
    size_t nItemCapacity = 0; // the item's address range
    size_t nOffset = 0;
};

CSimDevice::CSimDevice()
{
    LoadFactoryMemory();
}

bool CSimDevice::Locate(uint32_t address, CLocation& loc) const
{
    // Memory is only ever changed through the non-const callers.
    auto* self = const_cast<CSimDevice*>(this);
    auto fixed = [&loc](uint8_t* p, size_t size, size_t offset) {
        loc.pBlock = p;
        loc.nBlockSize = size;
        loc.nOffset = offset;
        return true;
    };
    auto inPerformance = [&](CPerformanceBytes& record, uint32_t rel) {
        for (const auto& block : sim::kPerformanceLayout)
            if (rel >= block.dwOffset && rel < block.dwOffset + block.nSize)
                return fixed(record.data() + block.nRecordOffset, block.nSize, rel - block.dwOffset);
        return false;
    };

    using namespace sim;
    if (address < kSystemParamsAddress + kSystemParamsSize)
        return fixed(self->m_system.data(), kSystemParamsSize, address - kSystemParamsAddress);
    if (address >= kTxRxAddress && address < kTxRxAddress + kTxRxSize)
        return fixed(self->m_system.data() + kSystemParamsSize, kTxRxSize, address - kTxRxAddress);
    if (address >= kPatternValueAddress && address < kPatternValueAddress + kPatternCount)
        return fixed(&self->m_patterns[address - kPatternValueAddress].m_nValue, 1, 0);
    if (address >= kMotionValueAddress && address < kMotionValueAddress + kMotionCount)
        return fixed(&self->m_motions[address - kMotionValueAddress].m_nValue, 1, 0);
    if (address >= kScratchAddress && address < kScratchAddress + kPerformanceStride)
        return inPerformance(self->m_scratch, address - kScratchAddress);
    if (address >= kPatchAddress && address < kPatchAddress + kPatchCount * kPatchStride) {
        const uint32_t rel = address - kPatchAddress;
        const uint32_t offset = rel % kPatchStride;
        if (offset >= kPatchSize)
            return false;
        return fixed(self->m_patches[rel / kPatchStride].data(), kPatchSize, offset);
    }
    if (address >= kPerformanceAddress &&
        address < kPerformanceAddress + kPerformanceCount * kPerformanceStride) {
        const uint32_t rel = address - kPerformanceAddress;
        return inPerformance(self->m_performances[rel / kPerformanceStride], rel % kPerformanceStride);
    }
    auto item = [&loc](CSimItem& it, size_t capacity, size_t offset) {
        loc.pItem = &it;
        loc.nItemCapacity = capacity;
        loc.nOffset = offset;
        return true;
    };
    if (address >= kPatternDataAddress && address < kPatternDataAddress + kPatternCount * kPatternStride) {
        const uint32_t rel = address - kPatternDataAddress;
        return item(self->m_patterns[rel / kPatternStride], kPatternStride, rel % kPatternStride);
    }
    if (address >= kMotionDataAddress && address < kMotionDataAddress + kMotionCount * kMotionStride) {
        const uint32_t rel = address - kMotionDataAddress;
        return item(self->m_motions[rel / kMotionStride], kMotionStride, rel % kMotionStride);
    }
    return false;
}

bool CSimDevice::Read(uint32_t address, uint32_t size, std::vector<uint8_t>& out) const
{
    out.clear();
    CLocation loc;
    if (!Locate(address, loc))
        return false;
    if (loc.pBlock) {
        const size_t n = std::min<size_t>(size, loc.nBlockSize - loc.nOffset);
        out.assign(loc.pBlock + loc.nOffset, loc.pBlock + loc.nOffset + n);
        return true;
    }
    // Items are handed out in packets; past the end there is nothing to say.
    const std::vector<uint8_t>& data = loc.pItem->m_data;
    if (loc.nOffset >= data.size())
        return false;
    const size_t n = std::min({size_t(size), sim::kPacketSize, data.size() - loc.nOffset});
    out.assign(data.begin() + ptrdiff_t(loc.nOffset), data.begin() + ptrdiff_t(loc.nOffset + n));
    return true;
}

bool CSimDevice::Write(uint32_t address, const uint8_t* bytes, size_t count, std::string* pWhy)
{
    const auto refuse = [pWhy](std::string why) {
        if (pWhy)
            *pWhy = std::move(why);
        return false;
    };
    CLocation loc;
    if (!Locate(address, loc))
        return refuse("no memory at the data set's address");
    if (!bytes)
        count = 0;
    // Blocks and items have fixed rooms: a data set that would run past its
    // own is refused whole, as the bytes beyond belong to something else.
    if (loc.pBlock) {
        if (count > loc.nBlockSize - loc.nOffset)
            return refuse(std::to_string(count) + " data bytes at offset " + std::to_string(loc.nOffset) +
                          " run past the end of its block of " + std::to_string(loc.nBlockSize));
        std::copy_n(bytes, count, loc.pBlock + loc.nOffset);
        return true;
    }
    if (loc.nOffset % sim::kPacketSize != 0)
        return refuse("item data at offset " + std::to_string(loc.nOffset) + " is not where a packet starts");
    if (count > loc.nItemCapacity - loc.nOffset)
        return refuse(std::to_string(count) + " data bytes at offset " + std::to_string(loc.nOffset) +
                      " run past the end of its memory of " + std::to_string(loc.nItemCapacity) + " bytes");
    // The packet that arrives last decides where the item ends: sending an
    // item always ends with its last (short or empty) packet.
    std::vector<uint8_t>& data = loc.pItem->m_data;
    data.resize(loc.nOffset + count, 0);
    std::copy_n(bytes, count, data.begin() + ptrdiff_t(loc.nOffset));
    return true;
}

std::vector<uint8_t> CSimDevice::StrayFor(uint32_t address) const
{
    // Any well-formed data set for an address other than the one asked for.
    const uint32_t other = address < sim::kSystemParamsSize ? sim::kTxRxAddress : sim::kSystemParamsAddress;
    std::vector<uint8_t> data;
    Read(other, uint32_t(sim::kSystemSize), data);
    return BuildDataSet(other, data.data(), data.size());
}

std::vector<CSimAnswer> CSimDevice::Ignore(std::string why)
{
    ++m_nIgnored;
    m_strLastIgnored = std::move(why);
    return {};
}

std::vector<CSimAnswer> CSimDevice::Receive(const uint8_t* bytes, size_t count)
{
    std::vector<CSimAnswer> answers;
    const bool framed = bytes && count >= sysex::kDataSetOverhead &&
                        bytes[count - 1] == sysex::kEndOfExclusive &&
                        std::equal(std::begin(kHeader), std::end(kHeader), bytes);
    if (!framed)
        return Ignore("not an exclusive message for this device");
    // A real device ignores the whole message for any byte of 0x80 or above
    // between F0 and F7, real-time bytes included.
    const auto high = std::find_if(bytes + 1, bytes + count - 1, [](uint8_t b) { return b >= 0x80; });
    if (high != bytes + count - 1) {
        char why[80];
        std::snprintf(why, sizeof why, "data byte %02X at offset %zu is 0x80 or above", *high,
                      size_t(high - bytes));
        return Ignore(why);
    }
    // Address, size and data plus the checksum add up to a multiple of 128.
    if (Checksum(bytes + kAddressOffset, count - kAddressOffset - 2) != bytes[count - 2])
        return Ignore("wrong checksum");
    const uint8_t command = bytes[sizeof(kHeader)];
    const uint32_t address = DecodeWireAddress(bytes + kAddressOffset);

    if (command == sysex::kDataSet) {
        ++m_nDataSets;
        if (std::string why; !Write(address, bytes + kDataOffset, count - sysex::kDataSetOverhead, &why))
            Ignore(std::move(why));
        return answers;
    }
    if (command != sysex::kDataRequest || count != sysex::kRequestLength)
        return Ignore("neither a data set nor a data request");
    ++m_nRequests;
    std::vector<uint8_t> data;
    if (!Read(address, DecodeWireAddress(bytes + kSizeOffset), data))
        return answers;

    const int n = ++m_nAnswers;
    auto every = [n](int nEvery) { return nEvery > 0 && n % nEvery == 0; };
    int64_t delayUs = int64_t(std::max(m_faults.m_nResponseDelayMs, 0)) * 1000;
    if (every(m_faults.m_nLateEvery))
        delayUs += int64_t(std::max(m_faults.m_nLateMs, 0)) * 1000;
    if (every(m_faults.m_nStrayEvery))
        answers.push_back({StrayFor(address), delayUs});
    if (every(m_faults.m_nDropEvery))
        return answers;
    if (every(m_faults.m_nEndlessEvery)) {
        // What was asked for, then on and on.
        const size_t nAsked = data.size();
        data.resize(kEndlessAnswerBytes);
        for (size_t i = nAsked; i < data.size(); ++i)
            data[i] = uint8_t(i & 0x7F);
    } else if (every(m_faults.m_nShortEvery)) {
        data.resize(data.size() / 2);
    }
    CSimAnswer answer{BuildAnyDataSet(address, data), delayUs};
    if (every(m_faults.m_nCorruptEvery)) {
        uint8_t& sum = answer.m_bytes[answer.m_bytes.size() - 2];
        sum = uint8_t((sum + 1) & 0x7F);
    }
    answers.push_back(std::move(answer));
    return answers;
}

void CSimDevice::ResetCounters()
{
    m_nRequests = m_nDataSets = m_nAnswers = m_nIgnored = 0;
}

std::string CSimDevice::GetName(const uint8_t* record)
{
    return std::string(reinterpret_cast<const char*>(record), sim::kNameLength);
}

void CSimDevice::SetName(uint8_t* record, const std::string& name)
{
    for (size_t i = 0; i < sim::kNameLength; ++i)
        record[i] = i < name.size() ? uint8_t(name[i]) : uint8_t(' ');
}

// ---------------------------------------------------------------------------
// Factory memory: fixed, recognisable content whose names and lengths differ
// from what the program starts with, so that every fetch visibly changes a
// window. Item lengths cover the packet edge cases: exactly one packet, one
// byte over, empty, exactly two packets and more than two.

namespace {

const char* const kPatchKinds[] = {"Warm Pad", "Glass Bell", "Deep Bass", "Brass Hit",
                                   "Soft Str", "Saw Lead",   "Organ",     "E.Piano"};

std::string Numbered(const char* stem, int n, int width)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s %0*d", stem, width, n);
    return buf;
}

void FillPatch(uint8_t* p, const std::string& name, int seed)
{
    CSimDevice::SetName(p, name);
    for (size_t k = sim::kNameLength; k < sim::kPatchSize; ++k)
        p[k] = uint8_t((size_t(seed) * 31 + k * 7 + 3) & 0x7F);
}

void FillItem(CSimItem& item, uint8_t value, size_t length, int seed)
{
    item.m_nValue = value;
    item.m_data.resize(length);
    for (size_t j = 0; j < length; ++j)
        item.m_data[j] = uint8_t((size_t(seed) * 13 + j * 5 + 1) & 0x7F);
}

constexpr size_t kFactoryPatternLengths[] = {120, 231, 240, 0, 700, 462};
constexpr size_t kFactoryMotionLengths[] = {231, 240, 0, 800};

} // namespace

void CSimDevice::LoadFactoryMemory()
{
    for (int i = 0; i < sim::kPatchCount; ++i)
        FillPatch(m_patches[size_t(i)].data(), Numbered(kPatchKinds[i % 8], i + 1, 3), i);

    for (int p = 0; p < sim::kPerformanceCount; ++p) {
        CPerformanceBytes& r = m_performances[size_t(p)];
        SetName(r.data(), Numbered("Stage Set", p + 1, 2));
        for (size_t k = sim::kNameLength; k < sim::kPerformanceLayout[3].nRecordOffset; ++k)
            r[k] = uint8_t((size_t(p) * 3 + k) & 0x7F);
        FillPatch(r.data() + sim::kPerformanceLayout[3].nRecordOffset, Numbered("Upper Voice", p + 1, 2),
                  500 + p);
        FillPatch(r.data() + sim::kPerformanceLayout[4].nRecordOffset, Numbered("Lower Voice", p + 1, 2),
                  600 + p);
    }

    m_scratch.fill(0);
    SetName(m_scratch.data(), "Audition");

    for (size_t k = 0; k < sim::kSystemSize; ++k)
        m_system[k] = uint8_t((k * 11 + 5) & 0x7F);

    for (int n = 0; n < sim::kPatternCount; ++n) {
        const size_t length = size_t(n) < std::size(kFactoryPatternLengths) ? kFactoryPatternLengths[n]
                                                                            : (size_t(n) * 53 + 17) % 400 + 1;
        FillItem(m_patterns[size_t(n)], uint8_t(2 + n % 5), length, n);
    }
    for (int m = 0; m < sim::kMotionCount; ++m)
        FillItem(m_motions[size_t(m)], uint8_t(3 + m), kFactoryMotionLengths[m], 100 + m);
}

// ---------------------------------------------------------------------------
// Memory image file, all integers little-endian:
//   8 bytes   magic "VSIMIMG" and format version 1
//   128 x 239 patches, 64 x 528 performances (record layout), 528 scratch,
//   65 system bytes
//   48 patterns then 4 motions, each: value (1 byte), length (4 bytes),
//   that many data bytes
// Nothing follows the last motion.

namespace {

constexpr std::array<uint8_t, 8> kImageMagic = {'V', 'S', 'I', 'M', 'I', 'M', 'G', 1};
constexpr size_t kImageLengthSize = 4; // an item's length, lowest byte first
static_assert(kImageLengthSize == sizeof(uint32_t));
constexpr size_t kItemHeader = 1 + kImageLengthSize; // value, then its length

class CImageReader {
public:
    explicit CImageReader(const std::vector<uint8_t>& bytes) : m_bytes(bytes) {}
    bool Read(uint8_t* p, size_t n)
    {
        if (m_bytes.size() - m_nPos < n)
            return false;
        std::copy_n(m_bytes.begin() + ptrdiff_t(m_nPos), n, p);
        m_nPos += n;
        return true;
    }
    bool ReadU32(uint32_t& v)
    {
        uint8_t b[kImageLengthSize];
        if (!Read(b, kImageLengthSize))
            return false;
        v = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
        return true;
    }
    bool AtEnd() const { return m_nPos == m_bytes.size(); }

private:
    const std::vector<uint8_t>& m_bytes;
    size_t m_nPos = 0;
};

void AppendItem(std::vector<uint8_t>& out, const CSimItem& item)
{
    out.push_back(item.m_nValue);
    const auto n = uint32_t(item.m_data.size());
    for (size_t i = 0; i < kImageLengthSize; ++i)
        out.push_back(uint8_t(n >> (8 * i)));
    out.insert(out.end(), item.m_data.begin(), item.m_data.end());
}

bool ReadItem(CImageReader& in, CSimItem& item, size_t capacity)
{
    uint32_t n = 0;
    if (!in.Read(&item.m_nValue, 1) || !in.ReadU32(n) || n > capacity)
        return false;
    item.m_data.resize(n);
    return in.Read(item.m_data.data(), n);
}

bool Fail(std::string* pError, const std::string& text)
{
    if (pError)
        *pError = text;
    return false;
}

} // namespace

std::vector<uint8_t> CSimDevice::SaveImageBytes() const
{
    std::vector<uint8_t> out(kImageMagic.begin(), kImageMagic.end());
    for (const auto& p : m_patches)
        out.insert(out.end(), p.begin(), p.end());
    for (const auto& p : m_performances)
        out.insert(out.end(), p.begin(), p.end());
    out.insert(out.end(), m_scratch.begin(), m_scratch.end());
    out.insert(out.end(), m_system.begin(), m_system.end());
    for (const auto& item : m_patterns)
        AppendItem(out, item);
    for (const auto& item : m_motions)
        AppendItem(out, item);
    return out;
}

bool CSimDevice::LoadImageBytes(const std::vector<uint8_t>& image, std::string* pError)
{
    CImageReader in(image);
    std::array<uint8_t, kImageMagic.size()> magic{};
    if (!in.Read(magic.data(), magic.size()) || magic != kImageMagic)
        return Fail(pError, "not a simulator memory image");

    // Read into a copy so that a bad image changes nothing.
    auto next = std::make_unique<CSimDevice>(*this);
    bool ok = true;
    for (auto& p : next->m_patches)
        ok = ok && in.Read(p.data(), p.size());
    for (auto& p : next->m_performances)
        ok = ok && in.Read(p.data(), p.size());
    ok = ok && in.Read(next->m_scratch.data(), next->m_scratch.size());
    ok = ok && in.Read(next->m_system.data(), next->m_system.size());
    for (auto& item : next->m_patterns)
        ok = ok && ReadItem(in, item, sim::kPatternStride);
    for (auto& item : next->m_motions)
        ok = ok && ReadItem(in, item, sim::kMotionStride);
    if (!ok || !in.AtEnd())
        return Fail(pError, "the memory image is damaged");

    m_patches = next->m_patches;
    m_performances = next->m_performances;
    m_scratch = next->m_scratch;
    m_system = next->m_system;
    m_patterns = std::move(next->m_patterns);
    m_motions = std::move(next->m_motions);
    return true;
}

bool CSimDevice::SaveImage(const std::string& path, std::string* pError) const
{
    const std::vector<uint8_t> bytes = SaveImageBytes();
    const FileFault fault = WriteFileAtomic(path, bytes.data(), bytes.size());
    if (fault == FileFault::None)
        return true;
    const char* reason = res::kSimImageWriteFault;
    switch (fault) {
    case FileFault::NotRegular: reason = res::kSimImageNotRegular; break;
    case FileFault::NoFolder: reason = res::kSimImageNoFolder; break;
    case FileFault::AccessDenied: reason = res::kSimImageAccessDenied; break;
    case FileFault::DiskFull: reason = res::kSimImageDiskFull; break;
    default: break;
    }
    std::string text = res::kSimImageNotWritten;
    text.replace(text.find("%2"), 2, reason);
    text.replace(text.find("%1"), 2, path);
    return Fail(pError, text);
}

size_t CSimDevice::MaxImageSize()
{
    return kImageMagic.size() + sim::kPatchCount * sim::kPatchSize +
           sim::kPerformanceCount * sim::kPerformanceSize + sim::kPerformanceSize + sim::kSystemSize +
           sim::kPatternCount * (kItemHeader + sim::kPatternStride) +
           sim::kMotionCount * (kItemHeader + sim::kMotionStride);
}

bool CSimDevice::LoadImage(const std::string& path, std::string* pError)
{
    // Not blocking on open: a FIFO would wait for a writer for ever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Fail(pError, "cannot read " + path + ": " + std::strerror(errno));
    struct stat st {};
    const bool bStat = ::fstat(fd, &st) == 0;
    if (!bStat || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Fail(pError, "cannot read " + path + ": not a regular file");
    }
    if (size_t(st.st_size) > MaxImageSize()) {
        ::close(fd);
        return Fail(pError, "cannot read " + path + ": " + std::to_string(st.st_size) +
                                " bytes is more than a memory image can have (" +
                                std::to_string(MaxImageSize()) + ")");
    }
    // One byte more than the file claims, to see whether it grew meanwhile.
    std::vector<uint8_t> bytes(size_t(st.st_size) + 1);
    size_t nRead = 0;
    while (nRead < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + nRead, bytes.size() - nRead);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            return Fail(pError, "cannot read " + path + ": " + std::strerror(err));
        }
        if (n == 0)
            break;
        nRead += size_t(n);
    }
    ::close(fd);
    if (nRead != size_t(st.st_size))
        return Fail(pError, "cannot read " + path + ": the file changed while it was read");
    bytes.resize(nRead);
    return LoadImageBytes(bytes, pError);
}

} // namespace vantorel
