#pragma once
// Layouts of the shell's dialogs, in dialog units.
#include "framework/gui/Dialog.h"

namespace vantorel {

const CDlgTemplate& AboutBoxTemplate();     // 100
const CDlgTemplate& MidiSetupTemplate();    // 151
const CDlgTemplate& PreviewSetupTemplate(); // 152
const CDlgTemplate& PictureTemplate();      // 153

} // namespace vantorel
