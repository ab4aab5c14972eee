#include "views/MotionView.h"

#include <cstdio>
#include <iterator>

#include "res/strings/datawindows.h"
#include "transfer/MotionTransfer.h"
#include "views/CopyBuffer.h"

namespace vantorel {

static_assert(std::size(res::kMotionNames) == CMotionDoc::kMotionCount);

CMotionView::CMotionView(QWidget* parent)
    : CVarListView(CVarListSpec{kCopyMotion, CMotionDoc::kMotionCount, ID_GET_MOTION, ID_SEND_MOTION,
                                ID_INITIALIZE_MOTION_DATA, ID_GET_MOTION_DATA, ID_SEND_MOTION_DATA,
                                res::kMenuInitializeMotionData, res::kMenuGetMotionData,
                                res::kMenuSendMotionData},
                   parent)
{
}

void CMotionView::OnUpdate(CViewBase* pSender, long lHint, CObject* pHint)
{
    CScrollView::OnUpdate(pSender, lHint, pHint);
}

CVarEntry* CMotionView::Entry(int nRow)
{
    CMotionDoc* pDoc = GetDocument();
    if (!pDoc || nRow < 0 || nRow >= CMotionDoc::kMotionCount)
        return nullptr;
    return &pDoc->m_aMotion[size_t(nRow)];
}

QSize CMotionView::ContentSize() const
{
    const CMotionDoc* pDoc = GetDocument();
    return pDoc ? QSize(pDoc->m_nScrollWidth, pDoc->m_nScrollHeight) : QSize();
}

int CMotionView::RowHeight() const
{
    const CMotionDoc* pDoc = GetDocument();
    return pDoc ? pDoc->m_nRowHeight : 0;
}

void CMotionView::RepaintDocument()
{
    if (CMotionDoc* pDoc = GetDocument())
        pDoc->UpdateAllViews(nullptr);
}

void CMotionView::RepaintSelection(int, int)
{
    RepaintDocument();
}

int CMotionView::RunGetDialog(int nSingle)
{
    CGetMotionDlg dlg(this);
    dlg.SetPlan(MotionKind().MakeGetPlan(*GetDocument(), nSingle));
    return RunGetTransfer(dlg);
}

int CMotionView::RunSendDialog(int nSingle)
{
    CSendMotionDlg dlg(this);
    dlg.SetPlan(MotionKind().MakeSendPlan(*GetDocument(), nSingle));
    return RunTransferDialog(dlg);
}

void CMotionView::OnDraw(CDC& dc)
{
    const CMotionDoc* pDoc = GetDocument();
    if (!pDoc)
        return;
    const int nRowHeight = pDoc->m_nRowHeight;
    DrawRowGrid(dc,
                CRowGrid{pDoc->m_nListLeftX,
                         {pDoc->m_nListLeftX, pDoc->m_nMotionColumnX, pDoc->m_nListRightX},
                         pDoc->m_nListHeight,
                         CMotionDoc::kMotionCount,
                         nRowHeight,
                         ContentSize()},
                GetSelection());

    SelectListFont(dc);
    char label[32];
    for (int i = 0; i < CMotionDoc::kMotionCount; ++i) {
        const int y = i * nRowHeight + 2;
        DrawText(dc, pDoc->m_nListLeftX + 5, y, res::kMotionNames[i]);
        std::snprintf(label, sizeof label, res::kMotionLabel, i + 1);
        DrawText(dc, pDoc->m_nMotionColumnX + 5, y, label);
    }
    FitList(ContentSize());
}

} // namespace vantorel
