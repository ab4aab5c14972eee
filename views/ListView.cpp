#include "views/ListView.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include <algorithm>

#include "framework/core/Document.h"
#include "framework/core/MessageBox.h"
#include "midi/DeviceNames.h"
#include "res/Strings.h"
#include "res/strings/compare.h"
#include "transfer/TransferDevices.h"
#include "views/CopyBuffer.h"
#include "views/EditCommands.h"
#include "views/EntryClip.h"
#include "views/RowOrder.h"
#include "framework/gui/UndoHistory.h"
#include "res/strings/views.h"

namespace vantorel {

namespace {
CListView::PopupHook& Hook()
{
    static CListView::PopupHook hook;
    return hook;
}

CListView::CCompareHooks& CompareHooks()
{
    static CListView::CCompareHooks hooks;
    return hooks;
}
} // namespace

CListView::CListView(QWidget* parent) : CScrollView(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAcceptDrops(true);
    RegisterEditCommands();
}

void CListView::RegisterEditCommands()
{
    using namespace edit_commands;
    // Undo and redo only write bytes back: nothing goes to the synthesizer.
    OnCommand(
        ID_EDIT_UNDO,
        [this] {
            if (CUndoHistory* h = CUndoHistory::Of(GetDocument()))
                h->Undo();
        },
        [this](CCmdUI& ui) {
            const CUndoHistory* h = CUndoHistory::Of(GetDocument());
            ui.Enable(h && h->CanUndo());
            if (h && h->CanUndo())
                ui.SetText(QString::fromLatin1(res::kItemUndoStep).arg(h->UndoName()).toStdString());
        });
    OnCommand(
        ID_EDIT_REDO,
        [this] {
            if (CUndoHistory* h = CUndoHistory::Of(GetDocument()))
                h->Redo();
        },
        [this](CCmdUI& ui) {
            const CUndoHistory* h = CUndoHistory::Of(GetDocument());
            ui.Enable(h && h->CanRedo());
            if (h && h->CanRedo())
                ui.SetText(QString::fromLatin1(res::kItemRedoStep).arg(h->RedoName()).toStdString());
        });
    const auto bSelected = [this](CCmdUI& ui) { ui.Enable(GetDocument() && KeyRow() >= 0); };
    OnCommand(
        ID_EDIT_COPY, [this] { OnEditCopy(); }, bSelected);
    OnCommand(
        ID_EDIT_PASTE, [this] { OnEditPaste(); },
        [this](CCmdUI& ui) {
            ui.Enable(GetDocument() && KeyRow() >= 0 &&
                      (HeldKind() != kCopyNone || CEntryClip::Get().HasEntries()));
        });
    OnCommand(
        ID_EDIT_RENAME,
        [this] {
            if (CanRenameSelection())
                RenameSelection();
        },
        [this](CCmdUI& ui) { ui.Enable(GetDocument() && CanRenameSelection()); });
    const auto bCanCompare = [this] {
        return SelectedEntry() >= 0 && CompareHooks().canCompare &&
               CompareHooks().canCompare(*this, SelectedEntry());
    };
    OnCommand(
        ID_COMPARE_WITH_SELECTED,
        [this, bCanCompare] {
            if (bCanCompare() && CompareHooks().compare)
                CompareHooks().compare(*this, SelectedEntry());
        },
        [bCanCompare](CCmdUI& ui) { ui.Enable(bCanCompare()); });
    OnCommand(
        ID_EDIT_CLEAR,
        [this] {
            if (GetDocument() && KeyRow() >= 0)
                InitializeSelection();
        },
        bSelected);
}

QPoint CListView::SelectionPoint() const
{
    const CRect rc = KeyRowRect(KeyRow());
    const QPoint ptLogical((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    return ptLogical - GetScrollPosition();
}

void CListView::OnEditCopy()
{
    if (!GetDocument() || KeyRow() < 0)
        return;
    CEntryClip& clip = CEntryClip::Get();
    if (const CDocKind* pKind = KeyDocKind())
        clip.Keep(*pKind, SelectedClipEntries());
    if (HeldKind() != kCopyNone)
        EmptyCopyBuffer();
    clip.SetPickedUp(nullptr);
    if (SelectedRows().size() > 1)
        return;
    // One entry is also picked up, as a Shift-click on the row would.
    ScrollRowIntoView(KeyRow());
    OnLButtonDown(MK_SHIFT | MK_LBUTTON, SelectionPoint());
    clip.SetPickedUp(CCopyBuffer::Get().Source());
}

void CListView::OnEditPaste()
{
    if (!GetDocument() || KeyRow() < 0)
        return;
    CCopyBuffer& buffer = CCopyBuffer::Get();
    CEntryClip& clip = CEntryClip::Get();
    ScrollRowIntoView(KeyRow());
    if (buffer.IsHolding() && buffer.Source() != clip.PickedUp()) {
        // Picked up by a Shift-click: the same as a click on the row.
        OnLButtonDown(MK_LBUTTON, SelectionPoint());
        return;
    }
    const CDocKind* pKind = KeyDocKind();
    if (!pKind)
        return;
    if (PasteEntries(clip.Entries(*pKind, [this](int n) { return KeyRowKind(n); }), res::kEditPaste) &&
        buffer.IsHolding())
        buffer.Clear();
}

void CListView::ShowEntry(int nEntry, int nPart)
{
    if (!GetDocument() || nEntry < 0 || nEntry >= GetDocument()->GetEntryCount())
        return;
    SelectEntry(nEntry, nPart);
    ScrollRowIntoView(KeyRow());
}

void CListView::ScrollRowIntoView(int nRow)
{
    if (nRow < 0)
        return;
    const CRect rc = KeyRowRect(nRow);
    const QPoint pos = GetScrollPosition();
    const int h = viewport()->height();
    int y = pos.y();
    if (rc.top < y)
        y = rc.top;
    else if (rc.bottom > y + h)
        y = rc.bottom - h;
    if (y != pos.y())
        ScrollToPosition(QPoint(pos.x(), y));
}

void CListView::keyPressEvent(QKeyEvent* e)
{
    using namespace edit_commands;
    const int nCount = KeyRowCount();
    if (!GetDocument() || nCount <= 0) {
        CScrollView::keyPressEvent(e);
        return;
    }
    const Qt::KeyboardModifiers mods = e->modifiers();
    if ((mods & Qt::AltModifier) && (e->key() == Qt::Key_Up || e->key() == Qt::Key_Down)) {
        // The selected entries one row up or down, the passed ones the other way.
        ApplyOrder(OrderAfterStep(SelectedRows(), e->key() == Qt::Key_Up ? -1 : +1, nCount));
        ScrollRowIntoView(KeyRow());
        return;
    }
    const bool bRange = (mods & Qt::ControlModifier) && (mods & Qt::ShiftModifier);
    const int nCurrent = KeyRow();
    const CRect rc = KeyRowRect(std::max(0, nCurrent));
    const int nPage = std::max(1, viewport()->height() / std::max(1, rc.bottom - rc.top));
    const bool bShift = (e->modifiers() & Qt::ShiftModifier) != 0;
    int nTarget = -2; // no move
    switch (e->key()) {
    case Qt::Key_Up: nTarget = nCurrent < 0 ? 0 : nCurrent - 1; break;
    case Qt::Key_Down: nTarget = nCurrent < 0 ? 0 : nCurrent + 1; break;
    case Qt::Key_Home: nTarget = 0; break;
    case Qt::Key_End: nTarget = nCount - 1; break;
    case Qt::Key_PageUp: nTarget = nCurrent < 0 ? 0 : nCurrent - nPage; break;
    case Qt::Key_PageDown: nTarget = nCurrent < 0 ? 0 : nCurrent + nPage; break;
    case Qt::Key_Left:
        KeyLeftRight(-1);
        ScrollRowIntoView(KeyRow());
        return;
    case Qt::Key_Right:
        KeyLeftRight(+1);
        ScrollRowIntoView(KeyRow());
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        if (bShift)
            break;
        ExecuteCommand(ID_EDIT_RENAME);
        return;
    case Qt::Key_Delete: ExecuteCommand(ID_EDIT_CLEAR); return;
    case Qt::Key_Escape: CCopyBuffer::Get().Clear(); return;
    case Qt::Key_Menu:
        if (nCurrent >= 0) {
            ScrollRowIntoView(nCurrent);
            OnRButtonDown(MK_RBUTTON, SelectionPoint());
        }
        return;
    default: break;
    }
    if (e->key() == Qt::Key_F10 && bShift) {
        if (nCurrent >= 0) {
            ScrollRowIntoView(nCurrent);
            OnRButtonDown(MK_RBUTTON, SelectionPoint());
        }
        return;
    }
    if (nTarget == -2) {
        CScrollView::keyPressEvent(e);
        return;
    }
    nTarget = std::clamp(nTarget, 0, nCount - 1);
    if (bRange && nCurrent >= 0) {
        ExtendTo(nTarget);
    } else {
        ClearMarks();
        if (nTarget != nCurrent)
            KeySelect(nTarget);
    }
    ScrollRowIntoView(nTarget);
}

CListView::~CListView() = default;

CListView::PopupHook CListView::SetPopupHook(PopupHook hook)
{
    PopupHook previous = Hook();
    Hook() = std::move(hook);
    return previous;
}

CListView::CCompareHooks CListView::SetCompareHooks(CCompareHooks hooks)
{
    CCompareHooks previous = CompareHooks();
    CompareHooks() = std::move(hooks);
    return previous;
}

CListView::CTransferDevices CListView::PrepareTransfer()
{
    CTransferDevices d;
    d.nInDevice = ReadMidiInDevice();
    d.nOutDevice = ReadMidiOutDevice();
    d.strDevices = FormatTransferDevices();
    return d;
}

void CListView::ReturnFocusAfterTransfer()
{
    // The boxes of a transfer leave no window active: the next command
    // would find no document.
    BringFrameToTop();
    if (QWidget* pTop = window()) {
        pTop->activateWindow();
    }
    setFocus();
}

void CListView::FillList(CDC& dc, const QSize& size)
{
    dc.FillSolidRect(CRect{0, 0, size.width(), size.height()}, ListColor());
}

void CListView::FillBand(CDC& dc, const CRect& rc)
{
    dc.FillSolidRect(rc, DarkColor());
}

void CListView::DrawLine(CDC& dc, const QColor& color, int x0, int y0, int x1, int y1)
{
    dc.SelectPen(color);
    dc.MoveTo(x0, y0);
    dc.LineTo(x1, y1);
}

void CListView::SelectListFont(CDC& dc)
{
    dc.SelectFont(ListFont());
    dc.SetTextColor(Qt::black);
}

void CListView::DrawText(CDC& dc, int x, int y, const std::string& text)
{
    dc.TextOut(x, y, QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void CListView::DrawName(CDC& dc, int x, int y, const uint8_t* pName, size_t nMax)
{
    size_t n = 0;
    while (n < nMax && pName[n] != 0)
        ++n;
    dc.TextOut(x, y, QString::fromLatin1(reinterpret_cast<const char*>(pName), static_cast<qsizetype>(n)));
}

void CListView::DrawRowGrid(CDC& dc, const CRowGrid& grid, int nSelected)
{
    const int right = grid.size.width();
    dc.FillSolidRect(CRect{grid.nLeft, 0, right, grid.size.height()}, ListColor());
    for (int k = 0; k < grid.nRows; ++k)
        if (k == nSelected || IsMarkedRow(k))
            FillBand(dc, CRect{grid.nLeft, k * grid.nRowHeight, right, (k + 1) * grid.nRowHeight});
    for (int x : grid.columns)
        DrawLine(dc, DarkColor(), x, 0, x, grid.nLineHeight);
    for (size_t i = 0; i + 1 < grid.columns.size(); ++i)
        DrawLine(dc, LightColor(), grid.columns[i] + 1, 0, grid.columns[i] + 1, grid.nLineHeight);
    for (int k = 0; k <= grid.nRows; ++k)
        DrawLine(dc, DarkColor(), grid.nLeft, k * grid.nRowHeight, right, k * grid.nRowHeight);
    for (int k = 0; k <= grid.nRows; ++k)
        DrawLine(dc, LightColor(), grid.nLeft, k * grid.nRowHeight + 1, right, k * grid.nRowHeight + 1);
}

void CListView::OnInitialUpdate()
{
    CScrollView::OnInitialUpdate();
    FitList(ContentSize());
    OpenTallEnough();
    FitList(ContentSize());
}

void CListView::OpenTallEnough()
{
    QWidget* pFrame = GetParentFrame();
    QWidget* pArea = pFrame ? pFrame->parentWidget() : nullptr;
    const int nRows = std::min(kRowsShownAtOpen, KeyRowCount());
    if (!pArea || nRows <= 0 || pFrame->isMaximized() || pFrame->isMinimized())
        return;
    const int nShort = KeyRowRect(nRows - 1).bottom - viewport()->height();
    // Only as far as the space below the window reaches: it stays where it opened.
    const int nGrow = std::min(nShort, pArea->height() - pFrame->geometry().bottom() - 1);
    if (nGrow > 0)
        pFrame->resize(pFrame->width(), pFrame->height() + nGrow);
}

void CListView::FitList(const QSize& size)
{
    SetScrollSizes(size);
    ResizeParentToFit(true);
}

void CListView::OnUpdate(CViewBase*, long, CObject* pHint)
{
    UpdateFromHint(pHint);
}

int CListView::TrackPopupMenu(const std::vector<CMenuItem>& described, const QPoint& ptViewport)
{
    const QPoint ptScreen = viewport()->mapToGlobal(ptViewport);
    // The described items, and Compare With Selected when there is something to compare with.
    std::vector<CMenuItem> items = described;
    if (const int n = SelectedEntry();
        n >= 0 && CompareHooks().canCompare && CompareHooks().canCompare(*this, n))
        items.insert(items.end(), {{0, nullptr},
                                   {edit_commands::ID_COMPARE_WITH_SELECTED, res::kMenuCompareWithSelected}});
    for (CMenuItem& item : items) {
        CCmdUI ui;
        ui.m_nID = item.nId;
        item.bEnabled = item.nId == 0 || !UpdateCommand(ui) || ui.m_bEnabled;
    }
    int nChosen = 0;
    if (Hook()) {
        nChosen = Hook()(items, ptScreen);
    } else {
        QMenu menu(this);
        for (const CMenuItem& item : items) {
            if (item.nId == 0) {
                menu.addSeparator();
                continue;
            }
            QAction* a = menu.addAction(QString::fromLatin1(item.szText));
            a->setData(item.nId);
            a->setEnabled(item.bEnabled);
        }
        if (QAction* chosen = menu.exec(ptScreen))
            nChosen = chosen->data().toInt();
    }
    const bool bDisabled = std::any_of(items.begin(), items.end(), [nChosen](const CMenuItem& item) {
        return item.nId == nChosen && !item.bEnabled;
    });
    if (nChosen == 0 || bDisabled)
        return 0;
    ExecuteCommand(nChosen);
    return nChosen;
}

int CListView::HeldKind()
{
    return CCopyBuffer::Get().Kind();
}

void CListView::PickUp(int nKind, void* pSource)
{
    CCopyBuffer::Get().PickUp(nKind, pSource, GetDocument());
}

void CListView::EmptyCopyBuffer()
{
    CCopyBuffer::Get().Empty();
}

void CListView::RefuseDrop()
{
    AfxMessageBox(res::kCantCopyInHere, MB_OK);
}

bool CListView::FinishDrop(const void* pDest, const std::function<void()>& copy,
                           const std::function<void()>& select)
{
    CCopyBuffer& buffer = CCopyBuffer::Get();
    const bool bCopy = buffer.Source() != pDest;
    if (bCopy) {
        copy(); // an edit of the document: modified, one undo step
        select();
        BringFrameToTop();
        buffer.SetArrowCursor();
    }
    buffer.Empty();
    return bCopy;
}

void CListView::BringFrameToTop()
{
    QWidget* frame = GetParentFrame();
    if (!frame)
        return;
    auto* sub = qobject_cast<QMdiSubWindow*>(frame);
    if (sub && sub->mdiArea())
        sub->mdiArea()->setActiveSubWindow(sub);
    frame->raise();
}

bool CListView::OnSetCursor()
{
    return CCopyBuffer::Get().Kind() != 0;
}

} // namespace vantorel
