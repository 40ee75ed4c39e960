#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>

#include "support/program_state.h"

// Window tests run on the offscreen platform (CTest sets QT_QPA_PLATFORM) with a Dutch locale,
// so texts and numbers look as they do on the user's desktop.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
    ::testing::InitGoogleTest(&argc, argv);
    WatchProgramState();
    return RUN_ALL_TESTS();
}
