#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QDate>
#include <QThread>

#include <csignal>

#include "portfolio/journal_file.h"
#include "positions/position_view.h"
#include "positions/positions_file.h"
#include "support/month_names.h"
#include "support/offline_program.h"
#include "support/running_market_site.h"
#include "support/temp_home.h"
#include "support/wait_until.h"
#include "support/x_windows.h"

// Buying back and rolling as a user does it, with real clicks and keys in the real program
// against the demo site: part of one written put bought back from the main window, another put
// rolled from the overview's menu; then the journal, the positions file and the tab "Resultaat"
// tell the same story.

TEST(RealWindowBuyBack, PartOfAPositionBoughtBackAndAnotherRolledAgreeInEveryFile)
{
    ASSERT_TRUE(qEnvironmentVariableIsSet("DISPLAY")) << "run under xvfb-run -a";
    RunningMarketSite site;
    ASSERT_GT(site.port, 0);
    TempHome home;
    home.writeFile(TempHome::kSettingsFile, QuietSettings("\"Commissie per contract\"=\"1,50\"\r\n"));
    // Two written puts of monthly series some months away, near the demo index of about 900.
    const QDate first = QDate::currentDate().addMonths(3);
    const QDate second = QDate::currentDate().addMonths(2);
    const QString keep = WrittenPositionLine("AEX", "Put", PositionMonthName(first.month()), first.year(), "880", "30,00", 3);
    const QString roll = WrittenPositionLine("AEX", "Put", PositionMonthName(second.month()), second.year(), "900", "40,00", 2);
    home.writeDataFile("Regels.dat", positions_file::encode({keep, roll}));

    OfflineProgram program(home.path());
    const QString mainWindow = StartOnDisplay(program, site.host());
    ASSERT_FALSE(mainWindow.isEmpty()) << "the main window did not appear";

    // "Overzicht" is usable once the first download is in; so is everything below.
    const QString overview = OpenOverview(mainWindow);
    ASSERT_FALSE(overview.isEmpty()) << "the overview did not open";

    // The first position (selected at start) from the main window: one of its three contracts.
    Click(mainWindow, 260, 26);  // "Terugkopen...", beside "Verwijder"
    const QString buyBack = WaitForWindow(QStringLiteral("^Pelgrandix - Terugkopen$"));
    ASSERT_FALSE(buyBack.isEmpty()) << "the buy-back dialog did not open";
    PressKeys(buyBack, QStringLiteral("Tab ctrl+a 1 Return"));  // the price as it stands, 1 contract
    ASSERT_TRUE(waitUntil([&] { return VisibleWindows(QStringLiteral("^Pelgrandix - Terugkopen$")).isEmpty(); }));

    // The second, rolled from the overview's menu on its row (found by its expiry date).
    const std::optional<SeenWord> row = FindWord(overview, [&](const QString &word) {
        return word.endsWith(QStringLiteral("-%1-%2").arg(second.month(), 2, 10, QLatin1Char('0')).arg(second.year()));
    });
    ASSERT_TRUE(row) << "the rolled position's row was not read";
    ClickWord(overview, *row, 3);
    QThread::msleep(500);  // for the menu to show
    PressKeys(QString(), QStringLiteral("Down Down Return"));  // "Doorrollen..." in the open menu
    const QString rollDialog = WaitForWindow(QStringLiteral("^Pelgrandix - Doorrollen$"));
    ASSERT_FALSE(rollDialog.isEmpty()) << "the roll dialog did not open";
    // Into the list of series, the first one chosen, and OK.
    PressKeys(rollDialog, QStringLiteral("Tab Tab Tab Down Return"));
    ASSERT_TRUE(waitUntil([&] { return VisibleWindows(QStringLiteral("^Pelgrandix - Doorrollen$")).isEmpty(); }));

    // The files: two journal rows, the first position with two contracts left, the second gone
    // and a later put written in its place.
    const QString dataDir = home.dataDir();
    const journal_file::ReadResult journal = journal_file::read(dataDir);
    ASSERT_EQ(journal.rows.size(), 2);
    EXPECT_EQ(journal.rows[0].amount, 1);
    EXPECT_EQ(journal.rows[1].amount, 2);
    EXPECT_DOUBLE_EQ(journal.rows[0].commission, 1.5);
    const QStringList lines = positions_file::load(dataDir).lines;
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].section("; ", 0, 5), keep.section("; ", 0, 5));
    EXPECT_EQ(lines[0].section("; ", 7, 7), "2") << "two of its three contracts left";
    EXPECT_TRUE(lines[1].endsWith("; 2; 0,00; 1")) << "a written position of two contracts: " << lines[1].toStdString();
    EXPECT_NE(lines[1], roll);

    // The tab "Resultaat" adds the same up.
    const double total = journal.rows[0].result + journal.rows[1].result;
    const QString expected = QLocale().toString(total, 'f', 2).remove(QLatin1Char('.'));
    const std::optional<SeenWord> tab = FindWord(overview, [](const QString &word) { return word == "Resultaat"; });
    ASSERT_TRUE(tab) << "no tab \"Resultaat\"";
    ClickWord(overview, *tab);
    QString text;
    waitUntil([&] { return (text = TextInWindow(overview)).contains("Gerealiseerd"); });
    ASSERT_TRUE(text.contains("Gerealiseerd")) << text.toStdString();
    EXPECT_TRUE(text.remove(QLatin1Char('.')).contains(expected)) << expected.toStdString() << " in " << text.toStdString();

    EXPECT_TRUE(program.endWith(SIGTERM));
}
