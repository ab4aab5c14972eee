#pragma once
// What the five list windows (patch, performance, system, pattern, motion)
// share: the grey list look, the list font, the device text for Get and Send,
// the pop-up menu, and the copy-buffer gestures (pick up, drop, refuse, keep
// the copy cursor), and several entries at once: Ctrl selections, Edit >
// Copy and Paste of them, drags and moves, Initialize of them all and the
// commands of one entry disabled meanwhile (ListEntries.cpp). Nothing here
// knows a kind of entry; each window decides its own areas, rows and what a
// drop copies.
//
// Typical left-button handler of a window built on this base:
//
//     const QPoint pt = DeviceToLogical(ptDevice);
//     if (!inside)            { clear selection; EmptyCopyBuffer(); }
//     else if (HeldKind())    { if (area accepts HeldKind())
//                                   FinishDrop(pDest, [&]{ copy bytes; }, [&]{ select; repaint; });
//                               else RefuseDrop(); }
//     else if (flags & MK_SHIFT) { select; PickUp(kind, pEntry); }
//     else                    { select; ... }
#include <QColor>
#include <QKeyEvent>
#include <QPoint>
#include <QSize>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "framework/core/Document.h"
#include "framework/core/MessageBox.h"
#include "framework/core/Rect.h"
#include "framework/gui/DC.h"
#include "framework/gui/ScrollView.h"
#include "res/strings/views.h"

class QMimeData;

namespace vantorel {

class CDocKind;
struct CClipEntry;

class CListView : public CScrollView {
    Q_OBJECT
public:
    explicit CListView(QWidget* parent = nullptr);
    ~CListView() override;

    // The framework's initial update, then the scroll sizes and the
    // shrink-only fit of the frame to ContentSize().
    void OnInitialUpdate() override;

    // ---- look -------------------------------------------------------------
    static QColor ListColor() { return RGB(192, 192, 192); }  // the list's grey
    static QColor DarkColor() { return RGB(127, 127, 127); }  // dark lines and the selection band
    static QColor LightColor() { return RGB(255, 255, 255); } // white lines
    // Courier New, cell height 14, width 7, weight 400.
    static CFontSpec ListFont() { return CFontSpec{14, 7, 400, "Courier New"}; }

    // ---- pop-up menu --------------------------------------------------------
    // One item of a pop-up menu; nId 0 is a separator. The menu shows an
    // item disabled when its command is (a command of one entry with several
    // selected), and a disabled item chosen does nothing.
    struct CMenuItem {
        int nId;
        const char* szText;
        bool bEnabled = true;
    };
    // Tests answer pop-up menus through this hook instead of a real menu: it is
    // given the items and the screen position and returns the chosen id (0 for
    // none). An empty hook shows real menus; CListViewTestPeer sets it.
    using PopupHook = std::function<int(const std::vector<CMenuItem>& items, const QPoint& ptScreen)>;
    // Tests carry a drag through this hook instead of a real drag: it is
    // given what the drag holds and drops it where it likes (or nowhere).
    // An empty hook starts real drags; CListViewTestPeer sets it.
    using DragHook = std::function<void(const QMimeData& data)>;

    // ---- several entries ----------------------------------------------------
    // The selected rows of the column that has the selection, in order: the
    // selected row and those added with Ctrl+click or Ctrl+Shift.
    std::vector<int> SelectedRows() const;

    // ---- compare ------------------------------------------------------------
    // The document entry the selection shows, -1 for none (a performance
    // window's patch rows are not entries of its own). A right click selects
    // what it opens its menu on, so this is also the entry of the menu.
    virtual int SelectedEntry() const { return -1; }
    // The document entries selected, in order (SelectedEntry among them);
    // none when the selection is not of the window's own entries.
    std::vector<int> SelectedEntries() const;
    // "Compare With Selected": the program, which knows the kinds and the
    // open windows, says whether entry n of a window has an entry to be
    // compared with (the other of two selected in the window, or one selected
    // in another window; the context menus then offer it), and compares them.
    // Returns the previous hooks.
    struct CCompareHooks {
        std::function<bool(const CListView& view, int nEntry)> canCompare;
        std::function<void(CListView& view, int nEntry)> compare;
    };
    static CCompareHooks SetCompareHooks(CCompareHooks hooks);

    // ---- Get and Send -------------------------------------------------------
    // Device numbers from the profile and the device text a Get or Send dialog
    // shows ("MIDI IN:\n\t" + in name + "\n\nMIDI OUT:\n\t" + out name).
    struct CTransferDevices {
        int nInDevice = 0;
        int nOutDevice = 0;
        std::string strDevices;
    };
    static CTransferDevices PrepareTransfer();
    // Runs a modal Get or Send dialog (any dialog with m_strDevices) with the
    // device text of the moment, then gives the focus back to this window.
    // Returns IDOK when a Get stored something into the document (only then
    // is the document modified), IDCANCEL otherwise; a Send's result says
    // nothing.
    template <class TDlg>
    int RunTransferDialog(TDlg& dlg)
    {
        dlg.m_strDevices = PrepareTransfer().strDevices;
        const int nResult = dlg.DoModal();
        ReturnFocusAfterTransfer();
        return nResult == IDOK && dlg.HasStored() ? IDOK : IDCANCEL;
    }
    // A Get's dialog, run as above: what it stores in this window's document
    // is one undo step "Get", also when the Get is stopped part way.
    template <class TDlg>
    int RunGetTransfer(TDlg& dlg)
    {
        CDocument* pDoc = CViewBase::GetDocument();
        if (!pDoc)
            return RunTransferDialog(dlg);
        CEditGroup group(*pDoc, res::kEditGet);
        return RunTransferDialog(dlg);
    }
    // The document window that ran a transfer is the active one again.
    void ReturnFocusAfterTransfer();

    // ---- from outside the window (the Library window) -----------------------
    // Makes entry nEntry the selection (nPart 0 or 1: a patch inside
    // performance nEntry) without auditioning it, and scrolls it into view.
    void ShowEntry(int nEntry, int nPart = -1);

protected:
    // The list's scroll size, from the document's layout values.
    virtual QSize ContentSize() const = 0;

    // ---- drawing (logical pixels) ------------------------------------------
    // Fills (0, 0, size) with the list grey.
    void FillList(CDC& dc, const QSize& size);
    // Fills rc with the dark selection band (left/top included, right/bottom not).
    void FillBand(CDC& dc, const CRect& rc);
    // A one-pixel line from (x0, y0) towards (x1, y1); the end point stays unpainted.
    void DrawLine(CDC& dc, const QColor& color, int x0, int y0, int x1, int y1);
    // Selects the list font; black text.
    void SelectListFont(CDC& dc);
    // Plain text, top-left at (x, y).
    void DrawText(CDC& dc, int x, int y, const std::string& text);
    // An entry name: at most nMax bytes, up to a zero byte if there is one,
    // shown as 8-bit (Latin-1) characters.
    void DrawName(CDC& dc, int x, int y, const uint8_t* pName, size_t nMax = 16);
    // A list of equal rows: grey fill from (nLeft, 0) to size, the selection
    // band over that width, a dark vertical line at each of columns from y 0
    // to nLineHeight with a white one right of each but the last (the right
    // border), then a dark boundary under every row from nLeft to the width,
    // the first at y 0, each with a white line one pixel below.
    struct CRowGrid {
        int nLeft = 0;
        std::vector<int> columns;
        int nLineHeight = 0;
        int nRows = 0;
        int nRowHeight = 16;
        QSize size;
    };
    void DrawRowGrid(CDC& dc, const CRowGrid& grid, int nSelected);
    // True for a row selected besides the selected row itself (drawn with the
    // same band), in the column that has the selection.
    bool IsMarkedRow(int nRow) const;
    // Scroll sizes and shrink-only fit of the frame; called at the end of every
    // paint and from the initial update.
    void FitList(const QSize& size);
    // A new window shows at least this many rows (all of a shorter list) where
    // the workspace below it has the room.
    static constexpr int kRowsShownAtOpen = 32;
    void OpenTallEnough();

    // ---- updates ------------------------------------------------------------
    // Every list window repaints by hint: none = everything, CHintRect = its rectangle.
    void OnUpdate(CViewBase* pSender, long lHint, CObject* pHint) override;

    // ---- pop-up menu --------------------------------------------------------
    // Shows items at the click's viewport point (mapped to the screen), with
    // Compare With Selected after them when the compare hooks offer it, then
    // runs the chosen command through ExecuteCommand. Returns the id (0: none
    // or a disabled one).
    int TrackPopupMenu(const std::vector<CMenuItem>& items, const QPoint& ptViewport);

    // ---- copy buffer --------------------------------------------------------
    // Kind held in the program-wide copy buffer, 0 when empty.
    static int HeldKind();
    // Picks up an entry of this window's document; the cursor becomes the kind's copy cursor.
    void PickUp(int nKind, void* pSource);
    static void EmptyCopyBuffer();
    // "Can't Copy in Here."; the buffer and the cursor stay as they are.
    static void RefuseDrop();
    // A drop on an area that accepts the held kind, pDest being the entry under
    // the pointer. The picked-up entry itself: nothing is copied. Otherwise
    // copy() makes the document's copy edit (modified, one undo step), select()
    // sets the window's selection and repaints, the frame comes to the top and
    // the arrow cursor is set. The buffer is emptied in both cases. True when copied.
    bool FinishDrop(const void* pDest, const std::function<void()>& copy,
                    const std::function<void()>& select);
    // Raises this view's child frame above the others and activates it.
    void BringFrameToTop();
    // Keeps the copy cursor while the buffer holds an entry.
    bool OnSetCursor() override;

    // ---- the selected row, for the Edit menu and the keyboard ---------------
    // Rows the arrow keys move through (in the performance window: the
    // column that has the selection), the selected one (-1: none), and the
    // logical rectangle of a row.
    virtual int KeyRowCount() const = 0;
    virtual int KeyRow() const = 0;
    virtual CRect KeyRowRect(int nRow) const = 0;
    // Selects a row as a click would, auditioning with Send Data on when no
    // audition is still sending; never touches the copy buffer.
    virtual void KeySelect(int nRow) = 0;
    // The selection of ShowEntry; windows whose KeySelect auditions override it.
    virtual void SelectEntry(int nEntry, int /*nPart*/) { KeySelect(nEntry); }
    // Left and Right (-1, +1); only the performance window has columns.
    virtual void KeyLeftRight(int) {}
    // Rename of the selected row; false when there is none (or the kind
    // has no names). With several selected it renames the selected row.
    virtual bool CanRenameSelection() const { return false; }
    virtual void RenameSelection() {}
    // Initialize of one row of the column that has the selection.
    virtual void InitializeRow(int nRow) = 0;
    // Initialize of every selected row, several as one undo step.
    void InitializeSelection();

    // ---- commands on several selected entries -------------------------------
    // A context command that initialises its entry: with several selected it
    // initialises them all (InitializeSelection), otherwise initOne().
    void OnInitializeCommand(int nId, std::function<void()> initOne);
    // A command of one entry: disabled while several are selected.
    void OnOneEntryCommand(int nId, std::function<void()> handler);

    // ---- the entries of the selected row's column ---------------------------
    // The row of that column under a logical point, -1 outside it.
    virtual int KeyRowAt(const QPoint& ptLogical) const = 0;
    // Selects the entry under a logical point, in whichever column, as a
    // click would but without auditioning; nothing outside the rows.
    virtual void SelectAt(const QPoint& ptLogical) = 0;
    // The copy kind of a row (what a Shift-click there picks up).
    virtual int KeyRowKind(int nRow) const = 0;
    // The kind of the column's entries, row n being its entry n.
    virtual const CDocKind* KeyDocKind() const;
    // A row's entry as bytes, and writing them back (an edit named strEdit).
    virtual std::vector<uint8_t> KeyRowBytes(int nRow) const;
    virtual void PutKeyRow(int nRow, const std::vector<uint8_t>& bytes, const std::string& strEdit);
    // What a copy of an entry writes (patterns and motions: the data only).
    virtual std::vector<uint8_t> AsCopy(const std::vector<uint8_t>& bytes) const { return bytes; }

    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    // ---- several entries ----------------------------------------------------
    bool MarksValid() const;
    void ClearMarks();
    // Sets the selection to rows (ascending, with nKey among them).
    void SetSelectedRows(const std::vector<int>& rows, int nKey, int nAnchor);
    void ToggleRow(int nRow);
    void ExtendTo(int nRow);
    std::vector<CClipEntry> SelectedClipEntries() const;
    // A right press on one of several selected rows keeps them selected,
    // that row becoming the selected one (no audition: a right click has none).
    bool KeepSelectionForMenu(int nRow, const QPoint& ptLogical);
    // Writes entries from the selected row on as one undo step strEdit;
    // refuses (with its message) what does not fit or goes in another kind's row.
    bool PasteEntries(const std::vector<CClipEntry>& entries, const std::string& strEdit);
    // Puts row order[i]'s entry into row i for every row, as one undo step,
    // the selection following its entries; refuses a row of another kind.
    bool ApplyOrder(const std::vector<int>& order);
    void StartDrag();
    bool IsEntryDrag(const QMimeData* pData) const;
    void DropEntries(const QMimeData& data, const QPoint& ptLogical);

    std::set<int> m_marks; // selected rows besides the selected row
    int m_nMarkKey = -1;   // the selected row and column size the marks go with
    int m_nMarkCount = 0;
    int m_nAnchor = -1;        // where Ctrl+Shift ranges start
    std::set<int> m_rangeBase; // selected by Ctrl+clicks before the range
    // A left press that may become a drag; bDeferred when it pressed on a row
    // of several selected (the click happens on release, if no drag starts).
    struct CPress {
        bool bActive = false;
        bool bDeferred = false;
        unsigned nFlags = 0;
        QPoint pt;
    } m_press;

    friend class CListViewTestPeer;
    // Returns the previous hook.
    static PopupHook SetPopupHook(PopupHook hook);
    static DragHook SetDragHook(DragHook hook);

    // Scrolls so that the row is in view.
    void ScrollRowIntoView(int nRow);
    // A viewport point inside the selected row, as a click there would give.
    QPoint SelectionPoint() const;
    void OnEditCopy();
    void OnEditPaste();
    void RegisterEditCommands();
};

} // namespace vantorel
