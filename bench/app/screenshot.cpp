// Draws the documentation's picture of the main window: the program started
// as main() starts it, a patch bank and a performance bank side by side, and
// the Setup menu open over them. Usage: vantorel_screenshot <out.png>
#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "framework/core/Profile.h"
#include "framework/gui/ChildFrame.h"

namespace {
void Settle(int ms = 100)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <out.png>\n", argv[0]);
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir profile; // a first start: the default settings
    vantorel::SetProfilePathOverride((profile.path() + "/vantorel.ini").toStdString());

    vantorel::CVantorelApp theApp;
    if (!theApp.InitInstance())
        return 1;
    vantorel::CMainFrame* frame = theApp.GetMainFrame();
    frame->resize(900, 620);
    vantorel::CDocManager& docs = theApp.GetDocManager();
    const auto& kinds = docs.GetTemplates();
    if (kinds.size() >= 2) {
        docs.OpenNewDocument(kinds[1].get());
        vantorel::CDocument* patch = docs.OpenNewDocument(kinds[0].get());
        frame->MDITile();
        docs.GetFrame(patch)->ActivateFrame();
    }
    frame->UpdateAllCmdUI();
    Settle();

    QImage shot = frame->grab().toImage();
    // Open the Setup menu where a click on its title would.
    for (QAction* a : frame->menuBar()->actions()) {
        if (a->text() != QStringLiteral("&Setup") || !a->menu())
            continue;
        QMenu* menu = a->menu();
        const QPoint at = frame->menuBar()->mapTo(frame, frame->menuBar()->actionGeometry(a).bottomLeft());
        menu->popup(frame->mapToGlobal(at));
        Settle();
        QPainter p(&shot);
        p.drawPixmap(at, menu->grab());
        menu->hide();
    }
    if (!shot.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
