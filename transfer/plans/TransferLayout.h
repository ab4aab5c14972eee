#pragma once
// How a kind's Get, Send and progress dialogs are laid out, as data in dialog
// units: the kind supplies it with its description, and the generic dialogs
// (transfer/KindDialogs.h) are built from it. No widgets.
#include <optional>

namespace vantorel {

// A control's place and size, in dialog units.
struct CLayoutBox {
    int x, y, cx, cy;
};

// A Get or Send dialog: the device text above START and Cancel.
struct CAskLayout {
    int nId;               // template id, as the program's resources number it
    const char* szCaption; // "Get Patch"
    int cy;                // the height; every Get and Send dialog is as wide
    int nButtonsY;         // START and Cancel
    int nTextY;            // the device text
};

// A "Getting..." or "Sending..." dialog.
struct CProgressLayout {
    int nId;
    int cx, cy;
    CLayoutBox cancel;
    std::optional<CLayoutBox> text; // the progress text; none: no text is shown
    std::optional<CLayoutBox> bar;  // none: no progress bar
};

// The usual progress dialog: the text box above Cancel at nCancelX, with a
// progress bar beside it when bBar is set.
constexpr CProgressLayout ProgressLayout(int nId, int nCancelX, bool bBar)
{
    CProgressLayout layout{nId, 111, 54, {nCancelX, 28, 32, 14}, CLayoutBox{4, 5, 102, 15}, std::nullopt};
    if (bBar)
        layout.bar = CLayoutBox{4, 30, 60, 9};
    return layout;
}

// The four dialogs of a kind.
struct CTransferLayouts {
    CAskLayout get;
    CAskLayout send;
    CProgressLayout getting;
    CProgressLayout sending;
};

} // namespace vantorel
