#pragma once
// The window of a system document: two rows, "System Parameter" over
// "Tx/Rx Setting", each standing for its block of the system data. It shows
// only the labels; a block is copied only onto the same block of another
// system document. Every update repaints the whole window.
#include "data/SystemDoc.h"
#include "res/Images.h"
#include "views/ListView.h"

namespace vantorel {

// What a Shift-click on a row picks up: the system parameter block or the
// Tx/Rx setting block.
inline const int kCopySystem = res::DefineCopyCursor(142, "SYP");
inline const int kCopyTxRx = res::DefineCopyCursor(145, "TxRx");

class CSystemView : public CListView {
    Q_OBJECT
public:
    enum : int {
        ID_GET_SYSTEM = 32786,
        ID_SEND_SYSTEM = 32787,
        ID_INITIALIZE_SYSTEM_PARAMETER = 32820,
        ID_GET_SYSTEM_PARAMETER = 32821,
        ID_SEND_SYSTEM_PARAMETER = 32822,
        ID_INITIALIZE_TXRX_SETTING = 32823,
        ID_GET_TXRX_SETTING = 32824,
        ID_SEND_TXRX_SETTING = 32825,
    };
    // Which blocks a Get or Send moves.
    enum : int { kModeBoth = 0, kModeSystemParameter = 1, kModeTxRxSetting = 2 };
    enum : int { kRowSystemParameter = 0, kRowTxRxSetting = 1, kRowCount = 2 };

    explicit CSystemView(QWidget* parent = nullptr);

    // Scroll sizes and the frame fitted to the content.

    CSystemDoc* GetDocument() const { return dynamic_cast<CSystemDoc*>(CListView::GetDocument()); }
    // The highlighted row, -1 for none.
    int GetSelection() const { return m_nSelect; }
    int SelectedEntry() const override { return m_nSelect; }

protected:
    void OnDraw(CDC& dc) override;
    void OnUpdate(CViewBase* pSender, long lHint, CObject* pHint) override;
    void OnLButtonDown(unsigned nFlags, const QPoint& ptDevice) override;
    void OnRButtonDown(unsigned nFlags, const QPoint& ptDevice) override;

    int KeyRowCount() const override { return kRowCount; }
    int KeyRow() const override { return m_nSelect; }
    CRect KeyRowRect(int nRow) const override;
    void KeySelect(int nRow) override { Select(nRow); }
    void InitializeRow(int nRow) override { Initialize(nRow); }
    int KeyRowAt(const QPoint& ptLogical) const override
    {
        return IsInside(ptLogical) ? RowAt(ptLogical) : -1;
    }
    void SelectAt(const QPoint& ptLogical) override
    {
        if (const int nRow = KeyRowAt(ptLogical); nRow >= 0)
            KeySelect(nRow);
    }
    int KeyRowKind(int nRow) const override;

private:
    QSize ContentSize() const override;
    // Row of a content point: above the split line 0, otherwise 1.
    int RowAt(const QPoint& ptLogical) const;
    bool IsInside(const QPoint& ptLogical) const;
    void Select(int nRow);
    void RepaintDocument();
    void Paste(int nRow);
    void Initialize(int nRow);
    void Get(int nMode);
    void Send(int nMode);

    int m_nSelect = -1;
};

} // namespace vantorel
