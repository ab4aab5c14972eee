#include "framework/gui/UndoHistory.h"

#include <QUndoCommand>

#include "framework/core/Document.h"

namespace vantorel {

namespace {
class CEditCommand : public QUndoCommand {
public:
    CEditCommand(CDocument& doc, CDocEdit edit)
        : QUndoCommand(QString::fromLatin1(edit.strName.c_str())), m_doc(doc), m_edit(std::move(edit))
    {
    }
    void undo() override { m_doc.WriteEditSide(m_edit, false); }
    void redo() override
    {
        // The document applied the edit before it reached the stack.
        if (m_bApplied) {
            m_bApplied = false;
            return;
        }
        m_doc.WriteEditSide(m_edit, true);
    }

private:
    CDocument& m_doc;
    CDocEdit m_edit;
    bool m_bApplied = true;
};
} // namespace

CUndoHistory::CUndoHistory(CDocument& doc) : m_doc(doc)
{
    m_stack.setUndoLimit(kUndoLimit);
    m_stack.setClean();
    m_doc.SetEditHistory(this);
    connect(&m_stack, &QUndoStack::cleanChanged, this, [this](bool bClean) {
        if (!m_bMarkingClean)
            m_doc.SetModifiedFlag(!bClean);
    });
    connect(&m_stack, &QUndoStack::indexChanged, this, &CUndoHistory::changed);
}

CUndoHistory::~CUndoHistory()
{
    if (m_doc.GetEditHistory() == this)
        m_doc.SetEditHistory(nullptr);
}

CUndoHistory* CUndoHistory::Of(const CDocument* pDoc)
{
    return pDoc ? dynamic_cast<CUndoHistory*>(pDoc->GetEditHistory()) : nullptr;
}

void CUndoHistory::OnEditApplied(CDocEdit edit)
{
    m_stack.push(new CEditCommand(m_doc, std::move(edit)));
}

void CUndoHistory::OnSaved()
{
    m_bMarkingClean = true;
    m_stack.setClean();
    m_bMarkingClean = false;
}

} // namespace vantorel
