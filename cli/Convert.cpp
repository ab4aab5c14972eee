#include "cli/Convert.h"

#include "cli/Cli.h"
#include "cli/ExitCodes.h"
#include "cli/SysExFile.h"
#include "res/strings/cli.h"
#include "transfer/kinds/DocumentKinds.h"

namespace vantorel::cli {

int Convert(const COptions& options, CContext& ctx) {
    const std::string& in = options.strPath;
    const std::string& out = options.strTarget;
    const bool bInSysEx = IsSysExPath(in);
    const bool bOutSysEx = IsSysExPath(out);
    const CDocKind* pOutKind = DocumentKinds().FromExtension(out);
    if (!bOutSysEx && !pOutKind) {
        PrintMessage(ctx, FormatText(res::kCliConvertUnknownFormat, out) + res::kCliSeeHelp);
        return kExitUsage;
    }
    if (bInSysEx && bOutSysEx) {
        PrintMessage(ctx, std::string(res::kCliConvertBothSysEx) + res::kCliSeeHelp);
        return kExitUsage;
    }
    std::string error;
    // A library file says its kind in its header; a .syx file is read for
    // the kind the new file's name asks for.
    const std::optional<CLoadedFile> file =
        bInSysEx ? LoadSysExFile(in, *pOutKind, error) : LoadLibraryFile(in, pOutKind, error);
    if (!file || !SaveOutputFile(out, *file->pDoc, std::nullopt, error)) {
        PrintMessage(ctx, error);
        return kExitFile;
    }
    return kExitDone;
}

} // namespace vantorel::cli
