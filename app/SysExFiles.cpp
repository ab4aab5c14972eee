#include "app/SysExFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdint>
#include <memory>

#include "app/AppText.h"
#include "app/DocKinds.h"
#include "data/PatchDoc.h"
#include "framework/core/Document.h"
#include "framework/core/FileNames.h"
#include "framework/core/MessageBox.h"
#include "framework/core/SafeFile.h"
#include "framework/gui/DocManager.h"
#include "framework/gui/DocumentFiles.h"
#include "framework/gui/FileDialog.h"
#include "res/Strings.h"
#include "res/strings/app.h"
#include "transfer/SysExExport.h"
#include "transfer/SysExFile.h"
#include "transfer/SysExPlace.h"
#include "transfer/SysExReader.h"
#include "transfer/SysExSummary.h"
#include "transfer/kinds/DocumentKinds.h"
#include "views/PatchView.h"
#include "views/PerformView.h"
#include "views/VarListView.h"

namespace vantorel {

namespace {

constexpr const char* kSysExSuffix = "syx";

// A name from the command line may hold bytes that are not UTF-8.
std::string LocalPath(const QString& path)
{
    return EncodeFileName(path);
}

QString NounText(int n, const CDocKind& kind)
{
    const CTransferNoun noun = kind.Noun();
    return Q(n == 1 ? noun.szOne : noun.szMany);
}

// The entry selected in a list window, or -1. The system window has rows
// but no entries.
int SelectedEntry(const CScrollView* pView)
{
    if (auto* v = dynamic_cast<const CPatchView*>(pView))
        return v->GetSelection();
    if (auto* v = dynamic_cast<const CPerformView*>(pView))
        return v->GetPerformanceSelection();
    if (auto* v = dynamic_cast<const CVarListView*>(pView))
        return v->GetSelection();
    return -1;
}

// The entry selected in the window of a document, or -1.
int SelectedEntryOf(const CDocument* pDoc)
{
    if (!pDoc)
        return -1;
    for (const CViewBase* pView : pDoc->GetViews())
        if (const int n = SelectedEntry(dynamic_cast<const CScrollView*>(pView)); n >= 0)
            return n;
    return -1;
}

} // namespace

std::unique_ptr<CSysExReader> ReadSysExFileOrSay(const QString& strPath, bool bAnyDevice)
{
    auto reader = std::make_unique<CSysExReader>(DocumentKinds().SysExLayouts());
    reader->SetAnyDevice(bAnyDevice);
    if (const CSysExFileRead read = ReadSysExFile(LocalPath(strPath), *reader); !read.IsOk()) {
        if (read.bTooLarge)
            AfxMessageBox(Text(Q(res::kSysExTooLarge).arg(QFileInfo(strPath).fileName())));
        else
            CDocumentFiles::ShowFault(read.fault, EFileAccess::Read, QFileInfo(strPath));
        return nullptr;
    }
    return reader;
}

namespace {

// The name an entry is exported under: its name as the window shows it
// ("Warm Pad", "PATTERN 2"), control characters left out and what file names
// cannot hold made a dash; empty for a name of nothing else.
QString EntryFileStem(const CDocKind& kind, const CDocument& doc, int nEntry)
{
    QString name = QString::fromStdString(kind.EntryName(doc, nEntry));
    if (const qsizetype comma = name.indexOf(QStringLiteral(", ")); comma >= 0)
        name.truncate(comma);
    name.remove(QRegularExpression(QStringLiteral("[\\x00-\\x1F\\x7F]")));
    name.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|#%;]")), QStringLiteral("-"));
    return name.trimmed();
}

// Proposes stem (the document's name when empty) in the document's folder.
QString AskExportPath(const CDocument& doc, QString stem, QWidget* pParent)
{
    CFileDialogRequest req;
    req.bOpen = false;
    req.strCaption = Q(res::kExportSysExCaption);
    req.filters << Q(res::kSysExFilter) << Q(res::kAllFilesFilter);
    req.strSelectedFilter = req.filters.front();
    req.strDefaultSuffix = Q(kSysExSuffix);
    const QString path = Local(doc.GetPathName());
    if (stem.isEmpty())
        stem = path.isEmpty() ? Local(doc.GetTitle()) : QFileInfo(path).completeBaseName();
    if (!stem.isEmpty())
        req.strDefaultName = (path.isEmpty() ? stem : QFileInfo(path).dir().filePath(stem)) +
                             QLatin1Char('.') + Q(kSysExSuffix);
    return AskFilePath(req, pParent);
}

} // namespace

bool ExportSysExFile(CDocument& doc, CScrollView* pView, QWidget* pParent)
{
    const CDocKind* pKind = DocumentKinds().Of(doc);
    if (!pKind)
        return false; // not a document of this device
    int nEntry = -1;
    if (const int nSelected = SelectedEntry(pView); nSelected >= 0) {
        const CSysExExport one = ExportSysEx(*pKind, doc, nSelected);
        const std::string entry = one.IsOk() ? one.strFirstEntry : one.strBadEntry;
        switch (AfxMessageBox(Text(Q(res::kExportSelectedOnly).arg(Local(entry))), MB_YESNOCANCEL)) {
        case IDYES: nEntry = nSelected; break;
        case IDNO: break;
        default: return false;
        }
    }
    const CSysExExport out = ExportSysEx(*pKind, doc, nEntry);
    if (out.fault == EDataSetFault::TooLarge) {
        AfxMessageBox(Text(Q(res::kExportTooLarge)
                               .arg(Local(out.strBadEntry), QString::number(out.nEntrySize),
                                    QString::number(out.nEntryRoom))));
        return false;
    }
    if (!out.IsOk()) {
        AfxMessageBox(Text(Q(res::kExportNotWritable).arg(Local(out.strBadEntry))));
        return false;
    }
    if (out.messages.empty())
        return false; // not a document of this device
    const QString path =
        AskExportPath(doc, nEntry >= 0 ? EntryFileStem(*pKind, doc, nEntry) : QString(), pParent);
    if (path.isEmpty())
        return false;
    const CSysExBytes bytes = JoinSysEx(out.messages);
    if (const FileFault fault = WriteFileAtomic(LocalPath(path), bytes.data(), bytes.size());
        fault != FileFault::None) {
        CDocumentFiles::ShowFault(fault, EFileAccess::Write, QFileInfo(path));
        return false;
    }
    return true;
}

void OnImportSysEx(CDocManager& manager, CDocument* pActive, QWidget* pParent)
{
    CFileDialogRequest req;
    req.bOpen = true;
    req.strCaption = Q(res::kImportSysExCaption);
    req.filters << Q(res::kSysExFilter) << Q(res::kAllFilesFilter);
    req.strSelectedFilter = req.filters.front();
    const QString path = AskFilePath(req, pParent);
    if (!path.isEmpty())
        ImportSysExFile(manager, path, pActive);
}

int ImportSysExFile(CDocManager& manager, const QString& strPath, CDocument* pActive)
{
    const QString name = QFileInfo(strPath).fileName();
    std::unique_ptr<CSysExReader> reader = ReadSysExFileOrSay(strPath, false);
    if (!reader)
        return 0;
    // A file made for another unit's device ID (downloads often are) may be
    // taken as this synthesizer's when the user says so.
    if (const std::string ids = FormatDeviceIds(reader->GetHaul()); !ids.empty()) {
        switch (AfxMessageBox(Text(Q(res::kSysExOtherDevice).arg(name, Local(ids))), MB_YESNOCANCEL)) {
        case IDYES:
            if (reader = ReadSysExFileOrSay(strPath, true); !reader)
                return 0;
            break;
        case IDNO: break;
        default: return 0;
        }
    }
    const CSysExHaul& haul = reader->GetHaul();
    if (!HaulHasEntries(haul)) {
        std::string text = Text(Q(res::kSysExNothingInFile).arg(name));
        if (const std::string skips = FormatSysExSkips(haul); !skips.empty())
            text += "\n\n" + skips;
        AfxMessageBox(text);
        return 0;
    }
    const std::optional<std::vector<std::string>> lines =
        PlaceHaulInWindows(manager, haul, pActive, name, res::kEditImportSysEx, SelectedEntryOf(pActive));
    if (!lines)
        return 0; // cancelled: nothing was imported, so there is nothing to sum up
    AfxMessageBox(FormatSysExSummary(Text(Q(res::kSysExImportedFrom).arg(name)), *lines, haul));
    int nPlaced = 0;
    for (const CDocKind* pKind : DocumentKinds().All())
        nPlaced += pKind->TakenCount(haul);
    return lines->empty() ? 0 : nPlaced;
}

bool HaulHasEntries(const CSysExHaul& haul)
{
    return DocumentKinds().HaulHasEntries(haul);
}

std::optional<std::vector<std::string>> PlaceHaulInWindows(CDocManager& manager, const CSysExHaul& haul,
                                                           CDocument* pActive, const QString& strSource,
                                                           const char* szEdit, int nSelected)
{
    // Only the active window's kind can go into it, so there is at most one
    // question; it comes before anything is placed, and Cancel leaves every
    // window as it was.
    const CDocKind* pActiveKind = pActive ? DocumentKinds().Of(*pActive) : nullptr;
    bool bIntoActive = false;
    int nInto = -1; // the selected entry a single entry goes into
    if (pActiveKind && pActiveKind->TakenCount(haul) > 0) {
        const CDocKind& kind = *pActiveKind;
        const int nShown = kind.ShownCount(haul);
        const int nFrom = nSelected >= 0 && nSelected < kind.EntryCount() ? kind.SingleEntry(haul) : -1;
        const QString title = Local(pActive->GetTitle());
        const QString question =
            nFrom >= 0 ? Q(res::kIntoSelectedEntry)
                             .arg(strSource, QString::number(nShown), NounText(nShown, kind),
                                  Local(kind.EntryLabel(nFrom)), Local(kind.EntryLabel(nSelected)), title)
                       : Q(res::kIntoActiveWindow)
                             .arg(strSource, QString::number(nShown), NounText(nShown, kind), title);
        switch (AfxMessageBox(Text(question), MB_YESNOCANCEL)) {
        case IDYES:
            bIntoActive = true;
            nInto = nFrom >= 0 ? nSelected : -1;
            break;
        case IDNO: break;
        default: return std::nullopt;
        }
    }
    std::vector<std::string> lines;
    for (const CDocKind* pKind : DocumentKinds().All()) {
        const CDocKind& kind = *pKind;
        if (kind.TakenCount(haul) == 0)
            continue;
        const bool bActive = bIntoActive && &kind == pActiveKind;
        CDocument* pTarget = bActive ? pActive : nullptr;
        if (!pTarget) {
            CDocTemplate* pTemplate = TemplateOfKind(manager, kind);
            pTarget = pTemplate ? manager.OpenNewDocument(pTemplate) : nullptr;
            if (!pTarget)
                continue; // the failure has been shown
        }
        // The one place where imported entries are written.
        PlaceHaul(haul, kind, *pTarget, szEdit, bActive ? nInto : -1);
        lines.push_back(FormatPlacedLine(haul, kind, pTarget->GetTitle(), bActive ? nInto : -1));
    }
    return lines;
}

void OpenHandedFiles(CDocManager& manager, const QStringList& paths, CDocument* pActive)
{
    // The window that was active when the files were handed over is the one
    // an import may go into, not a library file opened among them.
    for (const QString& path : paths) {
        if (QFileInfo(path).suffix().compare(Q(kSysExSuffix), Qt::CaseInsensitive) == 0)
            ImportSysExFile(manager, path, pActive);
        else
            manager.OpenDocumentFile(path);
    }
}

} // namespace vantorel
