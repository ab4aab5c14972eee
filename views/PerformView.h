#pragma once
// The window of a performance bank: 64 double rows, each with the
// performance's label and name on the left and the names of its two patches
// in the patch column on the right. Two kinds of entry and two selections;
// each kind can be renamed, initialised, fetched, sent, copied and auditioned.
#include <QPoint>

#include "data/PerformRecord.h"
#include "views/Audition.h"
#include "views/ListView.h"
#include "views/PatchCommands.h"

namespace vantorel {

// What a Shift-click on a performance picks up.
inline const int kCopyPerformance = res::DefineCopyCursor(141, "PFM");

class CPerformDoc;
class CPerformRecord;
class CPatchRecord;

class CPerformView : public CListView {
    Q_OBJECT
public:
    // Command ids.
    static constexpr int ID_GET_PERFORMANCE_BANK = 32782;
    static constexpr int ID_SEND_PERFORMANCE_BANK = 32783;
    static constexpr int ID_EDIT_PATCH_NAME = patch_commands::ID_EDIT_PATCH_NAME;
    static constexpr int ID_INIT_PATCH = patch_commands::ID_INIT_PATCH;
    static constexpr int ID_GET_PATCH = patch_commands::ID_GET_PATCH;
    static constexpr int ID_SEND_PATCH = patch_commands::ID_SEND_PATCH;
    static constexpr int ID_EDIT_PERFORMANCE_NAME = 32804;
    static constexpr int ID_INIT_PERFORMANCE = 32805;
    static constexpr int ID_GET_PERFORMANCE = 32806;
    static constexpr int ID_SEND_PERFORMANCE = 32807;

    static constexpr int kRowCount = 64;      // performances
    static constexpr int kHalfRowCount = 128; // patches in the patch column

    explicit CPerformView(QWidget* parent = nullptr);
    ~CPerformView() override;

    CPerformDoc* GetPerformDoc() const;

    int GetPerformanceSelection() const { return m_nSelectPerformance; }
    int SelectedEntry() const override { return m_nSelectPerformance; }
    int GetPatchSelection() const { return m_nSelectPatch; }
    int GetContextRow() const { return m_nContextRow; }
    int GetContextHalfRow() const { return m_nContextHalfRow; }
    int GetContextPart() const { return m_nContextPart; }
    bool IsSending() const { return m_audition.IsSending(); }

protected:
    QSize ContentSize() const override;
    void OnDraw(CDC& dc) override;
    void OnLButtonDown(unsigned nFlags, const QPoint& point) override;
    void OnRButtonDown(unsigned nFlags, const QPoint& point) override;

    // The keys move in the column that has the selection: 64 performances or
    // 128 patches.
    int KeyRowCount() const override;
    int KeyRow() const override;
    CRect KeyRowRect(int nRow) const override;
    void KeySelect(int nRow) override;
    void SelectEntry(int nEntry, int nPart) override;
    // A performance, its first patch, its second patch, in that order.
    void KeyLeftRight(int nStep) override;
    bool CanRenameSelection() const override { return KeyRow() >= 0; }
    void RenameSelection() override;
    void InitializeRow(int nRow) override;
    int KeyRowAt(const QPoint& ptLogical) const override;
    void SelectAt(const QPoint& ptLogical) override;
    int KeyRowKind(int) const override { return m_nSelectPatch >= 0 ? kCopyPatch : kCopyPerformance; }
    const CDocKind* KeyDocKind() const override;
    std::vector<uint8_t> KeyRowBytes(int nRow) const override;
    void PutKeyRow(int nRow, const std::vector<uint8_t>& bytes, const std::string& strEdit) override;

private:
    enum class Area { Outside, Performance, Patch };
    Area HitTest(const QPoint& pt) const;
    CPatchRecord& PatchOfHalfRow(int h) const;
    // New selections; each repaints its lost and gained rows when it changed.
    void SelectPerformance(int p);
    void SelectPatch(int h);
    // Selects a performance (h -1) or a patch (p -1) and auditions it as a click would.
    void SelectAndAudition(int p, int h);
    // Send Data of a click: the entry as its kind auditions it.
    void Audition(const CPerformRecord& performance);
    void Audition(const CPatchRecord& patch);
    // The context commands act on performance p and half row h.
    void SetContext(int p, int h);
    void SetContextToSelection();

    void OnInitPatch();
    void OnEditPatchName();
    void OnGetPatch();
    void OnSendPatch();
    void OnInitPerformance();
    void OnEditPerformanceName();
    void OnGetPerformance(bool bBank);
    void OnSendPerformance(bool bBank);

    int m_nSelectPerformance = -1;
    int m_nSelectPatch = -1;
    CPerformRecord* m_pContextPerformance = nullptr;
    CPatchRecord* m_pContextPatch = nullptr;
    int m_nContextRow = -1;
    int m_nContextHalfRow = -1;
    int m_nContextPart = 0;
    CAudition m_audition;
};

} // namespace vantorel
