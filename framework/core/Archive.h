#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace vantorel {

// Thrown when a loading archive is asked for more bytes than the file holds.
class CArchiveException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A byte stream that is either storing (appending to a buffer) or loading
// (reading from a block of bytes). Reads never go past the end: a short read
// throws CArchiveException and consumes nothing.
class CArchive {
public:
    // Storing archive: bytes are appended to out.
    explicit CArchive(std::vector<uint8_t>& out);
    // Loading archive over size bytes at data (not copied; must outlive the archive).
    CArchive(const uint8_t* data, size_t size);

    bool IsStoring() const { return m_pOut != nullptr; }
    bool IsLoading() const { return m_pOut == nullptr; }

    void Write(const void* p, size_t n);
    void WriteByte(uint8_t b);
    void WriteUInt32LE(uint32_t v);

    void Read(void* p, size_t n);
    uint8_t ReadByte();
    uint32_t ReadUInt32LE();

    // Bytes not yet read (loading); 0 for a storing archive.
    size_t BytesLeft() const { return m_nSize - m_nPos; }
    size_t Position() const { return m_nPos; }

private:
    std::vector<uint8_t>* m_pOut = nullptr;
    const uint8_t* m_pIn = nullptr;
    size_t m_nSize = 0;
    size_t m_nPos = 0;
};

} // namespace vantorel
