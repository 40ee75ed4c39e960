#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

#include <sys/stat.h>

#include "positions/positions_file.h"
#include "support/files.h"
#include "support/temp_home.h"
#include "support/unprivileged.h"

TEST(PositionsFileLoad, SkipsCommentsAndEmptyLinesAcceptsLfAndCrLf)
{
    TempHome home;
    const QString dir = home.path() + "/";
    home.writeFile("Regels.dat", "; a comment\r\nAEX; Put; mrt\r\n\r\n\nAEX; Call; apr\n;x\nAX1; Call; mei");
    const auto loaded = positions_file::load(dir);
    EXPECT_TRUE(loaded.complete);
    EXPECT_EQ(loaded.lines, QStringList({"AEX; Put; mrt", "AEX; Call; apr", "AX1; Call; mei"}));
    // A byte order mark that an editor put before a line is not part of it.
    home.writeFile("Regels.dat", "\xEF\xBB\xBF" "AEX; Put; mrt\r\n\xEF\xBB\xBF\xEF\xBB\xBF" "AX1; Call; mei\n");
    EXPECT_EQ(positions_file::load(dir).lines, QStringList({"AEX; Put; mrt", "AX1; Call; mei"}));
}

TEST(PositionsFileLoad, MissingFileEmptyFileAndWindows1252)
{
    TempHome home;
    const QString dir = home.path() + "/";
    EXPECT_TRUE(positions_file::load(dir).lines.isEmpty());
    EXPECT_TRUE(positions_file::load(dir).complete);
    home.writeFile("Regels.dat", "");
    EXPECT_TRUE(positions_file::load(dir).lines.isEmpty());
    home.writeFile("Regels.dat", "Opti\xe9; \x80 5\r\n");
    EXPECT_EQ(positions_file::load(dir).lines, QStringList({QString::fromUtf8("Optié; € 5")}));
    EXPECT_EQ(positions_file::encode({QString::fromUtf8("Optié; € 5")}), QByteArray("Opti\xe9; \x80 5\r\n"));
}

TEST(PositionsFileLoad, UnreadableFileIsReportedNotSilentlyEmpty)
{
    TempHome home;
    QDir(home.path()).mkdir("Regels.dat");  // exists, but cannot be read as a file
    const auto loaded = positions_file::load(home.path() + "/");
    EXPECT_FALSE(loaded.complete);
    EXPECT_TRUE(loaded.lines.isEmpty());
}

TEST(PositionsFileSave, ThreeSavesKeepTwoBackupGenerations)
{
    TempHome home;
    const QString dir = home.path() + "/";
    for (const char *list : {"first", "second", "third"})
        ASSERT_TRUE(positions_file::save(dir, {QString::fromLatin1(list)}).saved);
    EXPECT_EQ(readFile(positions_file::fileName(dir)), "third\r\n");
    EXPECT_EQ(readFile(positions_file::backupName(dir)), "second\r\n");
    EXPECT_EQ(readFile(positions_file::olderBackupName(dir)), "first\r\n");
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files).size(), 3) << "no temporary file left";
}

TEST(PositionsFileSave, EmptyListLeavesFilesAloneUnlessAsked)
{
    TempHome home;
    const QString dir = home.path() + "/";
    positions_file::save(dir, {"a"});
    positions_file::save(dir, {"b"});
    const auto skipped = positions_file::save(dir, {});
    EXPECT_TRUE(skipped.skipped);
    EXPECT_FALSE(skipped.saved);
    EXPECT_EQ(readFile(positions_file::fileName(dir)), "b\r\n");
    EXPECT_EQ(readFile(positions_file::backupName(dir)), "a\r\n");

    ASSERT_TRUE(positions_file::save(dir, {}, true).saved);
    EXPECT_FALSE(readFile(positions_file::fileName(dir)).isNull());
    EXPECT_EQ(readFile(positions_file::fileName(dir)), "");
    EXPECT_EQ(readFile(positions_file::backupName(dir)), "b\r\n");
    EXPECT_EQ(readFile(positions_file::olderBackupName(dir)), "a\r\n");
}

TEST(PositionsFileSave, SeveralHundredLinesWrittenCompletely)
{
    TempHome home;
    const QString dir = home.path() + "/";
    QStringList lines;
    for (int i = 0; i < 700; ++i)
        lines << QStringLiteral("AEX; Call; mrt; 2013; %1; 1,00; 1,00; 1; 0,00; 0").arg(i);
    ASSERT_TRUE(positions_file::save(dir, lines).saved);
    EXPECT_EQ(positions_file::load(dir).lines, lines);
}

TEST(PositionsFileSave, ReadOnlyFolderLosesNothingAndSaysWhy)
{
    TempHome home;
    const QString dir = home.path() + "/";
    positions_file::save(dir, {"a"});
    positions_file::save(dir, {"b"});
    // A read-only folder stops only users other than root, so the save runs as one.
    const bool saved = runAsUnprivilegedUser(home.path(), [&] {
        ::chmod(QFile::encodeName(home.path()).constData(), 0555);
        const auto result = positions_file::save(dir, {"c"});
        return !result.saved && !result.error.isEmpty() ? 0 : 1;
    });
    EXPECT_TRUE(saved) << "the save must fail and give a reason";
    EXPECT_EQ(readFile(positions_file::fileName(dir)), "b\r\n");
    EXPECT_EQ(readFile(positions_file::backupName(dir)), "a\r\n");
    EXPECT_TRUE(readFile(positions_file::olderBackupName(dir)).isNull());
}

TEST(PositionsFileSave, MissingFolderFailsWithoutTouchingAnything)
{
    TempHome home;
    const auto result = positions_file::save(home.path() + "/not-there/", {"a"});
    EXPECT_FALSE(result.saved);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_TRUE(QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty())
        << "neither the folder nor any file was made";
}

TEST(PositionsFileSave, AFileThatIsALinkIsReplacedWhereItLiesAndStaysLinked)
{
    TempHome home;
    const QString dir = home.path() + "/";
    QDir().mkpath(home.path() + "/elsewhere");
    const QString kept = home.path() + "/elsewhere/posities.dat";
    ASSERT_TRUE(writeFile(kept, "old\r\n"));
    ASSERT_TRUE(QFile::link(kept, positions_file::fileName(dir)));

    ASSERT_TRUE(positions_file::save(dir, {"new"}).saved);
    EXPECT_EQ(QFileInfo(positions_file::fileName(dir)).symLinkTarget(), kept);
    EXPECT_EQ(readFile(kept), "new\r\n");
    EXPECT_EQ(readFile(positions_file::backupName(dir)), "old\r\n");
    EXPECT_EQ(QDir(home.path() + "/elsewhere").entryList(QDir::Files), QStringList{"posities.dat"})
        << "no temporary file left";

    // A link that leads nowhere is replaced by the file, as before.
    ASSERT_TRUE(QFile::remove(kept));
    ASSERT_TRUE(positions_file::save(dir, {"newer"}).saved);
    EXPECT_FALSE(QFileInfo(positions_file::fileName(dir)).isSymLink());
    EXPECT_EQ(readFile(positions_file::fileName(dir)), "newer\r\n");
}

TEST(PositionsFileSave, PositionsAndTheirBackupsAreTheUsersAlone)
{
    constexpr QFile::Permissions kModeBits = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
        | QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
        | QFile::WriteOther | QFile::ExeOther;
    constexpr QFile::Permissions kPrivate = QFile::ReadOwner | QFile::WriteOwner;
    constexpr QFile::Permissions kShared = kPrivate | QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther;
    struct Case { const char *name; std::optional<QFile::Permissions> before; QFile::Permissions after; };
    const Case cases[] = {
        {"a new file, whatever the umask", std::nullopt, kPrivate},
        {"a private file stays private", kPrivate, kPrivate},
        {"a shared file is tightened", kShared, kPrivate},
        {"a file only the user may read stays so", QFile::ReadOwner, QFile::ReadOwner},
    };
    const mode_t umaskWas = ::umask(0);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempHome home;
        const QString dir = home.path() + "/";
        if (c.before) {
            ASSERT_TRUE(writeFile(positions_file::fileName(dir), "old\r\n", *c.before));
            ASSERT_TRUE(writeFile(positions_file::backupName(dir), "older\r\n", kShared));
        }
        ASSERT_TRUE(positions_file::save(dir, {"a"}).saved);
        EXPECT_EQ(QFile::permissions(positions_file::fileName(dir)) & kModeBits, c.after);
        for (const QString &backup : {positions_file::backupName(dir), positions_file::olderBackupName(dir)}) {
            if (QFile::exists(backup)) {
                EXPECT_EQ(QFile::permissions(backup) & (kModeBits & ~kPrivate & ~QFile::ExeOwner), 0)
                    << backup.toStdString();
            }
        }
    }
    ::umask(umaskWas);
}
