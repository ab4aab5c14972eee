#pragma once
// Get Performance and Send Performance: a whole bank or one performance (the
// fields: CPerformGetFields, CPerformSendFields).
#include "transfer/KindDialogs.h"
#include "transfer/plans/PerformPlan.h"

namespace vantorel {

using CGetPerformanceDlg = CGetDlgT<CPerformGetPlan, PerformanceKind>;
using CSendPerformanceDlg = CSendDlgT<CPerformSendPlan, PerformanceKind>;

} // namespace vantorel
