#pragma once
// The dialog templates of the transfers, in dialog units.
#include "framework/core/MessageBox.h"
#include "framework/gui/Dialog.h"

namespace vantorel {

// Template ids, as the program's resources number them.
enum : int {
    IDD_COMPLETE = 150,
    IDD_GETTING_PATCH = 161,
    IDD_GET_PATCH = 162,
    IDD_SENDING_PATCH = 163,
    IDD_SEND_PATCH = 164,
    IDD_GETTING_PERFORMANCE = 171,
    IDD_GET_PERFORMANCE = 172,
    IDD_SENDING_PERFORMANCE = 173,
    IDD_SEND_PERFORMANCE = 174,
    IDD_GETTING_SYSTEM = 180,
    IDD_GET_SYSTEM = 181,
    IDD_SENDING_SYSTEM = 182,
    IDD_SEND_SYSTEM = 183,
    IDD_GETTING_PATTERN = 190,
    IDD_GET_PATTERN = 191,
    IDD_SENDING_PATTERN = 192,
    IDD_SEND_PATTERN = 193,
    IDD_GETTING_MOTION = 200,
    IDD_GET_MOTION = 201,
    IDD_SENDING_MOTION = 202,
    IDD_SEND_MOTION = 203,
};

// Controls every transfer dialog addresses.
enum : int {
    IDC_TRANSFER_TEXT = 1000,     // device text (Get/Send) or progress text (progress dialogs)
    IDC_TRANSFER_PROGRESS = 1001, // progress bar
};

// The template with id nId; throws std::out_of_range for an id that is not a
// transfer dialog's.
const CDlgTemplate& GetTransferTemplate(int nId);

} // namespace vantorel
