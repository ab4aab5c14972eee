#pragma once
// System data: the System Parameter block and the Tx/Rx Setting block, 65
// bytes in all, and .syp files. The two blocks are its entries; they have no
// names.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "data/FileHeader.h"
#include "framework/core/Document.h"

namespace vantorel {

// The type in its library files' header.
inline constexpr std::string_view kTypeSystem = "SYSTEM          ";
static_assert(kTypeSystem.size() == kHeaderTypeSize);

class CSystemDoc : public CDocument {
public:
    static constexpr size_t kSize = 65;
    static constexpr size_t kSystemParameterOffset = 0;
    static constexpr size_t kSystemParameterSize = 23;
    static constexpr size_t kTxRxSettingOffset = 23;
    static constexpr size_t kTxRxSettingSize = 42;

    CSystemDoc();
    const char* GetRuntimeClassName() const override { return "CSystemDoc"; }

    // Storing: header and the 65 bytes. Loading: header check, then the bytes;
    // a short file throws and leaves the data as it was.
    LoadResult Serialize(CArchive& ar) override;
    CFileBounds GetFileBounds() const override;

    // Entry 0 is the System Parameter block, entry 1 the Tx/Rx Setting block.
    static constexpr int kBlockSystemParameter = 0;
    static constexpr int kBlockTxRxSetting = 1;
    int GetEntryCount() const override { return 2; }
    std::vector<uint8_t> GetEntryBytes(int nBlock) const override;
    // The program's edits, each one undo step; false when nothing would change.
    bool InitializeBlock(int nBlock);
    // The block that holds byte nOffset of the 65, and where that block starts.
    static int BlockAt(size_t nOffset)
    {
        return nOffset < kTxRxSettingOffset ? kBlockSystemParameter : kBlockTxRxSetting;
    }
    static size_t BlockOffset(int nBlock);
    bool CopyBlockTo(int nBlock, const uint8_t* pSource);

    // Each writes its block's defaults and leaves the other block alone.
    void InitSystemParameter();
    void InitTxRxSetting();

    uint8_t* SystemParameter() { return m_aSystem.data() + kSystemParameterOffset; }
    uint8_t* TxRxSetting() { return m_aSystem.data() + kTxRxSettingOffset; }

    std::array<uint8_t, kSize> m_aSystem;

    // Layout of the window, in pixels; not stored in files.
    const int m_nScrollWidth = 121;
    const int m_nScrollHeight = 33;
    const int m_nListRightX = 120; // right border line
    const int m_nSplitY = 16;      // line between the two rows
    const int m_nListHeight = 32;  // length of the vertical lines
    const int m_nRowHeight = 16;

protected:
    void SetEntryBytes(int nBlock, const std::vector<uint8_t>& bytes) override;

private:
    static size_t BlockSize(int nBlock);
};

static_assert(CSystemDoc::kSystemParameterSize + CSystemDoc::kTxRxSettingSize == CSystemDoc::kSize);
static_assert(CSystemDoc::kTxRxSettingOffset ==
              CSystemDoc::kSystemParameterOffset + CSystemDoc::kSystemParameterSize);

} // namespace vantorel
