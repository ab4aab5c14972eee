#include "data/VarEntry.h"

#include <stdexcept>
#include <utility>

#include "res/strings/views.h"

namespace vantorel {

void CVarEntry::Clear()
{
    std::vector<uint8_t>().swap(m_data); // release the storage, not just the count
    m_byValue = 1;
    m_dwFlag = 1;
}

void CVarEntry::Append(uint8_t by)
{
    if (m_data.size() >= kVarEntryMaxSize)
        throw std::length_error("entry longer than a file can hold");
    m_data.push_back(by);
}

void CVarEntry::SetData(const uint8_t* p, size_t n)
{
    if (n > kVarEntryMaxSize)
        throw std::length_error("entry longer than a file can hold");
    if (n == 0) {
        m_data.clear();
        return;
    }
    m_data.assign(p, p + n);
}

void CVarEntry::SetData(std::vector<uint8_t>&& data)
{
    if (data.size() > kVarEntryMaxSize)
        throw std::length_error("entry longer than a file can hold");
    m_data = std::move(data);
}

namespace {
std::vector<uint8_t> ClearedWithData(const std::vector<uint8_t>& data)
{
    CVarEntry e;
    e.Clear();
    std::vector<uint8_t> bytes = VarEntryBytes(e);
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}
} // namespace

std::vector<uint8_t> VarEntryBytes(const CVarEntry& entry)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(kEditDataOffset + entry.GetSize());
    bytes.push_back(entry.m_byValue);
    for (size_t i = 0; i < kEditFlagSize; ++i)
        bytes.push_back(static_cast<uint8_t>(entry.m_dwFlag >> (8 * i)));
    bytes.insert(bytes.end(), entry.GetBytes().begin(), entry.GetBytes().end());
    return bytes;
}

void SetVarEntryBytes(CVarEntry& entry, const std::vector<uint8_t>& bytes)
{
    if (bytes.size() < kEditDataOffset)
        return;
    entry.Clear();
    entry.m_byValue = bytes[0];
    uint32_t dwFlag = 0;
    for (size_t i = 0; i < kEditFlagSize; ++i)
        dwFlag |= uint32_t{bytes[1 + i]} << (8 * i);
    entry.m_dwFlag = dwFlag;
    entry.SetData(std::vector<uint8_t>(bytes.begin() + kEditDataOffset, bytes.end()));
}

bool InitVarEntry(CDocument& doc, int n)
{
    return doc.ApplyEntries(res::kEditInitialize, {{n, ClearedWithData({})}});
}

bool CopyVarEntryTo(CDocument& doc, int n, const CVarEntry& src)
{
    return doc.ApplyEntries(res::kEditCopy, {{n, ClearedWithData(src.GetBytes())}});
}

void StoreVarEntry(CArchive& ar, const CVarEntry& entry)
{
    ar.WriteByte(entry.m_byValue);
    ar.WriteByte(entry.m_dwFlag != 0 ? 1 : 0);
    ar.WriteUInt32LE(static_cast<uint32_t>(entry.GetSize()));
    if (entry.GetSize() != 0)
        ar.Write(entry.GetData(), entry.GetSize());
}

void LoadVarEntry(CArchive& ar, CVarEntry& entry)
{
    entry.Clear();
    entry.m_byValue = ar.ReadByte();
    entry.m_dwFlag = ar.ReadByte() != 0 ? 1 : 0;
    const uint32_t dwCount = ar.ReadUInt32LE();
    // A damaged count must not turn into a huge allocation: the bytes it
    // promises have to be in the file already.
    if (dwCount > ar.BytesLeft())
        throw CArchiveException("entry count larger than the rest of the file");
    std::vector<uint8_t> data(dwCount);
    if (dwCount != 0)
        ar.Read(data.data(), data.size());
    entry.SetData(std::move(data));
}

} // namespace vantorel
