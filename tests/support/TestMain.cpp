// Shared main of every test program: a QApplication on the offscreen platform
// and a private profile in a temporary folder, so tests never touch the
// user's own settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>

#include "framework/core/Profile.h"

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QTemporaryDir profileDir;
    vantorel::SetProfilePathOverride((profileDir.path() + "/vantorel.ini").toStdString());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
