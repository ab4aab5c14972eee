#pragma once
// The library: an index over every sound saved in the folders the user adds
// (library files of every kind and .syx files), kept in an SQLite database.
// The files stay the source of truth: the index never writes to them. No
// widgets: the Library window and vantorel-cli both use this.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vantorel {

class CDocKind;
class CLibraryDb;

struct CLibraryEntry {               // one entry of one file, as found by a search
    int64_t nId = 0;                 // row id in the index
    const CDocKind* pKind = nullptr; // the kind of the entry (a performance's patch: PatchKind())
    std::string strLabel;            // as its window labels it: "A11", "11", "system", "C#2", "A1";
                                     // a patch inside a performance: "11 patch 1" / "11 patch 2"
    std::string strName;             // the entry's name (trailing blanks removed)
    std::string strFile;             // absolute path of the file that holds it
    int nEntry = 0;                  // entry number inside its file's document
    int nPart = -1;                  // -1, or 0/1: the patch inside performance nEntry
    int64_t nModified = 0;           // file time, seconds since the epoch
    std::string strSound;            // hash of the bytes without the name (hex), identifies the sound
    std::string strBytes;            // hash of all bytes (hex)
    bool bStarred = false;
};

struct CLibraryQuery {
    std::string strText;             // any part of the name, any case; empty: everything
    const CDocKind* pKind = nullptr; // only this kind (null: all)
    std::string strTag;              // only sounds with this tag (empty: any)
    bool bStarredOnly = false;
    int nOffset = 0, nLimit = 200;
};

struct CLibraryProblem {
    std::string strFile;
    std::string strReason;
};

struct CScanProgress {
    int nDone = 0;
    int nTotal = 0;
};

struct CScanSummary {
    int nFiles = 0, nRead = 0, nUnchanged = 0, nRemoved = 0, nProblems = 0;
    bool bStopped = false;
    std::string strError; // set when the index could not be written (the scan ended there)
};

class CLibraryIndex {
public:
    ~CLibraryIndex();
    CLibraryIndex(const CLibraryIndex&) = delete;
    CLibraryIndex& operator=(const CLibraryIndex&) = delete;

    // Opens (creating) the index at path; on failure returns null and sets
    // error (a sentence naming the file and saying what to do). A damaged
    // index is set aside and rebuilt; notice then says so (empty otherwise).
    static std::unique_ptr<CLibraryIndex> Open(const std::string& path, std::string& error);
    // $XDG_DATA_HOME/vantorel/library.db (~/.local/share when unset).
    static std::string DefaultPath();
    const std::string& Path() const;
    // What the user should be told once about opening it ("rebuilt"), or empty.
    const std::string& Notice() const;

    std::vector<std::string> Folders() const;
    bool AddFolder(const std::string& dir, std::string& error);
    bool RemoveFolder(const std::string& dir);
    // Scans every folder; callable from a worker thread (calls are
    // serialised); progress is called now and then; stop() true ends it early.
    CScanSummary Scan(const std::function<void(const CScanProgress&)>& progress = {},
                      const std::function<bool()>& stop = {});
    // Re-reads one file (the watcher calls it), or removes it from the index when it is gone.
    void Refresh(const std::string& file);
    std::vector<CLibraryEntry> Search(const CLibraryQuery& q) const;
    int Count(const CLibraryQuery& q) const;
    // Each false, with error the sentence naming the index, when the
    // database refused the change (locked by another program, read-only, full).
    [[nodiscard]] bool SetStarred(const std::string& strSound, bool bStarred, std::string& error);
    [[nodiscard]] bool AddTag(const std::string& strSound, const std::string& tag, std::string& error);
    [[nodiscard]] bool RemoveTag(const std::string& strSound, const std::string& tag, std::string& error);
    std::vector<std::string> Tags(const std::string& strSound) const;
    std::vector<std::string> AllTags() const;
    // Sounds held in more than one place, each group every entry holding it.
    std::vector<std::vector<CLibraryEntry>> Duplicates() const;
    std::vector<CLibraryProblem> Problems() const;
    // The entry's bytes as an entry of its kind (pKind), read from its file now; nothing
    // (and error set) when the file changed so it no longer holds that sound.
    std::optional<std::vector<uint8_t>> EntryBytes(const CLibraryEntry& e, std::string& error) const;

private:
    explicit CLibraryIndex(std::unique_ptr<CLibraryDb> db);

    std::unique_ptr<CLibraryDb> m_pDb; // the calling thread's connection; a scan opens its own
    mutable std::mutex m_mutex;        // serialises m_pDb
    std::mutex m_scanMutex;            // one scan at a time
};

} // namespace vantorel
