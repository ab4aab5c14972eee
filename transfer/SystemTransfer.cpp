#include "transfer/SystemTransfer.h"

#include "res/Strings.h"
#include "transfer/TransferTemplates.h"

namespace vantorel {

CGettingSystemDlg::CGettingSystemDlg(QWidget* parent)
    : CGettingDlg(GetTransferTemplate(IDD_GETTING_SYSTEM), &m_plan, parent)
{
}

CSendingSystemDlg::CSendingSystemDlg(QWidget* parent)
    : CSendingDlg(GetTransferTemplate(IDD_SENDING_SYSTEM), &m_plan, parent)
{
}

CGetSystemDlg::CGetSystemDlg(QWidget* parent)
    : CTransferDlg(GetTransferTemplate(IDD_GET_SYSTEM), res::kConfirmGet, parent), m_progress(this)
{
}

void CGetSystemDlg::PrepareProgress()
{
    m_progress.m_plan.m_pDoc = m_pDoc;
    m_progress.m_plan.m_nMode = m_nMode;
}

CSendSystemDlg::CSendSystemDlg(QWidget* parent)
    : CTransferDlg(GetTransferTemplate(IDD_SEND_SYSTEM), res::kConfirmSend, parent), m_progress(this)
{
}

void CSendSystemDlg::PrepareProgress()
{
    m_progress.m_plan.m_pSystemData = m_pSystemData;
    m_progress.m_plan.m_nMode = m_nMode;
}

} // namespace vantorel
