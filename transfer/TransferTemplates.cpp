#include "transfer/TransferTemplates.h"

#include <map>
#include <stdexcept>

#include "res/Strings.h"
#include "res/strings/transfer.h"

namespace vantorel {

namespace {

constexpr int kButtonWidth = 32;
constexpr int kButtonHeight = 14;
constexpr int kStartX = 17;
constexpr int kCancelX = 65;

// A Get or Send dialog: device text, START and Cancel.
CDlgTemplate AskTemplate(int nId, const char* szCaption, int cy, int nButtonsY, int nTextY)
{
    return CDlgTemplate{nId,
                        szCaption,
                        115,
                        cy,
                        {
                            {IDOK, CtlKind::DefButton, res::kStart, kStartX, nButtonsY, kButtonWidth, kButtonHeight},
                            {IDCANCEL, CtlKind::Button, res::kCancel, kCancelX, nButtonsY, kButtonWidth, kButtonHeight},
                            {IDC_TRANSFER_TEXT, CtlKind::Static, "", 7, nTextY, 99, 44},
                        }};
}

// "Getting..." or "Sending..." with the progress text box, and a progress bar
// when bBar is set.
CDlgTemplate ProgressTemplate(int nId, const char* szCaption, int nCancelX, bool bBar)
{
    CDlgTemplate t{nId,
                   szCaption,
                   111,
                   54,
                   {
                       {IDCANCEL, CtlKind::Button, res::kCancel, nCancelX, 28, kButtonWidth, kButtonHeight},
                       {IDC_TRANSFER_TEXT, CtlKind::SunkenStatic, "", 4, 5, 102, 15},
                   }};
    if (bBar)
        t.items.push_back({IDC_TRANSFER_PROGRESS, CtlKind::Progress, "", 4, 30, 60, 9});
    return t;
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

    add(AskTemplate(IDD_GET_PATCH, res::kGetPatchCaption, 80, 59, 9));
    add(AskTemplate(IDD_SEND_PATCH, res::kSendPatchCaption, 80, 60, 9));
    add(ProgressTemplate(IDD_GETTING_PATCH, res::kGettingCaption, 40, false));
    add(ProgressTemplate(IDD_SENDING_PATCH, res::kSendingCaption, 39, false));

    add(AskTemplate(IDD_GET_PERFORMANCE, res::kGetPerformanceCaption, 80, 60, 9));
    add(AskTemplate(IDD_SEND_PERFORMANCE, res::kSendPerformanceCaption, 80, 60, 9));
    add(ProgressTemplate(IDD_GETTING_PERFORMANCE, res::kGettingCaption, 74, true));
    add(ProgressTemplate(IDD_SENDING_PERFORMANCE, res::kSendingCaption, 39, false));

    add(AskTemplate(IDD_GET_SYSTEM, res::kGetSystemCaption, 80, 60, 7));
    add(AskTemplate(IDD_SEND_SYSTEM, res::kSendSystemCaption, 86, 65, 9));
    // The system progress dialogs show no text.
    add(CDlgTemplate{IDD_GETTING_SYSTEM,
                     res::kGettingCaption,
                     110,
                     60,
                     {
                         {IDC_TRANSFER_PROGRESS, CtlKind::Progress, "", 14, 16, 80, 9},
                         {IDCANCEL, CtlKind::Button, res::kCancel, 38, 35, kButtonWidth, kButtonHeight},
                     }});
    add(CDlgTemplate{IDD_SENDING_SYSTEM,
                     res::kSendingCaption,
                     110,
                     54,
                     {
                         {IDCANCEL, CtlKind::Button, res::kCancel, 39, 26, kButtonWidth, kButtonHeight},
                     }});

    add(AskTemplate(IDD_GET_PATTERN, res::kGetPatternCaption, 80, 60, 9));
    add(AskTemplate(IDD_SEND_PATTERN, res::kSendPatternCaption, 80, 60, 9));
    add(ProgressTemplate(IDD_GETTING_PATTERN, res::kGettingCaption, 74, true));
    add(ProgressTemplate(IDD_SENDING_PATTERN, res::kSendingCaption, 39, false));

    add(AskTemplate(IDD_GET_MOTION, res::kGetMotionCaption, 80, 60, 9));
    add(AskTemplate(IDD_SEND_MOTION, res::kSendMotionCaption, 80, 60, 9));
    add(ProgressTemplate(IDD_GETTING_MOTION, res::kGettingCaption, 74, true));
    add(ProgressTemplate(IDD_SENDING_MOTION, res::kSendingCaption, 39, false));
    return m;
}

} // namespace

const CDlgTemplate& GetTransferTemplate(int nId)
{
    static const std::map<int, CDlgTemplate> templates = MakeTemplates();
    return templates.at(nId);
}

} // namespace vantorel
