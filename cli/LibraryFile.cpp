#include "cli/LibraryFile.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "cli/KindLists.h"
#include "cli/Options.h"
#include "data/FileHeader.h"
#include "framework/core/Archive.h"
#include "framework/core/Document.h"
#include "framework/core/FileFaultText.h"
#include "framework/core/LibraryFile.h"
#include "framework/core/SafeFile.h"
#include "res/strings/cli.h"
#include "transfer/kinds/DocumentKinds.h"

namespace vantorel::cli {

std::string ReadFaultText(FileFault fault, const std::string& path)
{
    return FormatText(FileFaultText(fault, EFileAccess::Read).szCommandLine, path);
}

std::string WriteFaultText(FileFault fault, const std::string& path)
{
    return FormatText(FileFaultText(fault, EFileAccess::Write).szCommandLine, path);
}

namespace {
// The kind the header names; for an empty file (which reads as a new document
// of its kind, as in the program) the kind asked for, else the extension's.
const CDocKind* KindOf(const std::string& path, const CDocKind* pWanted, std::string& error)
{
    CFileReader file;
    if (const FileFault fault = file.Open(path); fault != FileFault::None) {
        error = ReadFaultText(fault, path);
        return nullptr;
    }
    // Nothing more is read before the kind is known.
    std::vector<uint8_t> bytes;
    if (file.Read(bytes, kFileHeaderSize) != FileFault::None) {
        error = ReadFaultText(FileFault::ReadFault, path);
        return nullptr;
    }
    const CDocKind* pKind = nullptr;
    if (bytes.empty()) {
        pKind = pWanted ? pWanted : DocumentKinds().FromExtension(path);
    } else if (bytes.size() == kFileHeaderSize) {
        CFileHeader header;
        std::copy(bytes.begin(), bytes.end(), header.m_data.begin());
        if (header.CheckModel() && header.CheckVersion())
            pKind = DocumentKinds().FromType(std::string_view(
                reinterpret_cast<const char*>(header.Data()) + kHeaderTypeOffset, kHeaderTypeSize));
    }
    if (!pKind)
        error = FormatText(res::kCliFileNotLibrary, path, ExtensionList(DocumentKinds().All(), false));
    return pKind;
}
} // namespace

std::optional<CLoadedFile> LoadLibraryFile(const std::string& path, const CDocKind* pWanted,
                                           std::string& error)
{
    const CDocKind* pKind = KindOf(path, pWanted, error);
    if (!pKind)
        return std::nullopt;
    if (pWanted && pWanted != pKind) {
        error =
            FormatText(res::kCliFileWrongKind, path, pKind->Word(), pWanted->Word(), pWanted->Extension());
        return std::nullopt;
    }
    using EFault = CLibraryFileRead::EFault;
    CLoadedFile loaded{pKind, pKind->NewDocument()};
    const CLibraryFileRead read = ReadLibraryFile(*loaded.pDoc, path);
    switch (read.eFault) {
    case EFault::None: loaded.pDoc->SetPathName(path); return loaded;
    case EFault::File: error = ReadFaultText(read.eFileFault, path); break;
    case EFault::TooLarge: error = FormatText(res::kCliFileTooLarge, path, pKind->Word()); break;
    case EFault::Short: error = FormatText(res::kCliFileShort, path); break;
    case EFault::OtherKind:
    case EFault::Damaged:
        error = FormatText(res::kCliFileNotLibrary, path, ExtensionList(DocumentKinds().All(), false));
        break;
    }
    return std::nullopt;
}

FileFault CreateFolder(const std::string& dir)
{
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!ec)
        return FileFault::None;
    // A part of the path that is a file, or a folder that vanished meanwhile.
    if (ec.value() == ENOTDIR || ec.value() == ENOENT || ec.value() == EEXIST)
        return FileFault::NoFolder;
    return FaultFromErrno(ec.value(), FileFault::WriteFault);
}

bool SaveLibraryFile(const std::string& path, CDocument& doc, std::string& error)
{
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
