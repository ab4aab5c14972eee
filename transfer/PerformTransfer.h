#pragma once
// Get Performance and Send Performance: a whole bank or one performance.
#include "transfer/KindDialogs.h"
#include "transfer/plans/PerformPlan.h"

namespace vantorel {

using CGetPerformanceDlg = CGetDlgT<PerformanceKind>;
using CSendPerformanceDlg = CSendDlgT<PerformanceKind>;

} // namespace vantorel
