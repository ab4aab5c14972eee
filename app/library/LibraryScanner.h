#pragma once
// Keeps the index current: a scan of every folder runs on a worker thread
// with its progress in the status bar ("Indexing 1,240 of 10,000 files") and
// a Stop button there; while the program runs, a file-system watcher on the
// folders re-reads each file that appears, changes or goes (a file saved in
// place over a temporary file counts as changed).
#include <QFileSystemWatcher>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>

#include "library/LibraryIndex.h"

class QLabel;
class QStatusBar;
class QToolButton;

namespace vantorel {

class CLibraryScanner : public QObject {
    Q_OBJECT
public:
    CLibraryScanner(CLibraryIndex& index, QStatusBar* pStatusBar, QObject* parent = nullptr);
    // Stops a running scan and waits for it.
    ~CLibraryScanner() override;

    // Scans every folder; while a scan runs, once more after it.
    void Start();
    // Asks a running scan to end; it ends at the next file.
    void Stop();
    bool IsScanning() const { return m_thread.joinable(); }
    // The text the status bar shows for a progress ("Indexing 1,240 of 10,000 files").
    static QString ProgressText(const CScanProgress& progress);

signals:
    // The index changed: a scan ended or files were re-read.
    void indexChanged();
    // A running scan has gone on (now and then).
    void progressed();

private:
    // The scan ended on the worker: summary, then the watcher's folders.
    void OnScanEnded(const CScanSummary& summary, std::vector<std::string> dirs);
    // Folders whose contents changed are compared with what they held.
    void OnDirectoryChanged(const QString& strDir);
    void RefreshChangedFiles();
    // Name -> size and time of the files directly in a folder.
    using CListing = std::map<std::string, std::pair<int64_t, int64_t>>;
    static CListing ListFolder(const std::string& dir);

    CLibraryIndex& m_index;
    QPointer<QStatusBar> m_pStatusBar;
    QLabel* m_pProgress = nullptr;
    QToolButton* m_pStop = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_bStop{false};
    bool m_bAgain = false;
    QFileSystemWatcher m_watcher;
    std::map<std::string, CListing> m_listings; // by folder
    std::set<std::string> m_changedDirs;
    QTimer m_settle; // changes come in bursts: read once they settle
};

} // namespace vantorel
