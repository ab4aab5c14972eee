#include "views/CopyBuffer.h"

#include <QApplication>
#include <QEvent>
#include <QPixmap>

#include <map>

#include "framework/core/Document.h"
#include "framework/gui/CmdTarget.h"
#include "res/Images.h"

namespace vantorel {

// Watches the pointer while a copy cursor is shown with the buffer already
// empty: the next move over the program's windows brings back their own
// cursor, as the next set-cursor request would.
class CCopyCursorWatcher : public QObject {
public:
    explicit CCopyCursorWatcher(CCopyBuffer& buffer) : m_buffer(buffer) {}

protected:
    bool eventFilter(QObject* obj, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::MouseMove:
        case QEvent::HoverMove:
        case QEvent::Enter:
            if (!m_buffer.IsHolding() && m_buffer.m_nShownCursorId != 0)
                m_buffer.RestoreNormalCursor();
            break;
        default: break;
        }
        return QObject::eventFilter(obj, e);
    }

private:
    CCopyBuffer& m_buffer;
};

CCopyBuffer& CCopyBuffer::Get()
{
    static CCopyBuffer buffer;
    return buffer;
}

CCopyBuffer::CCopyBuffer()
{
    m_nDestroyToken = CDocument::AddDestroyListener([this](CDocument* pDoc) {
        // The entry lives inside that document: forget it before it is freed.
        if (pDoc && pDoc == m_pDocument)
            Empty();
    });
}

CCopyBuffer::~CCopyBuffer()
{
    CDocument::RemoveDestroyListener(m_nDestroyToken);
    delete m_pWatcher;
}

void CCopyBuffer::PickUp(int nKind, void* pSource, CDocument* pDoc)
{
    if (CursorIdForKind(nKind) == 0 || !pSource) {
        Empty();
        return;
    }
    m_nKind = nKind;
    m_pSource = pSource;
    m_pDocument = pDoc;
    ShowCursor(CursorIdForKind(nKind));
    CommandStateChanged();
}

void CCopyBuffer::Empty()
{
    m_nKind = kCopyNone;
    m_pSource = nullptr;
    m_pDocument = nullptr;
    CommandStateChanged();
}

void CCopyBuffer::SetArrowCursor()
{
    RestoreNormalCursor();
}

void CCopyBuffer::Clear()
{
    Empty();
    SetArrowCursor();
}

int CCopyBuffer::CursorIdForKind(int nKind)
{
    return nKind != kCopyNone && !res::CopyCursorImage(nKind).isNull() ? nKind : 0;
}

QCursor CCopyBuffer::CopyCursor(int nKind)
{
    const int id = CursorIdForKind(nKind);
    if (id == 0)
        return QCursor(Qt::ArrowCursor);
    // Drawn at the screen's scale, so a scaled screen shows it crisp.
    const qreal scale = qApp ? qApp->devicePixelRatio() : 1.0;
    static std::map<std::pair<int, qreal>, QCursor> cache;
    auto it = cache.find({id, scale});
    if (it == cache.end())
        it = cache
                 .emplace(std::pair{id, scale},
                          QCursor(QPixmap::fromImage(res::CopyCursorImage(id, scale)), 0, 0))
                 .first;
    return it->second;
}

void CCopyBuffer::SetCursorHost(QWidget* pHost)
{
    if (m_pHost && m_nShownCursorId != 0)
        m_pHost->unsetCursor();
    m_pHost = pHost;
    if (m_pHost && m_nShownCursorId != 0)
        m_pHost->setCursor(CopyCursor(m_nKind));
}

void CCopyBuffer::ShowCursor(int nCursorId)
{
    m_nShownCursorId = nCursorId;
    if (m_pHost)
        m_pHost->setCursor(CopyCursor(m_nKind));
    if (!m_pWatcher && QCoreApplication::instance()) {
        m_pWatcher = new CCopyCursorWatcher(*this);
        QCoreApplication::instance()->installEventFilter(m_pWatcher);
    }
}

void CCopyBuffer::RestoreNormalCursor()
{
    m_nShownCursorId = 0;
    if (m_pHost)
        m_pHost->unsetCursor();
    if (m_pWatcher) {
        // Deleted later: this may run inside the watcher's own filter.
        m_pWatcher->deleteLater();
        m_pWatcher = nullptr;
    }
}

} // namespace vantorel
