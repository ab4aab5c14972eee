#pragma once
// Get Patch and Send Patch: a whole bank, one user patch, or one of the two
// patches inside a performance (the fields: CPatchGetFields, CPatchSendFields).
#include "transfer/KindDialogs.h"
#include "transfer/plans/PatchPlan.h"

namespace vantorel {

using CGetPatchDlg = CGetDlgT<CPatchGetPlan, PatchKind>;
using CSendPatchDlg = CSendDlgT<CPatchSendPlan, PatchKind>;

} // namespace vantorel
