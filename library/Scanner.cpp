#include "library/Scanner.h"

#include <chrono>
#include <sqlite3.h>
#include <thread>

#include "library/EntryReader.h"
#include "library/FolderWalk.h"
#include "library/LibraryDb.h"
#include "library/ReadAhead.h"
#include "transfer/plans/DocKind.h"

namespace vantorel {

namespace {

// A transaction ends after this many files or this long, whichever comes
// first: few enough commits to be quick, often enough that searches meanwhile
// see what was found. Progress is told more often.
constexpr size_t kFilesPerTransaction = 2000;
constexpr auto kTransactionTime = std::chrono::seconds(2);
constexpr int kFilesPerProgress = 25;
// After a transaction cut short by time, a pause in which another program
// waiting to write (a star, its own scan) gets its turn.
constexpr auto kTurnForOthers = std::chrono::milliseconds(100);

} // namespace

CScanner::CScanner(CLibraryDb& db)
    : m_db(db), m_storeFile(db.Handle(),
                            "INSERT INTO files(path, size, mtime, kind, problem) VALUES (?1, ?2, ?3, ?4, ?5) "
                            "ON CONFLICT(path) DO UPDATE SET size = ?2, mtime = ?3, kind = ?4, problem = ?5 "
                            "RETURNING id"),
      m_deleteFile(db.Handle(), "DELETE FROM files WHERE id = ?1"),
      m_deleteEntries(db.Handle(), "DELETE FROM entries WHERE file = ?1"),
      m_insertEntry(db.Handle(), "INSERT INTO entries(file, kind, entry, part, label, name, sound, bytes) "
                                 "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)"),
      m_insertName(db.Handle(), "INSERT INTO names(name) VALUES (?1)"),
      m_findName(db.Handle(), "SELECT id FROM names WHERE name = ?1 COLLATE NOCASE AND name = ?1"),
      m_indexNames(db.Handle(), "INSERT INTO name_text(rowid, name) SELECT id, name FROM names WHERE id > ?1")
{
}

bool CScanner::Check(int rc)
{
    if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW)
        return true;
    if (m_strError.empty())
        m_strError = m_db.ErrorText(rc);
    return false;
}

void CScanner::LoadKnown()
{
    m_known.clear();
    CStatement all(m_db.Handle(), "SELECT id, path, size, mtime FROM files");
    int rc;
    while ((rc = all.Step()) == SQLITE_ROW)
        m_known[all.Text(1)] = {all.Int(0), all.Int(2), all.Int(3)};
    Check(rc);
}

int64_t CScanner::NameId(const std::string& name)
{
    if (!m_bScanning) { // one file: look its names up rather than load them all
        if (m_findName.Bind(1, name).Step() == SQLITE_ROW) {
            const int64_t nId = m_findName.Int(0);
            m_findName.Reset();
            return nId;
        }
        m_findName.Reset();
    } else if (!m_bNamesLoaded) {
        CStatement all(m_db.Handle(), "SELECT id, name FROM names");
        while (all.Step() == SQLITE_ROW)
            m_names.emplace(all.Text(1), all.Int(0));
        m_bNamesLoaded = true;
    }
    if (auto it = m_names.find(name); m_bScanning && it != m_names.end())
        return it->second;
    if (!Check(m_insertName.Bind(1, name).Run()))
        return 0;
    const int64_t nId = sqlite3_last_insert_rowid(m_db.Handle());
    if (m_bScanning)
        m_names.emplace(name, nId);
    if (m_nFirstNewName == 0)
        m_nFirstNewName = nId;
    return nId;
}

// Writes what the file holds now (or why it cannot be read), in place of
// what the index knew of it.
void CScanner::Store(const CFoundFile& file, const CReadFile* pRead, const std::vector<CFoundEntry>& entries)
{
    const std::string problem = pRead ? pRead->strProblem : file.strProblem;
    const CDocKind* pKind = pRead ? pRead->Kind() : nullptr;
    auto bindFile = [&](CStatement& st) -> CStatement& {
        st.Bind(2, file.nSize).Bind(3, file.nTime);
        pKind ? st.Bind(4, std::string_view(pKind->Word())) : st.BindNull(4);
        problem.empty() ? st.BindNull(5) : st.Bind(5, problem);
        return st;
    };
    // Another program's scan may have added the file since this one looked:
    // the path decides, not what this scan knew.
    if (const int rc = bindFile(m_storeFile).Bind(1, file.strPath).Step(); rc != SQLITE_ROW) {
        m_storeFile.Reset();
        Check(rc == SQLITE_DONE ? SQLITE_ERROR : rc);
        return;
    }
    const int64_t nFile = m_storeFile.Int(0);
    m_storeFile.Reset();
    if (!Check(m_deleteEntries.Bind(1, nFile).Run()))
        return;
    m_known[file.strPath] = {nFile, file.nSize, file.nTime};
    if (!pRead || !problem.empty())
        return;
    for (const CFoundEntry& e : entries) {
        const int64_t nName = NameId(e.strName);
        if (!m_strError.empty())
            return;
        m_insertEntry.Bind(1, nFile)
            .Bind(2, std::string_view(e.pKind->Word()))
            .Bind(3, e.nEntry)
            .Bind(4, e.nPart);
        m_insertEntry.Bind(5, e.strLabel)
            .Bind(6, nName)
            .Bind(7, int64_t(e.nSound))
            .Bind(8, int64_t(e.nBytes));
        if (!Check(m_insertEntry.Run()))
            return;
    }
}

// The names added since the last call go into the trigram index at once.
void CScanner::IndexNewNames()
{
    if (m_nFirstNewName > 0 && m_strError.empty())
        Check(m_indexNames.Bind(1, m_nFirstNewName - 1).Run());
    m_nFirstNewName = 0;
}

void CScanner::Forget(int64_t nId)
{
    Check(m_deleteEntries.Bind(1, nId).Run()) && Check(m_deleteFile.Bind(1, nId).Run());
}

void CScanner::DropUnusedNames()
{
    std::string error;
    if (!m_db.Exec("DELETE FROM names WHERE NOT EXISTS (SELECT 1 FROM entries WHERE entries.name = names.id)",
                   error) &&
        m_strError.empty())
        m_strError = error;
    m_names.clear();
    m_bNamesLoaded = false;
}

CScanSummary CScanner::Scan(const std::vector<std::string>& folders,
                            const std::function<void(const CScanProgress&)>& progress,
                            const std::function<bool()>& stop)
{
    CScanSummary summary;
    m_strError.clear();
    m_bScanning = true;
    LoadKnown();
    const std::vector<CFoundFile> found = WalkFolders(folders, stop);
    summary.nFiles = int(found.size());

    // Sort out first: what vanished goes, what is unchanged stays, the rest is read.
    std::unordered_map<std::string, CKnown> vanished = m_known;
    std::vector<const CFoundFile*> changed;
    for (const CFoundFile& file : found) {
        vanished.erase(file.strPath);
        const auto it = m_known.find(file.strPath);
        if (it != m_known.end() && it->second.nSize == file.nSize && it->second.nTime == file.nTime)
            ++summary.nUnchanged;
        else
            changed.push_back(&file);
    }
    summary.bStopped = stop && stop();
    if (!summary.bStopped && m_strError.empty() && !vanished.empty()) {
        std::string error;
        if (m_db.Exec("BEGIN IMMEDIATE", error)) {
            for (const auto& [path, known] : vanished) {
                Forget(known.nId);
                m_known.erase(path);
            }
            if (!m_db.Exec(m_strError.empty() ? "COMMIT" : "ROLLBACK", error) && m_strError.empty())
                m_strError = error;
            else if (m_strError.empty())
                summary.nRemoved = int(vanished.size());
        } else {
            m_strError = error;
        }
    }

    CScanProgress step{summary.nUnchanged, summary.nFiles};
    CReadAhead reader(changed);
    if (progress)
        progress(step);
    size_t i = 0;
    while (i < changed.size() && m_strError.empty() && !summary.bStopped) {
        std::string error;
        if (!m_db.Exec("BEGIN IMMEDIATE", error)) {
            m_strError = error;
            break;
        }
        const size_t nEnd = std::min(changed.size(), i + kFilesPerTransaction);
        const auto tEnd = std::chrono::steady_clock::now() + kTransactionTime;
        size_t nBatch = 0;
        for (; i < nEnd && m_strError.empty(); ++i, ++nBatch) {
            if (nBatch > 0 && nBatch % kFilesPerProgress == 0) {
                if (std::chrono::steady_clock::now() > tEnd)
                    break;
                if (progress)
                    progress({step.nDone + int(nBatch), step.nTotal});
            }
            if (stop && stop()) {
                summary.bStopped = true;
                break;
            }
            const CFoundFile& file = *changed[i];
            const CFileRead read = reader.Next();
            Store(file, file.strProblem.empty() ? &read.file : nullptr, read.entries);
        }
        IndexNewNames();
        if (!m_strError.empty()) {
            m_db.Exec("ROLLBACK", error);
            LoadKnown(); // the batch's new files and names are not in the index after all
            m_names.clear();
            m_bNamesLoaded = false;
            break;
        }
        if (!m_db.Exec("COMMIT", error)) {
            m_strError = error;
            m_db.Exec("ROLLBACK", error);
            break;
        }
        summary.nRead += int(nBatch);
        step.nDone += int(nBatch);
        if (progress)
            progress(step);
        if (i < changed.size() && nBatch < kFilesPerTransaction)
            std::this_thread::sleep_for(kTurnForOthers);
    }
    if (m_strError.empty() && (summary.nRead > 0 || summary.nRemoved > 0))
        DropUnusedNames();

    CStatement problems(m_db.Handle(), "SELECT count(*) FROM files WHERE problem IS NOT NULL");
    if (problems.Step() == SQLITE_ROW)
        summary.nProblems = int(problems.Int(0));
    summary.strError = m_strError;
    return summary;
}

bool CScanner::Refresh(const std::string& path, std::string& error)
{
    m_strError.clear();
    LoadKnown();
    if (!m_db.Exec("BEGIN IMMEDIATE", error))
        return false;
    CFoundFile file;
    if (!StatLibraryFile(path, file)) {
        if (auto it = m_known.find(path); it != m_known.end())
            Forget(it->second.nId);
    } else if (file.strProblem.empty()) {
        const CReadFile read = ReadLibraryFile(path);
        Store(file, &read, ListEntries(read));
    } else {
        Store(file, nullptr, {});
    }
    IndexNewNames();
    if (!m_strError.empty() || !m_db.Exec("COMMIT", error)) {
        std::string ignored;
        m_db.Exec("ROLLBACK", ignored);
        if (!m_strError.empty())
            error = m_strError;
        return false;
    }
    return true;
}

} // namespace vantorel
