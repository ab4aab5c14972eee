#include "views/ListView.h"

#include <QAction>
#include <QApplication>
#include <QDrag>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>

#include <algorithm>
#include <numeric>

#include "framework/core/Document.h"
#include "framework/core/MessageBox.h"
#include "midi/DeviceNames.h"
#include "res/Images.h"
#include "res/Strings.h"
#include "transfer/TransferDevices.h"
#include "transfer/kinds/DocumentKinds.h"
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

CListView::DragHook& TheDragHook()
{
    static CListView::DragHook hook;
    return hook;
}

// The drag this program runs, while it runs: the window it started in, the
// token its data carries and its entries as they were when it started.
inline constexpr const char* kDragTokenType = "application/x-vantorel-drag";
struct CActiveDrag {
    const CListView* pSource = nullptr;
    QByteArray token;
    std::vector<CClipEntry> entries;
};
CActiveDrag& ActiveDrag()
{
    static CActiveDrag drag;
    return drag;
}
bool IsOwnDrag(const QMimeData& data)
{
    return ActiveDrag().pSource && data.data(kDragTokenType) == ActiveDrag().token;
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
    OnCommand(ID_EDIT_COPY, [this] { OnEditCopy(); }, bSelected);
    OnCommand(ID_EDIT_PASTE, [this] { OnEditPaste(); },
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
        clip.Keep(*pKind, SelectedEntries());
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

std::vector<CClipEntry> CListView::SelectedEntries() const
{
    std::vector<CClipEntry> entries;
    for (int nRow : SelectedRows())
        entries.push_back({KeyRowKind(nRow), nRow, KeyRowBytes(nRow)});
    return entries;
}

bool CListView::PasteEntries(const std::vector<CClipEntry>& entries, const std::string& strEdit)
{
    CDocument* pDoc = GetDocument();
    const int nFirst = KeyRow();
    const int nCount = static_cast<int>(entries.size());
    if (!pDoc || nFirst < 0)
        return false;
    bool bFits = nCount > 0;
    for (int i = 0; i < nCount && nFirst + i < KeyRowCount(); ++i)
        bFits = bFits && entries[size_t(i)].nKind == KeyRowKind(nFirst + i);
    if (!bFits) {
        RefuseDrop();
        return false;
    }
    if (nFirst + nCount > KeyRowCount()) {
        AfxMessageBox(QString::fromLatin1(res::kEntriesPastTheEnd)
                          .arg(nCount)
                          .arg(QString::fromStdString(pDoc->GetTitle()))
                          .arg(KeyRowCount() - nFirst)
                          .toStdString(),
                      MB_OK);
        return false;
    }
    {
        CEditGroup group(*pDoc, strEdit);
        for (int i = 0; i < nCount; ++i)
            PutKeyRow(nFirst + i, AsCopy(entries[size_t(i)].bytes), strEdit);
    }
    std::vector<int> rows(size_t(nCount), 0);
    std::iota(rows.begin(), rows.end(), nFirst);
    SetSelectedRows(rows, nFirst, nFirst);
    return true;
}

bool CListView::ApplyOrder(const std::vector<int>& order)
{
    CDocument* pDoc = GetDocument();
    if (!pDoc || order.size() != size_t(KeyRowCount()))
        return false;
    std::vector<std::vector<uint8_t>> before(order.size());
    for (int i = 0; i < int(order.size()); ++i) {
        const int nFrom = order[size_t(i)];
        if (nFrom == i)
            continue;
        if (KeyRowKind(nFrom) != KeyRowKind(i)) {
            RefuseDrop();
            return false;
        }
        before[size_t(nFrom)] = KeyRowBytes(nFrom);
    }
    {
        CEditGroup group(*pDoc, res::kEditMove);
        for (int i = 0; i < int(order.size()); ++i)
            if (order[size_t(i)] != i)
                PutKeyRow(i, before[size_t(order[size_t(i)])], res::kEditMove);
    }
    // The selection goes with its entries.
    const int nAnchor = MarksValid() ? m_nAnchor : KeyRow();
    std::vector<int> rows;
    for (int nRow : SelectedRows())
        rows.push_back(RowAfter(order, nRow));
    std::sort(rows.begin(), rows.end());
    SetSelectedRows(rows, RowAfter(order, KeyRow()), RowAfter(order, nAnchor));
    return true;
}

// ---- several entries --------------------------------------------------------

std::vector<int> CListView::SelectedRows() const
{
    const int nKey = KeyRow();
    if (nKey < 0)
        return {};
    std::set<int> rows;
    if (MarksValid())
        rows = m_marks;
    rows.insert(nKey);
    return {rows.begin(), rows.end()};
}

bool CListView::MarksValid() const
{
    return !m_marks.empty() && m_nMarkKey == KeyRow() && m_nMarkCount == KeyRowCount();
}

bool CListView::IsMarkedRow(int nRow) const { return MarksValid() && m_marks.count(nRow) != 0; }

void CListView::ClearMarks()
{
    if (m_marks.empty())
        return;
    m_marks.clear();
    viewport()->update();
}

void CListView::SetSelectedRows(const std::vector<int>& rows, int nKey, int nAnchor)
{
    m_marks.clear();
    if (nKey != KeyRow())
        KeySelect(nKey);
    m_marks.insert(rows.begin(), rows.end());
    m_marks.erase(KeyRow());
    m_nMarkKey = KeyRow();
    m_nMarkCount = KeyRowCount();
    m_nAnchor = nAnchor;
    m_rangeBase.clear();
    viewport()->update();
}

void CListView::ToggleRow(int nRow)
{
    std::vector<int> rows = SelectedRows();
    const auto it = std::lower_bound(rows.begin(), rows.end(), nRow);
    if (it == rows.end() || *it != nRow) {
        rows.insert(it, nRow);
        SetSelectedRows(rows, nRow, nRow);
    } else {
        if (rows.size() == 1)
            return; // the last selected entry stays selected
        const auto next = rows.erase(it);
        const int nKey = nRow != KeyRow() ? KeyRow() : next != rows.end() ? *next : rows.back();
        SetSelectedRows(rows, nKey, nKey);
    }
    m_rangeBase.insert(rows.begin(), rows.end());
}

void CListView::ExtendTo(int nRow)
{
    const bool bGoesOn = MarksValid();
    int nAnchor = bGoesOn ? m_nAnchor : KeyRow();
    if (nAnchor < 0 || nAnchor >= KeyRowCount())
        nAnchor = nRow;
    // The range comes on top of what Ctrl+clicks selected before it.
    std::set<int> base = bGoesOn ? m_rangeBase : std::set<int>{};
    std::set<int> rows = base;
    for (int r = std::min(nAnchor, nRow); r <= std::max(nAnchor, nRow); ++r)
        rows.insert(r);
    SetSelectedRows({rows.begin(), rows.end()}, nRow, nAnchor);
    m_rangeBase = std::move(base);
}

const CDocKind* CListView::KeyDocKind() const
{
    return GetDocument() ? DocumentKinds().Of(*GetDocument()) : nullptr;
}

std::vector<uint8_t> CListView::KeyRowBytes(int nRow) const
{
    return GetDocument() ? GetDocument()->GetEntryBytes(nRow) : std::vector<uint8_t>{};
}

void CListView::PutKeyRow(int nRow, const std::vector<uint8_t>& bytes, const std::string& strEdit)
{
    if (CDocument* pDoc = GetDocument())
        pDoc->ApplyEntries(strEdit, {{nRow, bytes}});
}

// ---- the mouse: several entries and drags -----------------------------------

void CListView::mousePressEvent(QMouseEvent* e)
{
    m_press = {};
    const QPoint pt = e->position().toPoint();
    const QPoint ptLogical = DeviceToLogical(pt);
    const Qt::KeyboardModifiers mods = e->modifiers();
    const bool bPlain = !(mods & (Qt::ShiftModifier | Qt::ControlModifier));
    const bool bLeftFree = e->button() == Qt::LeftButton && HeldKind() == kCopyNone && GetDocument();
    if (bLeftFree) {
        const int nRow = KeyRowAt(ptLogical);
        if ((mods & Qt::ControlModifier) && nRow >= 0 && KeyRow() >= 0) {
            if (mods & Qt::ShiftModifier)
                ExtendTo(nRow);
            else
                ToggleRow(nRow);
            ScrollRowIntoView(KeyRow());
            e->accept();
            return;
        }
        const std::vector<int> rows = SelectedRows();
        if (bPlain && rows.size() > 1 && std::binary_search(rows.begin(), rows.end(), nRow)) {
            // Several entries may be dragged: the click waits for the release.
            m_press = {true, true, KeyFlags(mods) | MK_LBUTTON, pt};
            e->accept();
            return;
        }
    }
    ClearMarks();
    CScrollView::mousePressEvent(e);
    if (bLeftFree && bPlain && KeyRow() >= 0 && KeyRowAt(ptLogical) == KeyRow())
        m_press = {true, false, 0, pt};
}

void CListView::mouseMoveEvent(QMouseEvent* e)
{
    if (m_press.bActive && (e->buttons() & Qt::LeftButton) &&
        (e->position().toPoint() - m_press.pt).manhattanLength() >= QApplication::startDragDistance()) {
        m_press = {};
        StartDrag();
        return;
    }
    CScrollView::mouseMoveEvent(e);
}

void CListView::mouseReleaseEvent(QMouseEvent* e)
{
    const CPress press = m_press;
    m_press = {};
    if (press.bActive && press.bDeferred && e->button() == Qt::LeftButton) {
        ClearMarks();
        OnLButtonDown(press.nFlags, press.pt);
    }
    CScrollView::mouseReleaseEvent(e);
}

void CListView::StartDrag()
{
    const CDocKind* pKind = KeyDocKind();
    std::vector<CClipEntry> entries = SelectedEntries();
    if (!pKind || entries.empty())
        return;
    static int s_nDrags = 0;
    CActiveDrag& drag = ActiveDrag();
    const QByteArray token = QByteArray::number(QCoreApplication::applicationPid()) + ':' + QByteArray::number(++s_nDrags);
    drag = {this, token, std::move(entries)};
    QMimeData* pData = MakeEntryMimeData(*pKind, drag.entries);
    pData->setData(kDragTokenType, drag.token);
    if (TheDragHook()) {
        TheDragHook()(*pData);
        delete pData;
    } else {
        auto* pDrag = new QDrag(viewport());
        pDrag->setMimeData(pData);
        const QImage cursor = res::CopyCursorImage(KeyRowKind(KeyRow()));
        if (!cursor.isNull())
            pDrag->setPixmap(QPixmap::fromImage(cursor));
        pDrag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
    }
    ActiveDrag() = {};
}

bool CListView::IsEntryDrag(const QMimeData* pData) const
{
    return pData && GetDocument() && (pData->hasFormat(kSysExMimeType) || IsOwnDrag(*pData));
}

void CListView::dragEnterEvent(QDragEnterEvent* e) { dragMoveEvent(e); }

void CListView::dragMoveEvent(QDragMoveEvent* e)
{
    if (!IsEntryDrag(e->mimeData())) {
        e->ignore(); // files: Qt hands them on to the main window
        return;
    }
    const bool bMove = IsOwnDrag(*e->mimeData()) && ActiveDrag().pSource == this;
    e->setDropAction(bMove ? Qt::MoveAction : Qt::CopyAction);
    e->accept();
}

void CListView::dropEvent(QDropEvent* e)
{
    if (!IsEntryDrag(e->mimeData())) {
        e->ignore(); // files: Qt hands them on to the main window
        return;
    }
    const bool bOwn = IsOwnDrag(*e->mimeData());
    const bool bMove = bOwn && ActiveDrag().pSource == this;
    e->setDropAction(bMove ? Qt::MoveAction : Qt::CopyAction);
    e->accept();
    DropEntries(*e->mimeData(), DeviceToLogical(e->position().toPoint()));
}

void CListView::DropEntries(const QMimeData& data, const QPoint& ptLogical)
{
    // What the drop does happens after the drag has ended: a refusal shows a box.
    if (IsOwnDrag(data) && ActiveDrag().pSource == this) {
        const int nTarget = KeyRowAt(ptLogical);
        if (nTarget < 0)
            return;
        const std::vector<int> order = OrderAfterMove(SelectedRows(), nTarget, KeyRowCount());
        QMetaObject::invokeMethod(this, [this, order] { ApplyOrder(order); }, Qt::QueuedConnection);
        return;
    }
    ClearMarks();
    SelectAt(ptLogical);
    const CDocKind* pKind = KeyDocKind();
    if (KeyRow() < 0 || !pKind)
        return;
    const auto rowKind = [this](int n) { return KeyRowKind(n); };
    std::vector<CClipEntry> entries = IsOwnDrag(data) ? ActiveDrag().entries : ReadEntryMimeData(data, *pKind, rowKind);
    QMetaObject::invokeMethod(
        this,
        [this, entries = std::move(entries)] {
            BringFrameToTop();
            PasteEntries(entries, res::kEditCopy);
        },
        Qt::QueuedConnection);
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
    case Qt::Key_Left: KeyLeftRight(-1); ScrollRowIntoView(KeyRow()); return;
    case Qt::Key_Right: KeyLeftRight(+1); ScrollRowIntoView(KeyRow()); return;
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

CListView::DragHook CListView::SetDragHook(DragHook hook)
{
    DragHook previous = TheDragHook();
    TheDragHook() = std::move(hook);
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

void CListView::FillBand(CDC& dc, const CRect& rc) { dc.FillSolidRect(rc, DarkColor()); }

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
}

void CListView::FitList(const QSize& size)
{
    SetScrollSizes(size);
    ResizeParentToFit(true);
}

void CListView::OnUpdate(CViewBase*, long, CObject* pHint) { UpdateFromHint(pHint); }

int CListView::TrackPopupMenu(const std::vector<CMenuItem>& items, const QPoint& ptViewport)
{
    const QPoint ptScreen = viewport()->mapToGlobal(ptViewport);
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
        }
        if (QAction* chosen = menu.exec(ptScreen))
            nChosen = chosen->data().toInt();
    }
    if (nChosen != 0)
        ExecuteCommand(nChosen);
    return nChosen;
}

int CListView::HeldKind() { return CCopyBuffer::Get().Kind(); }

void CListView::PickUp(int nKind, void* pSource) { CCopyBuffer::Get().PickUp(nKind, pSource, GetDocument()); }

void CListView::EmptyCopyBuffer() { CCopyBuffer::Get().Empty(); }

void CListView::RefuseDrop() { AfxMessageBox(res::kCantCopyInHere, MB_OK); }

bool CListView::FinishDrop(const void* pDest, const std::function<void()>& copy, const std::function<void()>& select)
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

bool CListView::OnSetCursor() { return CCopyBuffer::Get().Kind() != 0; }

} // namespace vantorel
