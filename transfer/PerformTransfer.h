#pragma once
// Get Performance and Send Performance: a whole bank or one performance,
// each as its five blocks (common, part 1, part 2, patch 1, patch 2).
#include "transfer/TransferDlg.h"
#include "transfer/plans/PerformPlan.h"

namespace vantorel {

class CGettingPerformanceDlg : public CGettingDlg {
    Q_OBJECT
public:
    explicit CGettingPerformanceDlg(QWidget* parent = nullptr);
    CPerformGetPlan m_plan;
};

class CSendingPerformanceDlg : public CSendingDlg {
    Q_OBJECT
public:
    explicit CSendingPerformanceDlg(QWidget* parent = nullptr);
    CPerformSendPlan m_plan;
};

// Bank: m_pDoc. Single: m_pDoc, m_bSingle and m_nIndex.
class CGetPerformanceDlg : public CTransferDlg {
    Q_OBJECT
public:
    explicit CGetPerformanceDlg(QWidget* parent = nullptr);

    CDocument* m_pDoc = nullptr;
    bool m_bSingle = false;
    int m_nIndex = 0;

    CGettingPerformanceDlg m_progress;
    CProgressDlg& Progress() override { return m_progress; }

protected:
    void PrepareProgress() override;
};

class CSendPerformanceDlg : public CTransferDlg {
    Q_OBJECT
public:
    explicit CSendPerformanceDlg(QWidget* parent = nullptr);

    CPerformDoc* m_pDoc = nullptr;
    CPerformRecord* m_pRecord = nullptr;
    int m_nIndex = 0;

    CSendingPerformanceDlg m_progress;
    CProgressDlg& Progress() override { return m_progress; }

protected:
    void PrepareProgress() override;
};

} // namespace vantorel
