#include "views/PerformView.h"

#include <algorithm>
#include <cstring>

#include "data/DocumentFile.h"
#include "data/EntryName.h"
#include "data/PerformDoc.h"
#include "framework/core/MessageBox.h"
#include "res/strings/views.h"
#include "transfer/PatchTransfer.h"
#include "transfer/PerformTransfer.h"
#include "transfer/plans/PatchPlan.h"
#include "views/CopyBuffer.h"
#include "views/NameDlg.h"
#include "views/PatchCommands.h"
#include "views/ProgramSwitches.h"

namespace vantorel {

namespace {
// Text positions inside a row: the performance's text is centred on its
// double row, each patch name sits in its own half-row.
constexpr int kLabelX = 5;
constexpr int kNameX = 27;
constexpr int kPatchNameX = 147;
constexpr int kTextDy = 2;
constexpr int kGroupRows = 8; // a double line after every eighth performance
constexpr int kFirstPart = 1;
constexpr int kSecondPart = 2;
} // namespace

CPerformView::CPerformView(QWidget* parent) : CListView(parent)
{
    OnCommand(ID_GET_PERFORMANCE_BANK, [this] { OnGetPerformance(true); });
    OnCommand(ID_SEND_PERFORMANCE_BANK, [this] { OnSendPerformance(true); });
    OnCommand(ID_EDIT_PATCH_NAME, [this] { OnEditPatchName(); });
    OnInitializeCommand(ID_INIT_PATCH, [this] { OnInitPatch(); });
    OnOneEntryCommand(ID_GET_PATCH, [this] { OnGetPatch(); });
    OnOneEntryCommand(ID_SEND_PATCH, [this] { OnSendPatch(); });
    OnCommand(ID_EDIT_PERFORMANCE_NAME, [this] { OnEditPerformanceName(); });
    OnInitializeCommand(ID_INIT_PERFORMANCE, [this] { OnInitPerformance(); });
    OnOneEntryCommand(ID_GET_PERFORMANCE, [this] { OnGetPerformance(false); });
    OnOneEntryCommand(ID_SEND_PERFORMANCE, [this] { OnSendPerformance(false); });
}

CPerformView::~CPerformView() = default;

CPerformDoc* CPerformView::GetPerformDoc() const
{
    return dynamic_cast<CPerformDoc*>(GetDocument());
}

QSize CPerformView::ContentSize() const
{
    const CPerformDoc* pDoc = GetPerformDoc();
    return pDoc ? QSize(pDoc->m_nScrollWidth, pDoc->m_nScrollHeight) : QSize(263, 2049);
}

void CPerformView::OnDraw(CDC& dc)
{
    const CPerformDoc* pDoc = GetPerformDoc();
    if (!pDoc)
        return;
    const int cx = pDoc->m_nScrollWidth;
    const int cy = pDoc->m_nScrollHeight;
    const int rh = pDoc->m_nPerformanceRowHeight;
    const int hh = pDoc->m_nPatchRowHeight;
    const int px = pDoc->m_nPatchColumnX;
    const int bottom = pDoc->m_nListHeight;

    FillList(dc, QSize(cx, cy));
    for (int p = 0; p < kRowCount; ++p)
        if (p == m_nSelectPerformance || (m_nSelectPatch < 0 && IsMarkedRow(p)))
            FillBand(dc, CRect{0, rh * p, cx, rh * (p + 1)});
    for (int k = 0; k < kHalfRowCount; ++k)
        if (k == m_nSelectPatch || (m_nSelectPatch >= 0 && IsMarkedRow(k)))
            FillBand(dc, CRect{px, hh * k, cx, hh * (k + 1)});

    for (int x : {0, pDoc->m_nNameColumnX, px, pDoc->m_nListRightX})
        DrawLine(dc, DarkColor(), x, 0, x, bottom);
    for (int x : {1, pDoc->m_nNameColumnX + 1, px + 1})
        DrawLine(dc, LightColor(), x, 0, x, bottom);

    for (int p = 0; p <= kRowCount; ++p) {
        DrawLine(dc, DarkColor(), 0, rh * p, cx, rh * p);
        if (p % kGroupRows == 0 && p != kRowCount)
            DrawLine(dc, DarkColor(), 0, rh * p - 1, cx, rh * p - 1);
        if (p < kRowCount)
            DrawLine(dc, DarkColor(), px, rh * p + hh, cx, rh * p + hh);
    }
    for (int p = 0; p <= kRowCount; ++p) {
        DrawLine(dc, LightColor(), 0, rh * p + 1, cx, rh * p + 1);
        if (p < kRowCount)
            DrawLine(dc, LightColor(), px, rh * p + hh + 1, cx, rh * p + hh + 1);
    }

    SelectListFont(dc);
    const int centreDy = hh / 2 + kTextDy;
    for (int p = 0; p < kRowCount; ++p) {
        const CPerformRecord& rec = pDoc->m_aPerform[static_cast<size_t>(p)];
        DrawText(dc, kLabelX, rh * p + centreDy, FormatPerformanceLabel(p));
        DrawName(dc, kNameX, rh * p + centreDy, rec.Data(), kEntryNameSize);
        DrawName(dc, kPatchNameX, rh * p + kTextDy, rec.m_aPatch[0].Data(), kEntryNameSize);
        DrawName(dc, kPatchNameX, rh * p + hh + kTextDy, rec.m_aPatch[1].Data(), kEntryNameSize);
    }
    FitList(QSize(cx, cy));
}

CPerformView::Area CPerformView::HitTest(const QPoint& pt) const
{
    const CPerformDoc* pDoc = GetPerformDoc();
    if (!pDoc)
        return Area::Outside;
    if (pt.x() < 0 || pt.x() > pDoc->m_nScrollWidth || pt.y() < 0 ||
        pt.y() / pDoc->m_nPerformanceRowHeight >= kRowCount)
        return Area::Outside;
    return pt.x() <= pDoc->m_nPatchColumnX ? Area::Performance : Area::Patch;
}

CPatchRecord& CPerformView::PatchOfHalfRow(int h) const
{
    CPerformRecord& rec = GetPerformDoc()->m_aPerform[static_cast<size_t>(h / 2)];
    return rec.m_aPatch[static_cast<size_t>(h % 2)];
}

void CPerformView::SelectPerformance(int p)
{
    const int old = m_nSelectPerformance;
    m_nSelectPerformance = p;
    CommandStateChanged();
    if (old != p)
        if (CPerformDoc* pDoc = GetPerformDoc())
            pDoc->UpdatePerformanceRows(old, p);
}

void CPerformView::SelectPatch(int h)
{
    const int old = m_nSelectPatch;
    m_nSelectPatch = h;
    CommandStateChanged();
    if (old != h)
        if (CPerformDoc* pDoc = GetPerformDoc())
            pDoc->UpdatePatchRows(old, h);
}

void CPerformView::OnLButtonDown(unsigned nFlags, const QPoint& point)
{
    CPerformDoc* pDoc = GetPerformDoc();
    if (!pDoc)
        return;
    const QPoint pt = DeviceToLogical(point);
    const Area area = HitTest(pt);
    const int p = pt.y() / pDoc->m_nPerformanceRowHeight; // valid only inside
    const int h = pt.y() / pDoc->m_nPatchRowHeight;
    const bool bShift = (nFlags & MK_SHIFT) != 0;
    const int kind = HeldKind();

    if (area == Area::Outside) {
        SelectPerformance(-1);
        SelectPatch(-1);
        if (kind != kCopyNone)
            EmptyCopyBuffer();
    } else if (kind == kCopyNone) {
        if (bShift || !m_audition.IsSending()) {
            if (area == Area::Performance) {
                SelectPatch(-1);
                SelectPerformance(p);
            } else {
                SelectPerformance(-1);
                SelectPatch(h);
            }
        }
        if (bShift) {
            if (area == Area::Performance)
                PickUp(kCopyPerformance, &pDoc->m_aPerform[static_cast<size_t>(p)]);
            else
                PickUp(kCopyPatch, &PatchOfHalfRow(h));
        } else if (!m_audition.IsSending() && IsSendDataOn()) {
            if (area == Area::Performance)
                Audition(pDoc->m_aPerform[static_cast<size_t>(p)]);
            else
                Audition(PatchOfHalfRow(h));
        }
    } else if (kind == kCopyPatch && area == Area::Patch) {
        CPatchRecord& dest = PatchOfHalfRow(h);
        FinishDrop(
            &dest,
            [&] { pDoc->CopyPatchTo(h, *static_cast<const CPatchRecord*>(CCopyBuffer::Get().Source())); },
            [&] {
                SelectPerformance(-1);
                const int old = m_nSelectPatch;
                m_nSelectPatch = h;
                CommandStateChanged();
                pDoc->UpdatePatchRows(old, h);
            });
    } else if (kind == kCopyPerformance && area == Area::Performance) {
        CPerformRecord& dest = pDoc->m_aPerform[static_cast<size_t>(p)];
        FinishDrop(
            &dest,
            [&] {
                pDoc->CopyPerformanceTo(p, *static_cast<const CPerformRecord*>(CCopyBuffer::Get().Source()));
            },
            [&] {
                SelectPatch(-1);
                const int old = m_nSelectPerformance;
                m_nSelectPerformance = p;
                CommandStateChanged();
                pDoc->UpdatePerformanceRows(old, p);
            });
    } else {
        RefuseDrop();
    }
    CListView::OnLButtonDown(nFlags, point);
}

int CPerformView::KeyRowAt(const QPoint& pt) const
{
    const CPerformDoc* pDoc = GetPerformDoc();
    const Area area = HitTest(pt);
    if (area == Area::Outside)
        return -1;
    if (m_nSelectPatch >= 0)
        return area == Area::Patch ? pt.y() / pDoc->m_nPatchRowHeight : -1;
    return area == Area::Performance ? pt.y() / pDoc->m_nPerformanceRowHeight : -1;
}

void CPerformView::SelectAt(const QPoint& pt)
{
    const CPerformDoc* pDoc = GetPerformDoc();
    const Area area = HitTest(pt);
    if (area == Area::Performance) {
        SelectPatch(-1);
        SelectPerformance(pt.y() / pDoc->m_nPerformanceRowHeight);
    } else if (area == Area::Patch) {
        SelectPerformance(-1);
        SelectPatch(pt.y() / pDoc->m_nPatchRowHeight);
    }
}

const CDocKind* CPerformView::KeyDocKind() const
{
    return m_nSelectPatch >= 0 ? &PatchKind() : CListView::KeyDocKind();
}

std::vector<uint8_t> CPerformView::KeyRowBytes(int nRow) const
{
    return m_nSelectPatch >= 0 ? RecordBytes(PatchOfHalfRow(nRow)) : CListView::KeyRowBytes(nRow);
}

void CPerformView::PutKeyRow(int nRow, const std::vector<uint8_t>& bytes, const std::string& strEdit)
{
    CPerformDoc* pDoc = GetPerformDoc();
    if (!pDoc || m_nSelectPatch < 0) {
        CListView::PutKeyRow(nRow, bytes, strEdit);
        return;
    }
    CPatchRecord rec = PatchOfHalfRow(nRow);
    SetRecordBytes(rec, bytes);
    pDoc->PutPatch(nRow, rec, strEdit);
}

void CPerformView::OnRButtonDown(unsigned nFlags, const QPoint& point)
{
    CPerformDoc* pDoc = GetPerformDoc();
    const QPoint pt = DeviceToLogical(point);
    // Below the last performance there is no entry to act on.
    if (!pDoc || pt.y() < 0 || pt.y() / pDoc->m_nPerformanceRowHeight >= kRowCount)
        return;
    SetContext(pt.y() / pDoc->m_nPerformanceRowHeight, pt.y() / pDoc->m_nPatchRowHeight);

    if (pt.x() <= pDoc->m_nPatchColumnX) {
        SelectPatch(-1);
        SelectPerformance(m_nContextRow);
        TrackPopupMenu({{ID_INIT_PERFORMANCE, res::kMenuInitializePerformance},
                        {0, nullptr},
                        {ID_EDIT_PERFORMANCE_NAME, res::kMenuEditPerformanceName},
                        {0, nullptr},
                        {ID_GET_PERFORMANCE, res::kMenuGetPerformance},
                        {ID_SEND_PERFORMANCE, res::kMenuSendPerformance}},
                       point);
    } else {
        SelectPerformance(-1);
        SelectPatch(m_nContextHalfRow);
        TrackPopupMenu(patch_commands::ContextMenu(), point);
    }
    CListView::OnRButtonDown(nFlags, point);
}

void CPerformView::SetContext(int p, int h)
{
    m_nContextRow = p;
    m_nContextHalfRow = h;
    m_pContextPerformance = &GetPerformDoc()->m_aPerform[static_cast<size_t>(p)];
    m_pContextPatch = &PatchOfHalfRow(h);
    m_nContextPart = h % 2 == 0 ? kFirstPart : kSecondPart;
}

void CPerformView::SetContextToSelection()
{
    if (!GetPerformDoc())
        return;
    if (m_nSelectPatch >= 0)
        SetContext(m_nSelectPatch / 2, m_nSelectPatch);
    else if (m_nSelectPerformance >= 0)
        SetContext(m_nSelectPerformance, m_nSelectPerformance * 2);
}

int CPerformView::KeyRowCount() const
{
    return m_nSelectPatch >= 0 ? kHalfRowCount : kRowCount;
}

int CPerformView::KeyRow() const
{
    return m_nSelectPatch >= 0 ? m_nSelectPatch : m_nSelectPerformance;
}

CRect CPerformView::KeyRowRect(int nRow) const
{
    const CPerformDoc* pDoc = GetPerformDoc();
    if (!pDoc)
        return CRect{};
    return m_nSelectPatch >= 0 ? pDoc->GetPatchRowRect(nRow) : pDoc->GetPerformanceRowRect(nRow);
}

void CPerformView::SelectAndAudition(int p, int h)
{
    CPerformDoc* pDoc = GetPerformDoc();
    if (!pDoc)
        return;
    if (h >= 0) {
        SelectPerformance(-1);
        SelectPatch(h);
    } else {
        SelectPatch(-1);
        SelectPerformance(p);
    }
    if (!IsSendDataOn() || m_audition.IsSending())
        return;
    if (h >= 0)
        Audition(PatchOfHalfRow(h));
    else
        Audition(pDoc->m_aPerform[static_cast<size_t>(p)]);
}

void CPerformView::Audition(const CPerformRecord& performance)
{
    m_audition.Start(PerformanceKind(), std::span(performance.Data(), CPerformRecord::kSize));
}

void CPerformView::Audition(const CPatchRecord& patch)
{
    m_audition.Start(PatchKind(), std::span(patch.Data(), CPatchRecord::kSize));
}

void CPerformView::KeySelect(int nRow)
{
    if (m_nSelectPatch >= 0)
        SelectAndAudition(-1, nRow);
    else
        SelectAndAudition(nRow, -1);
}

void CPerformView::SelectEntry(int nEntry, int nPart)
{
    if (nPart >= 0 && nPart < CPerformRecord::kPatchCount) {
        SelectPerformance(-1);
        SelectPatch(nEntry * CPerformRecord::kPatchCount + nPart);
    } else {
        SelectPatch(-1);
        SelectPerformance(nEntry);
    }
}

void CPerformView::KeyLeftRight(int nStep)
{
    // Positions along a performance: 0 the performance, 1 and 2 its patches.
    int p = -1;
    int nPos = 0;
    if (m_nSelectPatch >= 0) {
        p = m_nSelectPatch / 2;
        nPos = 1 + m_nSelectPatch % 2;
    } else if (m_nSelectPerformance >= 0) {
        p = m_nSelectPerformance;
    }
    if (p < 0)
        return;
    const int nNew = std::clamp(nPos + nStep, 0, CPerformRecord::kPatchCount);
    if (nNew == nPos)
        return;
    if (nNew == 0)
        SelectAndAudition(p, -1);
    else
        SelectAndAudition(-1, p * CPerformRecord::kPatchCount + nNew - 1);
}

void CPerformView::RenameSelection()
{
    const bool bPatch = m_nSelectPatch >= 0;
    SetContextToSelection();
    if (bPatch)
        OnEditPatchName();
    else
        OnEditPerformanceName();
}

void CPerformView::InitializeRow(int nRow)
{
    CPerformDoc* pDoc = GetPerformDoc();
    if (!pDoc)
        return;
    if (m_nSelectPatch >= 0)
        pDoc->InitPatch(nRow);
    else
        pDoc->InitPerformance(nRow);
}

void CPerformView::OnInitPatch()
{
    CPerformDoc* pDoc = GetPerformDoc();
    if (!pDoc || !m_pContextPatch)
        return;
    pDoc->InitPatch(m_nContextHalfRow);
}

void CPerformView::OnEditPatchName()
{
    CPerformDoc* pDoc = GetPerformDoc();
    if (!pDoc || !m_pContextPatch)
        return;
    CPatchRecord edited = *m_pContextPatch;
    CPatchNameDlg dlg(this);
    if (!dlg.EditName(edited.NameField()))
        return;
    pDoc->RenamePatch(m_nContextHalfRow, edited.NameField());
}

void CPerformView::OnInitPerformance()
{
    CPerformDoc* pDoc = GetPerformDoc();
    if (!pDoc || !m_pContextPerformance)
        return;
    pDoc->InitPerformance(m_nContextRow);
}

void CPerformView::OnEditPerformanceName()
{
    CPerformDoc* pDoc = GetPerformDoc();
    if (!pDoc || !m_pContextPerformance)
        return;
    CPerformRecord edited = *m_pContextPerformance;
    CPerformNameDlg dlg(this);
    if (!dlg.EditName(edited.NameField()))
        return;
    pDoc->RenamePerformance(m_nContextRow, edited.NameField());
}

void CPerformView::OnGetPatch()
{
    CPerformDoc* pDoc = GetPerformDoc();
    if (!pDoc || !m_pContextPatch)
        return;
    CGetPatchDlg dlg(this);
    dlg.SetPlan(PerformanceKind().MakeInnerGetPlan(*pDoc, m_nContextRow, m_nContextPart - kFirstPart));
    RunGetTransfer(dlg);
}

void CPerformView::OnSendPatch()
{
    const CPerformDoc* pDoc = GetPerformDoc();
    if (!pDoc || !m_pContextPatch)
        return;
    CSendPatchDlg dlg(this);
    dlg.SetPlan(PerformanceKind().MakeInnerSendPlan(*pDoc, m_nContextRow, m_nContextPart - kFirstPart));
    RunTransferDialog(dlg);
}

void CPerformView::OnGetPerformance(bool bBank)
{
    CPerformDoc* pDoc = GetPerformDoc();
    if (!pDoc || (!bBank && !m_pContextPerformance))
        return;
    CGetPerformanceDlg dlg(this);
    dlg.SetPlan(PerformanceKind().MakeGetPlan(*pDoc, bBank ? -1 : m_nContextRow));
    RunGetTransfer(dlg);
}

void CPerformView::OnSendPerformance(bool bBank)
{
    CPerformDoc* pDoc = GetPerformDoc();
    if (!pDoc || (!bBank && !m_pContextPerformance))
        return;
    CSendPerformanceDlg dlg(this);
    dlg.SetPlan(PerformanceKind().MakeSendPlan(*pDoc, bBank ? -1 : m_nContextRow));
    RunTransferDialog(dlg);
}

} // namespace vantorel
