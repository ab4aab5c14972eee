#pragma once
// The performance bank: 64 performances, the layout its window draws with,
// and .pfm files.
#include <array>
#include <string>
#include <vector>

#include "data/FileHeader.h"
#include "data/PerformRecord.h"
#include "framework/core/Document.h"
#include "framework/core/Rect.h"

namespace vantorel {

// The type in its library files' header.
inline constexpr std::string_view kTypePerformance = "USER PERFORMANCE";
static_assert(kTypePerformance.size() == kHeaderTypeSize);

class CPerformDoc : public CDocument {
public:
    static constexpr int kPerformanceCount = 64;

    CPerformDoc() = default; // records start at their defaults
    const char* GetRuntimeClassName() const override { return "CPerformDoc"; }

    // Storing: header and the 64 records. Loading: header check, then the
    // records; a short file throws and leaves the records as they were.
    LoadResult Serialize(CArchive& ar) override;
    CFileBounds GetFileBounds() const override;

    // The program's edits of the bank; each is one undo step and false when
    // it would change nothing. A patch k is patch k mod 2 of performance
    // k div 2 (its patch row).
    bool PutPerformance(int n, const CPerformRecord& rec, const std::string& strName);
    bool PutPatch(int k, const CPatchRecord& rec, const std::string& strName);
    bool RenamePerformance(int n, CConstNameField name);
    bool RenamePatch(int k, CConstNameField name);
    bool InitPerformance(int n);
    bool InitPatch(int k);
    bool CopyPerformanceTo(int n, const CPerformRecord& src);
    bool CopyPatchTo(int k, const CPatchRecord& src);

    int GetEntryCount() const override { return kPerformanceCount; }
    std::vector<uint8_t> GetEntryBytes(int n) const override;

    // Performance row n: (0, 32n, 262, 32(n + 1)).
    CRect GetPerformanceRowRect(int n) const;
    // Patch row k, patch k mod 2 of performance k div 2: (142, 16k, 262, 16(k + 1)).
    CRect GetPatchRowRect(int k) const;
    // Without the patch column: name and patches of performance n, (22, 32n, 262, 32(n + 1)).
    // With it: the row of the first or second patch of performance n.
    CRect GetEntryRect(int n, bool bPatchColumn, bool bFirstPatch) const;

    void UpdatePerformanceRow(int n);
    void UpdatePatchRow(int k);
    // The old row, then the new one; a negative row means none.
    void UpdatePerformanceRows(int nOld, int nNew);
    void UpdatePatchRows(int nOld, int nNew);

    std::array<CPerformRecord, kPerformanceCount> m_aPerform; // contiguous, index n shown as label n

    // Layout of the list window, in pixels; not stored in files.
    const int m_nRowLeftX = 0;
    const int m_nNameColumnX = 22;   // line between labels and performance names
    const int m_nPatchColumnX = 142; // line between performance and patch names
    const int m_nListRightX = 262;   // right edge of every row
    const int m_nListHeight = 2048;
    const int m_nPerformanceRowHeight = 32;
    const int m_nPatchRowHeight = 16;
    const int m_nScrollWidth = 263;
    const int m_nScrollHeight = 2049;

protected:
    void SetEntryBytes(int n, const std::vector<uint8_t>& bytes) override;
    // A performance's name and both its patches, in one rectangle.
    void OnEntriesChanged(const std::vector<int>& entries) override;
};

static_assert(sizeof(std::array<CPerformRecord, CPerformDoc::kPerformanceCount>) ==
              CPerformDoc::kPerformanceCount * CPerformRecord::kSize);

} // namespace vantorel
