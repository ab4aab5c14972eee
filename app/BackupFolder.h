#pragma once
// File > Back Up To Folder: the open windows written as the files of a
// backup, one per kind and named as `vantorel-cli backup` names them
// (patch.pat, ...), into a new folder named with the date and time. The
// windows keep their own files and their changes.
#include <QString>

#include <vector>

class QWidget;

namespace vantorel {

class CDocManager;
class CDocument;

// The document to back up of each kind, in the registry's order: the active
// window when it is of that kind, else the one of that kind used last.
std::vector<CDocument*> BackupDocuments(CDocManager& manager, CDocument* pActive);

// Asks for the folder and writes the files. Returns the line that says what
// was written ("Backed up patch.pat, ... to <folder>"), or nothing when it was
// cancelled or something was not written (then said once in a box).
QString BackUpToFolder(CDocManager& manager, CDocument* pActive, QWidget* pParent);

} // namespace vantorel
