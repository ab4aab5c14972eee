#pragma once
// The Get and Send plan of each kind, bound to a document: the whole kind, or
// one entry of it. The plans are the program's own (transfer/plans).
#include <memory>
#include <optional>

#include "cli/Kinds.h"
#include "transfer/engine/TransferPlan.h"

namespace vantorel {

class CDocument;

namespace cli {

// doc is of the kind and outlives the plan; entry: one entry, else all.
std::unique_ptr<CGetPlan> MakeGetPlan(EKind kind, CDocument& doc, std::optional<int> entry);
std::unique_ptr<CSendPlan> MakeSendPlan(EKind kind, const CDocument& doc, std::optional<int> entry);

} // namespace cli
} // namespace vantorel
