#include "transfer/PerformTransfer.h"

#include "res/Strings.h"
#include "transfer/TransferTemplates.h"

namespace vantorel {

CGettingPerformanceDlg::CGettingPerformanceDlg(QWidget* parent)
    : CGettingDlg(GetTransferTemplate(IDD_GETTING_PERFORMANCE), &m_plan, parent)
{
}

CSendingPerformanceDlg::CSendingPerformanceDlg(QWidget* parent)
    : CSendingDlg(GetTransferTemplate(IDD_SENDING_PERFORMANCE), &m_plan, parent)
{
}

CGetPerformanceDlg::CGetPerformanceDlg(QWidget* parent)
    : CTransferDlg(GetTransferTemplate(IDD_GET_PERFORMANCE), res::kConfirmGet, parent), m_progress(this)
{
}

void CGetPerformanceDlg::PrepareProgress()
{
    CPerformGetPlan& plan = m_progress.m_plan;
    plan.m_pDoc = m_pDoc;
    plan.m_bSingle = m_bSingle;
    plan.m_nIndex = m_nIndex;
}

CSendPerformanceDlg::CSendPerformanceDlg(QWidget* parent)
    : CTransferDlg(GetTransferTemplate(IDD_SEND_PERFORMANCE), res::kConfirmSend, parent), m_progress(this)
{
}

void CSendPerformanceDlg::PrepareProgress()
{
    CPerformSendPlan& plan = m_progress.m_plan;
    plan.m_pDoc = m_pDoc;
    plan.m_pRecord = m_pRecord;
    plan.m_nIndex = m_nIndex;
}

} // namespace vantorel
