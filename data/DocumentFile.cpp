#include "data/DocumentFile.h"

#include <algorithm>

#include "framework/core/HintRect.h"

namespace vantorel {

int RowEdge(int64_t n, int nHeight)
{
    const int64_t edge = n * nHeight;
    return static_cast<int>(std::clamp<int64_t>(edge, INT32_MIN, INT32_MAX));
}

void UpdateRect(CDocument& doc, const CRect& rect)
{
    CHintRect hint(rect);
    doc.UpdateAllViews(nullptr, 0, &hint);
}

} // namespace vantorel
