#pragma once
// The dialog templates of the transfers, in dialog units: "Complete!", and
// each kind's Get, Send and progress dialogs built from the layouts the kind
// supplies (CDocKind::Dialogs()).
#include "framework/core/MessageBox.h"
#include "framework/gui/Dialog.h"
#include "transfer/plans/TransferLayout.h"

namespace vantorel {

// Template ids, as the program's resources number them (each kind's own are
// in its layouts).
enum : int {
    IDD_COMPLETE = 150,
};

// Controls every transfer dialog addresses.
enum : int {
    IDC_TRANSFER_TEXT = 1000,     // device text (Get/Send) or progress text (progress dialogs)
    IDC_TRANSFER_PROGRESS = 1001, // progress bar
};

// A Get or Send dialog: device text, START and Cancel.
CDlgTemplate AskTemplate(const CAskLayout& layout);
// "Getting..." or "Sending..." (szCaption) as layout places its controls.
CDlgTemplate ProgressTemplate(const CProgressLayout& layout, const char* szCaption);

// The template with id nId: "Complete!" or a dialog of a registered kind;
// throws std::out_of_range for an id that is not a transfer dialog's.
const CDlgTemplate& GetTransferTemplate(int nId);

} // namespace vantorel
