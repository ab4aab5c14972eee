#include "cli/Transfers.h"

#include <QDir>
#include <QFileInfo>

#include "cli/Cli.h"
#include "cli/ExitCodes.h"
#include "cli/KindLists.h"
#include "cli/LibraryFile.h"
#include "cli/Ports.h"
#include "cli/Session.h"
#include "cli/SysExFile.h"
#include "framework/core/Document.h"
#include "framework/core/SafeFile.h"
#include "res/strings/cli.h"
#include "transfer/SysExExport.h"
#include "transfer/kinds/DocumentKinds.h"

namespace vantorel::cli {

namespace {

// A dry run of a Send of doc (the export walks a plan of its own: a plan
// walked once is not where a Send begins); false (error set) when a data set
// holds bytes the synthesizer cannot take or an entry is larger than its
// memory, so that nothing is sent at all.
bool CheckSendable(const CDocKind& kind, const CDocument& doc, std::optional<int> entry,
                   const std::string& path, std::string& error)
{
    const CSysExExport dryRun = ExportSysEx(kind, doc, entry.value_or(-1));
    if (!dryRun.IsOk()) {
        error = RefusedEntryText(dryRun, path, true);
        return false;
    }
    return true;
}

std::string BackupPath(const std::string& dir, const CDocKind& kind)
{
    return QDir(QString::fromStdString(dir)).filePath(QString::fromUtf8(kind.BackupFile())).toStdString();
}

class CTransfers {
public:
    CTransfers(const COptions& options, CContext& ctx) : m_options(options), m_ctx(ctx) {}

    int Run()
    {
        // Every port is settled before any file is read or written.
        CPortPair ports;
        if (const int nExit = ResolvePorts(ports); nExit != kExitDone)
            return nExit;
        m_session.emplace(m_ctx, ports, m_options.nRetries, m_options.bQuiet);
        switch (m_options.command) {
        case ECommand::Get: return Get();
        case ECommand::Send: return Send();
        case ECommand::Backup: return Backup();
        case ECommand::Restore: return Restore();
        case ECommand::Verify: return Verify();
        default: return kExitUsage;
        }
    }

private:
    // The devices the command uses: a PORT that names nothing is a usage
    // error; so is a direction the command needs with no PORT and nothing
    // chosen in MIDI Setup (one message for both); a chosen device that is
    // not listed is a MIDI error. A send uses no input.
    int ResolvePorts(CPortPair& ports)
    {
        const bool bNeedsIn = m_options.command != ECommand::Send && m_options.command != ECommand::Restore;
        std::string inError, outError;
        const EPortFound in = bNeedsIn || m_options.midiIn
                                  ? ResolvePort(m_ctx, true, m_options.midiIn, ports.in, inError)
                                  : EPortFound::Found;
        if (in == EPortFound::NoSuchPort)
            return Fail(kExitUsage, inError);
        const EPortFound out = ResolvePort(m_ctx, false, m_options.midiOut, ports.out, outError);
        if (out == EPortFound::NoSuchPort)
            return Fail(kExitUsage, outError);
        const bool bInMissing = bNeedsIn && in == EPortFound::NotChosen;
        const bool bOutMissing = out == EPortFound::NotChosen;
        if (bInMissing || bOutMissing)
            return Fail(kExitUsage, FormatText(res::kCliNoPortChosen,
                                               bInMissing && bOutMissing ? res::kCliPortWordInOut
                                               : bInMissing              ? res::kCliPortWordIn
                                                                         : res::kCliPortWordOut,
                                               bInMissing && bOutMissing ? res::kCliPortOptionsInOut
                                               : bInMissing              ? res::kCliPortOptionsIn
                                                                         : res::kCliPortOptionsOut));
        if (in == EPortFound::NotAvailable)
            return Fail(kExitMidi, inError);
        if (out == EPortFound::NotAvailable)
            return Fail(kExitMidi, outError);
        return kExitDone;
    }

    int Fail(int nExit, const std::string& text)
    {
        PrintMessage(m_ctx, text);
        return nExit;
    }

    // After a Get that did not end (its failure has been printed): the
    // interrupted message, what arrived kept aside when asked, and the exit code.
    int Stopped(const CRunResult& result, const std::string& target,
                const std::vector<std::pair<std::string, CDocument*>>& partial)
    {
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

    int Get()
    {
        const CDocKind& kind = *m_options.pKind;
        const std::string& path = m_options.strPath;
        std::unique_ptr<CDocument> pDoc;
        // One entry goes into the library file of its kind that is there,
        // keeping the others; a .syx file holds just what was fetched.
        if (m_options.entry && !IsSysExPath(path) && CheckRegularFile(path) != FileFault::NotFound) {
            std::string error;
            std::optional<CLoadedFile> file = LoadLibraryFile(path, &kind, error);
            if (!file)
                return Fail(kExitFile, error);
            pDoc = std::move(file->pDoc);
        } else {
            pDoc = kind.NewDocument();
        }
        const std::unique_ptr<CGetPlan> plan = kind.MakeGetPlan(*pDoc, m_options.entry.value_or(-1));
        const CRunResult result = m_session->Get(kind, *plan, m_options.entry);
        if (result.end != ERunEnd::Done)
            return Stopped(result, path, {{path, pDoc.get()}});
        std::string error;
        if (!SaveOutputFile(path, *pDoc, m_options.entry, error))
            return Fail(kExitFile, error);
        return kExitDone;
    }

    int Send()
    {
        std::string error;
        const std::optional<CLoadedFile> file = LoadLibraryFile(m_options.strPath, nullptr, error);
        if (!file)
            return Fail(kExitFile, error);
        const CDocKind& kind = *file->pKind;
        std::optional<int> entry;
        if (!m_options.strEntry.empty()) {
            entry = kind.ParseEntryLabel(m_options.strEntry);
            if (!entry)
                return Fail(kExitUsage, FormatText(res::kCliUnknownEntry, kind.Word(), m_options.strEntry,
                                                   kind.LabelRange()) +
                                            res::kCliSeeHelp);
        }
        if (!CheckSendable(kind, *file->pDoc, entry, m_options.strPath, error))
            return Fail(kExitFile, error);
        const std::unique_ptr<CSendPlan> plan = kind.MakeSendPlan(*file->pDoc, entry.value_or(-1));
        return SendPlanned(kind, *plan, entry);
    }

    int SendPlanned(const CDocKind& kind, CSendPlan& plan, std::optional<int> entry)
    {
        const CRunResult result = m_session->Send(kind, plan, entry);
        if (result.end == ERunEnd::Cancelled)
            PrintMessage(m_ctx, res::kCliInterruptedSend);
        return ExitCodeFor(result);
    }

    int Backup()
    {
        const std::string& dir = m_options.strPath;
        const QFileInfo info(QString::fromStdString(dir));
        if (info.exists() && !info.isDir())
            return Fail(kExitFile, FormatText(res::kCliNotFolder, dir));
        // All five kinds first: the folder then holds one moment's state, or
        // nothing new at all.
        std::vector<std::pair<std::string, std::unique_ptr<CDocument>>> docs;
        for (const CDocKind* pKind : DocumentKinds().All()) {
            docs.emplace_back(BackupPath(dir, *pKind), pKind->NewDocument());
            const std::unique_ptr<CGetPlan> plan = pKind->MakeGetPlan(*docs.back().second, -1);
            const CRunResult result = m_session->Get(*pKind, *plan, std::nullopt);
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

    int Restore()
    {
        const std::string& dir = m_options.strPath;
        if (!QFileInfo(QString::fromStdString(dir)).isDir())
            return Fail(kExitFile, FormatText(res::kCliNotFolder, dir));
        // Every file present is read and checked before anything is sent.
        struct CPlanned {
            CLoadedFile file;
            std::unique_ptr<CSendPlan> plan;
        };
        std::vector<CPlanned> planned;
        for (const CDocKind* pKind : DocumentKinds().All()) {
            const std::string path = BackupPath(dir, *pKind);
            if (CheckRegularFile(path) == FileFault::NotFound)
                continue;
            std::string error;
            std::optional<CLoadedFile> file = LoadLibraryFile(path, pKind, error);
            if (!file)
                return Fail(kExitFile, error);
            CPlanned p{std::move(*file), nullptr};
            if (!CheckSendable(*pKind, *p.file.pDoc, std::nullopt, path, error))
                return Fail(kExitFile, error);
            p.plan = pKind->MakeSendPlan(*p.file.pDoc, -1);
            planned.push_back(std::move(p));
        }
        if (planned.empty())
            return Fail(kExitFile,
                        FormatText(res::kCliNoBackupFiles, dir, BackupFileList(DocumentKinds().All())));
        for (CPlanned& p : planned)
            if (const int nExit = SendPlanned(*p.file.pKind, *p.plan, std::nullopt); nExit != kExitDone)
                return nExit;
        return kExitDone;
    }

    int Verify()
    {
        std::string error;
        const std::optional<CLoadedFile> file = LoadLibraryFile(m_options.strPath, nullptr, error);
        if (!file)
            return Fail(kExitFile, error);
        const CDocKind& kind = *file->pKind;
        const std::unique_ptr<CDocument> pFetched = kind.NewDocument();
        const std::unique_ptr<CGetPlan> plan = kind.MakeGetPlan(*pFetched, -1);
        const CRunResult result = m_session->Get(kind, *plan, std::nullopt);
        if (result.end != ERunEnd::Done)
            return Stopped(result, m_options.strPath, {});
        const int nEntries = kind.EntryCount();
        int nDiffer = 0;
        for (int n = 0; n < nEntries; ++n) {
            if (kind.SameEntry(*file->pDoc, *pFetched, n))
                continue;
            ++nDiffer;
            m_ctx.out << FormatText(res::kCliDiffers, kind.Word(), kind.EntryLabel(n),
                                    kind.EntryName(*file->pDoc, n), kind.EntryName(*pFetched, n))
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

int RunTransfer(const COptions& options, CContext& ctx)
{
    return CTransfers(options, ctx).Run();
}

} // namespace vantorel::cli
