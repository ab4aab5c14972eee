#pragma once
// File > Import SysEx and Export SysEx, and files handed to the program (on
// its command line or dropped on its window). Import and Receive Dump place
// what they read the same way: each kind into a new window of its kind, or
// into the active window when it is of that kind and the user says so; then
// one summary box.
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace vantorel {

class CDocManager;
class CDocument;
class CScrollView;
struct CSysExHaul;
class CSysExReader;

// Export SysEx of doc. With an entry selected in pView, first asks whether
// to write that entry only. False when cancelled or failed (the failure shown).
bool ExportSysExFile(CDocument& doc, CScrollView* pView, QWidget* pParent);

// The .syx file read into a new reader (strictly, or with bAnyDevice taking
// data for any device ID); null after the one message that says why it could not be.
std::unique_ptr<CSysExReader> ReadSysExFileOrSay(const QString& strPath, bool bAnyDevice);

// Import SysEx: the open dialog, then ImportSysExFile.
void OnImportSysEx(CDocManager& manager, CDocument* pActive, QWidget* pParent);
// Reads the file through the exclusive stream reader and places what it
// holds; a single entry goes into the entry selected in pActive's window. A
// file made for another device ID is named, and taken when the user says
// so. Returns the number of entries the file held when any was placed; 0
// after the one message that says why nothing was, or when the user cancelled.
int ImportSysExFile(CDocManager& manager, const QString& strPath, CDocument* pActive);

// Places every kind the haul holds (see above); returns one summary line per
// kind placed (transfer/SysExSummary.h), or nothing when the user cancelled
// the question, and then nothing was placed. strSource names where the data
// came from, for the question. With nSelected 0 or more (the entry selected
// in the active window), a single entry of the active window's kind goes
// into that entry when the user puts it into the active window. What
// reaches a window is one undo step named strEdit.
std::optional<std::vector<std::string>> PlaceHaulInWindows(CDocManager& manager, const CSysExHaul& haul,
                                                           CDocument* pActive, const QString& strSource,
                                                           const char* szEdit, int nSelected = -1);
// True when the haul holds anything of the KQ-3300's memory.
bool HaulHasEntries(const CSysExHaul& haul);

// Files handed to the program: .syx files are imported, every other file
// opens as with File > Open (with the same messages when it cannot).
void OpenHandedFiles(CDocManager& manager, const QStringList& paths, CDocument* pActive);

} // namespace vantorel
