#pragma once
// Get System and Send System: both blocks (mode 0), the system parameters
// only (mode 1) or the Tx/Rx settings only (mode 2).
#include "transfer/TransferDlg.h"
#include "transfer/plans/SystemPlan.h"

namespace vantorel {

class CGettingSystemDlg : public CGettingDlg {
    Q_OBJECT
public:
    explicit CGettingSystemDlg(QWidget* parent = nullptr);
    CSystemGetPlan m_plan;
};

class CSendingSystemDlg : public CSendingDlg {
    Q_OBJECT
public:
    explicit CSendingSystemDlg(QWidget* parent = nullptr);
    CSystemSendPlan m_plan;
};

class CGetSystemDlg : public CTransferDlg {
    Q_OBJECT
public:
    explicit CGetSystemDlg(QWidget* parent = nullptr);

    CDocument* m_pDoc = nullptr; // the system document
    int m_nMode = kSystemBoth;

    CGettingSystemDlg m_progress;
    CProgressDlg& Progress() override { return m_progress; }

protected:
    void PrepareProgress() override;
};

class CSendSystemDlg : public CTransferDlg {
    Q_OBJECT
public:
    explicit CSendSystemDlg(QWidget* parent = nullptr);

    uint8_t* m_pSystemData = nullptr;
    int m_nMode = kSystemBoth;

    CSendingSystemDlg m_progress;
    CProgressDlg& Progress() override { return m_progress; }

protected:
    void PrepareProgress() override;
};

} // namespace vantorel
