#pragma once
// Reading a file into a new document and writing a document to a file, with
// the message each failure shows. A failure leaves the file on disk as it
// was and shows exactly one message.
#include <QFileInfo>
#include <QString>

#include "framework/core/FileFaultText.h"

namespace vantorel {

class CDocument;

class CDocumentFiles {
public:
    // Reads a regular file within the document's bounds into a document just
    // made: a header of another kind, a short file, a file too large or one
    // that cannot be read is refused. An empty file leaves the document's
    // initial contents. On success the document takes the file's path and
    // name and is unmodified.
    static bool Read(CDocument& doc, const QString& strPath);
    // Writes the whole document in place of the file. When that is the
    // document's own file and it changed on disk since the document read or
    // wrote it, asks first; Cancel writes nothing and returns false. On
    // success the document takes the file's path and name and is unmodified;
    // on failure it is left as it was.
    static bool Write(CDocument& doc, const QString& strPath);
    // Writes the whole document to a file that stays apart from it (a
    // backup): the document keeps its own file, name and modified flag. A
    // failure shows its one message and returns false.
    static bool WriteCopy(CDocument& doc, const QString& strPath);
    // The one box for a file that could not be read or written.
    static void ShowFault(FileFault fault, EFileAccess access, const QFileInfo& fi);
};

} // namespace vantorel
