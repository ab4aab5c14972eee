// The engine's tests need no window system: a core application and a private
// profile in a temporary folder.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "framework/core/Profile.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir profileDir;
    vantorel::SetProfilePathOverride((profileDir.path() + "/vantorel.ini").toStdString());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
