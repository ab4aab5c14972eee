#pragma once
// The frame of one document window: a multiple-document child window that
// holds one view. Its title is the document's title ("*" while modified).
// A document has exactly one window: closing it closes the document, after
// the document manager's "Save changes to %1?" when it is modified.
#include <QMdiSubWindow>

#include "framework/gui/CmdTarget.h"

namespace vantorel {

class CDocManager;
class CDocTemplate;
class CDocument;
class CScrollView;

// Command ids the child frame handles for its document.
enum : int { ID_FILE_CLOSE = 57602, ID_FILE_SAVE = 57603, ID_FILE_SAVE_AS = 57604 };

class CChildFrame : public QMdiSubWindow, public CCmdTarget {
    Q_OBJECT
public:
    CChildFrame(CDocManager* pManager, CDocument* pDoc, CDocTemplate* pTemplate, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CDocTemplate* GetDocTemplate() const { return m_pTemplate; }
    CScrollView* GetActiveView() const;
    // Makes this the active window, restoring it when minimised.
    void ActivateFrame();
    // Title from the document (and the modified mark).
    void UpdateTitle();
    // Closes without the save question (the document manager closing all).
    void ForceClose();

    // The frame that holds a view (its parent chain), or null.
    static CChildFrame* FromView(const QWidget* pView);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    friend class CDocManager;
    CDocManager* m_pManager;
    CDocument* m_pDocument;
    CDocTemplate* m_pTemplate;
    bool m_bForceClose = false;
    bool m_bClosed = false;
};

} // namespace vantorel
