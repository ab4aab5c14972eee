#include "framework/gui/DocumentFiles.h"

#include <QFileInfo>

#include <cstdint>
#include <vector>

#include "framework/core/Archive.h"
#include "framework/core/Document.h"
#include "framework/core/FileNames.h"
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

std::string LocalPath(const QString& path) { return EncodeFileName(path); }

void ShowOpenFault(FileFault fault, const QString& name)
{
    switch (fault) {
    case FileFault::NotFound: AfxMessageBox(Arg(res::kFileNotFound, name)); break;
    case FileFault::NotRegular: AfxMessageBox(Arg(res::kOpenNotRegularFile, name)); break;
    case FileFault::AccessDenied: AfxMessageBox(Arg(res::kFileAccessDenied, name)); break;
    default: AfxMessageBox(Arg(res::kReadFault, name)); break;
    }
}

void ShowSaveFault(FileFault fault, const QFileInfo& fi)
{
    const QString name = fi.fileName();
    switch (fault) {
    case FileFault::NoFolder: AfxMessageBox(Arg(res::kFileNotFound, fi.absolutePath())); break;
    case FileFault::NotRegular: AfxMessageBox(Arg(res::kSaveNotRegularFile, name)); break;
    case FileFault::AccessDenied:
    case FileFault::ReadOnly: AfxMessageBox(Arg(res::kSaveAccessDenied, name)); break;
    case FileFault::DiskFull: AfxMessageBox(Arg(res::kSaveDiskFull, name)); break;
    default: AfxMessageBox(Arg(res::kSaveWriteFault, name)); break;
    }
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
    const QString name = fi.fileName();
    CFileReader file;
    if (const FileFault fault = file.Open(LocalPath(fi.filePath())); fault != FileFault::None) {
        ShowOpenFault(fault, name);
        return false;
    }
    stamp = file.GetStamp();
    // Larger than any file of this kind: refused unread.
    const CFileBounds bounds = doc.GetFileBounds();
    if (!bounds.bFixedBody && file.GetSize() > bounds.nMaxSize) {
        AfxMessageBox(res::kUnexpectedFileFormat);
        return false;
    }
    std::vector<uint8_t> bytes;
    bool bReadOk = file.Read(bytes, bounds.nHeaderSize) == FileFault::None;
    try {
        // A header of another kind stops the open before the body is read.
        if (bReadOk && bounds.nHeaderSize > 0 && bytes.size() == bounds.nHeaderSize) {
            CArchive header(bytes.data(), bytes.size());
            try {
                if (doc.Serialize(header) == CDocument::LoadResult::HeaderMismatch) {
                    // Not this kind's file: opening it as one would show defaults
                    // that a later Save would write over the file.
                    AfxMessageBox(res::kFileError);
                    return false;
                }
            } catch (const CArchiveException&) {
                // The header matched and the body follows.
            }
        }
        // A fixed body ends the file: what follows it is never read. Otherwise
        // one byte more than allowed tells a file that grew since it was measured.
        const uint64_t nReadTo = bounds.bFixedBody ? bounds.nMaxSize : bounds.nMaxSize + 1;
        bReadOk = bReadOk && file.Read(bytes, size_t(nReadTo - bytes.size())) == FileFault::None;
        if (!bReadOk) {
            AfxMessageBox(Arg(res::kReadFault, name));
            return false;
        }
        if (bytes.size() > bounds.nMaxSize) {
            AfxMessageBox(res::kUnexpectedFileFormat);
            return false;
        }
        // An empty file is not loaded: the document keeps its initial contents.
        if (bytes.empty())
            return true;
        CArchive ar(bytes.data(), bytes.size());
        if (doc.Serialize(ar) == CDocument::LoadResult::HeaderMismatch) {
            AfxMessageBox(res::kFileError);
            return false;
        }
    } catch (const CArchiveException&) {
        AfxMessageBox(res::kUnexpectedFileFormat);
        return false;
    } catch (const std::exception&) {
        AfxMessageBox(res::kFailedToOpenDocument);
        return false;
    }
    return true;
}
} // namespace

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
        ShowSaveFault(fault, fi);
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
    const FileFault fault = WriteFileAtomic(LocalPath(fi.absoluteFilePath()), bytes.data(), bytes.size(), &stamp);
    if (fault != FileFault::None) {
        ShowSaveFault(fault, fi);
        return false;
    }
    TakeFile(doc, fi, stamp);
    return true;
}

} // namespace vantorel
