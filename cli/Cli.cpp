#include "cli/Cli.h"

#include "cli/Convert.h"
#include "cli/Diff.h"
#include "cli/ExitCodes.h"
#include "cli/KindLists.h"
#include "cli/LibraryCommands.h"
#include "cli/LibraryFile.h"
#include "cli/Options.h"
#include "cli/Ports.h"
#include "cli/Transfers.h"
#include "framework/core/MessageBox.h"
#include "res/strings/cli.h"
#include "transfer/kinds/DocumentKinds.h"
#include "transfer/plans/DocKind.h"

namespace vantorel::cli {

namespace {

int Info(const COptions& options, CContext& ctx)
{
    std::string error;
    const std::optional<CLoadedFile> file = LoadLibraryFile(options.strPath, nullptr, error);
    if (!file) {
        PrintMessage(ctx, error);
        return kExitFile;
    }
    const CDocKind& kind = *file->pKind;
    ctx.out << FormatText(res::kCliInfoKind, options.strPath, kind.Word(), std::to_string(kind.EntryCount()))
            << '\n';
    for (int n = 0; n < kind.EntryCount(); ++n)
        ctx.out << FormatText(res::kCliInfoEntry, kind.EntryLabel(n), kind.EntryName(*file->pDoc, n)) << '\n';
    return kExitDone;
}

} // namespace

void PrintMessage(CContext& ctx, const std::string& text)
{
    ctx.err << res::kCliPrefix << text << std::endl;
}

int RunCli(const std::vector<std::string>& args, CContext& ctx)
{
    COptions options;
    std::string error;
    if (!ParseOptions(args, options, error)) {
        PrintMessage(ctx, error);
        return kExitUsage;
    }
    // Whatever the layers below would show in a box goes to stderr instead;
    // a question is answered No, so nothing is written or sent unasked.
    const MessageBoxHandler previous = SetMessageBoxHandler([&ctx](const std::string& text, unsigned type) {
        PrintMessage(ctx, text);
        return type == MB_YESNOCANCEL ? IDNO : IDOK;
    });
    int nExit = kExitDone;
    switch (options.command) {
    case ECommand::Help: ctx.out << UsageText(DocumentKinds().All()); break;
    case ECommand::Ports: ListPorts(ctx); break;
    case ECommand::Info: nExit = Info(options, ctx); break;
    case ECommand::Convert: nExit = Convert(options, ctx); break;
    case ECommand::Diff: nExit = Diff(options, ctx); break;
    case ECommand::Library:
    case ECommand::Search:
    case ECommand::Duplicates: nExit = RunLibraryCommand(options, ctx); break;
    default: nExit = RunTransfer(options, ctx); break;
    }
    SetMessageBoxHandler(previous);
    return nExit;
}

} // namespace vantorel::cli
