#include "app/BackupFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStringList>

#include <algorithm>

#include "app/AppText.h"
#include "framework/core/MessageBox.h"
#include "framework/gui/ChildFrame.h"
#include "framework/gui/DocManager.h"
#include "framework/gui/DocumentFiles.h"
#include "framework/gui/FileDialog.h"
#include "res/strings/app.h"
#include "transfer/kinds/DocumentKinds.h"

namespace vantorel {

namespace {

// The windows from the one used longest ago to the one used last.
std::vector<CDocument*> ByUse(CDocManager& manager)
{
    std::vector<CDocument*> docs;
    if (QMdiArea* pArea = manager.GetMdiArea())
        for (QMdiSubWindow* w : pArea->subWindowList(QMdiArea::ActivationHistoryOrder))
            if (auto* pFrame = qobject_cast<CChildFrame*>(w); pFrame && pFrame->GetDocument())
                docs.push_back(pFrame->GetDocument());
    return docs;
}

QString AskFolder(QWidget* pParent)
{
    CFileDialogRequest req;
    req.bOpen = false;
    req.strCaption = Q(res::kBackUpCaption);
    req.filters << Q(res::kBackUpFilter);
    req.strDefaultName = Q(res::kBackUpFolderName)
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm")));
    return AskFilePath(req, pParent);
}
} // namespace

std::vector<CDocument*> BackupDocuments(CDocManager& manager, CDocument* pActive)
{
    const std::vector<CDocument*> byUse = ByUse(manager);
    std::vector<CDocument*> chosen;
    for (const CDocKind* pKind : DocumentKinds().All()) {
        CDocument* pDoc = pActive && pKind->IsKindOf(*pActive) ? pActive : nullptr;
        for (auto it = byUse.rbegin(); !pDoc && it != byUse.rend(); ++it)
            if (pKind->IsKindOf(**it))
                pDoc = *it;
        if (pDoc)
            chosen.push_back(pDoc);
    }
    return chosen;
}

QString BackUpToFolder(CDocManager& manager, CDocument* pActive, QWidget* pParent)
{
    const std::vector<CDocument*> docs = BackupDocuments(manager, pActive);
    if (docs.empty())
        return {};
    const QString folder = AskFolder(pParent);
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    const QString shownFolder = QDir::toNativeSeparators(dir.absolutePath());
    if (!QDir().mkpath(dir.absolutePath())) {
        AfxMessageBox(Q(res::kBackUpNoFolder).arg(shownFolder).toStdString());
        return {};
    }
    // docs holds one document of each kind that has a window, in the registry's order.
    QStringList files, present, missing;
    for (const CDocKind* pKind : DocumentKinds().All()) {
        if (std::none_of(docs.begin(), docs.end(), [pKind](CDocument* d) { return pKind->IsKindOf(*d); })) {
            missing << Q(pKind->Noun().szMany);
            continue;
        }
        files << Q(pKind->BackupFile());
        if (QFileInfo::exists(dir.filePath(files.back())))
            present << files.back();
    }
    const QString comma = QStringLiteral(", ");
    if (!present.isEmpty() &&
        AfxMessageBox(Q(res::kBackUpReplace).arg(shownFolder, present.join(comma)).toStdString(),
                      MB_OKCANCEL) != IDOK)
        return {};
    for (size_t i = 0; i < docs.size(); ++i)
        if (!CDocumentFiles::WriteCopy(*docs[i], dir.filePath(files[qsizetype(i)])))
            return {}; // said by the writing
    if (!missing.isEmpty()) {
        AfxMessageBox(
            Q(res::kBackUpPartial).arg(shownFolder, files.join(comma), missing.join(comma)).toStdString());
        return {};
    }
    return Q(res::kBackUpDone).arg(files.join(comma), shownFolder);
}

} // namespace vantorel
