// Vantorel: a librarian for the KQ-3300. Files named on the command line
// (`vantorel FILE...`, as a file manager's "Open with" passes them) open as
// with File > Open; .syx files are imported.
#include <QApplication>
#include <QStringList>

#include <cstring>

#include "app/StartOptions.h"
#include "app/VantorelApp.h"
#include "framework/core/FileNames.h"

int main(int argc, char** argv)
{
    if (const auto exitCode = vantorel::AnswerBeforeStart(argc, argv))
        return *exitCode;
    QApplication app(argc, argv);
    vantorel::CVantorelApp theApp;
    if (!theApp.InitInstance())
        return 1;
    // QApplication has taken its own options out of argv by now. A name is
    // the file system's bytes, UTF-8 or not.
    QStringList files;
    bool bOptionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        if (!bOptionsEnded && std::strcmp(argv[i], "--") == 0) {
            bOptionsEnded = true;
            continue;
        }
        files << vantorel::AbsoluteFileName(argv[i]);
    }
    theApp.OpenFiles(files);
    return app.exec();
}
