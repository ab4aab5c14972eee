#pragma once
// File names are bytes. Qt takes them as UTF-8 and turns every byte that is
// not UTF-8 into U+FFFD, after which such a file can never be found again.
// These two keep every byte: a byte that is not part of valid UTF-8 travels
// in the QString as U+DC80 + (byte - 0x80), an unpaired surrogate that no
// decoded name holds otherwise, and comes back as itself. Messages and titles
// that show such a name show U+FFFD in its place.
#include <QString>

#include <string>
#include <vector>

namespace vantorel {

QString DecodeFileName(const std::string& strBytes);
std::string EncodeFileName(const QString& strName);

// A file named on a command line, relative to the working folder, as an
// absolute name; the folder's name keeps its bytes too.
QString AbsoluteFileName(const std::string& strArgument);

// Two or more files of one name are told apart by their folders: the
// folder's own name, or the whole folder when another of them lies in a
// folder of that name too. strPath and others are file names as bytes.
std::string FolderThatTellsApart(const std::string& strPath, const std::vector<std::string>& others);

} // namespace vantorel
