#include "framework/gui/DocumentFiles.h"

#include <QFileInfo>

#include <cstdint>
#include <vector>

#include "framework/core/Archive.h"
#include "framework/core/Document.h"
#include "framework/core/FileFaultText.h"
#include "framework/core/FileNames.h"
#include "framework/core/LibraryFile.h"
#include "framework/core/MessageBox.h"
#include "framework/core/SafeFile.h"
#include "res/Strings.h"
#include "res/strings/app.h"

namespace vantorel {

namespace {
std::string Arg(const char* pattern, const QString& value)
{
    return QString::fromLatin1(pattern).arg(value).toLocal8Bit().toStdString();
}

std::string LocalPath(const QString& path)
{
    return EncodeFileName(path);
}

// The document now stands for this file, as it was when read or written.
void TakeFile(CDocument& doc, const QFileInfo& fi, const CFileStamp& stamp)
{
    doc.SetPathName(LocalPath(fi.absoluteFilePath()));
    doc.SetTitle(LocalPath(fi.fileName()));
    doc.SetFileStamp(stamp);
    doc.SetModifiedFlag(false);
}

// False when the file the document came from was changed on disk since it
// was read or written here and the user chose not to overwrite it.
bool MayOverwrite(const CDocument& doc, const QFileInfo& fi)
{
    const std::string path = LocalPath(fi.absoluteFilePath());
    if (!doc.GetFileStamp() || path != doc.GetPathName())
        return true; // a new document, or another file: the Save As dialog asked
    const std::optional<CFileStamp> now = ReadFileStamp(path);
    if (!now || *now == *doc.GetFileStamp())
        return true; // unchanged, or gone: nothing on disk would be lost
    return AfxMessageBox(Arg(res::kFileChangedOnDisk, fi.fileName()), MB_OKCANCEL) == IDOK;
}

// The file's contents into doc; false after its one message.
bool Load(CDocument& doc, const QFileInfo& fi, CFileStamp& stamp)
{
    using EFault = CLibraryFileRead::EFault;
    const CLibraryFileRead read = ReadLibraryFile(doc, LocalPath(fi.filePath()));
    stamp = read.stamp;
    switch (read.eFault) {
    case EFault::None: return true;
    case EFault::File: CDocumentFiles::ShowFault(read.eFileFault, EFileAccess::Read, fi); break;
    case EFault::OtherKind: AfxMessageBox(res::kFileError); break;
    case EFault::TooLarge:
    case EFault::Short: AfxMessageBox(res::kUnexpectedFileFormat); break;
    case EFault::Damaged: AfxMessageBox(res::kFailedToOpenDocument); break;
    }
    return false;
}
} // namespace

void CDocumentFiles::ShowFault(FileFault fault, EFileAccess access, const QFileInfo& fi)
{
    const CFileFaultText text = FileFaultText(fault, access);
    AfxMessageBox(Arg(text.szProgram, text.bProgramNamesFolder ? fi.absolutePath() : fi.fileName()));
}

bool CDocumentFiles::Read(CDocument& doc, const QString& strPath)
{
    const QFileInfo fi(strPath);
    CFileStamp stamp;
    if (!Load(doc, fi, stamp))
        return false;
    TakeFile(doc, fi, stamp);
    return true;
}

namespace {
// The document as its file holds it; false after the message.
bool Store(CDocument& doc, std::vector<uint8_t>& bytes)
{
    try {
        CArchive ar(bytes);
        doc.Serialize(ar);
    } catch (const std::exception&) {
        AfxMessageBox(res::kFailedToSaveDocument);
        return false;
    }
    return true;
}
} // namespace

bool CDocumentFiles::WriteCopy(CDocument& doc, const QString& strPath)
{
    std::vector<uint8_t> bytes;
    if (!Store(doc, bytes))
        return false;
    const QFileInfo fi(strPath);
    if (const FileFault fault = WriteFileAtomic(LocalPath(fi.absoluteFilePath()), bytes.data(), bytes.size());
        fault != FileFault::None) {
        ShowFault(fault, EFileAccess::Write, fi);
        return false;
    }
    return true;
}

bool CDocumentFiles::Write(CDocument& doc, const QString& strPath)
{
    std::vector<uint8_t> bytes;
    if (!Store(doc, bytes))
        return false;
    const QFileInfo fi(strPath);
    if (!MayOverwrite(doc, fi))
        return false;
    CFileStamp stamp;
    const FileFault fault =
        WriteFileAtomic(LocalPath(fi.absoluteFilePath()), bytes.data(), bytes.size(), &stamp);
    if (fault != FileFault::None) {
        ShowFault(fault, EFileAccess::Write, fi);
        return false;
    }
    TakeFile(doc, fi, stamp);
    return true;
}

} // namespace vantorel
