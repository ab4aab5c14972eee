#include "framework/gui/FileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

#include "framework/core/Document.h"
#include "framework/core/FileNames.h"
#include "framework/core/Settings.h"
#include "framework/gui/DocTemplate.h"
#include "res/Strings.h"
#include "res/strings/app.h"

namespace vantorel {

namespace {
FileDialogPresenter& Presenter()
{
    static FileDialogPresenter presenter;
    return presenter;
}

QString Local(const std::string& s)
{
    return QString::fromLocal8Bit(s.c_str());
}

QStringList Ask(const CFileDialogRequest& request, QWidget* pParent)
{
    if (Presenter())
        return Presenter()(request).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QFileDialog dlg(pParent, request.strCaption);
    if (!request.strFolder.isEmpty())
        dlg.setDirectory(request.strFolder);
    dlg.setNameFilters(request.filters);
    if (!request.strSelectedFilter.isEmpty())
        dlg.selectNameFilter(request.strSelectedFilter);
    if (request.bOpen) {
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(request.bMany ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    } else {
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setDefaultSuffix(request.strDefaultSuffix);
        if (!request.strDefaultName.isEmpty())
            dlg.selectFile(request.strDefaultName);
    }
    if (dlg.exec() != QDialog::Accepted)
        return {};
    return dlg.selectedFiles();
}

// Every dialog opens where the last one was answered, unless it is given a
// folder of its own; the folder is kept for the next run too.
QStringList Run(CFileDialogRequest request, QWidget* pParent)
{
    if (request.strFolder.isEmpty())
        request.strFolder = DecodeFileName(CSettings::ReadLastFolder());
    const QStringList answer = Ask(request, pParent);
    if (!answer.isEmpty())
        CSettings::WriteLastFolder(EncodeFileName(QFileInfo(answer.front()).absolutePath()));
    return answer;
}
// A file name that can stand as a default: cut at characters that file
// names should not carry, as the title may be anything.
QString SafeFileStem(const QString& title)
{
    QString stem = title;
    const int bad = stem.indexOf(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|#%;]")));
    if (bad >= 0)
        stem.truncate(bad);
    return stem.trimmed();
}
} // namespace

FileDialogPresenter SetFileDialogPresenter(FileDialogPresenter presenter)
{
    FileDialogPresenter previous = std::move(Presenter());
    Presenter() = std::move(presenter);
    return previous;
}

QString AskFilePath(const CFileDialogRequest& request, QWidget* pParent)
{
    return Run(request, pParent).value(0);
}

QString ExtensionOf(const CDocTemplate& tmpl)
{
    return Local(tmpl.GetDocString(CDocTemplate::filterExt));
}

QString FilterForTemplate(const CDocTemplate& tmpl)
{
    QString name = Local(tmpl.GetDocString(CDocTemplate::filterName));
    const int paren = name.lastIndexOf('(');
    if (paren >= 0)
        name = name.left(paren).trimmed();
    return name + QStringLiteral(" (*") + ExtensionOf(tmpl) + QStringLiteral(")");
}

QStringList AskOpenPaths(const std::vector<std::unique_ptr<CDocTemplate>>& templates, QWidget* pParent)
{
    CFileDialogRequest req;
    req.bOpen = true;
    req.bMany = true;
    req.strCaption = QString::fromLatin1(res::kOpenDialogCaption);
    for (const auto& t : templates)
        req.filters << FilterForTemplate(*t);
    req.filters << QString::fromLatin1(res::kAllFilesFilter);
    req.strSelectedFilter = req.filters.front();
    return Run(req, pParent);
}

QString AskSavePath(const CDocument& doc, const CDocTemplate& tmpl, QWidget* pParent)
{
    CFileDialogRequest req;
    req.bOpen = false;
    req.strCaption = QString::fromLatin1(res::kSaveAsDialogCaption);
    req.filters << FilterForTemplate(tmpl) << QString::fromLatin1(res::kAllFilesFilter);
    req.strSelectedFilter = req.filters.front();
    const QString ext = ExtensionOf(tmpl);
    req.strDefaultSuffix = ext.startsWith('.') ? ext.mid(1) : ext;
    const QString path = Local(doc.GetPathName());
    if (!path.isEmpty()) {
        req.strDefaultName = path;
    } else {
        const QString stem = SafeFileStem(Local(doc.GetTitle()));
        if (!stem.isEmpty())
            req.strDefaultName = stem + ext;
    }
    return Run(req, pParent).value(0);
}

} // namespace vantorel
