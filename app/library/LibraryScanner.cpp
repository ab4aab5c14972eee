#include "app/library/LibraryScanner.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QToolButton>

#include "framework/core/FileNames.h"
#include "res/strings/librarywindow.h"

namespace vantorel {

namespace {
// inotify watches are a shared resource: a collection in more folders than
// this is kept current by Scan Folders alone.
constexpr int kMaxWatchedFolders = 4000;
constexpr int kSettleMs = 500;

QString Number(int n)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(n);
}
} // namespace

CLibraryScanner::CLibraryScanner(CLibraryIndex& index, QStatusBar* pStatusBar, QObject* parent)
    : QObject(parent), m_index(index), m_pStatusBar(pStatusBar)
{
    if (m_pStatusBar) {
        m_pProgress = new QLabel(m_pStatusBar);
        m_pStop = new QToolButton(m_pStatusBar);
        m_pStop->setText(QString::fromLatin1(res::kLibraryStop));
        // Beside the ready text, before the key indicators.
        m_pStatusBar->addWidget(m_pProgress);
        m_pStatusBar->addWidget(m_pStop);
        m_pProgress->hide();
        m_pStop->hide();
        connect(m_pStop, &QToolButton::clicked, this, [this] { Stop(); });
    }
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, [this] { RefreshChangedFiles(); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this,
            [this](const QString& strDir) { OnDirectoryChanged(strDir); });
}

CLibraryScanner::~CLibraryScanner()
{
    m_bStop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_pStatusBar) {
        delete m_pProgress;
        delete m_pStop;
    }
}

QString CLibraryScanner::ProgressText(const CScanProgress& progress)
{
    return QString::fromLatin1(res::kLibraryIndexing).arg(Number(progress.nDone), Number(progress.nTotal));
}

void CLibraryScanner::Start()
{
    if (IsScanning())
        return;
    m_bStop = false;
    if (m_pProgress) {
        m_pProgress->setText(ProgressText({}));
        m_pProgress->show();
        m_pStop->show();
    }
    // What the worker posts runs on the GUI thread, and only while this
    // object lives (its destructor waits for the worker first).
    m_thread = std::thread([this] {
        const CScanSummary summary = m_index.Scan(
            [this](const CScanProgress& p) {
                QMetaObject::invokeMethod(
                    this,
                    [this, p] {
                        if (m_pProgress)
                            m_pProgress->setText(ProgressText(p));
                        emit progressed();
                    },
                    Qt::QueuedConnection);
            },
            [this] { return m_bStop.load(); });
        // The folders the watcher follows, found here, off the GUI thread.
        std::vector<std::string> dirs;
        for (const std::string& folder : m_index.Folders()) {
            if (m_bStop)
                break;
            dirs.push_back(folder);
            QDirIterator it(DecodeFileName(folder), QDir::Dirs | QDir::NoDotAndDotDot,
                            QDirIterator::Subdirectories);
            while (it.hasNext() && static_cast<int>(dirs.size()) < kMaxWatchedFolders && !m_bStop)
                dirs.push_back(EncodeFileName(it.next()));
        }
        QMetaObject::invokeMethod(
            this, [this, summary, dirs] { OnScanEnded(summary, dirs); }, Qt::QueuedConnection);
    });
}

void CLibraryScanner::Stop()
{
    m_bStop = true;
}

void CLibraryScanner::OnScanEnded(const CScanSummary& summary, std::vector<std::string> dirs)
{
    if (m_thread.joinable())
        m_thread.join();
    if (m_pProgress) {
        m_pProgress->hide();
        m_pStop->hide();
    }
    if (m_pStatusBar) {
        QString strText;
        if (!summary.strError.empty())
            strText = QString::fromStdString(summary.strError);
        else if (summary.bStopped)
            strText = QString::fromLatin1(res::kLibraryIndexStopped);
        else
            strText = QString::fromLatin1(res::kLibraryIndexed)
                          .arg(Number(summary.nFiles - summary.nProblems), Number(summary.nProblems));
        m_pStatusBar->showMessage(strText, 10000);
    }
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_listings.clear();
    QStringList paths;
    for (const std::string& dir : dirs) {
        m_listings[dir] = ListFolder(dir);
        paths << DecodeFileName(dir);
    }
    if (!paths.isEmpty())
        m_watcher.addPaths(paths);
    emit indexChanged();
    if (m_bAgain && !summary.bStopped)
        Start();
}

CLibraryScanner::CListing CLibraryScanner::ListFolder(const std::string& dir)
{
    CListing listing;
    const QFileInfoList files = QDir(DecodeFileName(dir)).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo& f : files)
        listing[EncodeFileName(f.absoluteFilePath())] = {f.size(), f.lastModified().toMSecsSinceEpoch()};
    return listing;
}

void CLibraryScanner::OnDirectoryChanged(const QString& strDir)
{
    m_changedDirs.insert(EncodeFileName(strDir));
    m_settle.start();
}

void CLibraryScanner::RefreshChangedFiles()
{
    if (IsScanning()) {
        m_settle.start(); // the scan reads them; look again after it
        return;
    }
    bool bChanged = false;
    for (const std::string& dir : m_changedDirs) {
        CListing now = ListFolder(dir);
        const CListing& before = m_listings[dir];
        for (const auto& [file, stamp] : now) {
            auto it = before.find(file);
            if (it == before.end() || it->second != stamp) {
                m_index.Refresh(file);
                bChanged = true;
            }
        }
        for (const auto& [file, stamp] : before)
            if (!now.count(file)) {
                m_index.Refresh(file); // gone: leaves the index
                bChanged = true;
            }
        m_listings[dir] = std::move(now);
    }
    m_changedDirs.clear();
    if (bChanged)
        emit indexChanged();
}

} // namespace vantorel
