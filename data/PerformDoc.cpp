#include "data/PerformDoc.h"

#include "data/DocumentFile.h"

namespace vantorel {

CFileBounds CPerformDoc::GetFileBounds() const { return FixedBodyBounds<decltype(m_aPerform)>(); }

CDocument::LoadResult CPerformDoc::Serialize(CArchive& ar)
{
    return SerializeFixedBody(ar, kTypePerformance, m_aPerform);
}

CRect CPerformDoc::GetPerformanceRowRect(int n) const
{
    return CRect{m_nRowLeftX, RowEdge(n, m_nPerformanceRowHeight), m_nListRightX,
                 RowEdge(int64_t{n} + 1, m_nPerformanceRowHeight)};
}

CRect CPerformDoc::GetPatchRowRect(int k) const
{
    return CRect{m_nPatchColumnX, RowEdge(k, m_nPatchRowHeight), m_nListRightX,
                 RowEdge(int64_t{k} + 1, m_nPatchRowHeight)};
}

CRect CPerformDoc::GetEntryRect(int n, bool bPatchColumn, bool bFirstPatch) const
{
    if (!bPatchColumn)
        return CRect{m_nNameColumnX, RowEdge(n, m_nPerformanceRowHeight), m_nListRightX,
                     RowEdge(int64_t{n} + 1, m_nPerformanceRowHeight)};
    // The two patches of performance n are patch rows 2n and 2n + 1.
    const int64_t k = int64_t{n} * CPerformRecord::kPatchCount + (bFirstPatch ? 0 : 1);
    return CRect{m_nPatchColumnX, RowEdge(k, m_nPatchRowHeight), m_nListRightX, RowEdge(k + 1, m_nPatchRowHeight)};
}

void CPerformDoc::UpdatePerformanceRow(int n) { UpdateRect(*this, GetPerformanceRowRect(n)); }

void CPerformDoc::UpdatePatchRow(int k) { UpdateRect(*this, GetPatchRowRect(k)); }

void CPerformDoc::UpdatePerformanceRows(int nOld, int nNew)
{
    ForOldThenNew(nOld, nNew, [this](int n) { UpdatePerformanceRow(n); });
}

void CPerformDoc::UpdatePatchRows(int nOld, int nNew)
{
    ForOldThenNew(nOld, nNew, [this](int k) { UpdatePatchRow(k); });
}

} // namespace vantorel
