#pragma once
// Dialogs laid out from templates in dialog units. A template is a table of
// controls (id, kind, text, x, y, width, height); units become pixels from the
// dialog font's average character size (horizontal unit = average width / 4,
// vertical unit = height / 8). Buttons 1 and 2 call OnOK and OnCancel.
#include <QDialog>
#include <QFont>
#include <QString>

#include <functional>
#include <map>
#include <vector>

#include "framework/core/TimerService.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace vantorel {

enum class CtlKind { Button, DefButton, Static, SunkenStatic, Edit, ListBox, Progress, Icon, Picture };

struct CDlgItem {
    int nId; // -1 for controls that are never addressed
    CtlKind kind;
    const char* szText;
    int x, y, cx, cy; // dialog units
};

struct CDlgTemplate {
    int nId;
    const char* szCaption; // null: no caption text
    int cx, cy;            // dialog units
    std::vector<CDlgItem> items;
    bool bSystemMenu = false;
};

class CDialog : public QDialog, public ITimerTarget {
    Q_OBJECT
public:
    explicit CDialog(const CDlgTemplate& tmpl, QWidget* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog modally; returns the value passed to EndDialog
    // (IDOK, IDCANCEL, ...).
    int DoModal();
    // Builds and shows the dialog without a modal loop.
    void CreateModeless();
    void EndDialog(int nResult);
    bool IsEnded() const { return m_bEnded; }

    QWidget* GetDlgItem(int nId) const;
    QPushButton* GetButton(int nId) const;
    QLabel* GetStatic(int nId) const;
    QLineEdit* GetEdit(int nId) const;
    QListWidget* GetListBox(int nId) const;
    QProgressBar* GetProgress(int nId) const;
    // Presses a button as a click would (tests and keyboard shortcuts).
    void ClickButton(int nId);

    const CDlgTemplate& GetTemplate() const { return m_tmpl; }
    int DialogUnitsToPixelsX(int du) const;
    int DialogUnitsToPixelsY(int du) const;

    void SetTimer(int nId, int nMs) { CTimerService::Get().SetTimer(this, nId, nMs); }
    void KillTimer(int nId) { CTimerService::Get().KillTimer(this, nId); }
    void OnTimer(int) override {}

    // Called for every modal dialog right after it is shown (tests answer
    // dialogs through it; CDialogTestPeer sets it).
    using ModalHook = std::function<void(CDialog*)>;

    // The font dialogs are laid out with.
    static QFont DialogFont();

protected:
    // Before the window shows: fill controls from members.
    virtual void OnInitDialog() {}
    // Button 1. Default: EndDialog(IDOK).
    virtual void OnOK();
    // Button 2, Escape, the close box. Default: EndDialog(IDCANCEL).
    virtual void OnCancel();
    // Other buttons.
    virtual void OnButton(int) {}

    void reject() override;
    void accept() override;
    void closeEvent(QCloseEvent* e) override;

private:
    friend class CDialogTestPeer;
    // Returns the previous hook.
    static ModalHook SetModalHook(ModalHook hook);

    void Build();
    // Grows list boxes (and the dialog below them) to show whole rows.
    void FitListBoxes();
    CDlgTemplate m_tmpl;
    std::map<int, QWidget*> m_items;
    bool m_bBuilt = false;
    bool m_bEnded = false;
    int m_nResult = 0;
    int m_nBaseX = 6;
    int m_nBaseY = 13;
};

} // namespace vantorel
