#pragma once
// Get Patch and Send Patch: a whole bank, one user patch, or one of the two
// patches inside a performance.
#include "transfer/TransferDlg.h"
#include "transfer/plans/PatchPlan.h"

namespace vantorel {

class CGettingPatchDlg : public CGettingDlg {
    Q_OBJECT
public:
    explicit CGettingPatchDlg(QWidget* parent = nullptr);
    CPatchGetPlan m_plan;
};

class CSendingPatchDlg : public CSendingDlg {
    Q_OBJECT
public:
    explicit CSendingPatchDlg(QWidget* parent = nullptr);
    CPatchSendPlan m_plan;
};

// Bank Get: m_pDoc, the patch bank. Single Get: m_pDoc, m_bSingle and
// m_nIndex. A performance's patch: m_pDoc the performance bank,
// m_nPerformance and m_nPart (1 or 2).
class CGetPatchDlg : public CTransferDlg {
    Q_OBJECT
public:
    explicit CGetPatchDlg(QWidget* parent = nullptr);

    CDocument* m_pDoc = nullptr;
    bool m_bSingle = false;
    int m_nIndex = 0;
    int m_nPerformance = 0;
    int m_nPart = 0;

    CGettingPatchDlg m_progress;
    CProgressDlg& Progress() override { return m_progress; }

protected:
    void PrepareProgress() override;
};

// Bank Send: m_pRead (the bank's first record). Single and part as for Get.
class CSendPatchDlg : public CTransferDlg {
    Q_OBJECT
public:
    explicit CSendPatchDlg(QWidget* parent = nullptr);

    CPatchRecord* m_pRead = nullptr;
    CPatchRecord* m_pRecord = nullptr;
    int m_nIndex = 0;
    int m_nPerformance = 0;
    int m_nPart = 0;

    CSendingPatchDlg m_progress;
    CProgressDlg& Progress() override { return m_progress; }

protected:
    void PrepareProgress() override;
};

} // namespace vantorel
