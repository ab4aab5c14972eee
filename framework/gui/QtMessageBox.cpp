#include "framework/gui/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "framework/core/MessageBox.h"
#include "res/strings/app.h"

namespace vantorel {

void InstallQtMessageBoxHandler(const QString& caption)
{
    SetMessageBoxHandler([caption](const std::string& text, unsigned type) {
        QMessageBox::StandardButtons buttons = QMessageBox::Ok;
        if (type == MB_OKCANCEL)
            buttons = QMessageBox::Ok | QMessageBox::Cancel;
        else if (type == MB_YESNOCANCEL || type == MB_SAVEALLYESNOCANCEL)
            buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        QMessageBox box(QMessageBox::NoIcon, caption, QString::fromLocal8Bit(text.c_str()), buttons,
                        QApplication::activeWindow());
        QPushButton* pSaveAll = nullptr;
        if (type == MB_SAVEALLYESNOCANCEL)
            pSaveAll = box.addButton(QString::fromLatin1(res::kSaveAllButton), QMessageBox::AcceptRole);
        if (type == MB_YESNOCANCEL || type == MB_SAVEALLYESNOCANCEL) {
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::Cancel);
            box.setIcon(QMessageBox::Question);
        } else {
            box.setDefaultButton(QMessageBox::Ok);
            if (type != MB_OKCANCEL)
                box.setIcon(QMessageBox::Warning);
        }
        const int nButton = box.exec();
        if (pSaveAll && box.clickedButton() == pSaveAll)
            return int(IDSAVEALL);
        switch (nButton) {
        case QMessageBox::Ok: return int(IDOK);
        case QMessageBox::Yes: return int(IDYES);
        case QMessageBox::No: return int(IDNO);
        default: return int(IDCANCEL);
        }
    });
}

} // namespace vantorel
