#pragma once
// Get Patch and Send Patch: a whole bank, one user patch (PatchKind's plans),
// or one of the two patches inside a performance (PerformanceKind's plans of
// its inner entries).
#include "transfer/KindDialogs.h"
#include "transfer/plans/PatchPlan.h"

namespace vantorel {

using CGetPatchDlg = CGetDlgT<PatchKind>;
using CSendPatchDlg = CSendDlgT<PatchKind>;

} // namespace vantorel
