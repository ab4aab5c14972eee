#include "views/PatchView.h"

#include <cstring>

#include "data/EntryName.h"
#include "data/PatchDoc.h"
#include "framework/core/MessageBox.h"
#include "res/strings/views.h"
#include "transfer/PatchTransfer.h"
#include "views/CopyBuffer.h"
#include "views/NameDlg.h"
#include "views/PatchCommands.h"
#include "views/ProgramSwitches.h"

namespace vantorel {

namespace {
// Text positions inside a row.
constexpr int kLabelX = 5;
constexpr int kNameX = 34;
constexpr int kTextDy = 2;
constexpr int kGroupRows = 8; // a double line after every eighth row
} // namespace

CPatchView::CPatchView(QWidget* parent) : CListView(parent)
{
    OnCommand(ID_GET_PATCH_BANK, [this] { OnGetPatch(true); });
    OnCommand(ID_SEND_PATCH_BANK, [this] { OnSendPatch(true); });
    OnCommand(ID_EDIT_PATCH_NAME, [this] { OnEditPatchName(); });
    OnInitializeCommand(ID_INIT_PATCH, [this] { OnInitPatch(); });
    OnOneEntryCommand(ID_GET_PATCH, [this] { OnGetPatch(false); });
    OnOneEntryCommand(ID_SEND_PATCH, [this] { OnSendPatch(false); });
}

CPatchView::~CPatchView() = default;

CPatchDoc* CPatchView::GetPatchDoc() const
{
    return dynamic_cast<CPatchDoc*>(GetDocument());
}

QSize CPatchView::ContentSize() const
{
    const CPatchDoc* pDoc = GetPatchDoc();
    return pDoc ? QSize(pDoc->m_nScrollWidth, pDoc->m_nScrollHeight) : QSize(150, 2049);
}

void CPatchView::OnDraw(CDC& dc)
{
    const CPatchDoc* pDoc = GetPatchDoc();
    if (!pDoc)
        return;
    const int cx = pDoc->m_nScrollWidth;
    const int cy = pDoc->m_nScrollHeight;
    const int h = pDoc->m_nRowHeight;
    const int bottom = pDoc->m_nListHeight;

    FillList(dc, QSize(cx, cy));
    for (int i = 0; i < kRowCount; ++i)
        if (i == m_nSelect || IsMarkedRow(i))
            FillBand(dc, CRect{0, h * i, cx, h * (i + 1)});

    for (int x : {0, pDoc->m_nNameColumnX, pDoc->m_nListRightX})
        DrawLine(dc, DarkColor(), x, 0, x, bottom);
    // The white highlight lines sit right of the left edge and the column line;
    // there is none beside the right edge.
    for (int x : {1, pDoc->m_nNameColumnX + 1})
        DrawLine(dc, LightColor(), x, 0, x, bottom);

    for (int i = 0; i <= kRowCount; ++i) {
        DrawLine(dc, DarkColor(), 0, h * i, cx, h * i);
        if (i % kGroupRows == 0 && i != kRowCount)
            DrawLine(dc, DarkColor(), 0, h * i - 1, cx, h * i - 1);
    }
    for (int i = 0; i <= kRowCount; ++i)
        DrawLine(dc, LightColor(), 0, h * i + 1, cx, h * i + 1);

    SelectListFont(dc);
    for (int i = 0; i < kRowCount; ++i) {
        DrawText(dc, kLabelX, h * i + kTextDy, FormatPatchLabel(i));
        DrawName(dc, kNameX, h * i + kTextDy, pDoc->m_aPatch[static_cast<size_t>(i)].Data(), kEntryNameSize);
    }
    FitList(QSize(cx, cy));
}

int CPatchView::HitTest(const QPoint& pt) const
{
    const CPatchDoc* pDoc = GetPatchDoc();
    if (!pDoc)
        return -1;
    if (pt.x() < 0 || pt.x() > pDoc->m_nScrollWidth || pt.y() < 0)
        return -1;
    const int row = pt.y() / pDoc->m_nRowHeight;
    return row < kRowCount ? row : -1;
}

void CPatchView::Select(int nRow)
{
    const int old = m_nSelect;
    m_nSelect = nRow;
    CommandStateChanged();
    if (old != nRow)
        if (CPatchDoc* pDoc = GetPatchDoc())
            pDoc->UpdateRows(old, nRow);
}

void CPatchView::OnLButtonDown(unsigned nFlags, const QPoint& point)
{
    CPatchDoc* pDoc = GetPatchDoc();
    if (!pDoc)
        return;
    const int row = HitTest(DeviceToLogical(point));
    const bool bShift = (nFlags & MK_SHIFT) != 0;
    const int kind = HeldKind();

    if (kind == kCopyNone) {
        if (row < 0) {
            Select(-1);
        } else if (bShift) {
            Select(row);
            PickUp(kCopyPatch, &pDoc->m_aPatch[static_cast<size_t>(row)]);
        } else if (!m_audition.IsSending()) {
            Select(row);
            if (IsSendDataOn())
                Audition(pDoc->m_aPatch[static_cast<size_t>(row)]);
        }
    } else if (row < 0) {
        Select(-1);
        EmptyCopyBuffer();
    } else if (kind == kCopyPatch) {
        CPatchRecord& dest = pDoc->m_aPatch[static_cast<size_t>(row)];
        FinishDrop(
            &dest,
            [&] { pDoc->CopyPatchTo(row, *static_cast<const CPatchRecord*>(CCopyBuffer::Get().Source())); },
            [&] {
                const int old = m_nSelect;
                m_nSelect = row;
                CommandStateChanged();
                pDoc->UpdateRows(old, row);
            });
    } else {
        RefuseDrop();
    }
    CListView::OnLButtonDown(nFlags, point);
}

void CPatchView::SelectAt(const QPoint& ptLogical)
{
    if (const int row = HitTest(ptLogical); row >= 0)
        Select(row);
}

void CPatchView::OnRButtonDown(unsigned nFlags, const QPoint& point)
{
    CPatchDoc* pDoc = GetPatchDoc();
    const QPoint pt = DeviceToLogical(point);
    // Below the last row there is no patch to act on.
    if (!pDoc || pt.y() < 0 || pt.y() / pDoc->m_nRowHeight >= kRowCount)
        return;
    const int row = pt.y() / pDoc->m_nRowHeight;
    m_nContextRow = row;
    m_pContextPatch = &pDoc->m_aPatch[static_cast<size_t>(row)];
    Select(row);
    TrackPopupMenu(patch_commands::ContextMenu(), point);
    CListView::OnRButtonDown(nFlags, point);
}

CRect CPatchView::KeyRowRect(int nRow) const
{
    const CPatchDoc* pDoc = GetPatchDoc();
    return pDoc ? pDoc->GetRowRect(nRow) : CRect{};
}

void CPatchView::KeySelect(int nRow)
{
    CPatchDoc* pDoc = GetPatchDoc();
    if (!pDoc)
        return;
    Select(nRow);
    if (IsSendDataOn() && !m_audition.IsSending())
        Audition(pDoc->m_aPatch[static_cast<size_t>(nRow)]);
}

void CPatchView::SetContextToSelection()
{
    CPatchDoc* pDoc = GetPatchDoc();
    if (!pDoc || m_nSelect < 0)
        return;
    m_nContextRow = m_nSelect;
    m_pContextPatch = &pDoc->m_aPatch[static_cast<size_t>(m_nSelect)];
}

void CPatchView::RenameSelection()
{
    SetContextToSelection();
    OnEditPatchName();
}

void CPatchView::InitializeRow(int nRow)
{
    if (CPatchDoc* pDoc = GetPatchDoc())
        pDoc->InitPatch(nRow);
}

void CPatchView::Audition(const CPatchRecord& patch)
{
    m_audition.Start(PatchKind(), std::span(patch.Data(), CPatchRecord::kSize));
}

void CPatchView::OnInitPatch()
{
    CPatchDoc* pDoc = GetPatchDoc();
    if (!pDoc || !m_pContextPatch)
        return;
    pDoc->InitPatch(m_nContextRow);
}

void CPatchView::OnEditPatchName()
{
    CPatchDoc* pDoc = GetPatchDoc();
    if (!pDoc || !m_pContextPatch)
        return;
    CPatchRecord edited = *m_pContextPatch;
    CPatchNameDlg dlg(this);
    if (!dlg.EditName(edited.NameField()))
        return;
    pDoc->RenamePatch(m_nContextRow, edited.NameField());
}

void CPatchView::OnGetPatch(bool bBank)
{
    CPatchDoc* pDoc = GetPatchDoc();
    if (!pDoc || (!bBank && !m_pContextPatch))
        return;
    CGetPatchDlg dlg(this);
    dlg.SetPlan(PatchKind().MakeGetPlan(*pDoc, bBank ? -1 : m_nContextRow));
    RunGetTransfer(dlg);
}

void CPatchView::OnSendPatch(bool bBank)
{
    CPatchDoc* pDoc = GetPatchDoc();
    if (!pDoc || (!bBank && !m_pContextPatch))
        return;
    CSendPatchDlg dlg(this);
    dlg.SetPlan(PatchKind().MakeSendPlan(*pDoc, bBank ? -1 : m_nContextRow));
    RunTransferDialog(dlg);
}

} // namespace vantorel
