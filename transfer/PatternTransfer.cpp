#include "transfer/PatternTransfer.h"

#include "res/Strings.h"
#include "transfer/TransferTemplates.h"

namespace vantorel {

CGettingPatternDlg::CGettingPatternDlg(QWidget* parent)
    : CGettingDlg(GetTransferTemplate(IDD_GETTING_PATTERN), &m_plan, parent), m_plan(kPatternKind)
{
}

CSendingPatternDlg::CSendingPatternDlg(QWidget* parent)
    : CSendingDlg(GetTransferTemplate(IDD_SENDING_PATTERN), &m_plan, parent), m_plan(kPatternKind)
{
}

CGetPatternDlg::CGetPatternDlg(QWidget* parent)
    : CTransferDlg(GetTransferTemplate(IDD_GET_PATTERN), res::kConfirmGet, parent), m_progress(this)
{
}

void CGetPatternDlg::PrepareProgress()
{
    m_progress.m_plan.m_pDoc = m_pDoc;
    m_progress.m_plan.m_nSingle = m_nSingle;
}

CSendPatternDlg::CSendPatternDlg(QWidget* parent)
    : CTransferDlg(GetTransferTemplate(IDD_SEND_PATTERN), res::kConfirmSend, parent), m_progress(this)
{
}

void CSendPatternDlg::PrepareProgress()
{
    m_progress.m_plan.m_pItems = m_pItems;
    m_progress.m_plan.m_nSingle = m_nSingle;
}

} // namespace vantorel
