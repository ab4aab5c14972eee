#pragma once
// Get System and Send System: both blocks (mode 0), the system parameters
// only (mode 1) or the Tx/Rx settings only (mode 2) (the fields:
// CSystemGetFields, CSystemSendFields).
#include "transfer/KindDialogs.h"
#include "transfer/plans/SystemPlan.h"

namespace vantorel {

using CGetSystemDlg = CGetDlgT<CSystemGetPlan, SystemKind>;
using CSendSystemDlg = CSendDlgT<CSystemSendPlan, SystemKind>;

} // namespace vantorel
