#pragma once
// The main window of a multiple-document program: a QMainWindow around a
// QMdiArea, with one QAction per command id shared by menus and toolbar.
// A command goes to the active view, its document (when that is a command
// target), the active child frame, this frame and the application, in that
// order; an action that none of them handles is disabled. States and the
// title are brought up to date on the events that change them: a child
// window activates, a menu opens, a command has run, a document opens,
// closes, is saved or has its modified flag changed. Nothing polls.
#include <QKeySequence>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <map>
#include <vector>

#include "framework/gui/CmdTarget.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QStatusBar;
class QToolBar;

namespace vantorel {

class CChildFrame;
class CDocManager;
class CDocument;
class CScrollView;

// Framework command ids the frame handles itself.
enum : int {
    ID_WINDOW_ARRANGE = 57649,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_VERT = 57652,
    ID_APP_EXIT = 57665,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
};

class CMDIFrameWnd : public QMainWindow, public CCmdTarget {
    Q_OBJECT
public:
    // The menu bar shown while no document window is active.
    static constexpr int kNoDocumentMenu = 0;

    explicit CMDIFrameWnd(CDocManager* pDocManager, QWidget* parent = nullptr);
    ~CMDIFrameWnd() override;

    QMdiArea* GetMdiArea() const { return m_pMdiArea; }
    CDocManager* GetDocManager() const { return m_pDocManager; }
    CChildFrame* MDIGetActive() const;
    CScrollView* GetActiveView() const;
    CDocument* GetActiveDocument() const;

    // One action per command. The prompt is "status prompt\ntooltip".
    QAction* AddCommandAction(int nId, const QString& strText, const QString& strPrompt = {},
                              const QKeySequence& shortcut = {});
    QAction* CommandAction(int nId) const;
    // The application object, last in the routing chain.
    void SetAppTarget(CCmdTarget* pApp);

    // Runs a command along the chain; false when no target handles it.
    bool RouteCommand(int nId);
    // Enable and check state of every action from the chain. Code that
    // changes a state outside a command calls it (or RefreshCommandsAndTitle).
    void UpdateAllCmdUI();
    void RefreshCommandsAndTitle();
    // The state one command would show (tests, tools).
    CCmdUI QueryCmdUI(int nId) const;

    // The menus of the menu bar while a window of kind nMenuId (the kind's
    // resource id) is active, in order; kNoDocumentMenu without a window.
    void SetMenuBarMenus(int nMenuId, std::vector<QMenu*> menus);
    // The Window menu: the list of open windows is kept at its end.
    void SetWindowMenu(QMenu* pMenu);

    // The bars the Tool Bar and Status Bar commands show and hide.
    void SetControlBars(QToolBar* pToolBar, QStatusBar* pStatusBar);

    // Main title ("Vantorel"); the active document's title is added to it.
    void SetTitleBase(const QString& strTitle);

    // Tile side by side (at their content widths over the whole height when
    // they all fit across, else in a grid), cascade, and line up the
    // minimised windows.
    void MDITile();
    void MDICascade();
    void MDIIconArrange();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    // A child window became active (or none did).
    virtual void OnChildActivated(CChildFrame* pFrame);

private:
    std::vector<CCmdTarget*> RoutingChain() const;
    void RefreshMenuBar();
    // UpdateAllCmdUI once the event in hand is done.
    void QueueCommandUpdate();
    void RefreshTitle();
    void RefreshWindowList();
    // A new window opens one step down and right of the last new one, or back
    // at the top-left corner when it would not fit there; never larger than
    // the workspace. It keeps that rule while its view fits it to the
    // content, up to the return to the event loop.
    void PlaceNewChild(QMdiSubWindow* pFrame);
    // Tile side by side at the windows' content widths, filling the height;
    // false (nothing moved) when they do not all fit across.
    bool TileByContent(const std::vector<QMdiSubWindow*>& windows, const QRect& area);

    CDocManager* m_pDocManager;
    QMdiArea* m_pMdiArea;
    CCmdTarget* m_pAppTarget = nullptr;
    std::map<int, QAction*> m_actions;
    std::map<int, std::vector<QMenu*>> m_menus;
    int m_nCurrentMenu = -1;
    QPointer<QMenu> m_pWindowMenu;
    std::vector<QAction*> m_windowListActions;
    QPointer<QToolBar> m_pToolBar;
    QPointer<QStatusBar> m_pStatusBar;
    QString m_strTitleBase;
    QPoint m_ptNextNew;
    bool m_bPlacing = false;
    bool m_bCmdUIQueued = false; // an update of the commands is on its way
};

} // namespace vantorel
