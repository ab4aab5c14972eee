// Vantorel: a librarian for the KQ-3300. Arguments are not read: the program
// starts with an empty main window whatever it is given.
#include <QApplication>

#include "app/VantorelApp.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    vantorel::CVantorelApp theApp;
    if (!theApp.InitInstance())
        return 1;
    return app.exec();
}
