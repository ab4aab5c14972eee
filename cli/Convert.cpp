#include "cli/Convert.h"

#include <memory>

#include "cli/Cli.h"
#include "cli/ExitCodes.h"
#include "cli/KindLists.h"
#include "cli/SysExFile.h"
#include "res/strings/cli.h"
#include "transfer/SysExReader.h"
#include "transfer/SysExSummary.h"
#include "transfer/kinds/DocumentKinds.h"

namespace vantorel::cli {

int Convert(const COptions& options, CContext& ctx)
{
    const std::string& in = options.strPath;
    const std::string& out = options.strTarget;
    const bool bInSysEx = IsSysExPath(in);
    const bool bOutSysEx = IsSysExPath(out);
    const CDocKind* pOutKind = DocumentKinds().FromExtension(out);
    if (!bOutSysEx && !pOutKind) {
        PrintMessage(
            ctx, FormatText(res::kCliConvertUnknownFormat, out, ExtensionList(DocumentKinds().All(), true)) +
                     res::kCliSeeHelp);
        return kExitUsage;
    }
    if (bInSysEx && bOutSysEx) {
        PrintMessage(ctx, std::string(res::kCliConvertBothSysEx) + res::kCliSeeHelp);
        return kExitUsage;
    }
    std::string error;
    // A library file says its kind in its header; a .syx file is read for
    // the kind the new file's name asks for.
    const auto haul = std::make_unique<CSysExHaul>(DocumentKinds().SysExLayouts());
    const std::optional<CLoadedFile> file =
        bInSysEx ? LoadSysExFile(in, *pOutKind, options.bAnyDevice, *haul, error)
                 : LoadLibraryFile(in, pOutKind, error);
    if (!file || !SaveOutputFile(out, *file->pDoc, std::nullopt, error)) {
        PrintMessage(ctx, error);
        return kExitFile;
    }
    if (!bInSysEx)
        return kExitDone;
    // What was taken and what was skipped, as Import sums it up.
    ctx.out << FormatSysExSummary(FormatText(res::kCliConvertedFrom, in),
                                  {FormatPlacedLine(*haul, *pOutKind, out)}, *haul)
            << '\n';
    if (haul->TotalSkips() == 0 || options.bLenient)
        return kExitDone;
    const std::string skipped = std::to_string(haul->TotalSkips());
    const std::string ids = FormatDeviceIds(*haul);
    PrintMessage(ctx, ids.empty() ? FormatText(res::kCliConvertSkipped, in, skipped, out)
                                  : FormatText(res::kCliConvertSkippedDevice, in, skipped, ids, out));
    return kExitSkipped;
}

} // namespace vantorel::cli
