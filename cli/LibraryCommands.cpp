#include "cli/LibraryCommands.h"

#include <climits>
#include <memory>

#include "cli/Cli.h"
#include "cli/ExitCodes.h"
#include "cli/Json.h"
#include "library/LibraryIndex.h"
#include "res/strings/cli.h"
#include "transfer/plans/DocKind.h"

namespace vantorel::cli {

namespace {

// A search's results are printed a page at a time, so memory stays small.
constexpr int kPage = 1000;

std::string Number(int64_t n)
{
    return std::to_string(n);
}

const char* KindWord(const CLibraryEntry& e)
{
    return e.pKind ? e.pKind->Word() : "";
}

CJsonLine EntryJson(const CLibraryEntry& e)
{
    CJsonLine line;
    line.Add("label", e.strLabel).Add("name", e.strName).Add("kind", KindWord(e)).Add("file", e.strFile);
    line.AddInt("entry", e.nEntry).AddInt("part", e.nPart).AddInt("modified", e.nModified);
    line.Add("sound", e.strSound).Add("bytes", e.strBytes).AddBool("starred", e.bStarred);
    return line;
}

int AddFolders(const COptions& options, CContext& ctx, CLibraryIndex& index)
{
    for (const std::string& dir : options.folders) {
        std::string error;
        if (!index.AddFolder(dir, error)) {
            PrintMessage(ctx, error);
            return kExitFile;
        }
        if (options.bJson)
            ctx.out << CJsonLine().Add("folder", dir).Text() << '\n';
        else
            ctx.out << FormatText(res::kCliLibraryAdded, dir) << '\n';
    }
    return kExitDone;
}

int ScanFolders(const COptions& options, CContext& ctx, CLibraryIndex& index)
{
    if (index.Folders().empty()) {
        PrintMessage(ctx, res::kCliLibraryNoFolders);
        return kExitDone;
    }
    const bool bShow = !options.bQuiet && ctx.bErrIsTerminal;
    auto progress = [&](const CScanProgress& p) {
        if (bShow)
            ctx.err << '\r' << FormatText(res::kCliLibraryIndexing, Number(p.nDone), Number(p.nTotal))
                    << std::flush;
    };
    auto stop = [&ctx] {
        if (ctx.pollEvents)
            ctx.pollEvents();
        return ctx.bStopRequested;
    };
    const CScanSummary s = index.Scan(progress, stop);
    if (bShow)
        ctx.err << '\n';
    if (!s.strError.empty()) {
        PrintMessage(ctx, s.strError);
        return kExitFile;
    }
    if (options.bJson)
        ctx.out << CJsonLine()
                       .AddInt("files", s.nFiles)
                       .AddInt("read", s.nRead)
                       .AddInt("unchanged", s.nUnchanged)
                       .AddInt("removed", s.nRemoved)
                       .AddInt("problems", s.nProblems)
                       .AddBool("stopped", s.bStopped)
                       .Text()
                << '\n';
    else
        ctx.out << FormatText(res::kCliLibraryScanned, Number(s.nFiles), Number(s.nRead),
                              Number(s.nUnchanged), Number(s.nRemoved), Number(s.nProblems))
                << '\n';
    if (s.bStopped) {
        PrintMessage(ctx, res::kCliLibraryStopped);
        return kExitInterrupted;
    }
    return kExitDone;
}

int ListProblems(const COptions& options, CContext& ctx, CLibraryIndex& index)
{
    for (const CLibraryProblem& p : index.Problems()) {
        if (options.bJson)
            ctx.out << CJsonLine().Add("file", p.strFile).Add("reason", p.strReason).Text() << '\n';
        else
            ctx.out << FormatText(res::kCliLibraryProblem, p.strFile, p.strReason) << '\n';
    }
    return kExitDone;
}

int Search(const COptions& options, CContext& ctx, CLibraryIndex& index)
{
    CLibraryQuery q;
    q.strText = options.strText;
    q.pKind = options.pSearchKind;
    q.strTag = options.strTag;
    q.bStarredOnly = options.bStarred;
    q.nLimit = kPage;
    bool bFound = false;
    for (;; q.nOffset += kPage) {
        const std::vector<CLibraryEntry> page = index.Search(q);
        for (const CLibraryEntry& e : page) {
            if (options.bJson)
                ctx.out << EntryJson(e).Text() << '\n';
            else
                ctx.out << FormatText(res::kCliSearchLine, e.strLabel, e.strName, KindWord(e), e.strFile)
                        << '\n';
        }
        bFound = bFound || !page.empty();
        if (int(page.size()) < kPage)
            break;
    }
    return bFound ? kExitDone : kExitNothingFound;
}

int Duplicates(const COptions& options, CContext& ctx, CLibraryIndex& index)
{
    const std::vector<std::vector<CLibraryEntry>> groups = index.Duplicates();
    for (const std::vector<CLibraryEntry>& group : groups) {
        const CLibraryEntry& first = group.front();
        if (options.bJson) {
            std::string places = "[";
            for (const CLibraryEntry& e : group)
                places += (places.size() > 1 ? "," : "") + EntryJson(e).Text();
            ctx.out << CJsonLine()
                           .Add("sound", first.strSound)
                           .Add("name", first.strName)
                           .Add("kind", KindWord(first))
                           .AddRaw("places", places + "]")
                           .Text()
                    << '\n';
            continue;
        }
        ctx.out << FormatText(res::kCliDuplicateGroup, first.strName, KindWord(first),
                              Number(int64_t(group.size())))
                << '\n';
        for (const CLibraryEntry& e : group)
            ctx.out << FormatText(res::kCliDuplicatePlace, e.strLabel, e.strName, e.strFile) << '\n';
    }
    return groups.empty() ? kExitNothingFound : kExitDone;
}

} // namespace

int RunLibraryCommand(const COptions& options, CContext& ctx)
{
    std::string error;
    const std::unique_ptr<CLibraryIndex> index = CLibraryIndex::Open(CLibraryIndex::DefaultPath(), error);
    if (!index) {
        PrintMessage(ctx, error);
        return kExitFile;
    }
    if (!index->Notice().empty())
        PrintMessage(ctx, index->Notice());
    switch (options.command) {
    case ECommand::Search: return Search(options, ctx, *index);
    case ECommand::Duplicates: return Duplicates(options, ctx, *index);
    default: break;
    }
    switch (options.libraryAction) {
    case ELibraryAction::Add: return AddFolders(options, ctx, *index);
    case ELibraryAction::Problems: return ListProblems(options, ctx, *index);
    case ELibraryAction::Scan: break;
    }
    return ScanFolders(options, ctx, *index);
}

} // namespace vantorel::cli
