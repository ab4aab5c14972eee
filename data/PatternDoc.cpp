#include "data/PatternDoc.h"

#include "data/DocumentFile.h"

namespace vantorel {

CPatternDoc::CPatternDoc()
{
    for (CPatternEntry& e : m_aPattern)
        e.SetData(kInitialPatternData.data(), kInitialPatternData.size());
}

CFileBounds CPatternDoc::GetFileBounds() const
{
    return VarEntriesBounds(kPatternCount, kItemRoom);
}

CDocument::LoadResult CPatternDoc::Serialize(CArchive& ar)
{
    return SerializeVarEntries(ar, kTypePattern, m_aPattern);
}

CRect CPatternDoc::GetRowRect(int n) const
{
    return CRect{m_nKeyboardWidth, RowEdge(n, m_nRowHeight), m_nListRightX,
                 RowEdge(int64_t{n} + 1, m_nRowHeight)};
}

void CPatternDoc::UpdateRows(int nOld, int nNew)
{
    ForOldThenNew(nOld, nNew, [this](int n) { UpdateRect(*this, GetRowRect(n)); });
}

} // namespace vantorel
