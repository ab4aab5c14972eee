#include "app/DocKinds.h"

#include <QIcon>
#include <QPixmap>

#include <memory>
#include <type_traits>

#include "framework/gui/DocManager.h"
#include "framework/gui/DocTemplate.h"
#include "res/Images.h"
#include "res/strings/app.h"

#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "views/MotionView.h"
#include "views/PatchView.h"
#include "views/PatternView.h"
#include "views/PerformView.h"
#include "views/SystemView.h"

namespace vantorel {

namespace {
template <class TDoc, class TView>
void RegisterKind(CDocManager& manager, int nResourceId, const char* szDocStrings)
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

void RegisterDocumentKinds(CDocManager& manager)
{
    RegisterKind<CPatchDoc, CPatchView>(manager, IDR_PATCHTYPE, res::kDocStringPatch);
    RegisterKind<CPerformDoc, CPerformView>(manager, IDR_PERFORMTYPE, res::kDocStringPerformance);
    RegisterKind<CSystemDoc, CSystemView>(manager, IDR_SYSTEMTYPE, res::kDocStringSystem);
    RegisterKind<CPatternDoc, CPatternView>(manager, IDR_PATTERNTYPE, res::kDocStringPattern);
    RegisterKind<CMotionDoc, CMotionView>(manager, IDR_MOTIONTYPE, res::kDocStringMotion);
}

} // namespace vantorel
