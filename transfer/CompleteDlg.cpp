#include "transfer/CompleteDlg.h"

#include "transfer/TransferTemplates.h"

namespace vantorel {

CCompleteDlg::CCompleteDlg(QWidget* parent) : CDialog(GetTransferTemplate(IDD_COMPLETE), parent) {}

} // namespace vantorel
