#pragma once
// A document's undo stack: each edit the document applies becomes one
// QUndoCommand holding the edit's own bytes. The clean state is where the
// file was last saved, opened or made, so the modified flag (the "*" and the
// save question) follows undo and redo.
#include <QObject>
#include <QString>
#include <QUndoStack>

#include "framework/core/DocEdit.h"

namespace vantorel {

class CDocument;

class CUndoHistory : public QObject, public IEditHistory {
    Q_OBJECT
public:
    // Steps kept per document; the oldest go first, so memory stays bounded.
    static constexpr int kUndoLimit = 200;

    // Attaches itself to doc and detaches when destroyed; doc must outlive it.
    explicit CUndoHistory(CDocument& doc);
    ~CUndoHistory() override;

    // The history attached to a document, or null.
    static CUndoHistory* Of(const CDocument* pDoc);

    void OnEditApplied(CDocEdit edit) override;
    void OnSaved() override;

    bool CanUndo() const { return m_stack.canUndo(); }
    bool CanRedo() const { return m_stack.canRedo(); }
    // The step's name, empty when there is none.
    QString UndoName() const { return m_stack.undoText(); }
    QString RedoName() const { return m_stack.redoText(); }
    void Undo() { m_stack.undo(); }
    void Redo() { m_stack.redo(); }
    int Count() const { return m_stack.count(); }

signals:
    // Something Undo or Redo would show has changed.
    void changed();

private:
    CDocument& m_doc;
    QUndoStack m_stack;
    bool m_bMarkingClean = false;
};

} // namespace vantorel
