#include "framework/gui/ChildFrame.h"

#include <QCloseEvent>
#include <QMdiArea>

#include "framework/core/Document.h"
#include "framework/gui/DocManager.h"
#include "framework/gui/ScrollView.h"

namespace vantorel {

CChildFrame::CChildFrame(CDocManager* pManager, CDocument* pDoc, CDocTemplate* pTemplate, QWidget* parent)
    : QMdiSubWindow(parent), m_pManager(pManager), m_pDocument(pDoc), m_pTemplate(pTemplate)
{
    setAttribute(Qt::WA_DeleteOnClose);
    OnCommand(ID_FILE_CLOSE, [this] { close(); });
    OnCommand(ID_FILE_SAVE, [this] {
        if (m_pManager && m_pDocument)
            m_pManager->DoSave(m_pDocument, false);
    });
    OnCommand(ID_FILE_SAVE_AS, [this] {
        if (m_pManager && m_pDocument)
            m_pManager->DoSave(m_pDocument, true);
    });
    UpdateTitle();
}

CChildFrame::~CChildFrame() = default;

CScrollView* CChildFrame::GetActiveView() const
{
    return qobject_cast<CScrollView*>(widget());
}

void CChildFrame::ActivateFrame()
{
    if (isMinimized())
        showNormal();
    if (QMdiArea* area = mdiArea())
        area->setActiveSubWindow(this);
    raise();
}

void CChildFrame::UpdateTitle()
{
    if (!m_pDocument)
        return;
    const std::string title = m_pManager ? m_pManager->GetDisplayTitle(m_pDocument) : m_pDocument->GetTitle();
    setWindowTitle(QString::fromLocal8Bit(title.c_str()) + QStringLiteral("[*]"));
    setWindowModified(m_pDocument->IsModified());
}

void CChildFrame::ForceClose()
{
    m_bForceClose = true;
    close();
}

CChildFrame* CChildFrame::FromView(const QWidget* pView)
{
    for (QWidget* w = pView ? pView->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto* frame = qobject_cast<CChildFrame*>(w))
            return frame;
    return nullptr;
}

void CChildFrame::closeEvent(QCloseEvent* e)
{
    if (m_bClosed) {
        e->accept();
        return;
    }
    if (!m_bForceClose && m_pManager && !m_pManager->CanCloseFrame(this)) {
        e->ignore();
        return;
    }
    m_bClosed = true;
    // The view goes before its document, so no view ever sees a freed document.
    if (QWidget* view = widget()) {
        setWidget(nullptr);
        delete view;
    }
    QMdiSubWindow::closeEvent(e);
    e->accept();
    // No longer this frame's document, even for whoever the manager tells.
    m_pDocument = nullptr;
    if (m_pManager)
        m_pManager->OnFrameClosed(this);
}

} // namespace vantorel
