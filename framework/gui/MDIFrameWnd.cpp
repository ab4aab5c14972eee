#include "framework/gui/MDIFrameWnd.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <cmath>
#include <vector>

#include "framework/core/Document.h"
#include "framework/gui/ChildFrame.h"
#include "framework/gui/DocManager.h"
#include "framework/gui/ScrollView.h"

namespace vantorel {

namespace {
// The text an action was made with, shown when no target gives another.
const char* const kOwnTextProperty = "vantorelOwnText";
const char* const kNewWindowProperty = "vantorelNewWindow";
const char* const kPlacedProperty = "vantorelPlaced";

// The frames whose commands follow selections and the copy buffer.
std::vector<CMDIFrameWnd*>& LiveFrames()
{
    static std::vector<CMDIFrameWnd*> frames;
    return frames;
}
} // namespace

CMDIFrameWnd::CMDIFrameWnd(CDocManager* pDocManager, QWidget* parent)
    : QMainWindow(parent), m_pDocManager(pDocManager), m_pMdiArea(new QMdiArea(this))
{
    setCentralWidget(m_pMdiArea);
    m_pMdiArea->viewport()->installEventFilter(this);
    if (m_pDocManager) {
        m_pDocManager->SetMdiArea(m_pMdiArea);
        m_pDocManager->SetChangeHandler([this] { RefreshCommandsAndTitle(); });
    }
    // A window's selection or the copy buffer changes which commands apply;
    // the commands follow once the event in hand has been handled, before the
    // next one can use them.
    LiveFrames().push_back(this);
    SetCommandStateHandler([] {
        for (CMDIFrameWnd* pFrame : LiveFrames())
            pFrame->QueueCommandUpdate();
    });
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this,
            [this](QMdiSubWindow* w) { OnChildActivated(qobject_cast<CChildFrame*>(w)); });

    OnCommand(
        ID_WINDOW_CASCADE, [this] { MDICascade(); }, [this](CCmdUI& ui) { ui.Enable(MDIGetActive()); });
    OnCommand(
        ID_WINDOW_TILE_VERT, [this] { MDITile(); }, [this](CCmdUI& ui) { ui.Enable(MDIGetActive()); });
    OnCommand(
        ID_WINDOW_ARRANGE, [this] { MDIIconArrange(); }, [this](CCmdUI& ui) { ui.Enable(MDIGetActive()); });
    OnCommand(
        ID_VIEW_TOOLBAR,
        [this] {
            if (m_pToolBar)
                m_pToolBar->setVisible(m_pToolBar->isHidden());
        },
        [this](CCmdUI& ui) {
            ui.Enable(m_pToolBar != nullptr);
            ui.SetCheck(m_pToolBar && !m_pToolBar->isHidden());
        });
    OnCommand(
        ID_VIEW_STATUS_BAR,
        [this] {
            if (m_pStatusBar)
                m_pStatusBar->setVisible(m_pStatusBar->isHidden());
        },
        [this](CCmdUI& ui) {
            ui.Enable(m_pStatusBar != nullptr);
            ui.SetCheck(m_pStatusBar && !m_pStatusBar->isHidden());
        });
    OnCommand(ID_APP_EXIT, [this] { close(); });
}

CMDIFrameWnd::~CMDIFrameWnd()
{
    std::erase(LiveFrames(), this);
    // Child windows go before the frame's own members; their documents with them.
    if (m_pDocManager) {
        m_pDocManager->SetChangeHandler(nullptr);
        m_pDocManager->CloseAllDocuments();
        m_pDocManager->SetMdiArea(nullptr);
    }
}

CChildFrame* CMDIFrameWnd::MDIGetActive() const
{
    // The current window even while another program has the focus.
    return qobject_cast<CChildFrame*>(m_pMdiArea->currentSubWindow());
}

CScrollView* CMDIFrameWnd::GetActiveView() const
{
    CChildFrame* frame = MDIGetActive();
    return frame ? frame->GetActiveView() : nullptr;
}

CDocument* CMDIFrameWnd::GetActiveDocument() const
{
    CChildFrame* frame = MDIGetActive();
    return frame ? frame->GetDocument() : nullptr;
}

QAction* CMDIFrameWnd::AddCommandAction(int nId, const QString& strText, const QString& strPrompt,
                                        const QKeySequence& shortcut)
{
    if (QAction* existing = CommandAction(nId))
        return existing;
    auto* action = new QAction(strText, this);
    action->setData(nId);
    action->setProperty(kOwnTextProperty, strText);
    const int nl = strPrompt.indexOf('\n');
    if (!strPrompt.isEmpty()) {
        action->setStatusTip(nl >= 0 ? strPrompt.left(nl) : strPrompt);
        if (nl >= 0)
            action->setToolTip(strPrompt.mid(nl + 1));
    }
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::ApplicationShortcut);
    }
    // Added to the window itself so that shortcuts work with the bars hidden.
    addAction(action);
    connect(action, &QAction::triggered, this, [this, nId] { RouteCommand(nId); });
    m_actions[nId] = action;
    return action;
}

QAction* CMDIFrameWnd::CommandAction(int nId) const
{
    auto it = m_actions.find(nId);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMDIFrameWnd::SetAppTarget(CCmdTarget* pApp)
{
    m_pAppTarget = pApp;
    UpdateAllCmdUI();
}

std::vector<CCmdTarget*> CMDIFrameWnd::RoutingChain() const
{
    std::vector<CCmdTarget*> chain;
    if (CChildFrame* frame = MDIGetActive()) {
        if (CScrollView* view = frame->GetActiveView())
            chain.push_back(view);
        if (auto* docTarget = dynamic_cast<CCmdTarget*>(frame->GetDocument()))
            chain.push_back(docTarget);
        chain.push_back(frame);
    }
    chain.push_back(const_cast<CMDIFrameWnd*>(this));
    if (m_pAppTarget)
        chain.push_back(m_pAppTarget);
    return chain;
}

bool CMDIFrameWnd::RouteCommand(int nId)
{
    // A disabled command does nothing, whatever asked for it.
    if (!QueryCmdUI(nId).m_bEnabled)
        return false;
    QPointer<CMDIFrameWnd> self(this);
    bool bHandled = false;
    for (CCmdTarget* target : RoutingChain())
        if (target->ExecuteCommand(nId)) {
            bHandled = true;
            break;
        }
    if (self)
        RefreshCommandsAndTitle();
    return bHandled;
}

CCmdUI CMDIFrameWnd::QueryCmdUI(int nId) const
{
    CCmdUI ui;
    ui.m_nID = nId;
    for (CCmdTarget* target : RoutingChain())
        if (target->UpdateCommand(ui))
            return ui;
    ui.m_bEnabled = false;
    return ui;
}

void CMDIFrameWnd::UpdateAllCmdUI()
{
    for (auto& [id, action] : m_actions) {
        const CCmdUI ui = QueryCmdUI(id);
        action->setEnabled(ui.m_bEnabled);
        const QString text = ui.m_strText.empty() ? action->property(kOwnTextProperty).toString()
                                                  : QString::fromLatin1(ui.m_strText.c_str());
        if (action->text() != text)
            action->setText(text);
        if (ui.m_bCheckable) {
            action->setCheckable(true);
            action->setChecked(ui.m_bChecked);
        } else if (action->isCheckable()) {
            action->setChecked(false);
        }
    }
}

void CMDIFrameWnd::QueueCommandUpdate()
{
    if (m_bCmdUIQueued)
        return;
    m_bCmdUIQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_bCmdUIQueued = false;
        UpdateAllCmdUI();
    });
}

void CMDIFrameWnd::RefreshCommandsAndTitle()
{
    UpdateAllCmdUI();
    RefreshTitle();
}

void CMDIFrameWnd::SetMenuBarMenus(int nMenuId, std::vector<QMenu*> menus)
{
    for (QMenu* m : menus)
        connect(m, &QMenu::aboutToShow, this, &CMDIFrameWnd::UpdateAllCmdUI, Qt::UniqueConnection);
    m_menus[nMenuId] = std::move(menus);
    m_nCurrentMenu = -1;
    RefreshMenuBar();
}

void CMDIFrameWnd::SetWindowMenu(QMenu* pMenu)
{
    m_pWindowMenu = pMenu;
    if (pMenu)
        connect(pMenu, &QMenu::aboutToShow, this, &CMDIFrameWnd::RefreshWindowList, Qt::UniqueConnection);
}

void CMDIFrameWnd::SetControlBars(QToolBar* pToolBar, QStatusBar* pStatusBar)
{
    m_pToolBar = pToolBar;
    m_pStatusBar = pStatusBar;
}

void CMDIFrameWnd::SetTitleBase(const QString& strTitle)
{
    m_strTitleBase = strTitle;
    RefreshTitle();
}

void CMDIFrameWnd::RefreshMenuBar()
{
    int wanted = kNoDocumentMenu;
    if (CChildFrame* frame = MDIGetActive())
        if (CDocTemplate* t = frame->GetDocTemplate(); t && m_menus.count(t->GetResourceId()))
            wanted = t->GetResourceId();
    if (wanted == m_nCurrentMenu || !m_menus.count(wanted))
        return;
    m_nCurrentMenu = wanted;
    QMenuBar* bar = menuBar();
    bar->clear();
    for (QMenu* m : m_menus[wanted])
        bar->addMenu(m);
}

void CMDIFrameWnd::RefreshTitle()
{
    QString title = m_strTitleBase;
    if (CDocument* doc = GetActiveDocument()) {
        const std::string name = m_pDocManager ? m_pDocManager->GetDisplayTitle(doc) : doc->GetTitle();
        title += QStringLiteral(" - ") + QString::fromLocal8Bit(name.c_str());
    }
    if (windowTitle() != title)
        setWindowTitle(title);
}

void CMDIFrameWnd::RefreshWindowList()
{
    if (!m_pWindowMenu)
        return;
    for (QAction* a : m_windowListActions) {
        m_pWindowMenu->removeAction(a);
        a->deleteLater();
    }
    m_windowListActions.clear();
    const auto windows = m_pMdiArea->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    m_windowListActions.push_back(m_pWindowMenu->addSeparator());
    int n = 1;
    for (QMdiSubWindow* w : windows) {
        QString title = w->windowTitle();
        title.replace(QStringLiteral("[*]"), w->isWindowModified() ? QStringLiteral("*") : QString());
        title.replace('&', QStringLiteral("&&"));
        QAction* a = m_pWindowMenu->addAction(n < 10 ? QStringLiteral("&%1 %2").arg(n).arg(title) : title);
        a->setCheckable(true);
        a->setChecked(w == m_pMdiArea->currentSubWindow());
        QPointer<QMdiSubWindow> target(w);
        connect(a, &QAction::triggered, this, [this, target] {
            if (target)
                m_pMdiArea->setActiveSubWindow(target);
        });
        m_windowListActions.push_back(a);
        ++n;
    }
}

void CMDIFrameWnd::OnChildActivated(CChildFrame*)
{
    RefreshMenuBar();
    RefreshTitle();
    UpdateAllCmdUI();
}

void CMDIFrameWnd::MDICascade()
{
    m_pMdiArea->cascadeSubWindows();
}

void CMDIFrameWnd::MDITile()
{
    std::vector<QMdiSubWindow*> windows;
    bool bIcons = false;
    for (QMdiSubWindow* w : m_pMdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (w->isHidden())
            continue;
        if (w->isMinimized())
            bIcons = true;
        else
            windows.push_back(w);
    }
    const int n = int(windows.size());
    if (n == 0)
        return;
    QRect area = m_pMdiArea->viewport()->rect();
    if (bIcons) // leave the minimised windows their row at the bottom
        area.setBottom(area.bottom() - windows.front()->minimumSizeHint().height());
    if (TileByContent(windows, area))
        return;
    // Side by side: one column each up to three, then a near-square grid of columns.
    const int cols = n <= 3 ? n : int(std::ceil(std::sqrt(double(n))));
    const int base = n / cols;
    const int extra = n % cols;
    int k = 0;
    for (int c = 0; c < cols; ++c) {
        const int rows = base + (c >= cols - extra ? 1 : 0);
        const int x0 = area.left() + c * area.width() / cols;
        const int x1 = area.left() + (c + 1) * area.width() / cols;
        for (int r = 0; r < rows && k < n; ++r, ++k) {
            const int y0 = area.top() + r * area.height() / rows;
            const int y1 = area.top() + (r + 1) * area.height() / rows;
            QMdiSubWindow* w = windows[size_t(k)];
            if (w->isMaximized())
                w->showNormal();
            w->setGeometry(x0, y0, x1 - x0, y1 - y0);
        }
    }
}

namespace {
// The width of a window that shows its whole content, as its view fits it;
// 0 when it has no scroll view to ask.
int ContentWidth(QMdiSubWindow* pFrame)
{
    const auto* pView = qobject_cast<CScrollView*>(pFrame->widget());
    if (!pView || pView->GetTotalSize().isEmpty())
        return 0;
    return pView->GetTotalSize().width() + pFrame->width() - pView->viewport()->width();
}
} // namespace

bool CMDIFrameWnd::TileByContent(const std::vector<QMdiSubWindow*>& windows, const QRect& area)
{
    // Windows as wide as their content, side by side over the whole height,
    // when they all fit; the last takes the width left over (a list window
    // fits itself to its content again, so sharing it out would leave gaps).
    std::vector<int> widths;
    int nTotal = 0;
    for (QMdiSubWindow* w : windows) {
        const int nWidth = ContentWidth(w);
        if (nWidth <= 0)
            return false;
        widths.push_back(nWidth);
        nTotal += nWidth;
    }
    const int n = int(windows.size());
    if (nTotal > area.width())
        return false;
    int x = area.left();
    for (int k = 0; k < n; ++k) {
        const int nWidth = k + 1 == n ? area.right() + 1 - x : widths[size_t(k)];
        QMdiSubWindow* w = windows[size_t(k)];
        if (w->isMaximized())
            w->showNormal();
        w->setGeometry(x, area.top(), nWidth, area.height());
        x += nWidth;
    }
    return true;
}

void CMDIFrameWnd::MDIIconArrange()
{
    const QRect area = m_pMdiArea->viewport()->rect();
    int x = area.left();
    int y = -1;
    for (QMdiSubWindow* w : m_pMdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized() || w->isHidden())
            continue;
        const QSize s = w->size();
        if (y < 0)
            y = area.bottom() + 1 - s.height();
        if (x > area.left() && x + s.width() > area.right() + 1) {
            x = area.left();
            y -= s.height();
        }
        w->move(x, y);
        x += s.width();
    }
}

bool CMDIFrameWnd::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == m_pMdiArea->viewport()) {
        if (e->type() == QEvent::ChildAdded)
            if (auto* frame = qobject_cast<CChildFrame*>(static_cast<QChildEvent*>(e)->child())) {
                frame->setProperty(kNewWindowProperty, true);
                frame->installEventFilter(this);
            }
        return QMainWindow::eventFilter(watched, e);
    }
    auto* frame = qobject_cast<CChildFrame*>(watched);
    if (frame && frame->property(kNewWindowProperty).toBool() && !m_bPlacing) {
        if (e->type() == QEvent::Show) {
            PlaceNewChild(frame);
            // The window is settled once its creation has run to the end.
            QTimer::singleShot(0, frame, [frame] { frame->setProperty(kNewWindowProperty, false); });
        } else if (e->type() == QEvent::Resize && frame->isVisible()) {
            PlaceNewChild(frame);
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

void CMDIFrameWnd::PlaceNewChild(QMdiSubWindow* pFrame)
{
    if (pFrame->isMaximized() || pFrame->isMinimized())
        return;
    const QRect area = m_pMdiArea->viewport()->rect();
    if (area.width() < 100 || area.height() < 100)
        return; // no workspace to speak of yet
    m_bPlacing = true;
    const QSize size = pFrame->size().boundedTo(area.size());
    const bool bFirst = !pFrame->property(kPlacedProperty).toBool();
    const bool bAlone = m_pMdiArea->subWindowList().size() <= 1;
    QPoint pos = !bFirst ? pFrame->pos() : bAlone ? area.topLeft() : m_ptNextNew;
    if (!area.contains(QRect(pos, size)))
        pos = area.topLeft();
    if (size != pFrame->size())
        pFrame->resize(size);
    if (pos != pFrame->pos())
        pFrame->move(pos);
    pFrame->setProperty(kPlacedProperty, true);
    const int step = pFrame->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, pFrame);
    m_ptNextNew = pos + QPoint(step, step);
    m_bPlacing = false;
}

void CMDIFrameWnd::closeEvent(QCloseEvent* e)
{
    if (m_pDocManager) {
        if (!m_pDocManager->SaveAllModified()) {
            e->ignore();
            return;
        }
        m_pDocManager->CloseAllDocuments();
    }
    QMainWindow::closeEvent(e);
}

} // namespace vantorel
