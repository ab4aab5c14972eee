#include "transfer/kinds/DocumentKinds.h"

#include "transfer/plans/PatchPlan.h"
#include "transfer/plans/PerformPlan.h"
#include "transfer/plans/SystemPlan.h"
#include "transfer/plans/VarPlan.h"

namespace vantorel {

const CKindRegistry& DocumentKinds()
{
    static const CKindRegistry registry(
        {&PatchKind(), &PerformanceKind(), &SystemKind(), &PatternKind(), &MotionKind()});
    return registry;
}

} // namespace vantorel
