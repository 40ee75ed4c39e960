#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>

#include "support/program_state.h"

// Rules that need no window still use Qt's event loop (timers, processes), so every core test
// program runs inside a QCoreApplication. Numbers are written as on a Dutch desktop, which is
// what the quote sites and the positions files use.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
    ::testing::InitGoogleTest(&argc, argv);
    WatchProgramState();
    return RUN_ALL_TESTS();
}
