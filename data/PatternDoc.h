#pragma once
// The 48 patterns, one per key from C#2 to C6, the layout their window draws
// with, and .ptn files.
#include <array>
#include <cstdint>

#include "data/VarEntry.h"
#include "data/FileHeader.h"
#include "framework/core/Document.h"
#include "framework/core/Rect.h"

namespace vantorel {

// What the constructor puts in every pattern (a cleared pattern has no data).
inline constexpr std::array<uint8_t, 14> kInitialPatternData = {21, 64, 78, 0, 32, 45, 90,
                                                                21, 64, 78, 0, 32, 45, 90};

// The type in its library files' header.
inline constexpr std::string_view kTypePattern = "PATTERN         ";
static_assert(kTypePattern.size() == kHeaderTypeSize);

class CPatternDoc : public CDocument {
public:
    static constexpr int kPatternCount = 48;
    // The device gives each pattern's data this much address room, the next
    // pattern starting where it ends: no pattern holds more.
    static constexpr uint32_t kItemRoom = 0x4000;

    CPatternDoc();
    const char* GetRuntimeClassName() const override { return "CPatternDoc"; }

    // Storing: header and the 48 entries. Loading: header check, then the
    // entries; a file that ends early throws and leaves the entries as they were.
    LoadResult Serialize(CArchive& ar) override;
    CFileBounds GetFileBounds() const override;

    // Edits go through InitVarEntry and CopyVarEntryTo (VarEntry.h).
    int GetEntryCount() const override { return kPatternCount; }
    std::vector<uint8_t> GetEntryBytes(int n) const override
    {
        return VarEntryBytes(m_aPattern.at(size_t(n)));
    }

    // Row n: (56, 16n, 205, 16(n + 1)).
    CRect GetRowRect(int n) const;
    // Repaints the old row, then the new one; a negative row means none.
    void UpdateRows(int nOld, int nNew);

    std::array<CPatternEntry, kPatternCount> m_aPattern;

    // Layout of the list window, in pixels; not stored in files.
    const int m_nBlackKeyX = 18;
    const int m_nKeyboardWidth = 56; // also the left edge of the note names
    const int m_nPatternColumnX = 85;
    const int m_nListRightX = 205;
    const int m_nListHeight = 768;
    const int m_nRowHeight = 16;
    const int m_nScrollWidth = 206;
    const int m_nScrollHeight = 769;

protected:
    void SetEntryBytes(int n, const std::vector<uint8_t>& bytes) override
    {
        SetVarEntryBytes(m_aPattern.at(size_t(n)), bytes);
    }
    // The window shows no entry's data, only what is selected.
    void OnEntriesChanged(const std::vector<int>&) override {}
};

} // namespace vantorel
