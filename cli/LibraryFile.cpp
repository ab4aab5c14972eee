#include "cli/LibraryFile.h"

#include <cstdio>
#include <vector>

#include "data/FileHeader.h"
#include "framework/core/Archive.h"
#include "framework/core/Document.h"
#include "framework/core/SafeFile.h"
#include "res/strings/cli.h"

namespace vantorel::cli {

namespace {

std::string Format(const char* pattern, const std::string& a, const char* b = "", const char* c = "",
                   const char* d = "") {
    const int n = std::snprintf(nullptr, 0, pattern, a.c_str(), b, c, d);
    std::string text(size_t(n > 0 ? n : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, pattern, a.c_str(), b, c, d);
    return text;
}

} // namespace

std::string ReadFaultText(FileFault fault, const std::string& path) {
    switch (fault) {
    case FileFault::NotFound:
        return Format(res::kCliFileNotFound, path);
    case FileFault::NotRegular:
        return Format(res::kCliFileNotRegular, path);
    case FileFault::AccessDenied:
        return Format(res::kCliFileNoAccess, path);
    default:
        return Format(res::kCliFileReadFault, path);
    }
}

std::string WriteFaultText(FileFault fault, const std::string& path) {
    switch (fault) {
    case FileFault::NoFolder:
        return Format(res::kCliWriteNoFolder, path);
    case FileFault::AccessDenied:
        return Format(res::kCliWriteDenied, path);
    case FileFault::DiskFull:
        return Format(res::kCliWriteDiskFull, path);
    case FileFault::NotRegular:
        return Format(res::kCliWriteNotRegular, path);
    default:
        return Format(res::kCliWriteFault, path);
    }
}

std::optional<CLoadedFile> LoadLibraryFile(const std::string& path, std::optional<EKind> wanted,
                                           std::string& error) {
    CFileReader file;
    if (const FileFault fault = file.Open(path); fault != FileFault::None) {
        error = ReadFaultText(fault, path);
        return std::nullopt;
    }
    // The header says the kind; nothing more is read before it is known.
    std::vector<uint8_t> bytes;
    if (file.Read(bytes, kFileHeaderSize) != FileFault::None) {
        error = ReadFaultText(FileFault::ReadFault, path);
        return std::nullopt;
    }
    CFileHeader header;
    std::optional<EKind> kind;
    if (bytes.size() == kFileHeaderSize) {
        std::copy(bytes.begin(), bytes.end(), header.m_data.begin());
        if (header.CheckModel() && header.CheckVersion())
            kind = KindFromType(std::string_view(
                reinterpret_cast<const char*>(header.Data()) + kHeaderTypeOffset, kHeaderTypeSize));
    }
    if (!kind) {
        error = Format(res::kCliFileNotLibrary, path);
        return std::nullopt;
    }
    if (wanted && *wanted != *kind) {
        error = Format(res::kCliFileWrongKind, path, Info(*kind).szWord, Info(*wanted).szWord,
                       Info(*wanted).szExt);
        return std::nullopt;
    }

    CLoadedFile loaded{*kind, NewDocument(*kind)};
    const CFileBounds bounds = loaded.pDoc->GetFileBounds();
    if (file.GetSize() > bounds.nMaxSize) {
        error = Format(res::kCliFileTooLarge, path, Info(*kind).szWord);
        return std::nullopt;
    }
    if (file.Read(bytes, size_t(file.GetSize() - kFileHeaderSize)) != FileFault::None) {
        error = ReadFaultText(FileFault::ReadFault, path);
        return std::nullopt;
    }
    try {
        CArchive ar(bytes.data(), bytes.size());
        if (loaded.pDoc->Serialize(ar) != CDocument::LoadResult::Ok) {
            error = Format(res::kCliFileNotLibrary, path);
            return std::nullopt;
        }
    } catch (const CArchiveException&) {
        error = Format(res::kCliFileShort, path);
        return std::nullopt;
    }
    loaded.pDoc->SetPathName(path);
    return loaded;
}

bool SaveLibraryFile(const std::string& path, CDocument& doc, std::string& error) {
    std::vector<uint8_t> bytes;
    CArchive ar(bytes);
    doc.Serialize(ar);
    if (const FileFault fault = WriteFileAtomic(path, bytes.data(), bytes.size()); fault != FileFault::None) {
        error = WriteFaultText(fault, path);
        return false;
    }
    return true;
}

} // namespace vantorel::cli
