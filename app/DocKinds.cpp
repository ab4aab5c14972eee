#include "app/DocKinds.h"

#include <QIcon>
#include <QPixmap>

#include <algorithm>
#include <memory>

#include "framework/gui/DocManager.h"
#include "framework/gui/DocTemplate.h"
#include "res/Images.h"
#include "res/strings/app.h"
#include "transfer/kinds/DocumentKinds.h"
#include "transfer/plans/PatchPlan.h"
#include "transfer/plans/PerformPlan.h"
#include "transfer/plans/SystemPlan.h"
#include "transfer/plans/VarPlan.h"
#include "views/MotionView.h"
#include "views/PatchView.h"
#include "views/PatternView.h"
#include "views/PerformView.h"
#include "views/SystemView.h"

namespace vantorel {

namespace {

template <class TView>
CScrollView* MakeView(QWidget* parent)
{
    return new TView(parent);
}

std::vector<CKindWindow> MakeKindWindows()
{
    std::vector<CKindWindow> windows{
        {&PatchKind(),
         130,
         res::kDocStringPatch,
         res::kMenuPatch,
         {CPatchView::ID_GET_PATCH_BANK, res::kItemGetPatch, res::kPromptGetPatch},
         {CPatchView::ID_SEND_PATCH_BANK, res::kItemSendPatch, res::kPromptSendPatch},
         "PAT",
         "P",
         0xFF2060C0,
         MakeView<CPatchView>},
        {&PerformanceKind(),
         131,
         res::kDocStringPerformance,
         res::kMenuPerformance,
         {CPerformView::ID_GET_PERFORMANCE_BANK, res::kItemGetPerformance, res::kPromptGetPerformance},
         {CPerformView::ID_SEND_PERFORMANCE_BANK, res::kItemSendPerformance, res::kPromptSendPerformance},
         "PFM",
         "PF",
         0xFF20A040,
         MakeView<CPerformView>},
        {&SystemKind(),
         132,
         res::kDocStringSystem,
         res::kMenuSystem,
         {CSystemView::ID_GET_SYSTEM, res::kItemGetSystem, res::kPromptGetSystem},
         {CSystemView::ID_SEND_SYSTEM, res::kItemSendSystem, res::kPromptSendSystem},
         "SYP",
         "S",
         0xFFC08020,
         MakeView<CSystemView>},
        {&PatternKind(),
         133,
         res::kDocStringPattern,
         res::kMenuPattern,
         {CPatternView::ID_GET_PATTERN, res::kItemGetPattern, res::kPromptGetPattern},
         {CPatternView::ID_SEND_PATTERN, res::kItemSendPattern, res::kPromptSendPattern},
         "PTN",
         "PT",
         0xFF9030B0,
         MakeView<CPatternView>},
        {&MotionKind(),
         134,
         res::kDocStringMotion,
         res::kMenuMotion,
         {CMotionView::ID_GET_MOTION, res::kItemGetMotion, res::kPromptGetMotion},
         {CMotionView::ID_SEND_MOTION, res::kItemSendMotion, res::kPromptSendMotion},
         "MTN",
         "M",
         0xFFC03030,
         MakeView<CMotionView>},
    };
    // In the registry's order (each kind's place, given where it registers);
    // every registered kind has its window.
    const std::vector<const CDocKind*>& kinds = DocumentKinds().All();
    const auto place = [&](const CKindWindow& w) {
        return std::find(kinds.begin(), kinds.end(), w.pKind) - kinds.begin();
    };
    std::sort(windows.begin(), windows.end(),
              [&](const CKindWindow& a, const CKindWindow& b) { return place(a) < place(b); });
    Q_ASSERT(kinds.size() == windows.size());
    for (size_t k = 0; k < kinds.size() && k < windows.size(); ++k)
        Q_ASSERT(kinds[k] == windows[k].pKind);
    return windows;
}

} // namespace

const std::vector<CKindWindow>& KindWindows()
{
    static const std::vector<CKindWindow> windows = MakeKindWindows();
    return windows;
}

void RegisterDocumentKinds(CDocManager& manager)
{
    for (const CKindWindow& w : KindWindows()) {
        const CDocKind* pKind = w.pKind;
        manager.AddDocTemplate(std::make_unique<CDocTemplate>(
            w.nResourceId, w.szDocStrings, [pKind] { return pKind->NewDocument(); }, w.pMakeView));
        manager.SetKindIcon(w.nResourceId,
                            QIcon(QPixmap::fromImage(res::DocumentIconImage(w.szIconLabel, w.colour))));
    }
}

CDocTemplate* TemplateOfKind(CDocManager& manager, const CDocKind& kind)
{
    for (const CKindWindow& w : KindWindows())
        if (w.pKind == &kind)
            for (const auto& t : manager.GetTemplates())
                if (t->GetResourceId() == w.nResourceId)
                    return t.get();
    return nullptr;
}

} // namespace vantorel
