#pragma once
// Pattern and motion entries: a byte sequence of any length as the
// synthesizer hands it out, a separate one-byte value and a flag. Both kinds
// share this entry and one file body layout:
//   value (1), flag (1: 1 when non-zero), count (4, LSB first), data (count).
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string_view>
#include <vector>

#include "data/FileHeader.h"
#include "framework/core/Archive.h"
#include "framework/core/Document.h"

namespace vantorel {

inline constexpr size_t kVarEntryValueOffset = 0;
inline constexpr size_t kVarEntryFlagOffset = 1;
inline constexpr size_t kVarEntryCountOffset = 2;
inline constexpr size_t kVarEntryDataOffset = 6; // size of an empty entry in a file
// The file keeps the count in 32 bits, so an entry never grows past that.
inline constexpr size_t kVarEntryMaxSize = std::numeric_limits<uint32_t>::max();

class CVarEntry {
public:
    // Data empty (storage released), value 1, flag 1.
    void Clear();
    // Adds one byte at the end; throws std::length_error past kVarEntryMaxSize.
    void Append(uint8_t by);
    // Replaces the data bytes; value and flag stay.
    void SetData(const uint8_t* p, size_t n);
    void SetData(std::vector<uint8_t>&& data);

    size_t GetSize() const { return m_data.size(); }
    const uint8_t* GetData() const { return m_data.data(); }
    uint8_t* GetData() { return m_data.data(); }
    const std::vector<uint8_t>& GetBytes() const { return m_data; }

    bool operator==(const CVarEntry&) const = default;

    uint8_t m_byValue = 1;
    uint32_t m_dwFlag = 1;

private:
    std::vector<uint8_t> m_data;
};

class CPatternEntry : public CVarEntry {};
class CMotionEntry : public CVarEntry {};

// An entry as an edit carries it: value, flag (as 4 bytes, LSB first), data.
inline constexpr size_t kEditValueOffset = 0;
inline constexpr size_t kEditFlagSize = 4;
inline constexpr size_t kEditDataOffset = 1 + kEditFlagSize;
std::vector<uint8_t> VarEntryBytes(const CVarEntry& entry);
// Bytes too short for value and flag are not an entry and are ignored.
void SetVarEntryBytes(CVarEntry& entry, const std::vector<uint8_t>& bytes);

// Edits of any document of variable entries (one entry per row), each one
// undo step; false when it would change nothing. Initialize clears the entry;
// a copy makes a cleared entry (value and flag 1) holding the source's data.
bool InitVarEntry(CDocument& doc, int n);
bool CopyVarEntryTo(CDocument& doc, int n, const CVarEntry& src);

// One entry in the body layout above.
void StoreVarEntry(CArchive& ar, const CVarEntry& entry);
// Clears entry, then reads it. A count larger than what the file still holds
// throws CArchiveException before anything is allocated.
void LoadVarEntry(CArchive& ar, CVarEntry& entry);

// The largest file of nCount entries when no item holds more data than the
// device's address room for one item.
constexpr CFileBounds VarEntriesBounds(size_t nCount, uint64_t nItemRoom)
{
    return CFileBounds{kFileHeaderSize, kFileHeaderSize + nCount * (kVarEntryDataOffset + nItemRoom)};
}

// Header and all entries. Loading fills a fresh set and swaps it in only when
// every entry has been read, so a file that ends early leaves entries as they were.
template <class TEntry, size_t N>
CDocument::LoadResult SerializeVarEntries(CArchive& ar, std::string_view type, std::array<TEntry, N>& entries)
{
    if (ar.IsStoring()) {
        StoreFileHeader(ar, type);
        for (const TEntry& e : entries)
            StoreVarEntry(ar, e);
        return CDocument::LoadResult::Ok;
    }
    if (!LoadFileHeader(ar, type))
        return CDocument::LoadResult::HeaderMismatch;
    auto loaded = std::make_unique<std::array<TEntry, N>>();
    for (TEntry& e : *loaded)
        LoadVarEntry(ar, e);
    entries.swap(*loaded);
    return CDocument::LoadResult::Ok;
}

} // namespace vantorel
