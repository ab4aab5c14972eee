#pragma once
// Get Pattern and Send Pattern: the 48 patterns, or one of them.
#include "data/PatternDoc.h"
#include "transfer/KindDialogs.h"
#include "transfer/plans/VarPlan.h"

namespace vantorel {

using CGetPatternDlg = CGetDlgT<PatternKind>;
using CSendPatternDlg = CSendDlgT<PatternKind>;

} // namespace vantorel
