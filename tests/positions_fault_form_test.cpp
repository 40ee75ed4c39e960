#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <cerrno>
#include <cstring>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <optional>

#include "app/main_form.h"
#include "book/positions_book.h"
#include "app/yes_no_form.h"
#include "positions/positions_file.h"
#include "support/dialog_answers.h"
#include "support/main_window_fixture.h"
#include "support/scoped_env.h"
#include "support/scripted_ping.h"
#include "support/wait_until.h"
#include "support/write_limit.h"

// What the user sees when the positions cannot be saved, and what the next start then finds.

namespace {
const QByteArray kPositions = "AEX; Put; mrt; 2013; 380; 12,34; 12,34; 1; 1234,00; 0\r\n";
}

TEST(PositionsFaultWindow, FullDiskAtCloseSaysSoAndKeepsTheFile)
{
    MainWindowFixture fixture(kPositions);
    TMainForm *form = fixture.form();
    form->book().setLine(0, "AEX; Put; mrt; 2013; 380; 12,34; 12,34; 2; 2468,00; 0");
    {
        WriteLimit disk(10);
        form->close();
    }
    EXPECT_EQ(form->Label1->text(),
              "Posities niet opgeslagen: " + QString::fromLocal8Bit(std::strerror(ENOSPC)));
    EXPECT_EQ(fixture.fileBytes("Regels.dat"), kPositions);
    EXPECT_TRUE(fixture.fileBytes("Regels!.dat").isNull()) << "no backup rotated for a failed save";

    // The list is still in the window, so the next close saves it.
    form->close();
    EXPECT_EQ(fixture.fileBytes("Regels.dat"),
              "AEX; Put; mrt; 2013; 380; 12,34; 12,34; 2; 2468,00; 0\r\n");
    EXPECT_EQ(fixture.fileBytes("Regels!.dat"), kPositions);
}

namespace {

// Keeps what the program writes to its log while it lives.
class LogCatcher
{
public:
    LogCatcher() { m_previous = qInstallMessageHandler(&LogCatcher::take); }
    ~LogCatcher() { qInstallMessageHandler(m_previous); }
    static inline QStringList messages;

private:
    static void take(QtMsgType, const QMessageLogContext &, const QString &message) { messages << message; }
    QtMessageHandler m_previous;
};

// The window on a home of its own, shown, with the confirmation dialog.
struct SavingWindow {
    explicit SavingWindow(const QByteArray &file = kPositions) : fixture(file), form(fixture.form())
    {
        form->show();
    }
    QByteArray unsaved() const { return fixture.home().readFile(".local/state/Pelgrandix/Regels.dat.unsaved"); }

    MainWindowFixture fixture;
    TMainForm *form;
    TYesNoDlg dialog;
};

const QString kChanged = "AEX; Put; mrt; 2013; 380; 12,34; 12,34; 2; 2468,00; 0";

// A file with one position, then more than the reader takes, then one more position.
QByteArray oversizedFile()
{
    QByteArray bytes = kPositions;
    const QByteArray comment = ";" + QByteArray(1000, 'x') + "\r\n";
    while (bytes.size() <= positions_file::kMaxFileBytes)
        bytes += comment;
    return bytes + "AEX; Call; apr; 2013; 400; 2,50; 2,80; 3; -90,00; 0\r\n";
}

} // namespace

TEST(PositionsFaultWindow, FailedSaveAtCloseAsksWhetherToCloseAnyway)
{
    for (const bool closeAnyway : {false, true}) {
        SavingWindow w;
        w.form->book().setLine(0, kChanged);
        DialogAnswers answers({closeAnyway});
        {
            WriteLimit disk(10);
            w.form->close();
        }
        EXPECT_EQ(answers.questions,
                  QStringList{"Pelgrandix - Afsluiten: Posities niet opgeslagen: "
                              + QString::fromLocal8Bit(std::strerror(ENOSPC)) + ". Toch afsluiten?"});
        EXPECT_EQ(w.form->isVisible(), !closeAnyway);
        EXPECT_EQ(w.fixture.fileBytes("Regels.dat"), kPositions);
        EXPECT_TRUE(w.unsaved().isNull()) << "the user was asked";
    }
}

TEST(PositionsFaultWindow, SessionEndKeepsAnUnsavableListInTheStateFolderAndLogsWhere)
{
    struct Case { const char *stateHome; bool absolute; const char *folder; bool readWhole; };
    const Case cases[] = {
        {nullptr, false, ".local/state/Pelgrandix/", true},
        {"state", true, "state/Pelgrandix/", true},
        {"state", false, ".local/state/Pelgrandix/", true},  // a relative path is ignored
        // Not read whole: not saved over without the user's yes, who is not there to give it.
        {nullptr, false, ".local/state/Pelgrandix/", false},
    };
    for (const Case &c : cases) {
        SavingWindow w(c.readWhole ? kPositions : oversizedFile());
        const QByteArray fileBefore = w.fixture.fileBytes("Regels.dat");
        std::optional<ScopedEnv> stateHome;
        if (c.stateHome)
            stateHome.emplace("XDG_STATE_HOME", c.absolute ? w.fixture.home().path().toUtf8() + "/" + c.stateHome
                                                           : QByteArray(c.stateHome));
        w.form->book().setLine(0, kChanged);
        DialogAnswers answers({true});
        LogCatcher log;
        {
            WriteLimit disk(c.readWhole ? 10 : -1);
            w.form->EndSession();
        }
        EXPECT_TRUE(answers.questions.isEmpty()) << answers.questions.join('\n').toStdString();
        EXPECT_FALSE(w.form->isVisible());
        EXPECT_EQ(w.fixture.fileBytes("Regels.dat"), fileBefore) << c.folder;
        EXPECT_EQ(w.fixture.home().readFile(QString(c.folder) + "Regels.dat.unsaved"),
                  positions_file::encode(w.form->PositionLines()))
            << c.folder;
        const QString path = w.fixture.home().path() + "/" + c.folder + "Regels.dat.unsaved";
        EXPECT_TRUE(LogCatcher::messages.join('\n').contains(path))
            << LogCatcher::messages.join('\n').toStdString();
        LogCatcher::messages.clear();
    }
}

TEST(PositionsFaultWindow, AListKeptAtASessionEndIsPointedOutUntilThePositionsAreSavedAgain)
{
    const QString kept = ".local/state/Pelgrandix/Regels.dat.unsaved";
    const QDateTime now = QDateTime::currentDateTime();
    struct Case { const char *situation; bool kept; int positionsSavedSecondsAgo; bool pointedOut; };
    for (const Case &c : {Case{"kept after the last save", true, 60, true},
                          Case{"saved since", true, -60, false},
                          Case{"nothing kept", false, 60, false}}) {
        SCOPED_TRACE(c.situation);
        MainWindowFixture fixture(kPositions, [&](const TempHome &home) {
            if (c.kept)
                home.writeFile(kept, kChanged.toLatin1() + "\r\n");
            QFile positions(home.dataDir() + "Regels.dat");
            ASSERT_TRUE(positions.open(QIODevice::ReadWrite));
            ASSERT_TRUE(positions.setFileTime(now.addSecs(-c.positionsSavedSecondsAgo), QFileDevice::FileModificationTime));
        });
        const QString notice = "Niet opgeslagen posities van een eerdere sessie staan in " + fixture.home().path() + "/" + kept;
        EXPECT_EQ(fixture.form()->Label1->text(), c.pointedOut ? notice + "\n" : QString());
        EXPECT_EQ(fixture.entries(), QStringList{QString::fromLatin1(kPositions).trimmed()}) << "the list is the file's";
    }
}

TEST(PositionsFaultWindow, SessionEndWhileTheCloseQuestionWaitsFinishesTheClose)
{
    SavingWindow w;
    w.form->book().setLine(0, kChanged);
    QTimer::singleShot(0, w.form, [&] {
        waitUntil([] { return YesNoDlg->isVisible(); });
        w.form->EndSession();
    });
    {
        WriteLimit disk(10);
        w.form->close();
    }
    EXPECT_FALSE(w.form->isVisible());
    EXPECT_FALSE(w.dialog.isVisible());
    EXPECT_EQ(w.unsaved(), kChanged.toLatin1() + "\r\n");
}

TEST(PositionsFaultWindow, FileNotReadWholeIsSavedOverOnlyAfterYes)
{
    const QByteArray file = oversizedFile();
    const QString warning = "Regels.dat kon niet volledig worden gelezen: het bestand is groter dan 16 MiB";
    for (const bool save : {false, true}) {
        SavingWindow w(file);
        ASSERT_EQ(w.fixture.entries(), QStringList{QString::fromLatin1(kPositions).trimmed()});
        EXPECT_EQ(w.form->Label1->text(), warning + "\n");
        // A download's status does not replace the warning.
        ScriptedPing ping(ScriptedPing::TimeOut);
        w.form->DownloadButtonClick();
        EXPECT_EQ(w.form->Label1->text(), warning + "\nGeen internetverbinding.");

        w.form->book().setLine(0, kChanged);
        DialogAnswers answers({save});
        w.form->WriteRegels();
        EXPECT_EQ(answers.questions,
                  QStringList{"Pelgrandix - Opslaan: Regels.dat is niet volledig gelezen. Toch opslaan?"});
        if (save) {
            EXPECT_EQ(w.fixture.fileBytes("Regels.dat"), kChanged.toLatin1() + "\r\n");
            EXPECT_EQ(w.fixture.fileBytes("Regels!.dat"), file);
            EXPECT_EQ(w.form->Label1->text(), "Geen internetverbinding.");
            continue;
        }
        EXPECT_EQ(w.fixture.fileBytes("Regels.dat"), file);
        EXPECT_TRUE(w.fixture.fileBytes("Regels!.dat").isNull());
        EXPECT_EQ(w.form->Label1->text(), warning + "\nGeen internetverbinding.");
        // Asked again at the close, which goes on without saving on "Nee".
        w.form->close();
        EXPECT_EQ(answers.questions.size(), 2);
        EXPECT_FALSE(w.form->isVisible());
        EXPECT_EQ(w.fixture.fileBytes("Regels.dat"), file);
    }
}
