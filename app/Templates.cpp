#include "app/Templates.h"

#include "app/Resource.h"
#include "framework/core/MessageBox.h"
#include "res/strings/app.h"

namespace vantorel {

const CDlgTemplate& AboutBoxTemplate()
{
    static const CDlgTemplate tmpl{IDD_ABOUTBOX,
                                   res::kAboutCaption,
                                   217,
                                   55,
                                   {
                                       {IDC_ABOUT_ICON, CtlKind::Icon, "", 11, 17, 18, 20},
                                       {-1, CtlKind::Static, res::kAboutVersion, 40, 10, 119, 8},
                                       {-1, CtlKind::Static, res::kAboutLine3, 40, 25, 131, 8},
                                       {IDOK, CtlKind::DefButton, res::kOk, 178, 7, 32, 14},
                                   },
                                   true};
    return tmpl;
}

const CDlgTemplate& MidiSetupTemplate()
{
    static const CDlgTemplate tmpl{IDD_MIDI_SETUP,
                                   res::kMidiSetupCaption,
                                   171,
                                   102,
                                   {
                                       {-1, CtlKind::Static, res::kMidiInLabel, 2, 2, 80, 8},
                                       {IDC_MIDI_IN_LIST, CtlKind::ListBox, "", 2, 11, 80, 70},
                                       {-1, CtlKind::Static, res::kMidiOutLabel, 89, 2, 80, 8},
                                       {IDC_MIDI_OUT_LIST, CtlKind::ListBox, "", 89, 11, 80, 70},
                                       {IDOK, CtlKind::DefButton, res::kOk, 32, 84, 50, 14},
                                       {IDCANCEL, CtlKind::Button, res::kCancel, 90, 84, 50, 14},
                                   },
                                   true};
    return tmpl;
}

const CDlgTemplate& PreviewSetupTemplate()
{
    static const CDlgTemplate tmpl{IDD_PREVIEW_SETUP,
                                   res::kPreviewSetupCaption,
                                   102,
                                   95,
                                   {
                                       {-1, CtlKind::Static, res::kNoteNumberLabel, 7, 8, 50, 9},
                                       {IDC_NOTE_NUMBER, CtlKind::Edit, "", 62, 7, 33, 12},
                                       {-1, CtlKind::Static, res::kVelocityLabel, 7, 24, 26, 9},
                                       {IDC_VELOCITY, CtlKind::Edit, "", 62, 23, 33, 12},
                                       {-1, CtlKind::Static, res::kToneLengthLabel, 7, 40, 54, 17},
                                       {IDC_TONE_LENGTH, CtlKind::Edit, "", 62, 39, 33, 12},
                                       {IDOK, CtlKind::DefButton, res::kOk, 7, 74, 30, 14},
                                       {IDCANCEL, CtlKind::Button, res::kCancel, 65, 74, 30, 14},
                                   },
                                   true};
    return tmpl;
}

const CDlgTemplate& PictureTemplate()
{
    static const CDlgTemplate tmpl{IDD_PICTURE,
                                   res::kPictureCaption,
                                   197,
                                   193,
                                   {
                                       {IDC_PICTURE, CtlKind::Picture, "", 7, 7, 183, 160},
                                       {IDOK, CtlKind::DefButton, res::kOk, 74, 172, 50, 14},
                                   },
                                   true};
    return tmpl;
}

} // namespace vantorel
