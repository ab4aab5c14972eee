#include "transfer/PatchTransfer.h"

#include "res/Strings.h"
#include "transfer/TransferTemplates.h"

namespace vantorel {

CGettingPatchDlg::CGettingPatchDlg(QWidget* parent)
    : CGettingDlg(GetTransferTemplate(IDD_GETTING_PATCH), &m_plan, parent)
{
}

CSendingPatchDlg::CSendingPatchDlg(QWidget* parent)
    : CSendingDlg(GetTransferTemplate(IDD_SENDING_PATCH), &m_plan, parent)
{
}

CGetPatchDlg::CGetPatchDlg(QWidget* parent)
    : CTransferDlg(GetTransferTemplate(IDD_GET_PATCH), res::kConfirmGet, parent), m_progress(this)
{
}

void CGetPatchDlg::PrepareProgress()
{
    CPatchGetPlan& plan = m_progress.m_plan;
    plan.m_pDoc = m_pDoc;
    plan.m_bSingle = m_bSingle;
    plan.m_nIndex = m_nIndex;
    plan.m_nPerformance = m_nPerformance;
    plan.m_nPart = m_nPart;
}

CSendPatchDlg::CSendPatchDlg(QWidget* parent)
    : CTransferDlg(GetTransferTemplate(IDD_SEND_PATCH), res::kConfirmSend, parent), m_progress(this)
{
}

void CSendPatchDlg::PrepareProgress()
{
    CPatchSendPlan& plan = m_progress.m_plan;
    plan.m_pRead = m_pRead;
    plan.m_pRecord = m_pRecord;
    plan.m_nIndex = m_nIndex;
    plan.m_nPerformance = m_nPerformance;
    plan.m_nPart = m_nPart;
}

} // namespace vantorel
