#include "cli/SysExFile.h"

#include <memory>

#include "cli/Options.h"
#include "res/strings/cli.h"
#include "transfer/SysExExport.h"
#include "transfer/SysExFile.h"
#include "transfer/SysExPlace.h"
#include "transfer/SysExReader.h"
#include "transfer/kinds/DocumentKinds.h"

namespace vantorel::cli {

bool IsSysExPath(std::string_view path)
{
    return PathEndsWith(path, kSysExExtension);
}

bool ReadSysExHaul(const std::string& path, bool bAnyDevice, CSysExHaul& haul, std::string& error)
{
    auto reader = std::make_unique<CSysExReader>(DocumentKinds().SysExLayouts());
    reader->SetAnyDevice(bAnyDevice);
    if (const CSysExFileRead read = ReadSysExFile(path, *reader); !read.IsOk()) {
        error = read.bTooLarge ? FormatText(res::kCliSysExTooLarge, path) : ReadFaultText(read.fault, path);
        return false;
    }
    haul = reader->GetHaul();
    return true;
}

std::optional<CLoadedFile> LoadSysExFile(const std::string& path, const CDocKind& kind, bool bAnyDevice,
                                         CSysExHaul& haul, std::string& error)
{
    if (!ReadSysExHaul(path, bAnyDevice, haul, error))
        return std::nullopt;
    CLoadedFile loaded{&kind, kind.NewDocument()};
    if (PlaceHaul(haul, kind, *loaded.pDoc, res::kCliConvertEdit) == 0) {
        const std::string ids = FormatDeviceIds(haul);
        error = ids.empty() ? FormatText(res::kCliSysExNoKind, path, kind.Word())
                            : FormatText(res::kCliSysExOtherDevice, path, ids);
        return std::nullopt;
    }
    return loaded;
}

std::string RefusedEntryText(const CSysExExport& out, const std::string& path, bool bSend)
{
    if (out.fault == EDataSetFault::TooLarge)
        return FormatText(bSend ? res::kCliTooLargeToSend : res::kCliTooLargeToWrite, path, out.strBadEntry,
                          std::to_string(out.nEntrySize), std::to_string(out.nEntryRoom));
    return FormatText(bSend ? res::kCliNotSendable : res::kCliNotExportable, path, out.strBadEntry);
}

bool SaveSysExFile(const std::string& path, const CDocument& doc, std::optional<int> entry,
                   std::string& error)
{
    const CDocKind* pKind = DocumentKinds().Of(doc);
    const CSysExExport out = pKind ? ExportSysEx(*pKind, doc, entry.value_or(-1)) : CSysExExport{};
    if (!out.IsOk()) {
        error = RefusedEntryText(out, path, false);
        return false;
    }
    const CSysExBytes bytes = JoinSysEx(out.messages);
    if (const FileFault fault = WriteFileAtomic(path, bytes.data(), bytes.size()); fault != FileFault::None) {
        error = WriteFaultText(fault, path);
        return false;
    }
    return true;
}

bool SaveOutputFile(const std::string& path, CDocument& doc, std::optional<int> entry, std::string& error)
{
    return IsSysExPath(path) ? SaveSysExFile(path, doc, entry, error) : SaveLibraryFile(path, doc, error);
}

} // namespace vantorel::cli
