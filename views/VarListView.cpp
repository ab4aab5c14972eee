#include "views/VarListView.h"

#include <utility>
#include <vector>

#include "framework/core/MessageBox.h"
#include "views/CopyBuffer.h"
#include "res/strings/views.h"

namespace vantorel {

CVarListView::CVarListView(const CVarListSpec& spec, QWidget* parent) : CListView(parent), m_spec(spec)
{
    OnCommand(m_spec.nIdGetAll, [this] { OnGet(-1); });
    OnCommand(m_spec.nIdSendAll, [this] { OnSend(-1); });
    OnInitializeCommand(m_spec.nIdInitialize, [this] { OnInitialize(); });
    OnOneEntryCommand(m_spec.nIdGetOne, [this] {
        if (m_nContext >= 0)
            OnGet(m_nContext);
    });
    OnOneEntryCommand(m_spec.nIdSendOne, [this] {
        if (m_nContext >= 0)
            OnSend(m_nContext);
    });
}

int CVarListView::HitRow(const QPoint& pt) const
{
    const QSize size = ContentSize();
    const int nRowHeight = RowHeight();
    if (nRowHeight <= 0 || pt.x() < 0 || pt.x() > size.width() || pt.y() < 0 || pt.y() > size.height())
        return -1;
    const int nRow = pt.y() / nRowHeight;
    return nRow < m_spec.nRows ? nRow : -1;
}

void CVarListView::Select(int nRow)
{
    if (nRow == m_nSelect)
        return;
    const int nOld = m_nSelect;
    m_nSelect = nRow;
    CommandStateChanged();
    RepaintSelection(nOld, nRow);
}

void CVarListView::OnLButtonDown(unsigned nFlags, const QPoint& ptDevice)
{
    const int nRow = HitRow(DeviceToLogical(ptDevice));
    const int nHeld = HeldKind();
    if (nRow < 0 || !Entry(nRow)) {
        Select(-1);
        if (nHeld != kCopyNone)
            EmptyCopyBuffer();
        return;
    }
    if (nHeld == m_spec.nKind) {
        Paste(nRow);
        return;
    }
    if (nHeld != kCopyNone) {
        RefuseDrop();
        return;
    }
    Select(nRow);
    if (nFlags & MK_SHIFT)
        PickUp(m_spec.nKind, Entry(nRow));
}

void CVarListView::Paste(int nRow)
{
    CVarEntry* pDest = Entry(nRow);
    // Only windows of this kind pick up this kind, always as a CVarEntry.
    const auto* pSource = static_cast<const CVarEntry*>(CCopyBuffer::Get().Source());
    FinishDrop(
        pDest,
        [&] {
            if (CDocument* pDoc = GetDocument())
                CopyVarEntryTo(*pDoc, nRow, *pSource);
        },
        [&] {
            const int nOld = m_nSelect;
            m_nSelect = nRow;
            CommandStateChanged();
            RepaintSelection(nOld, nRow);
        });
}

void CVarListView::SelectAt(const QPoint& ptLogical)
{
    if (const int nRow = HitRow(ptLogical); nRow >= 0)
        Select(nRow);
}

std::vector<uint8_t> CVarListView::AsCopy(const std::vector<uint8_t>& bytes) const
{
    CVarEntry entry;
    SetVarEntryBytes(entry, bytes);
    CVarEntry copy;
    copy.Clear();
    copy.SetData(entry.GetData(), entry.GetSize());
    return VarEntryBytes(copy);
}

void CVarListView::OnRButtonDown(unsigned, const QPoint& ptDevice)
{
    const QPoint pt = DeviceToLogical(ptDevice);
    const int nRowHeight = RowHeight();
    if (pt.y() < 0 || nRowHeight <= 0)
        return;
    const int nRow = pt.y() / nRowHeight;
    // Below the last row (the bottom border, or a window taller than its
    // content) there is no entry to act on.
    if (nRow >= m_spec.nRows || !Entry(nRow))
        return;
    m_nContext = nRow;
    Select(nRow);
    TrackPopupMenu({{m_spec.nIdInitialize, m_spec.szInitialize},
                    {0, nullptr},
                    {m_spec.nIdGetOne, m_spec.szGetOne},
                    {m_spec.nIdSendOne, m_spec.szSendOne}},
                   ptDevice);
}

void CVarListView::OnInitialize()
{
    if (m_nContext < 0 || !Entry(m_nContext))
        return;
    InitVarEntry(*GetDocument(), m_nContext);
}

void CVarListView::InitializeRow(int nRow)
{
    if (Entry(nRow))
        InitVarEntry(*GetDocument(), nRow);
}

CRect CVarListView::KeyRowRect(int nRow) const
{
    const int h = RowHeight();
    return CRect{0, nRow * h, ContentSize().width(), (nRow + 1) * h};
}

void CVarListView::OnGet(int nSingle)
{
    if (!Entry(0))
        return;
    RunGetDialog(nSingle);
}

void CVarListView::OnSend(int nSingle)
{
    if (!Entry(0))
        return;
    RunSendDialog(nSingle);
}

} // namespace vantorel
