#include "app/CompareCommands.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <memory>

#include "app/AppText.h"
#include "app/CompareWindow.h"
#include "app/SysExFiles.h"
#include "framework/core/FileNames.h"
#include "framework/core/MessageBox.h"
#include "framework/gui/ChildFrame.h"
#include "framework/gui/DocManager.h"
#include "framework/gui/DocumentFiles.h"
#include "framework/gui/FileDialog.h"
#include "framework/gui/MDIFrameWnd.h"
#include "res/strings/app.h"
#include "res/strings/compare.h"
#include "transfer/SysExPlace.h"
#include "transfer/SysExReader.h"
#include "transfer/kinds/DocumentKinds.h"
#include "views/ListView.h"

namespace vantorel {

namespace {

CMDIFrameWnd* g_pFrame = nullptr;

// The list windows of the frame, the one active last first.
std::vector<CListView*> ListViews(const CMDIFrameWnd& frame)
{
    std::vector<CListView*> views;
    const QList<QMdiSubWindow*> frames = frame.GetMdiArea()->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = frames.rbegin(); it != frames.rend(); ++it)
        if (auto* pFrame = qobject_cast<CChildFrame*>(*it))
            if (auto* pView = dynamic_cast<CListView*>(pFrame->GetActiveView());
                pView && pView->GetDocument())
                views.push_back(pView);
    return views;
}

// The window of another document of doc's kind that was active last, with
// an entry selected when bSelected; null when there is none.
CListView* OtherWindow(const CMDIFrameWnd& frame, const CDocument& doc, bool bSelected)
{
    const CDocKind* pKind = DocumentKinds().Of(doc);
    for (CListView* pView : ListViews(frame))
        if (pView->GetDocument() != &doc && DocumentKinds().Of(*pView->GetDocument()) == pKind &&
            (!bSelected || pView->SelectedEntry() >= 0))
            return pView;
    return nullptr;
}

// What entry nEntry of a window compares with: the other of two entries
// selected in that window, or else the entry selected in the other window of
// its kind that was active last. None with more than two selected (a compare
// takes two), and none for a system block but the same block.
struct CEntryInWindow {
    const CListView* pView = nullptr;
    int nEntry = -1;
};

CEntryInWindow CompareTarget(const CListView& view, int nEntry)
{
    const CDocument* pDoc = view.GetDocument();
    const CDocKind* pKind = pDoc ? DocumentKinds().Of(*pDoc) : nullptr;
    if (!pKind || !g_pFrame)
        return {};
    const std::vector<int> selected = view.SelectedEntries();
    if (selected.size() > 2 || (selected.size() == 2 && !pKind->HasMovableEntries()))
        return {};
    if (selected.size() == 2)
        return {&view, selected[0] == nEntry ? selected[1] : selected[0]};
    const CListView* pOther = OtherWindow(*g_pFrame, *pDoc, true);
    if (!pOther || (!pKind->HasMovableEntries() && pOther->SelectedEntry() != nEntry))
        return {};
    return {pOther, pOther->SelectedEntry()};
}

// A document by the name its window shows: two open files of one name carry
// their folders.
QString NameOf(const CDocument& doc)
{
    const CDocManager* pManager = g_pFrame ? g_pFrame->GetDocManager() : nullptr;
    return Local(pManager ? pManager->GetDisplayTitle(&doc) : doc.GetTitle());
}

// A file compared with a window of the same file name: both named with their
// folders, as two windows of one name are.
void TellApart(QString& strWindow, const CDocument& doc, QString& strFile, const QString& path)
{
    if (strFile != strWindow || doc.GetPathName().empty())
        return;
    const std::string file = EncodeFileName(QFileInfo(path).absoluteFilePath());
    strWindow += QStringLiteral(" - ") + Local(FolderThatTellsApart(doc.GetPathName(), {file}));
    strFile += QStringLiteral(" - ") + Local(FolderThatTellsApart(file, {doc.GetPathName()}));
}

void Show(CCompareWindow* pWindow)
{
    pWindow->show();
    pWindow->raise();
    pWindow->activateWindow();
}

// A file read for a compare with a document of kind: a library file of that
// kind, or what a .syx file holds of it. Null after the one message saying why not.
struct CFileSide {
    std::unique_ptr<CDocument> pDoc;
    std::vector<bool> present;
};

std::optional<CFileSide> ReadFileSide(const CDocKind& kind, const QString& strPath)
{
    CFileSide side{kind.NewDocument(), {}};
    const QString name = QFileInfo(strPath).fileName();
    if (!strPath.endsWith(QLatin1String(".syx"), Qt::CaseInsensitive)) {
        // A file named as another kind's: said so, rather than a bare header error.
        if (const CDocKind* pNamed = DocumentKinds().FromExtension(Text(strPath));
            pNamed && pNamed != &kind) {
            AfxMessageBox(Text(Q(res::kCompareOtherKindFile)
                                   .arg(name, Q(pNamed->Word()), Q(kind.Word()), Q(kind.Extension()))));
            return std::nullopt;
        }
        if (!CDocumentFiles::Read(*side.pDoc, strPath))
            return std::nullopt;
        return side;
    }
    const std::unique_ptr<CSysExReader> reader = ReadSysExFileOrSay(strPath, false);
    if (!reader)
        return std::nullopt;
    const CSysExHaul& haul = reader->GetHaul();
    if (kind.TakenCount(haul) == 0) {
        AfxMessageBox(Text(Q(res::kCompareNoKindInFile).arg(name, Q(kind.Word()))));
        return std::nullopt;
    }
    PlaceHaul(haul, kind, *side.pDoc, res::kEditImportSysEx);
    for (int n = 0; n < kind.EntryCount(); ++n)
        side.present.push_back(kind.IsTaken(haul, n));
    return side;
}

} // namespace

void InstallCompareWithSelected(CMDIFrameWnd& frame)
{
    g_pFrame = &frame;
    const auto canCompare = [](const CListView& view, int n) {
        return CompareTarget(view, n).pView != nullptr;
    };
    const auto compare = [](CListView& view, int n) {
        const CEntryInWindow other = CompareTarget(view, n);
        if (!other.pView)
            return;
        const CDocument& doc = *view.GetDocument();
        const CDocument& otherDoc = *other.pView->GetDocument();
        Show(new CCompareWindow(*DocumentKinds().Of(doc), {doc, NameOf(doc), {}}, n,
                                {otherDoc, NameOf(otherDoc), {}}, other.nEntry, g_pFrame));
    };
    CListView::SetCompareHooks({canCompare, compare});
}

void UninstallCompareWithSelected()
{
    CListView::SetCompareHooks({});
    g_pFrame = nullptr;
}

bool CanCompareActive(const CMDIFrameWnd& frame)
{
    const CDocument* pDoc = frame.GetActiveDocument();
    return pDoc && DocumentKinds().Of(*pDoc);
}

void OnFileCompare(CMDIFrameWnd& frame)
{
    CDocument* pDoc = frame.GetActiveDocument();
    const CDocKind* pKind = pDoc ? DocumentKinds().Of(*pDoc) : nullptr;
    if (!pKind)
        return;
    const CCompareSide active{*pDoc, NameOf(*pDoc), {}};
    if (const CListView* pOther = OtherWindow(frame, *pDoc, false)) {
        const CDocument& other = *pOther->GetDocument();
        switch (AfxMessageBox(Text(Q(res::kCompareWithWindow).arg(active.strName, NameOf(other))),
                              MB_YESNOCANCEL)) {
        case IDYES: Show(new CCompareWindow(*pKind, active, {other, NameOf(other), {}}, &frame)); return;
        case IDNO: break;
        default: return;
        }
    }
    CFileDialogRequest req;
    req.bOpen = true;
    req.strCaption = Q(res::kCompareOpenCaption);
    req.filters << Q(res::kCompareFilter).arg(Q(pKind->Extension())) << Q(res::kAllFilesFilter);
    req.strSelectedFilter = req.filters.front();
    const QString path = AskFilePath(req, &frame);
    if (path.isEmpty())
        return;
    const std::optional<CFileSide> file = ReadFileSide(*pKind, path);
    if (!file)
        return;
    QString strWindow = active.strName;
    QString strFile = QFileInfo(path).fileName();
    TellApart(strWindow, *pDoc, strFile, path);
    Show(new CCompareWindow(*pKind, {*pDoc, strWindow, {}}, {*file->pDoc, strFile, file->present}, &frame));
}

} // namespace vantorel
