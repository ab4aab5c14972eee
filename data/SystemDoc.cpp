#include "data/SystemDoc.h"

#include <algorithm>

#include "data/DocumentFile.h"

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

CFileBounds CSystemDoc::GetFileBounds() const { return FixedBodyBounds<decltype(m_aSystem)>(); }

CDocument::LoadResult CSystemDoc::Serialize(CArchive& ar) { return SerializeFixedBody(ar, kTypeSystem, m_aSystem); }

void CSystemDoc::InitSystemParameter()
{
    std::copy(kSystemParameterDefaults.begin(), kSystemParameterDefaults.end(),
              m_aSystem.begin() + kSystemParameterOffset);
}

void CSystemDoc::InitTxRxSetting()
{
    std::copy(kTxRxSettingDefaults.begin(), kTxRxSettingDefaults.end(), m_aSystem.begin() + kTxRxSettingOffset);
}

} // namespace vantorel
