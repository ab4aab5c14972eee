#pragma once
// Get Motion and Send Motion: the 4 motions, or one of them.
#include "data/MotionDoc.h"
#include "transfer/TransferDlg.h"
#include "transfer/plans/VarPlan.h"

namespace vantorel {

class CGettingMotionDlg : public CGettingDlg {
    Q_OBJECT
public:
    explicit CGettingMotionDlg(QWidget* parent = nullptr);
    CVarGetPlan m_plan;
};

class CSendingMotionDlg : public CSendingDlg {
    Q_OBJECT
public:
    explicit CSendingMotionDlg(QWidget* parent = nullptr);
    CVarSendPlanT<CMotionEntry> m_plan;
};

// m_pDoc: the document the motions go into; m_nSingle: one index, or -1 for all.
class CGetMotionDlg : public CTransferDlg {
    Q_OBJECT
public:
    explicit CGetMotionDlg(QWidget* parent = nullptr);

    CDocument* m_pDoc = nullptr;
    int m_nSingle = -1;

    CGettingMotionDlg m_progress;
    CProgressDlg& Progress() override { return m_progress; }

protected:
    void PrepareProgress() override;
};

class CSendMotionDlg : public CTransferDlg {
    Q_OBJECT
public:
    explicit CSendMotionDlg(QWidget* parent = nullptr);

    CMotionEntry* m_pItems = nullptr;
    int m_nSingle = -1;

    CSendingMotionDlg m_progress;
    CProgressDlg& Progress() override { return m_progress; }

protected:
    void PrepareProgress() override;
};

} // namespace vantorel
