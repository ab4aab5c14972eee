#include "cli/LibraryFile.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "cli/Options.h"
#include "data/FileHeader.h"
#include "framework/core/Archive.h"
#include "framework/core/Document.h"
#include "framework/core/SafeFile.h"
#include "res/strings/cli.h"

namespace vantorel::cli {

std::string ReadFaultText(FileFault fault, const std::string& path) {
    switch (fault) {
    case FileFault::NotFound:
        return FormatText(res::kCliFileNotFound, path);
    case FileFault::NotRegular:
        return FormatText(res::kCliFileNotRegular, path);
    case FileFault::AccessDenied:
        return FormatText(res::kCliFileNoAccess, path);
    case FileFault::NameTooLong:
        return FormatText(res::kCliNameTooLong, path);
    default:
        return FormatText(res::kCliFileReadFault, path);
    }
}

std::string WriteFaultText(FileFault fault, const std::string& path) {
    switch (fault) {
    case FileFault::NoFolder:
        return FormatText(res::kCliWriteNoFolder, path);
    case FileFault::AccessDenied:
        return FormatText(res::kCliWriteDenied, path);
    case FileFault::ReadOnly:
        return FormatText(res::kCliWriteReadOnly, path);
    case FileFault::NameTooLong:
        return FormatText(res::kCliNameTooLong, path);
    case FileFault::DiskFull:
        return FormatText(res::kCliWriteDiskFull, path);
    case FileFault::NotRegular:
        return FormatText(res::kCliWriteNotRegular, path);
    default:
        return FormatText(res::kCliWriteFault, path);
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
        error = FormatText(res::kCliFileNotLibrary, path);
        return std::nullopt;
    }
    if (wanted && *wanted != *kind) {
        error = FormatText(res::kCliFileWrongKind, path, Info(*kind).szWord, Info(*wanted).szWord,
                       Info(*wanted).szExt);
        return std::nullopt;
    }

    CLoadedFile loaded{*kind, NewDocument(*kind)};
    const CFileBounds bounds = loaded.pDoc->GetFileBounds();
    if (!bounds.bFixedBody && file.GetSize() > bounds.nMaxSize) {
        error = FormatText(res::kCliFileTooLarge, path, Info(*kind).szWord);
        return std::nullopt;
    }
    // A fixed body ends the file: whatever a stored file holds after it is never read.
    const uint64_t nEnd = bounds.bFixedBody ? bounds.nMaxSize : std::max<uint64_t>(file.GetSize(), kFileHeaderSize);
    if (file.Read(bytes, size_t(nEnd - kFileHeaderSize)) != FileFault::None) {
        error = ReadFaultText(FileFault::ReadFault, path);
        return std::nullopt;
    }
    try {
        CArchive ar(bytes.data(), bytes.size());
        if (loaded.pDoc->Serialize(ar) != CDocument::LoadResult::Ok) {
            error = FormatText(res::kCliFileNotLibrary, path);
            return std::nullopt;
        }
    } catch (const CArchiveException&) {
        error = FormatText(res::kCliFileShort, path);
        return std::nullopt;
    }
    loaded.pDoc->SetPathName(path);
    return loaded;
}

FileFault CreateFolder(const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!ec)
        return FileFault::None;
    // A part of the path that is a file, or a folder that vanished meanwhile.
    if (ec.value() == ENOTDIR || ec.value() == ENOENT || ec.value() == EEXIST)
        return FileFault::NoFolder;
    return FaultFromErrno(ec.value(), FileFault::WriteFault);
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
