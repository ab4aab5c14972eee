// The shared list view's several entries: the selection of more than one
// row, pasting entries from the selected row on, moving them, and drags.
#include "views/ListView.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>

#include <algorithm>
#include <numeric>

#include "res/Images.h"
#include "res/Strings.h"
#include "res/strings/views.h"
#include "transfer/kinds/DocumentKinds.h"
#include "views/CopyBuffer.h"
#include "views/EntryClip.h"
#include "views/RowOrder.h"

namespace vantorel {

namespace {
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

CListView::DragHook CListView::SetDragHook(DragHook hook)
{
    DragHook previous = TheDragHook();
    TheDragHook() = std::move(hook);
    return previous;
}

std::vector<CClipEntry> CListView::SelectedClipEntries() const
{
    std::vector<CClipEntry> entries;
    for (int nRow : SelectedRows())
        entries.push_back({KeyRowKind(nRow), nRow, KeyRowBytes(nRow)});
    return entries;
}

std::vector<int> CListView::SelectedEntries() const
{
    return SelectedEntry() >= 0 ? SelectedRows() : std::vector<int>{};
}

void CListView::InitializeSelection()
{
    CDocument* pDoc = GetDocument();
    const std::vector<int> rows = SelectedRows();
    if (!pDoc || rows.empty())
        return;
    if (rows.size() == 1) {
        InitializeRow(rows.front());
        return;
    }
    CEditGroup group(*pDoc, res::kEditInitialize);
    for (int nRow : rows)
        InitializeRow(nRow);
}

void CListView::OnInitializeCommand(int nId, std::function<void()> initOne)
{
    OnCommand(nId, [this, initOne = std::move(initOne)] {
        if (SelectedRows().size() > 1)
            InitializeSelection();
        else
            initOne();
    });
}

void CListView::OnOneEntryCommand(int nId, std::function<void()> handler)
{
    OnCommand(nId, std::move(handler), [this](CCmdUI& ui) { ui.Enable(SelectedRows().size() <= 1); });
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

bool CListView::IsMarkedRow(int nRow) const
{
    return MarksValid() && m_marks.count(nRow) != 0;
}

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
    if (!(e->button() == Qt::RightButton && KeepSelectionForMenu(KeyRowAt(ptLogical), ptLogical)))
        ClearMarks();
    CScrollView::mousePressEvent(e);
    if (bLeftFree && bPlain && KeyRow() >= 0 && KeyRowAt(ptLogical) == KeyRow())
        m_press = {true, false, 0, pt};
}

bool CListView::KeepSelectionForMenu(int nRow, const QPoint& ptLogical)
{
    const std::vector<int> rows = SelectedRows();
    if (rows.size() < 2 || !std::binary_search(rows.begin(), rows.end(), nRow))
        return false;
    const int nAnchor = m_nAnchor;
    std::set<int> rangeBase = m_rangeBase;
    SelectAt(ptLogical);
    if (KeyRow() != nRow)
        return false;
    SetSelectedRows(rows, nRow, nAnchor);
    m_rangeBase = std::move(rangeBase);
    return true;
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
    std::vector<CClipEntry> entries = SelectedClipEntries();
    if (!pKind || entries.empty())
        return;
    static int s_nDrags = 0;
    CActiveDrag& drag = ActiveDrag();
    const QByteArray token =
        QByteArray::number(QCoreApplication::applicationPid()) + ':' + QByteArray::number(++s_nDrags);
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

void CListView::dragEnterEvent(QDragEnterEvent* e)
{
    dragMoveEvent(e);
}

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
        QMetaObject::invokeMethod(
            this, [this, order] { ApplyOrder(order); }, Qt::QueuedConnection);
        return;
    }
    ClearMarks();
    SelectAt(ptLogical);
    const CDocKind* pKind = KeyDocKind();
    if (KeyRow() < 0 || !pKind)
        return;
    const auto rowKind = [this](int n) { return KeyRowKind(n); };
    std::vector<CClipEntry> entries =
        IsOwnDrag(data) ? ActiveDrag().entries : ReadEntryMimeData(data, *pKind, rowKind);
    QMetaObject::invokeMethod(
        this,
        [this, entries = std::move(entries)] {
            BringFrameToTop();
            PasteEntries(entries, res::kEditCopy);
        },
        Qt::QueuedConnection);
}

} // namespace vantorel
