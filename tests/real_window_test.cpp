#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QFile>
#include <QProcess>
#include <QThread>

#include <csignal>

#include "support/files.h"
#include "support/maker_site.h"
#include "support/offline_program.h"
#include "support/temp_home.h"
#include "support/update_keys.h"
#include "support/wait_until.h"
#include "support/x_display.h"

// The real program in a real X window (CTest runs this under xvfb-run, on a free display, with
// no window manager): the captions as the X server holds them, and the update window's buttons
// clicked with the mouse while the settings dialog is open, down to the installation of a signed
// release.

using namespace x_display;

TEST(RealWindow, CaptionsAreTheProgramsOwnAndTheUpdateWindowInstallsOverTheSettingsDialog)
{
    ASSERT_TRUE(qEnvironmentVariableIsSet("DISPLAY")) << "run under xvfb-run -a";
    TempHome home;
    // No silent update check during the test: only the one that "Check Nu" asks for.
    home.writeFile(TempHome::kSettingsFile,
                   "Windows Registry Editor Version 5.00\n\n"
                   "[HKEY_CURRENT_USER\\Software\\Pelgrandix\\Defaults]\n\"Updates Aan\"=\"0\"\n");
    // An installer that notes its arguments, padded to a few KiB.
    const QString noted = home.path() + "/installer-ran.txt";
    std::string installer = "#!/bin/sh\necho \"$@\" > '" + noted.toStdString() + "'\n";
    installer.append(6000 - installer.size(), '#');
    MakerSite site;
    site.serveList("Pelgrandix,Pelgrandix121.exe,b,6," + Sha256Field(installer) + ",nieuw,new\r\n"
                   "Koersbord,Koersbord300.exe,c,900,x,oud,old\r\n");
    site.serve("/Pelgrandix121.exe", installer);

    OfflineProgram program(home.path());
    program.environment().insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    program.environment().insert(QStringLiteral("PELGRANDIX_MAKER_HOST"), site.host());
    program.ping().answer(ScriptedPing::Reply);  // the maker's site is there
    program.process().setProcessChannelMode(QProcess::ForwardedChannels);
    ASSERT_TRUE(program.start());

    const QString mainWindow = waitForWindow(QStringLiteral("^Pelgrandix, versie"));
    ASSERT_FALSE(mainWindow.isEmpty()) << "the main window did not appear";
    EXPECT_EQ(captions(mainWindow), QStringList(2, "Pelgrandix, versie 1.20a"));

    // "Instellingen" in the top bar (design place 314, 12; 96 x 28).
    click(mainWindow, 362, 26);
    const QString settings = waitForWindow(QStringLiteral("^Pelgrandix - Instellingen"));
    ASSERT_FALSE(settings.isEmpty()) << "the settings dialog did not appear";
    EXPECT_EQ(captions(settings), QStringList(2, "Pelgrandix - Instellingen"));

    // "Check Nu" in the update box (box at 12, 464 below the websites group; button at 16, 52
    // in it; 110 x 28).
    click(settings, 83, 530);
    const QString update = waitForWindow(QStringLiteral("^Pelgrandix - Update"));
    ASSERT_FALSE(update.isEmpty()) << "the update window did not appear";
    EXPECT_EQ(captions(update), QStringList(2, "Pelgrandix - Update"));

    // "Start Download" (bottom panel of 99 px in the 309 px high window; button at 26, 45 in
    // it; 176 x 41) while the settings dialog stays open; then "Installeer" in the place of
    // "Download later" (at 234, 45) starts the installer and ends the program.
    click(update, 114, 275);
    const QString received = home.dataDir() + "Temp/Pelgrandix121.exe";
    ASSERT_TRUE(waitUntil([&] { return QFile(received).size() == qint64(installer.size()); }))
        << "the installer did not arrive";
    EXPECT_EQ(visibleWindows(QStringLiteral("^Pelgrandix - Instellingen")), QStringList{settings});
    QThread::msleep(300);  // the window writes its buttons anew once the file is checked
    click(update, 322, 275);
    EXPECT_TRUE(waitUntil([&] { return QFile::exists(noted); })) << "the installer did not start";
    EXPECT_EQ(readFile(noted), "/SP- /silent /noicons\n");
    EXPECT_TRUE(program.process().waitForFinished(kPatienceMs)) << "the program did not end";
    EXPECT_EQ(program.process().exitCode(), 0);
}
