#pragma once
// Texts of the Library window, its menu and its dialogs (the index has its
// own in library.h). %1, %2 stand for numbers, files or folders as each text
// says.
namespace vantorel::res {

// The Library menu.
inline constexpr const char* kMenuLibrary = "&Library";
inline constexpr const char* kItemLibraryWindow = "&Library Window";
inline constexpr const char* kPromptLibraryWindow = "Show or hide the Library window\nLibrary";
inline constexpr const char* kItemLibraryFind = "&Find...";
inline constexpr const char* kPromptLibraryFind = "Search the library by name\nFind";
inline constexpr const char* kItemLibraryFolders = "F&olders...";
inline constexpr const char* kPromptLibraryFolders = "Choose the folders the library indexes\nFolders";
inline constexpr const char* kItemLibraryScan = "&Scan Folders";
inline constexpr const char* kPromptLibraryScan = "Index the library's folders again\nScan Folders";
inline constexpr const char* kItemLibraryStop = "S&top Indexing";
inline constexpr const char* kPromptLibraryStop = "Stop indexing the library's folders\nStop Indexing";
inline constexpr const char* kItemLibraryProblems = "&Problems...";
inline constexpr const char* kPromptLibraryProblems = "List the files the library skipped\nProblems";
inline constexpr const char* kItemLibraryDuplicates = "&Duplicates...";
inline constexpr const char* kPromptLibraryDuplicates =
    "List the sounds kept in more than one place\nDuplicates";

// The window.
inline constexpr const char* kLibraryTitle = "Library";
inline constexpr const char* kLibrarySearchHint = "Search names (Ctrl+F)";
inline constexpr const char* kLibraryAllKinds = "All kinds";
inline constexpr const char* kLibraryAnyTag = "Any tag";
inline constexpr const char* kLibraryStarredOnly = "Starred";
inline constexpr const char* kLibraryColumnName = "Name";
inline constexpr const char* kLibraryColumnKind = "Kind";
inline constexpr const char* kLibraryColumnLabel = "Label";
inline constexpr const char* kLibraryColumnFile = "File";
inline constexpr const char* kLibraryColumnFolder = "Folder";
inline constexpr const char* kLibraryColumnDate = "Date";
inline constexpr const char* kLibraryColumnStar = "\u2605";
inline constexpr const char* kLibraryStar = "\u2605";
inline constexpr const char* kLibraryNoStar = "\u2606";
inline constexpr const char* kLibraryNoFolders =
    "No folders yet: choose Library > Folders... to add the folders "
    "that hold your banks.";

// Indexing, in the status bar: %1 files done of %2.
inline constexpr const char* kLibraryIndexing = "Indexing %1 of %2 files";
inline constexpr const char* kLibraryStop = "Stop";
// %1 files read, %2 skipped (Library > Problems lists them).
inline constexpr const char* kLibraryIndexed = "Library: %1 files indexed, %2 skipped";
inline constexpr const char* kLibraryIndexStopped = "Library: indexing stopped";

// Folders.
inline constexpr const char* kLibraryFoldersCaption = "Library Folders";
inline constexpr const char* kLibraryFoldersLabel =
    "The library indexes every bank and .syx file in these folders:";
inline constexpr const char* kLibraryOfferedLabel = "Folders of files you opened or saved:";
inline constexpr const char* kLibraryAddFolder = "&Add Folder...";
inline constexpr const char* kLibraryAddOffered = "Add &These";
inline constexpr const char* kLibraryRemoveFolder = "&Remove";
inline constexpr const char* kLibraryChooseFolder = "Add a Folder to the Library";

// Problems and duplicates.
inline constexpr const char* kLibraryProblemsCaption = "Library Problems";
inline constexpr const char* kLibraryNoProblems = "Every file in the library's folders was read.";
inline constexpr const char* kLibraryDuplicatesCaption = "Library Duplicates";
inline constexpr const char* kLibraryNoDuplicates = "No sound is kept in more than one place.";
// %1 the sound's name, %2 how many places hold it.
inline constexpr const char* kLibraryDuplicateGroup = "%1 (%2 places)";
inline constexpr const char* kLibraryColumnReason = "Reason";
inline constexpr const char* kLibraryTagsLabel = "Tags:";

} // namespace vantorel::res
