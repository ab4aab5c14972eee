#include "transfer/kinds/DocumentKinds.h"

namespace vantorel {

const CKindRegistry& DocumentKinds()
{
    // Built at its first use, in main, after every kind's file registered it.
    static const CKindRegistry registry(RegisteredKinds());
    return registry;
}

} // namespace vantorel
