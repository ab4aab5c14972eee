#include "data/PerformDoc.h"

#include <algorithm>

#include "data/DocumentFile.h"
#include "res/strings/views.h"

namespace vantorel {

CFileBounds CPerformDoc::GetFileBounds() const
{
    return FixedBodyBounds<decltype(m_aPerform)>();
}

CDocument::LoadResult CPerformDoc::Serialize(CArchive& ar)
{
    return SerializeFixedBody(ar, kTypePerformance, m_aPerform);
}

std::vector<uint8_t> CPerformDoc::GetEntryBytes(int n) const
{
    return RecordBytes(m_aPerform.at(size_t(n)));
}

void CPerformDoc::SetEntryBytes(int n, const std::vector<uint8_t>& bytes)
{
    SetRecordBytes(m_aPerform.at(size_t(n)), bytes);
}

void CPerformDoc::OnEntriesChanged(const std::vector<int>& entries)
{
    for (int n : entries)
        UpdateRect(*this, GetEntryRect(n, false, false));
}

bool CPerformDoc::PutPerformance(int n, const CPerformRecord& rec, const std::string& strName)
{
    return ApplyEntries(strName, {{n, RecordBytes(rec)}});
}

bool CPerformDoc::PutPatch(int k, const CPatchRecord& rec, const std::string& strName)
{
    const int n = k / CPerformRecord::kPatchCount;
    if (k < 0 || n >= kPerformanceCount)
        return false;
    CPerformRecord perf = m_aPerform[size_t(n)];
    perf.m_aPatch[size_t(k % CPerformRecord::kPatchCount)] = rec;
    return PutPerformance(n, perf, strName);
}

bool CPerformDoc::RenamePerformance(int n, CConstNameField name)
{
    if (n < 0 || n >= kPerformanceCount)
        return false;
    CPerformRecord perf = m_aPerform[size_t(n)];
    std::copy(name.begin(), name.end(), perf.NameField().begin());
    return PutPerformance(n, perf, res::kEditRename);
}

bool CPerformDoc::RenamePatch(int k, CConstNameField name)
{
    if (k < 0 || k >= kPerformanceCount * CPerformRecord::kPatchCount)
        return false;
    CPatchRecord rec =
        m_aPerform[size_t(k / CPerformRecord::kPatchCount)].m_aPatch[size_t(k % CPerformRecord::kPatchCount)];
    std::copy(name.begin(), name.end(), rec.NameField().begin());
    return PutPatch(k, rec, res::kEditRename);
}

bool CPerformDoc::InitPerformance(int n)
{
    return PutPerformance(n, CPerformRecord(), res::kEditInitialize);
}

bool CPerformDoc::InitPatch(int k)
{
    return PutPatch(k, CPatchRecord(), res::kEditInitialize);
}

bool CPerformDoc::CopyPerformanceTo(int n, const CPerformRecord& src)
{
    return PutPerformance(n, src, res::kEditCopy);
}

bool CPerformDoc::CopyPatchTo(int k, const CPatchRecord& src)
{
    return PutPatch(k, src, res::kEditCopy);
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
    return CRect{m_nPatchColumnX, RowEdge(k, m_nPatchRowHeight), m_nListRightX,
                 RowEdge(k + 1, m_nPatchRowHeight)};
}

void CPerformDoc::UpdatePerformanceRow(int n)
{
    UpdateRect(*this, GetPerformanceRowRect(n));
}

void CPerformDoc::UpdatePatchRow(int k)
{
    UpdateRect(*this, GetPatchRowRect(k));
}

void CPerformDoc::UpdatePerformanceRows(int nOld, int nNew)
{
    ForOldThenNew(nOld, nNew, [this](int n) { UpdatePerformanceRow(n); });
}

void CPerformDoc::UpdatePatchRows(int nOld, int nNew)
{
    ForOldThenNew(nOld, nNew, [this](int k) { UpdatePatchRow(k); });
}

} // namespace vantorel
