#include "data/PatchDoc.h"

#include "data/DocumentFile.h"

namespace vantorel {

CFileBounds CPatchDoc::GetFileBounds() const { return FixedBodyBounds<decltype(m_aPatch)>(); }

CDocument::LoadResult CPatchDoc::Serialize(CArchive& ar) { return SerializeFixedBody(ar, kTypePatch, m_aPatch); }

CRect CPatchDoc::GetRowRect(int n) const
{
    return CRect{0, RowEdge(n, m_nRowHeight), m_nListRightX, RowEdge(int64_t{n} + 1, m_nRowHeight)};
}

void CPatchDoc::UpdateRow(int n) { UpdateRect(*this, GetRowRect(n)); }

void CPatchDoc::UpdateRows(int nOld, int nNew)
{
    ForOldThenNew(nOld, nNew, [this](int n) { UpdateRow(n); });
}

} // namespace vantorel
