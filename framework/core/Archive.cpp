#include "framework/core/Archive.h"

#include <cstring>

namespace vantorel {

CArchive::CArchive(std::vector<uint8_t>& out) : m_pOut(&out) {}

CArchive::CArchive(const uint8_t* data, size_t size) : m_pIn(data), m_nSize(data ? size : 0) {}

void CArchive::Write(const void* p, size_t n)
{
    if (!m_pOut)
        throw std::logic_error("write to a loading archive");
    const auto* b = static_cast<const uint8_t*>(p);
    m_pOut->insert(m_pOut->end(), b, b + n);
}

void CArchive::WriteByte(uint8_t b)
{
    Write(&b, 1);
}

void CArchive::WriteUInt32LE(uint32_t v)
{
    const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    Write(b, sizeof b);
}

void CArchive::Read(void* p, size_t n)
{
    if (m_pOut)
        throw std::logic_error("read from a storing archive");
    if (n > BytesLeft())
        throw CArchiveException("read past the end of the file");
    if (n)
        std::memcpy(p, m_pIn + m_nPos, n);
    m_nPos += n;
}

uint8_t CArchive::ReadByte()
{
    uint8_t b = 0;
    Read(&b, 1);
    return b;
}

uint32_t CArchive::ReadUInt32LE()
{
    uint8_t b[4];
    Read(b, sizeof b);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

} // namespace vantorel
