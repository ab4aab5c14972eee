#include "cli/SysExFile.h"

#include <algorithm>
#include <cctype>
#include <memory>

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

SysExKind SysExKindOf(EKind kind) {
    return Info(kind).sysex;
}

std::optional<CLoadedFile> LoadSysExFile(const std::string& path, EKind kind, bool bAnyDevice,
                                         CSysExHaul& haul, std::string& error) {
    auto reader = std::make_unique<CSysExReader>();
    reader->SetAnyDevice(bAnyDevice);
    if (const CSysExFileRead read = ReadSysExFile(path, *reader); !read.IsOk()) {
        error = read.bTooLarge ? FormatText(res::kCliSysExTooLarge, path) : ReadFaultText(read.fault, path);
        return std::nullopt;
    }
    haul = reader->GetHaul();
    CLoadedFile loaded{kind, NewDocument(kind)};
    if (PlaceHaul(haul, *loaded.pDoc, res::kCliConvertEdit) == 0) {
        const std::string ids = FormatDeviceIds(haul);
        error = ids.empty() ? FormatText(res::kCliSysExNoKind, path, Info(kind).szWord)
                            : FormatText(res::kCliSysExOtherDevice, path, ids);
        return std::nullopt;
    }
    return loaded;
}

std::string RefusedEntryText(const CSysExExport& out, const std::string& path, bool bSend) {
    if (out.fault == EDataSetFault::TooLarge)
        return FormatText(bSend ? res::kCliTooLargeToSend : res::kCliTooLargeToWrite, path, out.strBadEntry,
                          std::to_string(out.nEntrySize), std::to_string(out.nEntryRoom));
    return FormatText(bSend ? res::kCliNotSendable : res::kCliNotExportable, path, out.strBadEntry);
}

bool SaveSysExFile(const std::string& path, const CDocument& doc, std::optional<int> entry,
                   std::string& error) {
    const CSysExExport out = ExportSysEx(doc, entry.value_or(-1));
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

bool SaveOutputFile(const std::string& path, CDocument& doc, std::optional<int> entry, std::string& error) {
    return IsSysExPath(path) ? SaveSysExFile(path, doc, entry, error) : SaveLibraryFile(path, doc, error);
}

} // namespace vantorel::cli
