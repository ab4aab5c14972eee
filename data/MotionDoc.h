#pragma once
// The four motions A1, A2, B1 and B2, the layout their window draws with, and
// .mtn files (the pattern file's body with 4 entries). The window repaints whole.
#include <array>
#include <cstdint>

#include "data/VarEntry.h"
#include "data/FileHeader.h"
#include "framework/core/Document.h"

namespace vantorel {

// What the constructor puts in every motion (a cleared motion has no data).
inline constexpr std::array<uint8_t, 21> kInitialMotionData = {37, 64, 1,  0,  2,  12, 86, 37, 64, 1, 0,
                                                               2,  12, 86, 37, 64, 1,  0,  2,  12, 86};

// The type in its library files' header.
inline constexpr std::string_view kTypeMotion = "MOTION          ";
static_assert(kTypeMotion.size() == kHeaderTypeSize);

class CMotionDoc : public CDocument {
public:
    static constexpr int kMotionCount = 4;
    // Address room of one motion's data on the device, as for patterns.
    static constexpr uint32_t kItemRoom = 0x100000;

    CMotionDoc();
    const char* GetRuntimeClassName() const override { return "CMotionDoc"; }

    // As for patterns: a file that ends early throws and leaves the entries as they were.
    LoadResult Serialize(CArchive& ar) override;
    CFileBounds GetFileBounds() const override;

    // Edits go through InitVarEntry and CopyVarEntryTo (VarEntry.h).
    int GetEntryCount() const override { return kMotionCount; }
    std::vector<uint8_t> GetEntryBytes(int n) const override
    {
        return VarEntryBytes(m_aMotion.at(size_t(n)));
    }

    std::array<CMotionEntry, kMotionCount> m_aMotion;

    // Layout of the list window, in pixels; not stored in files.
    const int m_nListLeftX = 0; // also the left edge of the names
    const int m_nMotionColumnX = 29;
    const int m_nListRightX = 149;
    const int m_nListHeight = 64;
    const int m_nRowHeight = 16;
    const int m_nScrollWidth = 150;
    const int m_nScrollHeight = 65;

protected:
    void SetEntryBytes(int n, const std::vector<uint8_t>& bytes) override
    {
        SetVarEntryBytes(m_aMotion.at(size_t(n)), bytes);
    }
};

} // namespace vantorel
