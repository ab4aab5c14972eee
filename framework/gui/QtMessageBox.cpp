#include "framework/gui/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include "framework/core/MessageBox.h"

namespace vantorel {

void InstallQtMessageBoxHandler(const QString& caption)
{
    SetMessageBoxHandler([caption](const std::string& text, unsigned type) {
        QMessageBox::StandardButtons buttons = QMessageBox::Ok;
        if (type == MB_OKCANCEL)
            buttons = QMessageBox::Ok | QMessageBox::Cancel;
        else if (type == MB_YESNOCANCEL)
            buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        QMessageBox box(QMessageBox::NoIcon, caption, QString::fromLocal8Bit(text.c_str()), buttons,
                        QApplication::activeWindow());
        if (type == MB_YESNOCANCEL) {
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::Cancel);
            box.setIcon(QMessageBox::Question);
        } else {
            box.setDefaultButton(QMessageBox::Ok);
            if (type != MB_OKCANCEL)
                box.setIcon(QMessageBox::Warning);
        }
        switch (box.exec()) {
        case QMessageBox::Ok: return int(IDOK);
        case QMessageBox::Yes: return int(IDYES);
        case QMessageBox::No: return int(IDNO);
        default: return int(IDCANCEL);
        }
    });
}

} // namespace vantorel
