#pragma once
// Get Pattern and Send Pattern: the 48 patterns, or one of them (the fields:
// CVarGetFields, CVarSendFields).
#include "data/PatternDoc.h"
#include "transfer/KindDialogs.h"
#include "transfer/plans/VarPlan.h"

namespace vantorel {

using CGetPatternDlg = CGetDlgT<CVarGetPlanOf<kPatternKind>, PatternKind>;
using CSendPatternDlg = CSendDlgT<CVarSendPlanOf<CPatternEntry, kPatternKind>, PatternKind>;

} // namespace vantorel
