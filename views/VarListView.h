#pragma once
// What the pattern and motion windows share: one variable-length entry
// (CVarEntry) per row, selected, picked up and pasted with the copy buffer,
// emptied, fetched and sent one at a time or all together. The windows differ
// in their kind, rows, commands, drawing and how much they repaint.
#include <QPoint>
#include <QSize>

#include "data/VarEntry.h"
#include "views/ListView.h"

namespace vantorel {

class CVarListView : public CListView {
    Q_OBJECT
public:
    // What a window built on this class is.
    struct CVarListSpec {
        int nKind = 0; // copy kind of its entries
        int nRows = 0;
        int nIdGetAll = 0; // main menu and toolbar
        int nIdSendAll = 0;
        int nIdInitialize = 0; // context menu, on the context row
        int nIdGetOne = 0;
        int nIdSendOne = 0;
        const char* szInitialize = "";
        const char* szGetOne = "";
        const char* szSendOne = "";
    };

    CVarListView(const CVarListSpec& spec, QWidget* parent);

    // Scroll sizes and the frame fitted to the content.

    // The highlighted row, -1 for none.
    int GetSelection() const { return m_nSelect; }
    int SelectedEntry() const override { return m_nSelect; }
    // The row of the last right click, -1 before the first one.
    int GetContextRow() const { return m_nContext; }

protected:
    // The document's entry of row nRow (0 to nRows - 1); null without a document.
    virtual CVarEntry* Entry(int nRow) = 0;
    // The row height, from the document's layout values.
    virtual int RowHeight() const = 0;
    // Repaints after the selection moved from nOld to nNew (or a paste into nNew).
    virtual void RepaintSelection(int nOld, int nNew) = 0;
    // Runs the kind's Get or Send dialog for every entry (nSingle -1) or one;
    // returns how the dialog ended.
    virtual int RunGetDialog(int nSingle) = 0;
    virtual int RunSendDialog(int nSingle) = 0;

    void OnLButtonDown(unsigned nFlags, const QPoint& ptDevice) override;
    void OnRButtonDown(unsigned nFlags, const QPoint& ptDevice) override;

    int KeyRowCount() const override { return m_spec.nRows; }
    int KeyRow() const override { return m_nSelect; }
    CRect KeyRowRect(int nRow) const override;
    void KeySelect(int nRow) override { Select(nRow); }
    void InitializeRow(int nRow) override;
    int KeyRowAt(const QPoint& ptLogical) const override { return HitRow(ptLogical); }
    void SelectAt(const QPoint& ptLogical) override;
    int KeyRowKind(int) const override { return m_spec.nKind; }
    // A copy holds the data only, as a paste of a picked-up entry does.
    std::vector<uint8_t> AsCopy(const std::vector<uint8_t>& bytes) const override;

    // Row under a content point; -1 outside the list. Both edges of the
    // content count as inside, but the bottom border has no row.
    int HitRow(const QPoint& ptLogical) const;

private:
    void Select(int nRow);
    void Paste(int nRow);
    void OnInitialize();
    void OnGet(int nSingle);
    void OnSend(int nSingle);

    CVarListSpec m_spec;
    int m_nSelect = -1;
    int m_nContext = -1;
};

} // namespace vantorel
