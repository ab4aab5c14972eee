#pragma once
// The program-wide copy buffer: what a Shift-click picked up (its kind and a
// pointer to the entry inside its document) until the next drop. It holds no
// copy of the entry, so a change made to the source before the drop is part
// of what is dropped; it forgets the entry when the source document goes, so
// no drop ever reads freed data.
#include <QCursor>
#include <QPointer>
#include <QWidget>

namespace vantorel {

class CDocument;

// What is picked up is known by the copy cursor it shows (res/Images.h):
// each window names its own (kCopyPatch in views/PatchCommands.h, ...). A
// drop takes only what its window knows. Nothing held: kCopyNone.
inline constexpr int kCopyNone = 0;

class CCopyBuffer {
public:
    static CCopyBuffer& Get();

    // Shift-click on an entry with the buffer empty: remember it and show
    // its copy cursor (nKind, a cursor id) at once. pDoc is the document that
    // owns pSource. Anything but a copy cursor's id holds nothing.
    void PickUp(int nKind, void* pSource, CDocument* pDoc);
    int Kind() const { return m_nKind; }
    void* Source() const { return m_pSource; }
    CDocument* SourceDocument() const { return m_pDocument; }
    bool IsHolding() const { return m_nKind != kCopyNone; }
    // Forgets the entry. The copy cursor stays until the pointer next moves
    // over the program's windows, which then shows their normal cursor.
    void Empty();
    // The standard arrow at once (after a copy and on Clear Copy Buffer).
    void SetArrowCursor();
    // The Clear Copy Buffer command: Empty, then the arrow.
    void Clear();

    // The cursor id of what is held: nKind itself when it is a copy cursor, else 0.
    static int CursorIdForKind(int nKind);
    // The copy cursor of a kind (built once); the arrow for none.
    QCursor CopyCursor(int nKind);

    // The window whose cursor shows the copy cursor (the main frame; its
    // child windows inherit it). Null: the state is kept but nothing shows.
    void SetCursorHost(QWidget* pHost);
    // Id of the copy cursor now shown on the host, 0 when its own cursor shows.
    int ShownCursorId() const { return m_nShownCursorId; }

private:
    CCopyBuffer();
    ~CCopyBuffer();
    CCopyBuffer(const CCopyBuffer&) = delete;
    CCopyBuffer& operator=(const CCopyBuffer&) = delete;
    void ShowCursor(int nCursorId);
    void RestoreNormalCursor();
    friend class CCopyCursorWatcher;

    int m_nKind = kCopyNone;
    void* m_pSource = nullptr;
    CDocument* m_pDocument = nullptr;
    int m_nDestroyToken = 0;
    int m_nShownCursorId = 0;
    QPointer<QWidget> m_pHost;
    QObject* m_pWatcher = nullptr;
};

} // namespace vantorel
