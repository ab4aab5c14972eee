#include "transfer/MotionTransfer.h"

#include "res/Strings.h"
#include "transfer/TransferTemplates.h"

namespace vantorel {

CGettingMotionDlg::CGettingMotionDlg(QWidget* parent)
    : CGettingDlg(GetTransferTemplate(IDD_GETTING_MOTION), &m_plan, parent), m_plan(kMotionKind)
{
}

CSendingMotionDlg::CSendingMotionDlg(QWidget* parent)
    : CSendingDlg(GetTransferTemplate(IDD_SENDING_MOTION), &m_plan, parent), m_plan(kMotionKind)
{
}

CGetMotionDlg::CGetMotionDlg(QWidget* parent)
    : CTransferDlg(GetTransferTemplate(IDD_GET_MOTION), res::kConfirmGet, parent), m_progress(this)
{
}

void CGetMotionDlg::PrepareProgress()
{
    m_progress.m_plan.m_pDoc = m_pDoc;
    m_progress.m_plan.m_nSingle = m_nSingle;
}

CSendMotionDlg::CSendMotionDlg(QWidget* parent)
    : CTransferDlg(GetTransferTemplate(IDD_SEND_MOTION), res::kConfirmSend, parent), m_progress(this)
{
}

void CSendMotionDlg::PrepareProgress()
{
    m_progress.m_plan.m_pItems = m_pItems;
    m_progress.m_plan.m_nSingle = m_nSingle;
}

} // namespace vantorel
