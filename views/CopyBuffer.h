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

// What is picked up; the values are the program's copy kinds.
enum CopyKind : int {
    kCopyNone = 0,
    kCopyPatch = 1,       // one 239-byte patch record (a bank row or a performance's patch)
    kCopyPerformance = 2, // one 528-byte performance record
    kCopySystem = 3,      // the 23-byte system parameter block
    kCopyTxRx = 4,        // the 42-byte Tx/Rx setting block
    kCopyPattern = 5,     // one pattern entry
    kCopyMotion = 6,      // one motion entry
};

class CCopyBuffer {
public:
    static CCopyBuffer& Get();

    // Shift-click on an entry with the buffer empty: remember it and show the
    // kind's copy cursor at once. pDoc is the document that owns pSource.
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

    // Cursor id (140 to 145) of a kind; 0 for none or an unknown kind.
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
