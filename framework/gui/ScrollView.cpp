#include "framework/gui/ScrollView.h"

#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollBar>

#include "framework/core/HintRect.h"

namespace vantorel {

unsigned KeyFlags(Qt::KeyboardModifiers mods)
{
    unsigned n = 0;
    if (mods & Qt::ShiftModifier)
        n |= MK_SHIFT;
    if (mods & Qt::ControlModifier)
        n |= MK_CONTROL;
    return n;
}

CScrollView::CScrollView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

CScrollView::~CScrollView() = default;

void CScrollView::OnInitialUpdate()
{
    Invalidate();
}

void CScrollView::OnUpdate(CViewBase*, long, CObject*)
{
    Invalidate();
}

void CScrollView::UpdateFromHint(CObject* pHint)
{
    if (!pHint) {
        Invalidate();
        return;
    }
    if (auto* hint = dynamic_cast<CHintRect*>(pHint))
        InvalidateLogicalRect(hint->m_rect);
}

void CScrollView::SetScrollSizes(const QSize& total)
{
    if (total == m_totalSize)
        return;
    m_totalSize = total;
    UpdateScrollBars();
}

void CScrollView::UpdateScrollBars()
{
    const QSize vp = viewport()->size();
    auto setup = [](QScrollBar* bar, int total, int visible) {
        const int page = std::max(1, total / 10);
        bar->setRange(0, std::max(0, total - visible));
        bar->setPageStep(std::max(1, std::min(page, visible)));
        bar->setSingleStep(std::max(1, page / 10));
    };
    setup(horizontalScrollBar(), m_totalSize.width(), vp.width());
    setup(verticalScrollBar(), m_totalSize.height(), vp.height());
}

QPoint CScrollView::GetScrollPosition() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void CScrollView::ScrollToPosition(const QPoint& pt)
{
    horizontalScrollBar()->setValue(pt.x());
    verticalScrollBar()->setValue(pt.y());
}

CRect CScrollView::LogicalToDevice(const CRect& rc) const
{
    const QPoint s = GetScrollPosition();
    return CRect{rc.left - s.x(), rc.top - s.y(), rc.right - s.x(), rc.bottom - s.y()};
}

void CScrollView::InvalidateLogicalRect(const CRect& rc)
{
    const CRect d = LogicalToDevice(rc);
    viewport()->update(QRect(d.left, d.top, d.right - d.left, d.bottom - d.top));
}

void CScrollView::Invalidate()
{
    viewport()->update();
}

QWidget* CScrollView::GetParentFrame() const
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (qobject_cast<QMdiSubWindow*>(w))
            return w;
    return nullptr;
}

void CScrollView::ResizeParentToFit(bool bShrinkOnly)
{
    QWidget* frame = GetParentFrame();
    if (!frame || frame->isMaximized() || frame->isMinimized())
        return;
    // Work with the area inside the frame without the scroll bars, and add
    // back the bars the content will need at the new size: the bars' own
    // visibility is only brought up to date after a resize, so the viewport's
    // present size would leave the window a bar's width short.
    QScrollBar* vBar = verticalScrollBar();
    QScrollBar* hBar = horizontalScrollBar();
    const int vExtent = vBar->isVisible() ? vBar->width() : vBar->sizeHint().width();
    const int hExtent = hBar->isVisible() ? hBar->height() : hBar->sizeHint().height();
    const QSize vp = viewport()->size();
    const int bareW = vp.width() + (vBar->isVisible() ? vExtent : 0);
    const int bareH = vp.height() + (hBar->isVisible() ? hExtent : 0);
    const QSize want = m_totalSize;
    auto needed = [](Qt::ScrollBarPolicy policy, bool bOverflow) {
        return policy == Qt::ScrollBarAlwaysOn || (policy == Qt::ScrollBarAsNeeded && bOverflow);
    };
    bool bV = false;
    bool bH = false;
    int targetW = bareW;
    int targetH = bareH;
    for (int pass = 0; pass < 3; ++pass) {
        targetW = want.width() + (bV ? vExtent : 0);
        targetH = want.height() + (bH ? hExtent : 0);
        if (bShrinkOnly) {
            targetW = std::min(targetW, bareW);
            targetH = std::min(targetH, bareH);
        }
        const bool bNewV = needed(verticalScrollBarPolicy(), targetH - (bH ? hExtent : 0) < want.height());
        const bool bNewH =
            needed(horizontalScrollBarPolicy(), targetW - (bNewV ? vExtent : 0) < want.width());
        if (bNewV == bV && bNewH == bH)
            break;
        bV = bNewV;
        bH = bNewH;
    }
    const int w = frame->width() + (targetW - bareW);
    const int h = frame->height() + (targetH - bareH);
    if (w != frame->width() || h != frame->height())
        frame->resize(std::max(w, frame->minimumSizeHint().width() / 2), std::max(h, 40));
}

void CScrollView::SetTimer(int nId, int nMs)
{
    CTimerService::Get().SetTimer(this, nId, nMs);
}

void CScrollView::KillTimer(int nId)
{
    CTimerService::Get().KillTimer(this, nId);
}

void CScrollView::OnLButtonDown(unsigned, const QPoint&) {}

void CScrollView::OnRButtonDown(unsigned, const QPoint&) {}

void CScrollView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Window));
    const QPoint s = GetScrollPosition();
    painter.translate(-s.x(), -s.y());
    CDC dc(painter);
    OnDraw(dc);
}

void CScrollView::mousePressEvent(QMouseEvent* e)
{
    const QPoint pt = e->position().toPoint();
    const unsigned flags = KeyFlags(e->modifiers());
    if (e->button() == Qt::LeftButton)
        OnLButtonDown(flags | MK_LBUTTON, pt);
    else if (e->button() == Qt::RightButton)
        OnRButtonDown(flags | MK_RBUTTON, pt);
    e->accept();
}

void CScrollView::mouseMoveEvent(QMouseEvent* e)
{
    if (!OnSetCursor())
        viewport()->unsetCursor();
    QAbstractScrollArea::mouseMoveEvent(e);
}

void CScrollView::resizeEvent(QResizeEvent* e)
{
    QAbstractScrollArea::resizeEvent(e);
    UpdateScrollBars();
}

void CScrollView::scrollContentsBy(int, int)
{
    viewport()->update();
}

} // namespace vantorel
