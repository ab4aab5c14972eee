#pragma once
// Brings the index in line with the folders: reads the files that are new or
// whose size or time changed, forgets those that vanished, and lists those
// that cannot be read with the reason. Writes in batches of files, one
// transaction each, with prepared statements; never writes to a library file.
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "library/LibraryIndex.h"
#include "library/Statement.h"

namespace vantorel {

class CLibraryDb;
struct CFoundFile;
struct CReadFile;
struct CFoundEntry;

class CScanner {
public:
    explicit CScanner(CLibraryDb& db);

    CScanSummary Scan(const std::vector<std::string>& folders,
                      const std::function<void(const CScanProgress&)>& progress,
                      const std::function<bool()>& stop);
    // Re-reads one file, or forgets it when it is gone; false with error set
    // when the index could not be written.
    bool Refresh(const std::string& path, std::string& error);

private:
    struct CKnown {
        int64_t nId = 0;
        int64_t nSize = 0;
        int64_t nTime = 0;
    };
    bool Check(int rc);
    void LoadKnown();
    int64_t NameId(const std::string& name);
    void Store(const CFoundFile& file, const CReadFile* pRead, const std::vector<CFoundEntry>& entries);
    void Forget(int64_t nId);
    void IndexNewNames();
    void DropUnusedNames();

    CLibraryDb& m_db;
    std::string m_strError;
    std::unordered_map<std::string, CKnown> m_known;
    std::unordered_map<std::string, int64_t> m_names;
    bool m_bScanning = false; // a whole scan: every name is loaded once, at the first
    bool m_bNamesLoaded = false;
    int64_t m_nFirstNewName = 0; // the first name added since the trigram index was told
    CStatement m_storeFile, m_deleteFile, m_deleteEntries, m_insertEntry, m_insertName, m_findName,
        m_indexNames;
};

} // namespace vantorel
