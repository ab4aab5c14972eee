#include "cli/Transfers.h"

#include <QDir>
#include <QFileInfo>

#include "cli/Cli.h"
#include "cli/Entries.h"
#include "cli/ExitCodes.h"
#include "cli/LibraryFile.h"
#include "cli/Ports.h"
#include "cli/Session.h"
#include "cli/SysExFile.h"
#include "framework/core/Document.h"
#include "framework/core/SafeFile.h"
#include "res/strings/cli.h"
#include "transfer/SysExExport.h"
#include "transfer/plans/DocumentPlans.h"

namespace vantorel::cli {

namespace {

// A dry run of a Send of doc (the export walks a plan of its own: a plan
// walked once is not where a Send begins); false (error set) when a data set
// holds bytes the synthesizer cannot take or an entry is larger than its
// memory, so that nothing is sent at all.
bool CheckSendable(const CDocument& doc, std::optional<int> entry, const std::string& path, std::string& error) {
    const CSysExExport dryRun = ExportSysEx(doc, entry.value_or(-1));
    if (!dryRun.IsOk()) {
        error = RefusedEntryText(dryRun, path, true);
        return false;
    }
    return true;
}

std::string BackupPath(const std::string& dir, EKind kind) {
    return QDir(QString::fromStdString(dir)).filePath(QString::fromUtf8(Info(kind).szFile)).toStdString();
}

class CTransfers {
  public:
    CTransfers(const COptions& options, CContext& ctx) : m_options(options), m_ctx(ctx) {}

    int Run() {
        // Every PORT is checked before any file is read or written.
        std::string error;
        const std::optional<unsigned> in = ResolvePort(true, m_options.midiIn, error);
        const std::optional<unsigned> out = in ? ResolvePort(false, m_options.midiOut, error) : std::nullopt;
        if (!in || !out)
            return Fail(kExitUsage, error);
        m_session.emplace(m_ctx, CPortPair{*in, *out}, m_options.nRetries, m_options.bQuiet);
        switch (m_options.command) {
        case ECommand::Get:
            return Get();
        case ECommand::Send:
            return Send();
        case ECommand::Backup:
            return Backup();
        case ECommand::Restore:
            return Restore();
        case ECommand::Verify:
            return Verify();
        default:
            return kExitUsage;
        }
    }

  private:
    int Fail(int nExit, const std::string& text) {
        PrintMessage(m_ctx, text);
        return nExit;
    }

    // After a Get that did not end (its failure has been printed): the
    // interrupted message, what arrived kept aside when asked, and the exit code.
    int Stopped(const CRunResult& result, const std::string& target,
                const std::vector<std::pair<std::string, CDocument*>>& partial) {
        if (m_options.bKeepPartial)
            for (const auto& [path, pDoc] : partial) {
                std::string error;
                const std::string partialPath = path + ".partial";
                // In the format the finished file would have had.
                const bool bWritten = IsSysExPath(path)
                                          ? SaveSysExFile(partialPath, *pDoc, m_options.entry, error)
                                          : SaveLibraryFile(partialPath, *pDoc, error);
                if (bWritten)
                    PrintMessage(m_ctx, FormatText(res::kCliPartialWritten, partialPath));
                else
                    PrintMessage(m_ctx, error);
            }
        if (result.end == ERunEnd::Cancelled)
            PrintMessage(m_ctx, FormatText(res::kCliInterrupted, target));
        return ExitCodeFor(result);
    }

    int Get() {
        const EKind kind = *m_options.kind;
        const std::string& path = m_options.strPath;
        std::unique_ptr<CDocument> pDoc;
        // One entry goes into the library file of its kind that is there,
        // keeping the others; a .syx file holds just what was fetched.
        if (m_options.entry && !IsSysExPath(path) && CheckRegularFile(path) != FileFault::NotFound) {
            std::string error;
            std::optional<CLoadedFile> file = LoadLibraryFile(path, kind, error);
            if (!file)
                return Fail(kExitFile, error);
            pDoc = std::move(file->pDoc);
        } else {
            pDoc = NewDocument(kind);
        }
        const std::unique_ptr<CGetPlan> plan = MakeGetPlan(*pDoc, m_options.entry.value_or(-1));
        const CRunResult result = m_session->Get(kind, *plan, m_options.entry);
        if (result.end != ERunEnd::Done)
            return Stopped(result, path, {{path, pDoc.get()}});
        std::string error;
        if (!SaveOutputFile(path, *pDoc, m_options.entry, error))
            return Fail(kExitFile, error);
        return kExitDone;
    }

    int Send() {
        std::string error;
        const std::optional<CLoadedFile> file = LoadLibraryFile(m_options.strPath, std::nullopt, error);
        if (!file)
            return Fail(kExitFile, error);
        std::optional<int> entry;
        if (!m_options.strEntry.empty()) {
            entry = ParseEntryLabel(file->kind, m_options.strEntry);
            if (!entry)
                return Fail(kExitUsage, FormatText(res::kCliUnknownEntry, Info(file->kind).szWord,
                                                   m_options.strEntry, Info(file->kind).szRange) +
                                            res::kCliSeeHelp);
        }
        if (!CheckSendable(*file->pDoc, entry, m_options.strPath, error))
            return Fail(kExitFile, error);
        const std::unique_ptr<CSendPlan> plan = MakeSendPlan(*file->pDoc, entry.value_or(-1));
        return SendPlanned(file->kind, *plan, entry);
    }

    int SendPlanned(EKind kind, CSendPlan& plan, std::optional<int> entry) {
        const CRunResult result = m_session->Send(kind, plan, entry);
        if (result.end == ERunEnd::Cancelled)
            PrintMessage(m_ctx, res::kCliInterruptedSend);
        return ExitCodeFor(result);
    }

    int Backup() {
        const std::string& dir = m_options.strPath;
        const QFileInfo info(QString::fromStdString(dir));
        if (info.exists() && !info.isDir())
            return Fail(kExitFile, FormatText(res::kCliNotFolder, dir));
        // All five kinds first: the folder then holds one moment's state, or
        // nothing new at all.
        std::vector<std::pair<std::string, std::unique_ptr<CDocument>>> docs;
        for (const CKindInfo& k : AllKinds()) {
            docs.emplace_back(BackupPath(dir, k.kind), NewDocument(k.kind));
            const std::unique_ptr<CGetPlan> plan = MakeGetPlan(*docs.back().second);
            const CRunResult result = m_session->Get(k.kind, *plan, std::nullopt);
            if (result.end != ERunEnd::Done) {
                if (m_options.bKeepPartial)
                    if (const FileFault fault = CreateFolder(dir); fault != FileFault::None)
                        return Fail(kExitFile, WriteFaultText(fault, dir));
                std::vector<std::pair<std::string, CDocument*>> partial;
                for (auto& [path, pDoc] : docs)
                    partial.emplace_back(path, pDoc.get());
                return Stopped(result, dir, partial);
            }
        }
        if (const FileFault fault = CreateFolder(dir); fault != FileFault::None)
            return Fail(kExitFile, WriteFaultText(fault, dir));
        for (auto& [path, pDoc] : docs) {
            std::string error;
            if (!SaveLibraryFile(path, *pDoc, error))
                return Fail(kExitFile, error);
        }
        return kExitDone;
    }

    int Restore() {
        const std::string& dir = m_options.strPath;
        if (!QFileInfo(QString::fromStdString(dir)).isDir())
            return Fail(kExitFile, FormatText(res::kCliNotFolder, dir));
        // Every file present is read and checked before anything is sent.
        struct CPlanned {
            CLoadedFile file;
            std::unique_ptr<CSendPlan> plan;
        };
        std::vector<CPlanned> planned;
        for (const CKindInfo& k : AllKinds()) {
            const std::string path = BackupPath(dir, k.kind);
            if (CheckRegularFile(path) == FileFault::NotFound)
                continue;
            std::string error;
            std::optional<CLoadedFile> file = LoadLibraryFile(path, k.kind, error);
            if (!file)
                return Fail(kExitFile, error);
            CPlanned p{std::move(*file), nullptr};
            if (!CheckSendable(*p.file.pDoc, std::nullopt, path, error))
                return Fail(kExitFile, error);
            p.plan = MakeSendPlan(*p.file.pDoc);
            planned.push_back(std::move(p));
        }
        if (planned.empty())
            return Fail(kExitFile, FormatText(res::kCliNoBackupFiles, dir));
        for (CPlanned& p : planned)
            if (const int nExit = SendPlanned(p.file.kind, *p.plan, std::nullopt);
                nExit != kExitDone)
                return nExit;
        return kExitDone;
    }

    int Verify() {
        std::string error;
        const std::optional<CLoadedFile> file = LoadLibraryFile(m_options.strPath, std::nullopt, error);
        if (!file)
            return Fail(kExitFile, error);
        const EKind kind = file->kind;
        const std::unique_ptr<CDocument> pFetched = NewDocument(kind);
        const std::unique_ptr<CGetPlan> plan = MakeGetPlan(*pFetched);
        const CRunResult result = m_session->Get(kind, *plan, std::nullopt);
        if (result.end != ERunEnd::Done)
            return Stopped(result, m_options.strPath, {});
        const int nEntries = Info(kind).nEntries;
        int nDiffer = 0;
        for (int n = 0; n < nEntries; ++n) {
            if (SameEntry(kind, *file->pDoc, *pFetched, n))
                continue;
            ++nDiffer;
            m_ctx.out << FormatText(res::kCliDiffers, Info(kind).szWord, EntryLabel(kind, n),
                                    EntryName(kind, *file->pDoc, n), EntryName(kind, *pFetched, n))
                      << '\n';
        }
        if (nDiffer == 0) {
            m_ctx.out << FormatText(res::kCliVerifySame, m_options.strPath, std::to_string(nEntries)) << '\n';
            return kExitDone;
        }
        m_ctx.out << FormatText(res::kCliVerifyDiffers, m_options.strPath, std::to_string(nDiffer),
                                std::to_string(nEntries))
                  << '\n';
        return kExitDiffers;
    }

    const COptions& m_options;
    CContext& m_ctx;
    std::optional<CSession> m_session;
};

} // namespace

int RunTransfer(const COptions& options, CContext& ctx) {
    return CTransfers(options, ctx).Run();
}

} // namespace vantorel::cli
