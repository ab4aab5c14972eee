#include "framework/core/LibraryFile.h"

#include <cstdint>
#include <exception>
#include <vector>

#include "framework/core/Archive.h"
#include "framework/core/Document.h"

namespace vantorel {

namespace {
using EFault = CLibraryFileRead::EFault;

CLibraryFileRead Fault(CLibraryFileRead read, EFault eFault, FileFault eFileFault = FileFault::None)
{
    read.eFault = eFault;
    read.eFileFault = eFileFault;
    return read;
}
} // namespace

CLibraryFileRead ReadLibraryFile(CDocument& doc, const std::string& strPath)
{
    CLibraryFileRead read;
    CFileReader file;
    if (const FileFault fault = file.Open(strPath); fault != FileFault::None)
        return Fault(read, EFault::File, fault);
    read.stamp = file.GetStamp();
    // Larger than any file of this kind: refused unread.
    const CFileBounds bounds = doc.GetFileBounds();
    if (!bounds.bFixedBody && file.GetSize() > bounds.nMaxSize)
        return Fault(read, EFault::TooLarge);
    std::vector<uint8_t> bytes;
    if (file.Read(bytes, bounds.nHeaderSize) != FileFault::None)
        return Fault(read, EFault::File, FileFault::ReadFault);
    try {
        // A header of another kind stops the read before the body: opening it
        // as this kind would show defaults that a later Save would write over it.
        if (bounds.nHeaderSize > 0 && bytes.size() == bounds.nHeaderSize) {
            CArchive header(bytes.data(), bytes.size());
            try {
                if (doc.Serialize(header) == CDocument::LoadResult::HeaderMismatch)
                    return Fault(read, EFault::OtherKind);
            } catch (const CArchiveException&) {
                // The header matched and the body follows.
            }
        }
        // A fixed body ends the file. Otherwise one byte more than allowed
        // tells a file that grew since it was measured.
        const uint64_t nReadTo = bounds.bFixedBody ? bounds.nMaxSize : bounds.nMaxSize + 1;
        if (file.Read(bytes, size_t(nReadTo - bytes.size())) != FileFault::None)
            return Fault(read, EFault::File, FileFault::ReadFault);
        if (bytes.size() > bounds.nMaxSize)
            return Fault(read, EFault::TooLarge);
        // An empty file is not loaded: the document keeps its initial contents.
        if (bytes.empty())
            return read;
        CArchive ar(bytes.data(), bytes.size());
        if (doc.Serialize(ar) == CDocument::LoadResult::HeaderMismatch)
            return Fault(read, EFault::OtherKind);
    } catch (const CArchiveException&) {
        return Fault(read, EFault::Short);
    } catch (const std::exception&) {
        return Fault(read, EFault::Damaged);
    }
    return read;
}

} // namespace vantorel
