#include "app/UserGuide.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "framework/core/MessageBox.h"
#include "res/strings/app.h"

namespace vantorel {

namespace {
constexpr const char* kGuideFile = "USER_GUIDE.md";
}

QString FindUserGuide()
{
    const QString besideProgram =
        QDir(QCoreApplication::applicationDirPath())
            .filePath(QStringLiteral("../" VANTOREL_RELATIVE_DOC_DIR "/") + kGuideFile);
    const QString candidates[] = {QDir::cleanPath(besideProgram),
                                  QDir(QStringLiteral(VANTOREL_INSTALL_DOC_DIR)).filePath(kGuideFile),
                                  QDir(QStringLiteral(VANTOREL_SOURCE_DOC_DIR)).filePath(kGuideFile)};
    for (const QString& path : candidates)
        if (QFileInfo(path).isFile())
            return path;
    return candidates[0];
}

void OpenUserGuide()
{
    const QString path = FindUserGuide();
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo(path).isFile())
        AfxMessageBox(QString::fromLatin1(res::kUserGuideMissing).arg(shown).toStdString());
    else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        AfxMessageBox(QString::fromLatin1(res::kUserGuideNoViewer).arg(shown).toStdString());
}

} // namespace vantorel
