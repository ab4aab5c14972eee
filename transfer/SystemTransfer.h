#pragma once
// Get System and Send System: both blocks (the whole document), the system
// parameters only (entry 0) or the Tx/Rx settings only (entry 1).
#include "transfer/KindDialogs.h"
#include "transfer/plans/SystemPlan.h"

namespace vantorel {

using CGetSystemDlg = CGetDlgT<SystemKind>;
using CSendSystemDlg = CSendDlgT<SystemKind>;

} // namespace vantorel
