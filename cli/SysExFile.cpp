#include "cli/SysExFile.h"

#include <algorithm>
#include <cctype>

#include "cli/Options.h"
#include "res/strings/cli.h"
#include "transfer/SysExExport.h"
#include "transfer/SysExFile.h"
#include "transfer/SysExPlace.h"
#include "transfer/SysExReader.h"

namespace vantorel::cli {

namespace {

bool EndsWith(std::string_view path, std::string_view ext) {
    return path.size() > ext.size() &&
           std::equal(ext.begin(), ext.end(), path.end() - std::ptrdiff_t(ext.size()), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

} // namespace

bool IsSysExPath(std::string_view path) {
    return EndsWith(path, ".syx");
}

std::optional<EKind> KindFromExtension(std::string_view path) {
    for (const CKindInfo& k : AllKinds())
        if (EndsWith(path, k.szExt))
            return k.kind;
    return std::nullopt;
}

std::optional<CLoadedFile> LoadSysExFile(const std::string& path, EKind kind, std::string& error) {
    CSysExReader reader;
    if (const CSysExFileRead read = ReadSysExFile(path, reader); !read.IsOk()) {
        error = read.bTooLarge ? FormatText(res::kCliSysExTooLarge, path) : ReadFaultText(read.fault, path);
        return std::nullopt;
    }
    CLoadedFile loaded{kind, NewDocument(kind)};
    if (PlaceHaul(reader.GetHaul(), *loaded.pDoc, res::kCliConvertEdit) == 0) {
        error = FormatText(res::kCliSysExNoKind, path, Info(kind).szWord);
        return std::nullopt;
    }
    return loaded;
}

bool SaveSysExFile(const std::string& path, const CDocument& doc, std::optional<int> entry,
                   std::string& error) {
    const CSysExExport out = ExportSysEx(doc, entry.value_or(-1));
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
