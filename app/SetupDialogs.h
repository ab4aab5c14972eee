#pragma once
// MIDI Setup (151): the input and output device lists, positions equal to
// device numbers. Preview Setup (152): note number, velocity and tone length,
// checked in that dialog's order when OK is pressed.
#include <string>

#include "framework/gui/Dialog.h"

namespace vantorel {

class CMidiSetupDlg : public CDialog {
    Q_OBJECT
public:
    explicit CMidiSetupDlg(QWidget* parent = nullptr);
    // The list positions selected; -1 for none. Set before DoModal, read after OK.
    int m_nInSelection = -1;
    int m_nOutSelection = -1;
    // A chosen device that is not listed now: shown by this name as a last
    // row, "<name> (not available)", selected while nothing else is; OK with
    // that row gives -1 (keep the choice). Empty: no such row.
    std::string m_strMissingIn;
    std::string m_strMissingOut;

protected:
    void OnInitDialog() override;
    void OnOK() override;
};

class CPreviewSetupDlg : public CDialog {
    Q_OBJECT
public:
    explicit CPreviewSetupDlg(QWidget* parent = nullptr);
    int m_nNoteNumber = 60;
    int m_nToneLength = 500;
    int m_nVelocity = 80;

protected:
    void OnInitDialog() override;
    void OnOK() override;
};

// A dialog field's integer as the dialogs read one: optional blanks, an
// optional sign, digits, optional blanks, and nothing else; it must fit an int.
bool ParseDialogInt(const QString& text, int& nValue);

} // namespace vantorel
