#include "transfer/plans/EntryLayout.h"

#include <algorithm>

#include "data/EntryName.h"
#include "data/PatchRecord.h"
#include "res/strings/compare.h"

namespace vantorel {

bool CEntryLayout::IsPairStart(size_t nOffset) const
{
    return std::binary_search(pairs.begin(), pairs.end(), nOffset);
}

void AddPatchParts(CEntryLayout& layout, size_t nBase, const char* szGroup, bool bOwnName)
{
    using R = CPatchRecord;
    layout.parts.push_back({szGroup, res::kPartName, nBase + R::kNameOffset, kEntryNameSize, bOwnName});
    layout.parts.push_back(
        {szGroup, res::kPartCommon, nBase + kEntryNameSize, R::kCommonSize - kEntryNameSize});
    layout.parts.push_back({szGroup, res::kPartFirstBlock, nBase + R::kFirstBlockOffset, R::kBlockSize});
    layout.parts.push_back({szGroup, res::kPartSecondBlock, nBase + R::kSecondBlockOffset, R::kBlockSize});
    layout.parts.push_back({szGroup, res::kPartTrailer, nBase + R::kTrailerOffset, R::kTrailerSize});
    for (const R::CPairRun& run : R::kPairRuns)
        for (size_t i = 0; i < run.nCount; ++i)
            layout.pairs.push_back(nBase + run.nOffset + i * R::kSignedPairSize);
    std::sort(layout.pairs.begin(), layout.pairs.end());
}

} // namespace vantorel
