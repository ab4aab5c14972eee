#include "views/DocKinds.h"

#include <QIcon>
#include <QPixmap>

#include <memory>
#include <type_traits>

#include "framework/gui/DocManager.h"
#include "framework/gui/DocTemplate.h"
#include "res/Images.h"
#include "res/strings/app.h"

// Each kind joins once both its document and its window are in the tree.
#if __has_include("data/PatchDoc.h") && __has_include("views/PatchView.h")
#include "data/PatchDoc.h"
#include "views/PatchView.h"
#define VANTOREL_KIND_PATCH 1
#endif
#if __has_include("data/PerformDoc.h") && __has_include("views/PerformView.h")
#include "data/PerformDoc.h"
#include "views/PerformView.h"
#define VANTOREL_KIND_PERFORM 1
#endif
#if __has_include("data/SystemDoc.h") && __has_include("views/SystemView.h")
#include "data/SystemDoc.h"
#include "views/SystemView.h"
#define VANTOREL_KIND_SYSTEM 1
#endif
#if __has_include("data/PatternDoc.h") && __has_include("views/PatternView.h")
#include "data/PatternDoc.h"
#include "views/PatternView.h"
#define VANTOREL_KIND_PATTERN 1
#endif
#if __has_include("data/MotionDoc.h") && __has_include("views/MotionView.h")
#include "data/MotionDoc.h"
#include "views/MotionView.h"
#define VANTOREL_KIND_MOTION 1
#endif

namespace vantorel {

namespace {
template <class TDoc, class TView>
[[maybe_unused]] void RegisterKind(CDocManager& manager, int nResourceId, const char* szDocStrings)
{
    manager.AddDocTemplate(std::make_unique<CDocTemplate>(
        nResourceId, szDocStrings, [] { return std::unique_ptr<CDocument>(std::make_unique<TDoc>()); },
        [](QWidget* parent) -> CScrollView* {
            if constexpr (std::is_constructible_v<TView, QWidget*>)
                return new TView(parent);
            else
                return new TView();
        }));
    manager.SetKindIcon(nResourceId, QIcon(QPixmap::fromImage(res::IconImage(nResourceId))));
}
} // namespace

void RegisterDocumentKinds([[maybe_unused]] CDocManager& manager)
{
#ifdef VANTOREL_KIND_PATCH
    RegisterKind<CPatchDoc, CPatchView>(manager, IDR_PATCHTYPE, res::kDocStringPatch);
#endif
#ifdef VANTOREL_KIND_PERFORM
    RegisterKind<CPerformDoc, CPerformView>(manager, IDR_PERFORMTYPE, res::kDocStringPerformance);
#endif
#ifdef VANTOREL_KIND_SYSTEM
    RegisterKind<CSystemDoc, CSystemView>(manager, IDR_SYSTEMTYPE, res::kDocStringSystem);
#endif
#ifdef VANTOREL_KIND_PATTERN
    RegisterKind<CPatternDoc, CPatternView>(manager, IDR_PATTERNTYPE, res::kDocStringPattern);
#endif
#ifdef VANTOREL_KIND_MOTION
    RegisterKind<CMotionDoc, CMotionView>(manager, IDR_MOTIONTYPE, res::kDocStringMotion);
#endif
}

} // namespace vantorel
