#pragma once
// The Get or Send plan of a whole document, or of one entry of it, for the
// callers that have just a document (the command line, the .syx export).
// The windows set up their own plans, for a performance's patches too.
#include <memory>

#include "transfer/engine/TransferPlan.h"

namespace vantorel {

class CDocument;

// nEntry -1: the whole document; otherwise a patch, a performance, a pattern
// or a motion by index, or for the system 0 (system parameters) or 1 (Tx/Rx
// settings). Null for a document of no known kind or an entry outside it.
// doc outlives the plan.
std::unique_ptr<CGetPlan> MakeGetPlan(CDocument& doc, int nEntry = -1);
std::unique_ptr<CSendPlan> MakeSendPlan(const CDocument& doc, int nEntry = -1);

} // namespace vantorel
