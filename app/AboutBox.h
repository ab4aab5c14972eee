#pragma once
// The About box (100) with its program-wide click counter, and the picture
// dialog (153) a right click shows when the weighted left clicks add up to
// exactly 8642 and Shift and Ctrl are held.
#include <cstdint>

#include "framework/gui/Dialog.h"

namespace vantorel {

class CAboutBox : public CDialog {
    Q_OBJECT
public:
    static constexpr int32_t kPictureCount = 8642;

    explicit CAboutBox(QWidget* parent = nullptr);

    // The counter outlives the box: it is not reset when the box opens or closes.
    static int32_t GetClickCount();
    static void SetClickCount(int32_t n);

    // The mouse handlers, with Shift and Ctrl as held (tests call them too).
    void OnLButtonDown(bool bShift, bool bCtrl);
    void OnRButtonDown(bool bShift, bool bCtrl);

protected:
    void OnInitDialog() override;
    void mousePressEvent(QMouseEvent* e) override;
};

class CPictureDlg : public CDialog {
    Q_OBJECT
public:
    explicit CPictureDlg(QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;
};

} // namespace vantorel
