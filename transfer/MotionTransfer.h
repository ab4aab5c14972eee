#pragma once
// Get Motion and Send Motion: the 4 motions, or one of them.
#include "data/MotionDoc.h"
#include "transfer/KindDialogs.h"
#include "transfer/plans/VarPlan.h"

namespace vantorel {

using CGetMotionDlg = CGetDlgT<MotionKind>;
using CSendMotionDlg = CSendDlgT<MotionKind>;

} // namespace vantorel
