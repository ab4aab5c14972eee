#pragma once
// Texts of the library index: what is wrong with its database (%s: the
// database file; each says what to do next), with a folder, and why a file
// in the folders was left out of the index (shown next to the file's name).
namespace vantorel::res {

inline constexpr const char* kLibDbNoFolder =
    "The library index %s cannot be created because its folder cannot be made. Make the folder "
    "writable, or set XDG_DATA_HOME to a folder you may write to.";
inline constexpr const char* kLibDbReadOnly =
    "The library index %s is read-only, so the library cannot be used. Make the file and its folder "
    "writable, or set XDG_DATA_HOME to a folder you may write to.";
inline constexpr const char* kLibDbLocked =
    "The library index %s is locked by another program. Wait until it finishes (another Vantorel "
    "may be indexing) and try again.";
inline constexpr const char* kLibDbFull =
    "The disk holding the library index %s is full. Free some space and scan the library again.";
// %s: the database, %s: where the damaged file now is.
inline constexpr const char* kLibDbRebuilt =
    "The library index %s was damaged. It was set aside as %s and a new, empty index was started: "
    "add your folders again and scan them.";
inline constexpr const char* kLibDbDamaged =
    "The library index %s is damaged and could not be set aside. Delete it and open the library again.";
// %s: the database, %s: what the database said.
inline constexpr const char* kLibDbFault =
    "The library index %s could not be used (%s). Check the file and its disk, then try again.";

// The label of an entry inside another: "11 patch 1" (the holder's label, the kind, 1 or 2).
inline constexpr const char* kLibInnerLabel = "%s %s %d";

// Folders.
inline constexpr const char* kLibFolderMissing = "The folder %s does not exist. Choose a folder that does.";
inline constexpr const char* kLibFolderNotFolder =
    "%s is not a folder. Choose a folder that holds your files.";

// Why a file was left out.
inline constexpr const char* kLibSkipNotRegular = "not a regular file (a FIFO, a device or a socket)";
inline constexpr const char* kLibSkipHuge = "larger than 64 MiB, far more than any file of this synthesizer";
inline constexpr const char* kLibSkipNoAccess = "cannot be read: permission denied";
inline constexpr const char* kLibSkipUnreadable = "cannot be read";
inline constexpr const char* kLibSkipForeign = "not a KQ-3300 library file";
inline constexpr const char* kLibSkipTooLarge = "too large for a %s file"; // the kind's word
inline constexpr const char* kLibSkipShort = "damaged: it ends before its last entry";
inline constexpr const char* kLibSkipNoSysEx = "holds no data of this synthesizer";

// EntryBytes: the file no longer holds what the index says (%s: label, %s: file).
inline constexpr const char* kLibEntryGone =
    "%s in %s has changed since the library was last scanned. Scan the library again.";

} // namespace vantorel::res
