#include "transfer/TransferTemplates.h"

#include <map>
#include <stdexcept>

#include "res/Strings.h"
#include "res/strings/transfer.h"
#include "transfer/kinds/DocumentKinds.h"

namespace vantorel {

namespace {

constexpr int kAskWidth = 115;
constexpr int kButtonWidth = 32;
constexpr int kButtonHeight = 14;
constexpr int kStartX = 17;
constexpr int kCancelX = 65;

CDlgItem Item(int nId, CtlKind kind, const char* szText, const CLayoutBox& box)
{
    return {nId, kind, szText, box.x, box.y, box.cx, box.cy};
}

std::map<int, CDlgTemplate> MakeTemplates()
{
    std::map<int, CDlgTemplate> m;
    auto add = [&m](CDlgTemplate t) { m.emplace(t.nId, std::move(t)); };

    add(CDlgTemplate{IDD_COMPLETE,
                     nullptr,
                     87,
                     54,
                     {
                         {IDOK, CtlKind::DefButton, res::kOK, 27, 33, 33, 14},
                         {-1, CtlKind::Static, res::kComplete, 27, 13, 35, 14},
                     }});
    for (const CDocKind* pKind : DocumentKinds().All()) {
        const CTransferLayouts& dialogs = pKind->Dialogs();
        add(AskTemplate(dialogs.get));
        add(AskTemplate(dialogs.send));
        add(ProgressTemplate(dialogs.getting, res::kGettingCaption));
        add(ProgressTemplate(dialogs.sending, res::kSendingCaption));
    }
    return m;
}

} // namespace

CDlgTemplate AskTemplate(const CAskLayout& layout)
{
    return CDlgTemplate{
        layout.nId,
        layout.szCaption,
        kAskWidth,
        layout.cy,
        {
            {IDOK, CtlKind::DefButton, res::kStart, kStartX, layout.nButtonsY, kButtonWidth, kButtonHeight},
            {IDCANCEL, CtlKind::Button, res::kCancel, kCancelX, layout.nButtonsY, kButtonWidth,
             kButtonHeight},
            {IDC_TRANSFER_TEXT, CtlKind::Static, "", 7, layout.nTextY, 99, 44},
        }};
}

CDlgTemplate ProgressTemplate(const CProgressLayout& layout, const char* szCaption)
{
    CDlgTemplate t{layout.nId, szCaption, layout.cx, layout.cy, {}};
    t.items.push_back(Item(IDCANCEL, CtlKind::Button, res::kCancel, layout.cancel));
    if (layout.text)
        t.items.push_back(Item(IDC_TRANSFER_TEXT, CtlKind::SunkenStatic, "", *layout.text));
    if (layout.bar)
        t.items.push_back(Item(IDC_TRANSFER_PROGRESS, CtlKind::Progress, "", *layout.bar));
    return t;
}

const CDlgTemplate& GetTransferTemplate(int nId)
{
    static const std::map<int, CDlgTemplate> templates = MakeTemplates();
    return templates.at(nId);
}

} // namespace vantorel
