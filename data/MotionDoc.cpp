#include "data/MotionDoc.h"

#include "data/DocumentFile.h"

namespace vantorel {

CMotionDoc::CMotionDoc()
{
    for (CMotionEntry& e : m_aMotion)
        e.SetData(kInitialMotionData.data(), kInitialMotionData.size());
}

CFileBounds CMotionDoc::GetFileBounds() const
{
    return VarEntriesBounds(kMotionCount, kItemRoom);
}

CDocument::LoadResult CMotionDoc::Serialize(CArchive& ar)
{
    return SerializeVarEntries(ar, kTypeMotion, m_aMotion);
}

} // namespace vantorel
