#include "framework/gui/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include "framework/MessageBox.h"

namespace vantorel {

void InstallQtMessageBoxHandler(const QString& caption)
{
    SetMessageBoxHandler([caption](const std::string& text, unsigned type) {
        QMessageBox box(QMessageBox::NoIcon, caption, QString::fromLocal8Bit(text.c_str()),
                        type == MB_OKCANCEL ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok,
                        QApplication::activeWindow());
        box.setDefaultButton(QMessageBox::Ok);
        if (type != MB_OKCANCEL)
            box.setIcon(QMessageBox::Warning);
        return box.exec() == QMessageBox::Ok ? IDOK : IDCANCEL;
    });
}

} // namespace vantorel
