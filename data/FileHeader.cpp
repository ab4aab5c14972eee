#include "data/FileHeader.h"

#include <algorithm>

#include "framework/core/Archive.h"

namespace vantorel {

namespace {
// Compares the whole field whatever it finds on the way: no early exit.
bool FieldEquals(const std::array<uint8_t, kFileHeaderSize>& data, size_t offset, size_t size,
                 std::string_view text, char pad)
{
    unsigned diff = 0;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t want = static_cast<uint8_t>(i < text.size() ? text[i] : pad);
        diff |= unsigned(data[offset + i] ^ want);
    }
    return diff == 0;
}

void SetField(std::array<uint8_t, kFileHeaderSize>& data, size_t offset, size_t size, std::string_view text,
              char pad)
{
    for (size_t i = 0; i < size; ++i)
        data[offset + i] = static_cast<uint8_t>(i < text.size() ? text[i] : pad);
}
} // namespace

void CFileHeader::SetModel()
{
    SetField(m_data, kHeaderModelOffset, kHeaderModelSize, kHeaderModel, ' ');
}

bool CFileHeader::CheckModel() const
{
    return FieldEquals(m_data, kHeaderModelOffset, kHeaderModelSize, kHeaderModel, ' ');
}

void CFileHeader::SetType(std::string_view type)
{
    SetField(m_data, kHeaderTypeOffset, kHeaderTypeSize, type, ' ');
}

bool CFileHeader::CheckType(std::string_view type) const
{
    return FieldEquals(m_data, kHeaderTypeOffset, kHeaderTypeSize, type, ' ');
}

void CFileHeader::SetVersion()
{
    SetField(m_data, kHeaderVersionOffset, kHeaderVersionSize, kHeaderVersion, ' ');
}

bool CFileHeader::CheckVersion() const
{
    return FieldEquals(m_data, kHeaderVersionOffset, kHeaderVersionSize, kHeaderVersion, ' ');
}

void StoreFileHeader(CArchive& ar, std::string_view type)
{
    CFileHeader header;
    header.SetModel();
    std::fill(header.m_data.begin() + kHeaderReservedOffset, header.m_data.end(), uint8_t{0});
    header.SetType(type);
    header.SetVersion();
    ar.Write(header.Data(), header.m_data.size());
}

bool LoadFileHeader(CArchive& ar, std::string_view type)
{
    CFileHeader header;
    ar.Read(header.Data(), header.m_data.size());
    // All three checks run, so every field is looked at in full.
    const bool bModel = header.CheckModel();
    const bool bType = header.CheckType(type);
    const bool bVersion = header.CheckVersion();
    return bModel && bType && bVersion;
}

} // namespace vantorel
