#pragma once
// Reading a library file into a document: the one reader of the program and
// the command line. It shows nothing; the result says what went wrong.
#include <string>

#include "framework/core/SafeFile.h"

namespace vantorel {

class CDocument;

struct CLibraryFileRead {
    enum class EFault {
        None,
        File,      // it could not be opened or read: eFileFault says why
        TooLarge,  // larger than any file of the document's kind
        OtherKind, // the header is not this kind's
        Short,     // it ends inside the body
        Damaged,   // the body could not be taken
    };
    EFault eFault = EFault::None;
    FileFault eFileFault = FileFault::None;
    CFileStamp stamp; // the file as it was opened
    bool IsOk() const { return eFault == EFault::None; }
};

// Reads the regular file at strPath into doc, a document just made, within
// its bounds. A header of another kind stops before the body is read; a fixed
// body ends the file (what follows is never read, as stored files may have
// more); an empty file leaves the document's initial contents. After a fault
// the document is not to be used.
CLibraryFileRead ReadLibraryFile(CDocument& doc, const std::string& strPath);

} // namespace vantorel
