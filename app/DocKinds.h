#pragma once
// The five document kinds in their fixed order (the order of File New's list
// and of the Open dialog's filters): patch bank, performance bank, system,
// pattern, motion.
namespace vantorel {

class CDocManager;

// Resource ids of the kinds: menu, child-window icon and document string.
enum : int {
    IDR_PATCHTYPE = 130,
    IDR_PERFORMTYPE = 131,
    IDR_SYSTEMTYPE = 132,
    IDR_PATTERNTYPE = 133,
    IDR_MOTIONTYPE = 134,
};

void RegisterDocumentKinds(CDocManager& manager);

} // namespace vantorel
