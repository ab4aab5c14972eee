#pragma once
// The patch bank: 128 patches, the layout its window draws with, and .pat files.
#include <array>
#include <string>
#include <vector>

#include "data/FileHeader.h"
#include "data/PatchRecord.h"
#include "framework/core/Document.h"
#include "framework/core/Rect.h"

namespace vantorel {

// The type in its library files' header.
inline constexpr std::string_view kTypePatch = "USER PATCH      ";
static_assert(kTypePatch.size() == kHeaderTypeSize);

class CPatchDoc : public CDocument {
public:
    static constexpr int kPatchCount = 128;

    CPatchDoc() = default; // records start at their defaults
    const char* GetRuntimeClassName() const override { return "CPatchDoc"; }

    // Storing: header and the 128 records. Loading: header check, then the
    // records; a short file throws and leaves the records as they were.
    LoadResult Serialize(CArchive& ar) override;
    CFileBounds GetFileBounds() const override;

    // The program's edits of the bank; each is one undo step and false when
    // it would change nothing.
    bool PutPatch(int n, const CPatchRecord& rec, const std::string& strName);
    bool RenamePatch(int n, CConstNameField name);
    bool InitPatch(int n);
    bool CopyPatchTo(int n, const CPatchRecord& src);

    int GetEntryCount() const override { return kPatchCount; }
    std::vector<uint8_t> GetEntryBytes(int n) const override;

    // Row n of the list: (0, 16n, 149, 16(n + 1)).
    CRect GetRowRect(int n) const;
    // Repaints row n in every view.
    void UpdateRow(int n);
    // Repaints the old row, then the new one; a negative row means none.
    void UpdateRows(int nOld, int nNew);

    std::array<CPatchRecord, kPatchCount> m_aPatch; // contiguous, index n shown as label n

    // Layout of the list window, in pixels; not stored in files.
    const int m_nNameColumnX = 29;  // line between labels and names
    const int m_nListRightX = 149;  // right line of the list; right edge of a row
    const int m_nListHeight = 2048; // length of the vertical lines
    const int m_nRowHeight = 16;
    const int m_nScrollWidth = 150;
    const int m_nScrollHeight = 2049;

protected:
    void SetEntryBytes(int n, const std::vector<uint8_t>& bytes) override;
    void OnEntriesChanged(const std::vector<int>& entries) override;
};

static_assert(sizeof(std::array<CPatchRecord, CPatchDoc::kPatchCount>) ==
              CPatchDoc::kPatchCount * CPatchRecord::kSize);

} // namespace vantorel
