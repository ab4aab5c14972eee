#pragma once
// The "Patch Name" and "Performance Name" dialogs: one edit box that holds at
// most 16 characters, OK and Cancel. Both share one implementation.
#include <string>

#include "data/EntryName.h"
#include "framework/gui/Dialog.h"

namespace vantorel {

class CNameDlg : public CDialog {
public:
    static constexpr int kMaxChars = static_cast<int>(kEntryNameSize);

    CNameDlg(const CDlgTemplate& tmpl, int nEditId, QWidget* parent = nullptr);

    // Before DoModal: the name to edit (8-bit characters). After OK: the
    // edited text, at most 16 characters.
    std::string m_strName;
    int GetEditId() const { return m_nEditId; }

    // Runs the dialog on a name field: it opens with the field's name (up to a
    // zero byte, trailing spaces kept); on OK the text, padded with spaces to
    // 16 bytes, is written back. True on OK.
    bool EditName(CNameField field);

protected:
    void OnInitDialog() override;
    // The maximum-length check, then the text is taken.
    void OnOK() override;

private:
    int m_nEditId;
};

// Template 160, edit box 1004.
class CPatchNameDlg : public CNameDlg {
public:
    static constexpr int kTemplateId = 160;
    static constexpr int kEditId = 1004;
    explicit CPatchNameDlg(QWidget* parent = nullptr);
};

// Template 170, edit box 1005.
class CPerformNameDlg : public CNameDlg {
public:
    static constexpr int kTemplateId = 170;
    static constexpr int kEditId = 1005;
    explicit CPerformNameDlg(QWidget* parent = nullptr);
};

} // namespace vantorel
