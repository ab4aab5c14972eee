#include "data/PatchDoc.h"

#include <algorithm>

#include "data/DocumentFile.h"
#include "res/strings/views.h"

namespace vantorel {

CFileBounds CPatchDoc::GetFileBounds() const
{
    return FixedBodyBounds<decltype(m_aPatch)>();
}

CDocument::LoadResult CPatchDoc::Serialize(CArchive& ar)
{
    return SerializeFixedBody(ar, kTypePatch, m_aPatch);
}

std::vector<uint8_t> CPatchDoc::GetEntryBytes(int n) const
{
    return RecordBytes(m_aPatch.at(size_t(n)));
}

void CPatchDoc::SetEntryBytes(int n, const std::vector<uint8_t>& bytes)
{
    SetRecordBytes(m_aPatch.at(size_t(n)), bytes);
}

void CPatchDoc::OnEntriesChanged(const std::vector<int>& entries)
{
    for (int n : entries)
        UpdateRow(n);
}

bool CPatchDoc::PutPatch(int n, const CPatchRecord& rec, const std::string& strName)
{
    return ApplyEntries(strName, {{n, RecordBytes(rec)}});
}

bool CPatchDoc::RenamePatch(int n, CConstNameField name)
{
    if (n < 0 || n >= kPatchCount)
        return false;
    CPatchRecord rec = m_aPatch[size_t(n)];
    std::copy(name.begin(), name.end(), rec.NameField().begin());
    return PutPatch(n, rec, res::kEditRename);
}

bool CPatchDoc::InitPatch(int n)
{
    return PutPatch(n, CPatchRecord(), res::kEditInitialize);
}

bool CPatchDoc::CopyPatchTo(int n, const CPatchRecord& src)
{
    return PutPatch(n, src, res::kEditCopy);
}

CRect CPatchDoc::GetRowRect(int n) const
{
    return CRect{0, RowEdge(n, m_nRowHeight), m_nListRightX, RowEdge(int64_t{n} + 1, m_nRowHeight)};
}

void CPatchDoc::UpdateRow(int n)
{
    UpdateRect(*this, GetRowRect(n));
}

void CPatchDoc::UpdateRows(int nOld, int nNew)
{
    ForOldThenNew(nOld, nNew, [this](int n) { UpdateRow(n); });
}

} // namespace vantorel
