// What the Library window costs in memory: the program started as main()
// starts it, its resident size taken, then the Library window opened over a
// generated collection (10,000 files by default, or the number given) with
// every entry listed and the list scrolled through its first 10,000 rows, and
// the resident size taken again. The figure is the difference, beside its
// limit of 60 MB. The collection is written and scanned by this program
// first; the measuring runs in a child, so the scan's memory is not counted.
// Usage: bench_library_window [files]
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "app/library/Library.h"
#include "app/library/LibraryWindow.h"
#include "bench/library/Collection.h"
#include "library/LibraryIndex.h"

namespace {

constexpr double kLimitMb = 60.0;
constexpr int kRowsScrolled = 10'000;

// Resident size now, in kilobytes.
long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

void Settle(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

int RunChild(int argc, char** argv)
{
    QApplication app(argc, argv);
    vantorel::CVantorelApp theApp;
    if (!theApp.InitInstance())
        return 1;
    Settle(500);
    const long nBeforeKb = ResidentKb();

    vantorel::CLibrary& library = theApp.GetMainFrame()->GetLibrary();
    library.ToggleWindow();
    QElapsedTimer guard;
    guard.start();
    while (library.IsScanning() && guard.elapsed() < 120'000) // the re-scan at opening finds nothing changed
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    vantorel::CLibraryWindow* pWindow = library.Window();
    vantorel::CLibraryModel& model = pWindow->Model();
    while (model.rowCount() < kRowsScrolled && model.canFetchMore({})) {
        pWindow->ResultView()->verticalScrollBar()->setValue(
            pWindow->ResultView()->verticalScrollBar()->maximum());
        QApplication::processEvents();
    }
    Settle(500);
    std::printf("before %ld after %ld rows %d\n", nBeforeKb, ResidentKb(), model.rowCount());
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(argc, argv);
    const int nFiles = argc > 1 ? std::max(10, std::atoi(argv[1])) : 10'000;

    QTemporaryDir work;
    const std::string strCollection = work.filePath(QStringLiteral("collection")).toStdString();
    const QString strData = work.filePath(QStringLiteral("data"));
    qputenv("XDG_DATA_HOME", strData.toLocal8Bit());
    vantorel::bench::WriteCollection(strCollection, nFiles);
    {
        std::string strError;
        auto pIndex = vantorel::CLibraryIndex::Open(vantorel::CLibraryIndex::DefaultPath(), strError);
        if (!pIndex || !pIndex->AddFolder(strCollection, strError)) {
            std::fprintf(stderr, "%s\n", strError.c_str());
            return 1;
        }
        pIndex->Scan();
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), work.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), strData);
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--child")});
    child.waitForFinished(300'000);
    const QByteArray out = child.readAllStandardOutput();
    long nBeforeKb = 0, nAfterKb = 0;
    int nRows = 0;
    const int at = out.indexOf("before ");
    if (at < 0 || std::sscanf(out.constData() + at, "before %ld after %ld rows %d", &nBeforeKb, &nAfterKb,
                              &nRows) != 3) {
        std::fprintf(stderr, "the program did not report its memory\n%s\n",
                     child.readAllStandardError().constData());
        return 1;
    }
    const double mb = double(nAfterKb - nBeforeKb) / 1024.0;
    std::printf(
        "Library window open over %d files (%d rows listed): %.1f MB more resident memory; limit %.0f MB; "
        "ratio %.2f\n",
        nFiles, nRows, mb, kLimitMb, mb / kLimitMb);
    return 0;
}
