#pragma once
// Get Pattern and Send Pattern: the 48 patterns, or one of them.
#include "data/PatternDoc.h"
#include "transfer/TransferDlg.h"
#include "transfer/plans/VarPlan.h"

namespace vantorel {

class CGettingPatternDlg : public CGettingDlg {
    Q_OBJECT
public:
    explicit CGettingPatternDlg(QWidget* parent = nullptr);
    CVarGetPlan m_plan;
};

class CSendingPatternDlg : public CSendingDlg {
    Q_OBJECT
public:
    explicit CSendingPatternDlg(QWidget* parent = nullptr);
    CVarSendPlanT<CPatternEntry> m_plan;
};

// m_pDoc: the document the patterns go into; m_nSingle: one index, or -1 for all.
class CGetPatternDlg : public CTransferDlg {
    Q_OBJECT
public:
    explicit CGetPatternDlg(QWidget* parent = nullptr);

    CDocument* m_pDoc = nullptr;
    int m_nSingle = -1;

    CGettingPatternDlg m_progress;
    CProgressDlg& Progress() override { return m_progress; }

protected:
    void PrepareProgress() override;
};

class CSendPatternDlg : public CTransferDlg {
    Q_OBJECT
public:
    explicit CSendPatternDlg(QWidget* parent = nullptr);

    CPatternEntry* m_pItems = nullptr;
    int m_nSingle = -1;

    CSendingPatternDlg m_progress;
    CProgressDlg& Progress() override { return m_progress; }

protected:
    void PrepareProgress() override;
};

} // namespace vantorel
