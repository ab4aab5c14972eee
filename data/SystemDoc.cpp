#include "data/SystemDoc.h"

#include <algorithm>

#include "data/DocumentFile.h"
#include "res/strings/views.h"

namespace vantorel {

namespace {
constexpr std::array<uint8_t, CSystemDoc::kSystemParameterSize> kSystemParameterDefaults = {
    2, 0, 15, 0, 0, 1, 0, 0, 2, 17, 50, 0, 0, 0, 0, 0, 2, 2, 0, 0, 2, 0, 0};

constexpr std::array<uint8_t, CSystemDoc::kTxRxSettingSize> kTxRxSettingDefaults = {
    16, 20, 17, 70, 8,  18, 22, 25, 26, 27, 4,  76, 21, 77, 78, 79, 74, 71, 30, 19, 23,
    81, 82, 83, 28, 29, 7,  80, 24, 73, 75, 31, 72, 92, 95, 93, 12, 13, 94, 5,  32, 2};
} // namespace

CSystemDoc::CSystemDoc()
{
    InitSystemParameter();
    InitTxRxSetting();
}

CFileBounds CSystemDoc::GetFileBounds() const
{
    return FixedBodyBounds<decltype(m_aSystem)>();
}

CDocument::LoadResult CSystemDoc::Serialize(CArchive& ar)
{
    return SerializeFixedBody(ar, kTypeSystem, m_aSystem);
}

size_t CSystemDoc::BlockOffset(int nBlock)
{
    return nBlock == kBlockSystemParameter ? kSystemParameterOffset : kTxRxSettingOffset;
}

size_t CSystemDoc::BlockSize(int nBlock)
{
    return nBlock == kBlockSystemParameter ? kSystemParameterSize : kTxRxSettingSize;
}

std::vector<uint8_t> CSystemDoc::GetEntryBytes(int nBlock) const
{
    const auto first = m_aSystem.begin() + static_cast<std::ptrdiff_t>(BlockOffset(nBlock));
    return std::vector<uint8_t>(first, first + static_cast<std::ptrdiff_t>(BlockSize(nBlock)));
}

void CSystemDoc::SetEntryBytes(int nBlock, const std::vector<uint8_t>& bytes)
{
    if (bytes.size() == BlockSize(nBlock))
        std::copy(bytes.begin(), bytes.end(),
                  m_aSystem.begin() + static_cast<std::ptrdiff_t>(BlockOffset(nBlock)));
}

bool CSystemDoc::InitializeBlock(int nBlock)
{
    const std::vector<uint8_t> defaults =
        nBlock == kBlockSystemParameter
            ? std::vector<uint8_t>(kSystemParameterDefaults.begin(), kSystemParameterDefaults.end())
            : std::vector<uint8_t>(kTxRxSettingDefaults.begin(), kTxRxSettingDefaults.end());
    return ApplyEntries(res::kEditInitialize, {{nBlock, defaults}});
}

bool CSystemDoc::CopyBlockTo(int nBlock, const uint8_t* pSource)
{
    return ApplyEntries(res::kEditCopy,
                        {{nBlock, std::vector<uint8_t>(pSource, pSource + BlockSize(nBlock))}});
}

void CSystemDoc::InitSystemParameter()
{
    std::copy(kSystemParameterDefaults.begin(), kSystemParameterDefaults.end(),
              m_aSystem.begin() + kSystemParameterOffset);
}

void CSystemDoc::InitTxRxSetting()
{
    std::copy(kTxRxSettingDefaults.begin(), kTxRxSettingDefaults.end(),
              m_aSystem.begin() + kTxRxSettingOffset);
}

} // namespace vantorel
