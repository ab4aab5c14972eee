#pragma once
// A scrolling list window in pixel units: logical coordinates are content
// pixels, device coordinates are viewport pixels. Subclasses draw in OnDraw
// with logical coordinates and get mouse clicks in device coordinates, as the
// handlers of such windows expect, converting with DeviceToLogical.
#include <QAbstractScrollArea>
#include <QSize>

#include "framework/core/Document.h"
#include "framework/core/Rect.h"
#include "framework/core/TimerService.h"
#include "framework/gui/CmdTarget.h"
#include "framework/gui/DC.h"

namespace vantorel {

// Key-state flags handed to the mouse handlers.
enum : unsigned { MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004, MK_CONTROL = 0x0008 };

class CScrollView : public QAbstractScrollArea, public CViewBase, public CCmdTarget, public ITimerTarget {
    Q_OBJECT
public:
    explicit CScrollView(QWidget* parent = nullptr);
    ~CScrollView() override;

    // Called once the view is attached to its document and its frame exists.
    virtual void OnInitialUpdate();
    // Default: any update repaints the whole window.
    void OnUpdate(CViewBase* pSender, long lHint, CObject* pHint) override;
    // The usual row-hint handling: no hint repaints everything, a CHintRect
    // repaints its rectangle, any other hint is ignored.
    void UpdateFromHint(CObject* pHint);

    // Total content size; page = a tenth of it, line = a tenth of a page.
    void SetScrollSizes(const QSize& total);
    QSize GetTotalSize() const { return m_totalSize; }
    QPoint GetScrollPosition() const;
    void ScrollToPosition(const QPoint& pt);
    QPoint DeviceToLogical(const QPoint& pt) const { return pt + GetScrollPosition(); }
    CRect LogicalToDevice(const CRect& rc) const;
    void InvalidateLogicalRect(const CRect& rc);
    void Invalidate();

    // Shrinks (or, when bShrinkOnly is false, also grows) the child frame so
    // the window is no larger than its content.
    void ResizeParentToFit(bool bShrinkOnly = true);

    // Numbered window timers through the timer seam.
    void SetTimer(int nId, int nMs);
    void KillTimer(int nId);
    void OnTimer(int) override {}

    // The frame that holds this view (a QMdiSubWindow), or null.
    QWidget* GetParentFrame() const;

protected:
    friend class CScrollViewTestPeer; // runs the handlers as a click would
    virtual void OnDraw(CDC& dc) = 0;
    virtual void OnLButtonDown(unsigned nFlags, const QPoint& pt);
    virtual void OnRButtonDown(unsigned nFlags, const QPoint& pt);
    // True when the handler has set (kept) the cursor itself.
    virtual bool OnSetCursor() { return false; }

    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollBars();
    QSize m_totalSize;
};

// Key flags of the current keyboard state (Shift, Control) for mouse handlers.
unsigned KeyFlags(Qt::KeyboardModifiers mods);

} // namespace vantorel
