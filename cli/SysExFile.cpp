#include "cli/SysExFile.h"

#include "cli/Options.h"
#include "res/strings/cli.h"
#include "transfer/SysExExport.h"
#include "transfer/SysExFile.h"
#include "transfer/SysExPlace.h"
#include "transfer/SysExReader.h"
#include "transfer/kinds/DocumentKinds.h"

namespace vantorel::cli {

bool IsSysExPath(std::string_view path) {
    return PathEndsWith(path, ".syx");
}

std::optional<CLoadedFile> LoadSysExFile(const std::string& path, const CDocKind& kind, std::string& error) {
    CSysExReader reader;
    if (const CSysExFileRead read = ReadSysExFile(path, reader); !read.IsOk()) {
        error = read.bTooLarge ? FormatText(res::kCliSysExTooLarge, path) : ReadFaultText(read.fault, path);
        return std::nullopt;
    }
    CLoadedFile loaded{&kind, kind.NewDocument()};
    if (PlaceHaul(reader.GetHaul(), kind, *loaded.pDoc, res::kCliConvertEdit) == 0) {
        error = FormatText(res::kCliSysExNoKind, path, kind.Word());
        return std::nullopt;
    }
    return loaded;
}

bool SaveSysExFile(const std::string& path, const CDocument& doc, std::optional<int> entry,
                   std::string& error) {
    const CDocKind* pKind = DocumentKinds().Of(doc);
    const CSysExExport out = pKind ? ExportSysEx(*pKind, doc, entry.value_or(-1)) : CSysExExport{};
    if (!out.IsOk()) {
        error = FormatText(res::kCliNotExportable, path, out.strBadEntry);
        return false;
    }
    const CSysExBytes bytes = JoinSysEx(out.messages);
    if (const FileFault fault = WriteFileAtomic(path, bytes.data(), bytes.size()); fault != FileFault::None) {
        error = WriteFaultText(fault, path);
        return false;
    }
    return true;
}

bool SaveOutputFile(const std::string& path, CDocument& doc, std::optional<int> entry, std::string& error) {
    return IsSysExPath(path) ? SaveSysExFile(path, doc, entry, error) : SaveLibraryFile(path, doc, error);
}

} // namespace vantorel::cli
