// Start-up of the whole program, measured from outside: each run starts this
// program again as a child that does what main() does (real services, the
// five kinds, the main window) and reports when the window is exposed. The
// figure is the median wall time from process start to that moment; memory is
// the largest peak resident size of a child once it has opened one window of
// each kind.
// Usage: bench_app_startup [runs]
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"

namespace {

constexpr double kTargetMs = 300.0;
constexpr double kTargetMb = 80.0;

int RunChild(int argc, char** argv)
{
    QApplication app(argc, argv);
    vantorel::CVantorelApp theApp;
    if (!theApp.InitInstance())
        return 1;
    QWidget* frame = theApp.GetMainFrame();
    QElapsedTimer guard;
    guard.start();
    while (!(frame->windowHandle() && frame->windowHandle()->isExposed()) && guard.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    QApplication::processEvents();
    // The start-up figure ends here; the memory figure is taken with one
    // window of each kind open and drawn.
    std::printf("shown\n");
    std::fflush(stdout);
    for (const auto& pTemplate : theApp.GetDocManager().GetTemplates())
        theApp.GetDocManager().OpenNewDocument(pTemplate.get());
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("windows %zu peak %ld\n", theApp.GetDocManager().GetTemplates().size(),
                usage.ru_maxrss); // kilobytes on Linux
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(argc, argv);

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    QTemporaryDir config; // the children's profile, never the user's
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    std::vector<double> times;
    long peakKb = 0;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::SeparateChannels);
        QElapsedTimer t;
        t.start();
        child.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--child")});
        QByteArray out;
        while (!out.contains('\n') && child.waitForReadyRead(20000))
            out += child.readAllStandardOutput();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        child.waitForFinished(20000);
        out += child.readAllStandardOutput();
        long kb = 0;
        size_t windows = 0;
        const int at = out.indexOf("windows ");
        if (at < 0 || std::sscanf(out.constData() + at, "windows %zu peak %ld", &windows, &kb) != 2) {
            std::fprintf(stderr, "run %d: the child did not report start-up\n%s\n", i,
                         child.readAllStandardError().constData());
            return 1;
        }
        times.push_back(ms);
        peakKb = std::max(peakKb, kb);
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    const double mb = double(peakKb) / 1024.0;
    std::printf(
        "start-up to main window shown: median %.1f ms over %d runs (min %.1f, max %.1f); target < %.0f ms; "
        "ratio %.2f\n",
        median, runs, times.front(), times.back(), kTargetMs, median / kTargetMs);
    std::printf("peak memory with one window of each kind open: %.1f MB; target < %.0f MB; ratio %.2f\n", mb,
                kTargetMb, mb / kTargetMb);
    return 0;
}
