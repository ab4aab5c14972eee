#pragma once
// Get Motion and Send Motion: the 4 motions, or one of them (the fields:
// CVarGetFields, CVarSendFields).
#include "data/MotionDoc.h"
#include "transfer/KindDialogs.h"
#include "transfer/plans/VarPlan.h"

namespace vantorel {

using CGetMotionDlg = CGetDlgT<CVarGetPlanOf<kMotionKind>, MotionKind>;
using CSendMotionDlg = CSendDlgT<CVarSendPlanOf<CMotionEntry, kMotionKind>, MotionKind>;

} // namespace vantorel
