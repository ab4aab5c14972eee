#pragma once
// The Library window: a dock beside the work area with a search field that
// filters as you type, kind, starred and tag filters, and the result list.
// Keyboard first: Ctrl+F (Library > Find) focuses the search, Down moves into
// the list, Enter or a double-click opens the entry's file in its list window
// with the entry selected. A click on an entry of a kind that has an audition
// (a patch, a performance) auditions it with Send Data on, as a click in its
// window does. Edit > Copy (Ctrl+C) on a result keeps its exclusive messages
// as Edit > Copy in a list window keeps entries (views/EntryClip.h), for
// Edit > Paste; a drag carries the same messages, which a list window takes
// as a drop.
// A click on the star or "*" stars a sound; the tags field below the list
// holds its tags. Both are kept by the sound, so they follow it into every
// file that holds it.
#include <QDockWidget>
#include <QTableView>

#include <functional>
#include <memory>
#include <string>

#include "app/library/LibraryModel.h"
#include "views/Audition.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace vantorel {

class CLibraryIndex;

// The result list: the keys and the drag of the window's gestures.
class CLibraryResultView : public QTableView {
    Q_OBJECT
public:
    explicit CLibraryResultView(QWidget* parent = nullptr);
    // Wide enough for the name, kind, label and file columns.
    QSize sizeHint() const override;

signals:
    void openRequested(int nRow);
    void copyRequested(int nRow);
    void dragRequested(int nRow);
    void keyMoved(int nRow);
    void rowPressed(int nRow, int nColumn);

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void startDrag(Qt::DropActions supportedActions) override;
};

class CLibraryWindow : public QDockWidget {
    Q_OBJECT
public:
    // Opens an entry's file in its list window with the entry selected.
    using OpenHandler = std::function<void(const CLibraryEntry&)>;

    explicit CLibraryWindow(QWidget* parent = nullptr);
    ~CLibraryWindow() override;

    // The index shown (null: nothing); the tag list and results are read again.
    void SetIndex(CLibraryIndex* pIndex);
    void SetOpenHandler(OpenHandler handler) { m_onOpen = std::move(handler); }
    // The index changed (a scan, a file refreshed): the results are read again.
    void Reload();
    // Ctrl+F: the search field gets the focus with its text selected.
    void FocusSearch();

    CLibraryModel& Model() { return m_model; }
    CLibraryResultView* ResultView() const { return m_pResults; }
    QLineEdit* SearchField() const { return m_pSearch; }
    QComboBox* KindFilter() const { return m_pKind; }
    QComboBox* TagFilter() const { return m_pTag; }
    QCheckBox* StarredFilter() const { return m_pStarred; }
    const CAudition& Audition() const { return m_audition; }

    // The gestures, by row of the result list.
    void OpenRow(int nRow);
    void AuditionRow(int nRow);
    // Keeps the entry for Edit > Paste; false (and said) when its file no
    // longer holds it.
    bool CopyRow(int nRow);
    void ToggleStar(int nRow);
    // The tags field shows the current result's tags; editing it sets them.
    QLineEdit* TagsField() const { return m_pTagsEdit; }
    void SetTags(int nRow, const QString& strTags);

    // Tests drop instead of a real drag (which runs its own event loop):
    // the hook gets the drag's data and returns when the drop is done. An
    // empty hook starts real drags; CLibraryWindowTestPeer sets it.
    using DragHook = std::function<void(QMimeData&)>;

protected:
    bool eventFilter(QObject* pWatched, QEvent* e) override;

private:
    friend class CLibraryWindowTestPeer;
    // Returns the previous hook.
    static DragHook SetDragHook(DragHook hook);

    void BuildWidgets();
    void ApplyFilters();
    void FillTags();
    void ShowTagsOf(int nRow);
    void DragRow(int nRow);
    // The entry as its exclusive messages, read from its file now; null
    // after saying why not.
    QMimeData* RowMimeData(int nRow);
    // The entry's bytes read from its file now; nothing after saying why.
    std::optional<std::vector<uint8_t>> ReadEntry(const CLibraryEntry& e);

    CLibraryIndex* m_pIndex = nullptr;
    CLibraryModel m_model;
    CLibraryResultView* m_pResults = nullptr;
    QLineEdit* m_pSearch = nullptr;
    QComboBox* m_pKind = nullptr;
    QComboBox* m_pTag = nullptr;
    QCheckBox* m_pStarred = nullptr;
    QLineEdit* m_pTagsEdit = nullptr;
    QLabel* m_pNote = nullptr;
    OpenHandler m_onOpen;
    CAudition m_audition;
};

} // namespace vantorel
