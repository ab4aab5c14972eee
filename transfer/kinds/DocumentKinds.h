#pragma once
// The document kinds the program has, in the order of File New's list (patch
// bank, performance bank, system, pattern, motion): every kind registered in
// its own file (CKindRegistrar). No widgets: the program (app/DocKinds hangs
// each kind's window, icon and menus on it) and vantorel-cli both ask this
// one registry.
#include "transfer/plans/DocKind.h"

namespace vantorel {

const CKindRegistry& DocumentKinds();

} // namespace vantorel
