#pragma once
// "Complete!": shown after a whole bank (or the whole system) has gone across.
#include "framework/gui/Dialog.h"

namespace vantorel {

class CCompleteDlg : public CDialog {
    Q_OBJECT
public:
    explicit CCompleteDlg(QWidget* parent = nullptr);
};

} // namespace vantorel
