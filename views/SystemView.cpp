#include "views/SystemView.h"

#include <cstring>

#include "framework/core/MessageBox.h"
#include "res/strings/datawindows.h"
#include "res/strings/views.h"
#include "transfer/SystemTransfer.h"
#include "views/CopyBuffer.h"

namespace vantorel {

namespace {
// Each row's block: the copy kind it is picked up as and its size.
int KindOfRow(int nRow)
{
    return nRow == CSystemView::kRowSystemParameter ? kCopySystem : kCopyTxRx;
}
uint8_t* BlockOfRow(CSystemDoc& doc, int nRow)
{
    return nRow == CSystemView::kRowSystemParameter ? doc.SystemParameter() : doc.TxRxSetting();
}
static_assert(CSystemView::kRowSystemParameter == CSystemDoc::kBlockSystemParameter &&
              CSystemView::kRowTxRxSetting == CSystemDoc::kBlockTxRxSetting);
// The entry of the system kind a Get or Send of the window's mode transfers:
// a row's block, or -1 for both.
int SystemEntry(int nMode)
{
    switch (nMode) {
    case CSystemView::kModeSystemParameter: return CSystemView::kRowSystemParameter;
    case CSystemView::kModeTxRxSetting: return CSystemView::kRowTxRxSetting;
    default: return -1;
    }
}
} // namespace

int CSystemView::KeyRowKind(int nRow) const
{
    return KindOfRow(nRow);
}

CSystemView::CSystemView(QWidget* parent) : CListView(parent)
{
    OnCommand(ID_GET_SYSTEM, [this] { Get(kModeBoth); });
    OnCommand(ID_SEND_SYSTEM, [this] { Send(kModeBoth); });
    OnInitializeCommand(ID_INITIALIZE_SYSTEM_PARAMETER, [this] { Initialize(kRowSystemParameter); });
    OnOneEntryCommand(ID_GET_SYSTEM_PARAMETER, [this] { Get(kModeSystemParameter); });
    OnOneEntryCommand(ID_SEND_SYSTEM_PARAMETER, [this] { Send(kModeSystemParameter); });
    OnInitializeCommand(ID_INITIALIZE_TXRX_SETTING, [this] { Initialize(kRowTxRxSetting); });
    OnOneEntryCommand(ID_GET_TXRX_SETTING, [this] { Get(kModeTxRxSetting); });
    OnOneEntryCommand(ID_SEND_TXRX_SETTING, [this] { Send(kModeTxRxSetting); });
}

QSize CSystemView::ContentSize() const
{
    const CSystemDoc* pDoc = GetDocument();
    return pDoc ? QSize(pDoc->m_nScrollWidth, pDoc->m_nScrollHeight) : QSize();
}

void CSystemView::OnUpdate(CViewBase* pSender, long lHint, CObject* pHint)
{
    CScrollView::OnUpdate(pSender, lHint, pHint);
}

void CSystemView::OnDraw(CDC& dc)
{
    const CSystemDoc* pDoc = GetDocument();
    if (!pDoc)
        return;
    DrawRowGrid(
        dc,
        CRowGrid{
            0, {0, pDoc->m_nListRightX}, pDoc->m_nListHeight, kRowCount, pDoc->m_nRowHeight, ContentSize()},
        m_nSelect);
    SelectListFont(dc);
    dc.SetTextColor(RGB(0, 63, 0));
    DrawText(dc, 5, kRowSystemParameter * pDoc->m_nRowHeight + 2, res::kRowSystemParameter);
    DrawText(dc, 5, kRowTxRxSetting * pDoc->m_nRowHeight + 2, res::kRowTxRxSetting);
    FitList(ContentSize());
}

CRect CSystemView::KeyRowRect(int nRow) const
{
    const CSystemDoc* pDoc = GetDocument();
    if (!pDoc)
        return CRect{};
    return CRect{0, nRow * pDoc->m_nRowHeight, pDoc->m_nListRightX, (nRow + 1) * pDoc->m_nRowHeight};
}

bool CSystemView::IsInside(const QPoint& pt) const
{
    const QSize size = ContentSize();
    return pt.x() >= 0 && pt.x() <= size.width() && pt.y() >= 0 && pt.y() <= size.height();
}

int CSystemView::RowAt(const QPoint& pt) const
{
    const CSystemDoc* pDoc = GetDocument();
    return pDoc && pt.y() >= pDoc->m_nSplitY ? kRowTxRxSetting : kRowSystemParameter;
}

void CSystemView::RepaintDocument()
{
    if (CSystemDoc* pDoc = GetDocument())
        pDoc->UpdateAllViews(nullptr);
}

void CSystemView::Select(int nRow)
{
    if (nRow == m_nSelect)
        return;
    m_nSelect = nRow;
    CommandStateChanged();
    RepaintDocument();
}

void CSystemView::OnLButtonDown(unsigned nFlags, const QPoint& ptDevice)
{
    if (!GetDocument())
        return;
    const QPoint pt = DeviceToLogical(ptDevice);
    const bool bInside = IsInside(pt);
    const int nRow = RowAt(pt);
    const int nHeld = HeldKind();

    if (nHeld == kCopyNone) {
        Select(bInside ? nRow : -1);
        if (bInside && (nFlags & MK_SHIFT))
            PickUp(KindOfRow(nRow), BlockOfRow(*GetDocument(), nRow));
        return;
    }
    const bool bSystemKind = nHeld == kCopySystem || nHeld == kCopyTxRx;
    if (bInside) {
        if (bSystemKind && nHeld == KindOfRow(nRow))
            Paste(nRow);
        else
            RefuseDrop(); // the other block, or another kind of entry
        return;
    }
    // Outside. A Shift-click there with some other kind held keeps the selection.
    if (bSystemKind || !(nFlags & MK_SHIFT))
        Select(-1);
    EmptyCopyBuffer();
}

void CSystemView::Paste(int nRow)
{
    uint8_t* pDest = BlockOfRow(*GetDocument(), nRow);
    // The held kind matches the row, so the source is a block of the same size.
    const auto* pSource = static_cast<const uint8_t*>(CCopyBuffer::Get().Source());
    FinishDrop(
        pDest, [&] { GetDocument()->CopyBlockTo(nRow, pSource); },
        [&] {
            m_nSelect = nRow;
            CommandStateChanged();
            RepaintDocument();
        });
}

void CSystemView::OnRButtonDown(unsigned, const QPoint& ptDevice)
{
    if (!GetDocument())
        return;
    // No outside test: anywhere below the split line is the Tx/Rx row.
    const int nRow = RowAt(DeviceToLogical(ptDevice));
    Select(nRow);
    if (nRow == kRowSystemParameter)
        TrackPopupMenu({{ID_INITIALIZE_SYSTEM_PARAMETER, res::kMenuInitializeSystemParameter},
                        {0, nullptr},
                        {ID_GET_SYSTEM_PARAMETER, res::kMenuGetSystemParameter},
                        {ID_SEND_SYSTEM_PARAMETER, res::kMenuSendSystemParameter}},
                       ptDevice);
    else
        TrackPopupMenu({{ID_INITIALIZE_TXRX_SETTING, res::kMenuInitializeTxRxSetting},
                        {0, nullptr},
                        {ID_GET_TXRX_SETTING, res::kMenuGetTxRxSetting},
                        {ID_SEND_TXRX_SETTING, res::kMenuSendTxRxSetting}},
                       ptDevice);
}

void CSystemView::Initialize(int nRow)
{
    CSystemDoc* pDoc = GetDocument();
    if (!pDoc)
        return;
    pDoc->InitializeBlock(nRow);
}

void CSystemView::Get(int nMode)
{
    CSystemDoc* pDoc = GetDocument();
    if (!pDoc)
        return;
    CGetSystemDlg dlg(this);
    dlg.SetPlan(SystemKind().MakeGetPlan(*pDoc, SystemEntry(nMode)));
    RunGetTransfer(dlg);
}

void CSystemView::Send(int nMode)
{
    CSystemDoc* pDoc = GetDocument();
    if (!pDoc)
        return;
    CSendSystemDlg dlg(this);
    dlg.SetPlan(SystemKind().MakeSendPlan(*pDoc, SystemEntry(nMode)));
    RunTransferDialog(dlg);
}

} // namespace vantorel
