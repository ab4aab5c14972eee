#pragma once
// The window of a patch bank: 128 rows, label and name, one selection; rename,
// initialise, Get and Send of one patch or the bank, copying by Shift-click,
// and the Send Data audition.
#include <QPoint>

#include "views/Audition.h"
#include "views/ListView.h"
#include "views/PatchCommands.h"

namespace vantorel {

class CPatchDoc;
class CPatchRecord;

class CPatchView : public CListView {
    Q_OBJECT
public:
    // Command ids.
    static constexpr int ID_GET_PATCH_BANK = patch_commands::ID_GET_PATCH_BANK;
    static constexpr int ID_SEND_PATCH_BANK = patch_commands::ID_SEND_PATCH_BANK;
    static constexpr int ID_EDIT_PATCH_NAME = patch_commands::ID_EDIT_PATCH_NAME;
    static constexpr int ID_INIT_PATCH = patch_commands::ID_INIT_PATCH;
    static constexpr int ID_GET_PATCH = patch_commands::ID_GET_PATCH;
    static constexpr int ID_SEND_PATCH = patch_commands::ID_SEND_PATCH;

    static constexpr int kRowCount = 128;

    explicit CPatchView(QWidget* parent = nullptr);
    ~CPatchView() override;

    CPatchDoc* GetPatchDoc() const;

    int GetSelection() const { return m_nSelect; }
    int SelectedEntry() const override { return m_nSelect; }
    int GetContextRow() const { return m_nContextRow; }
    bool IsSending() const { return m_audition.IsSending(); }

protected:
    QSize ContentSize() const override;
    void OnDraw(CDC& dc) override;
    void OnLButtonDown(unsigned nFlags, const QPoint& point) override;
    void OnRButtonDown(unsigned nFlags, const QPoint& point) override;

    int KeyRowCount() const override { return kRowCount; }
    int KeyRow() const override { return m_nSelect; }
    CRect KeyRowRect(int nRow) const override;
    void KeySelect(int nRow) override;
    void SelectEntry(int nEntry, int) override { Select(nEntry); }
    bool CanRenameSelection() const override { return m_nSelect >= 0; }
    void RenameSelection() override;
    void InitializeRow(int nRow) override;
    int KeyRowAt(const QPoint& ptLogical) const override { return HitTest(ptLogical); }
    void SelectAt(const QPoint& ptLogical) override;
    int KeyRowKind(int) const override { return kCopyPatch; }

private:
    // Row under a logical point, -1 when the point is outside the list.
    int HitTest(const QPoint& pt) const;
    // New selection; repaints the old and new rows when it changed.
    void Select(int nRow);
    // The selected row becomes the row the context commands act on.
    void SetContextToSelection();

    void OnInitPatch();
    void OnEditPatchName();
    void OnGetPatch(bool bBank);
    void OnSendPatch(bool bBank);

    int m_nSelect = -1;
    CPatchRecord* m_pContextPatch = nullptr;
    int m_nContextRow = -1;
    CAudition m_audition;
};

} // namespace vantorel
