#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "market/connectivity_probe.h"
#include "market/page_fetch.h"
#include "support/files.h"
#include "support/loopback_listener.h"
#include "support/program_state.h"
#include "support/scoped_env.h"
#include "support/scratch_files.h"
#include "support/system_info.h"
#include "support/temp_home.h"
#include "support/unprivileged.h"

namespace {

// A current folder and a data folder in a home of their own; the base puts DataDir back.
class Folders : public ProgramStateTest
{
protected:
    Folders() { DataDir = data(); }

    QString work() const { return home.path() + "/work/"; }
    QString data() const { return home.path() + "/data/"; }

    TempHome home;
};

} // namespace

TEST_F(Folders, CurrentFolderIsUsedOnlyWhereTheNameIsFreeOrTheUsersOwnPlainFile)
{
    QDir().mkpath(work());
    QDir().mkpath(data());
    QDir::setCurrent(work());
    const QString victim = home.path() + "/victim";
    struct Case {
        const char *atTheName;
        std::function<void(const QString &name)> place;
        bool inCurrentFolder;
    };
    const Case cases[] = {
        {"nothing", [](const QString &) {}, true},
        {"an earlier copy", [&](const QString &) { home.writeFile("work/tmp.txt", "earlier copy"); }, true},
        {"a symbolic link to another file",
         [&](const QString &name) { QFile::link(victim, name); }, false},
        {"a symbolic link to a file not there yet",
         [&](const QString &name) { QFile::link(home.path() + "/absent", name); }, false},
        {"a hard link to another file",
         [&](const QString &name) {
             ::link(QFile::encodeName(victim).constData(), QFile::encodeName(name).constData());
         }, false},
        {"a folder", [](const QString &name) { QDir().mkdir(name); }, false},
    };
    for (const Case &c : cases) {
        home.writeFile("victim", "the user's own file");
        c.place(work() + "tmp.txt");

        const ScratchFile scratch = CreateScratchFile("tmp.txt");
        ASSERT_TRUE(scratch.file) << c.atTheName;
        scratch.file->write("probe output");
        scratch.file->flush();
        const QString folder = c.inCurrentFolder ? "work/" : "data/";
        EXPECT_EQ(scratch.path, c.inCurrentFolder ? "tmp.txt" : data() + "tmp.txt") << c.atTheName;
        EXPECT_EQ(home.readFile(folder + "tmp.txt"), "probe output") << c.atTheName;
        EXPECT_EQ(home.readFile("victim"), "the user's own file") << c.atTheName;
        EXPECT_FALSE(QFileInfo::exists(home.path() + "/absent")) << c.atTheName;

        QFile::remove(data() + "tmp.txt");
        if (!QFile::remove(work() + "tmp.txt"))
            QDir().rmdir(work() + "tmp.txt");
    }
}

TEST_F(Folders, ProbeOutputAndPageCopyGoToTheDataFolderWhenTheCurrentFolderIsReadOnly)
{
    // The ping must be one the unprivileged user can run.
    const QString ping = home.path() + "/ping";
    ASSERT_TRUE(writeFile(ping, "#!/bin/sh\nprintf '\\nPinging %s\\nReply from %s\\n' \"$1\" \"$1\"\n",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const ScopedEnv pingProgram("PELGRANDIX_PING", QFile::encodeName(ping));
    const ScopedEnv noComSpec("COMSPEC", std::nullopt);
    const LoopbackListener refusing(LoopbackListener::Refusing);
    const QString closedSite = refusing.url();

    const bool asExpected = runAsUnprivilegedUser(home.path(), [&] {
        // As that user: a data folder of his own, and a current folder he cannot write to.
        if (!QDir().mkpath(data()) || !QDir().mkpath(work())
            || ::chmod(QFile::encodeName(work()).constData(), 0555) != 0 || !QDir::setCurrent(work()))
            return 2;
        const ProbeResult probe = RunConnectivityProbe("127.0.0.1");
        if (probe.thirdLine != "Reply from 127.0.0.1" || QFileInfo::exists(data() + "tmp.txt"))
            return 3;
        QByteArray page;
        DownloadRightPage(closedSite, page);
        return home.readFile("data/Temp.txt") == "\r\n" ? 0 : 4;
    });
    EXPECT_TRUE(asExpected);
}
