#include "app/SysExFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>

#include "app/DocKinds.h"
#include "data/PatchDoc.h"
#include "framework/core/Document.h"
#include "framework/core/FileNames.h"
#include "framework/core/MessageBox.h"
#include "framework/core/SafeFile.h"
#include "framework/gui/DocManager.h"
#include "framework/gui/FileDialog.h"
#include "res/Strings.h"
#include "res/strings/app.h"
#include "transfer/SysExExport.h"
#include "transfer/SysExFile.h"
#include "transfer/SysExPlace.h"
#include "transfer/SysExReader.h"
#include "views/PatchView.h"
#include "views/PerformView.h"
#include "views/VarListView.h"

namespace vantorel {

namespace {

// Skips named in a summary; the count says how many there were in all.
constexpr size_t kSummaryNotes = 3;
constexpr const char* kSysExSuffix = "syx";

QString Q(const char* s) {
    return QString::fromLatin1(s);
}
QString Local(const std::string& s) {
    return QString::fromLocal8Bit(s.c_str());
}
std::string Text(const QString& s) {
    return s.toLocal8Bit().toStdString();
}
// A name from the command line may hold bytes that are not UTF-8.
std::string LocalPath(const QString& path) {
    return EncodeFileName(path);
}

QString NounText(int n, SysExKind kind) {
    const CTransferNoun noun = NounOf(kind);
    return Q(n == 1 ? noun.szOne : noun.szMany);
}

CDocTemplate* TemplateOf(CDocManager& manager, SysExKind kind) {
    for (const auto& t : manager.GetTemplates())
        if (t->GetResourceId() == IDR_PATCHTYPE + int(kind))
            return t.get();
    return nullptr;
}

// The entry selected in a list window, or -1. The system window has rows
// but no entries.
int SelectedEntry(CScrollView* pView) {
    if (auto* v = dynamic_cast<CPatchView*>(pView))
        return v->GetSelection();
    if (auto* v = dynamic_cast<CPerformView*>(pView))
        return v->GetPerformanceSelection();
    if (auto* v = dynamic_cast<CVarListView*>(pView))
        return v->GetSelection();
    return -1;
}

void ShowReadFault(FileFault fault, const QString& name) {
    switch (fault) {
    case FileFault::NotFound:
        AfxMessageBox(Text(Q(res::kFileNotFound).arg(name)));
        break;
    case FileFault::NotRegular:
        AfxMessageBox(Text(Q(res::kOpenNotRegularFile).arg(name)));
        break;
    case FileFault::AccessDenied:
        AfxMessageBox(Text(Q(res::kFileAccessDenied).arg(name)));
        break;
    default:
        AfxMessageBox(Text(Q(res::kReadFault).arg(name)));
        break;
    }
}

void ShowWriteFault(FileFault fault, const QFileInfo& fi) {
    const QString name = fi.fileName();
    switch (fault) {
    case FileFault::NoFolder:
        AfxMessageBox(Text(Q(res::kFileNotFound).arg(fi.absolutePath())));
        break;
    case FileFault::NotRegular:
        AfxMessageBox(Text(Q(res::kSaveNotRegularFile).arg(name)));
        break;
    case FileFault::AccessDenied:
        AfxMessageBox(Text(Q(res::kSaveAccessDenied).arg(name)));
        break;
    case FileFault::DiskFull:
        AfxMessageBox(Text(Q(res::kSaveDiskFull).arg(name)));
        break;
    default:
        AfxMessageBox(Text(Q(res::kSaveWriteFault).arg(name)));
        break;
    }
}

QString AskExportPath(const CDocument& doc, QWidget* pParent) {
    CFileDialogRequest req;
    req.bOpen = false;
    req.strCaption = Q(res::kExportSysExCaption);
    req.filters << Q(res::kSysExFilter) << Q(res::kAllFilesFilter);
    req.strSelectedFilter = req.filters.front();
    req.strDefaultSuffix = Q(kSysExSuffix);
    const QString path = Local(doc.GetPathName());
    const QString stem = path.isEmpty() ? Local(doc.GetTitle()) : QFileInfo(path).completeBaseName();
    if (!stem.isEmpty())
        req.strDefaultName = (path.isEmpty() ? stem : QFileInfo(path).dir().filePath(stem)) +
                             QLatin1Char('.') + Q(kSysExSuffix);
    return AskFilePath(req, pParent);
}

} // namespace

bool ExportSysExFile(CDocument& doc, CScrollView* pView, QWidget* pParent) {
    int nEntry = -1;
    if (const int nSelected = SelectedEntry(pView); nSelected >= 0) {
        const CSysExExport one = ExportSysEx(doc, nSelected);
        const std::string entry = one.IsOk() ? one.strFirstEntry : one.strBadEntry;
        switch (AfxMessageBox(Text(Q(res::kExportSelectedOnly).arg(Local(entry))), MB_YESNOCANCEL)) {
        case IDYES:
            nEntry = nSelected;
            break;
        case IDNO:
            break;
        default:
            return false;
        }
    }
    const CSysExExport out = ExportSysEx(doc, nEntry);
    if (!out.IsOk()) {
        AfxMessageBox(Text(Q(res::kExportNotWritable).arg(Local(out.strBadEntry))));
        return false;
    }
    if (out.messages.empty())
        return false; // not a document of this device
    const QString path = AskExportPath(doc, pParent);
    if (path.isEmpty())
        return false;
    const CSysExBytes bytes = JoinSysEx(out.messages);
    if (const FileFault fault = WriteFileAtomic(LocalPath(path), bytes.data(), bytes.size());
        fault != FileFault::None) {
        ShowWriteFault(fault, QFileInfo(path));
        return false;
    }
    return true;
}

void OnImportSysEx(CDocManager& manager, CDocument* pActive, QWidget* pParent) {
    CFileDialogRequest req;
    req.bOpen = true;
    req.strCaption = Q(res::kImportSysExCaption);
    req.filters << Q(res::kSysExFilter) << Q(res::kAllFilesFilter);
    req.strSelectedFilter = req.filters.front();
    const QString path = AskFilePath(req, pParent);
    if (!path.isEmpty())
        ImportSysExFile(manager, path, pActive);
}

int ImportSysExFile(CDocManager& manager, const QString& strPath, CDocument* pActive) {
    const QString name = QFileInfo(strPath).fileName();
    CSysExReader reader;
    if (const CSysExFileRead read = ReadSysExFile(LocalPath(strPath), reader); !read.IsOk()) {
        if (read.bTooLarge)
            AfxMessageBox(Text(Q(res::kSysExTooLarge).arg(name)));
        else
            ShowReadFault(read.fault, name);
        return 0;
    }
    const CSysExHaul& haul = reader.GetHaul();
    if (!HaulHasEntries(haul)) {
        std::string text = Text(Q(res::kSysExNothingInFile).arg(name));
        if (const std::string skips = FormatSysExSkips(haul); !skips.empty())
            text += "\n\n" + skips;
        AfxMessageBox(text);
        return 0;
    }
    const std::vector<std::string> lines =
        PlaceHaulInWindows(manager, haul, pActive, name, res::kEditImportSysEx);
    AfxMessageBox(FormatSysExSummary(res::kSysExImportedFrom, name, lines, haul));
    int nPlaced = 0;
    for (SysExKind kind : kSysExKinds)
        nPlaced += TakenCount(haul, kind);
    return lines.empty() ? 0 : nPlaced;
}

bool HaulHasEntries(const CSysExHaul& haul) {
    for (SysExKind kind : kSysExKinds)
        if (TakenCount(haul, kind) > 0)
            return true;
    return false;
}

std::vector<std::string> PlaceHaulInWindows(CDocManager& manager, const CSysExHaul& haul, CDocument* pActive,
                                            const QString& strSource, const char* szEdit) {
    std::vector<std::string> lines;
    for (SysExKind kind : kSysExKinds) {
        if (TakenCount(haul, kind) == 0)
            continue;
        const QString count = QString::number(ShownCount(haul, kind));
        const QString noun = NounText(ShownCount(haul, kind), kind);
        CDocument* pTarget = nullptr;
        if (pActive && KindOfDocument(*pActive) == kind) {
            const QString question =
                Q(res::kIntoActiveWindow).arg(strSource, count, noun, Local(pActive->GetTitle()));
            const int answer = AfxMessageBox(Text(question), MB_YESNOCANCEL);
            if (answer == IDCANCEL)
                continue;
            if (answer == IDYES)
                pTarget = pActive;
        }
        if (!pTarget) {
            CDocTemplate* pTemplate = TemplateOf(manager, kind);
            pTarget = pTemplate ? manager.OpenNewDocument(pTemplate) : nullptr;
            if (!pTarget)
                continue; // the failure has been shown
        }
        // The one place where imported entries are written.
        PlaceHaul(haul, *pTarget, szEdit);
        lines.push_back(Text(Q(res::kSysExTakenLine).arg(count, noun, Local(pTarget->GetTitle()))));
    }
    return lines;
}

std::string FormatSysExSkips(const CSysExHaul& haul) {
    if (haul.TotalSkips() == 0)
        return {};
    std::string text = Text(Q(res::kSysExSkippedLine).arg(QString::number(haul.TotalSkips())));
    for (size_t i = 0; i < haul.m_notes.size() && i < kSummaryNotes; ++i)
        text += "\n" + FormatSysExNote(haul.m_notes[i]);
    return text;
}

std::string FormatSysExSummary(const char* szHead, const QString& strSource,
                               const std::vector<std::string>& lines, const CSysExHaul& haul) {
    std::string text = Text(Q(szHead).arg(strSource));
    for (const std::string& line : lines)
        text += "\n" + line;
    if (const std::string skips = FormatSysExSkips(haul); !skips.empty())
        text += "\n\n" + skips;
    return text;
}

void OpenHandedFiles(CDocManager& manager, const QStringList& paths, CDocument* pActive) {
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
