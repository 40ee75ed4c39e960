#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QDate>

#include <csignal>

#include "support/offline_program.h"
#include "support/running_market_site.h"
#include "support/temp_home.h"
#include "support/wait_until.h"
#include "support/x_windows.h"

// What a user reads in the real windows: the overview's columns whole at the window's first
// size, and Qt's own dialogs in Dutch. Read from pictures of the windows, as a person reads them.

namespace {


bool seen(const QString &text, const char *word)
{
    return text.contains(QLatin1String(word));
}

} // namespace

TEST(RealWindowTexts, OverviewShowsEveryColumnWholeAndQtsDialogsSpeakDutch)
{
    ASSERT_TRUE(qEnvironmentVariableIsSet("DISPLAY")) << "run under xvfb-run -a";
    RunningMarketSite site;
    ASSERT_GT(site.port, 0);
    TempHome home;
    home.writeFile(TempHome::kSettingsFile, QuietSettings());
    // A call written far above the market: its advice is "Terugkopen", the widest advice.
    const QByteArray year = QByteArray::number(QDate::currentDate().year() + 1);
    home.writeDataFile("Regels.dat", "AEX; Call; jun; " + year + "; 1200; 60,00; 60,00; 1; 0,00; 1\r\n");

    OfflineProgram program(home.path());
    const QString mainWindow = StartOnDisplay(program, site.host());
    ASSERT_FALSE(mainWindow.isEmpty()) << "the main window did not appear";

    // "Overzicht", left of the help button, is usable once the first download is in.
    const QString overview = OpenOverview(mainWindow);
    ASSERT_FALSE(overview.isEmpty()) << "the overview did not open";
    QString table;
    waitUntil([&] { return seen(table = TextInWindow(overview), "Terugkopen"); });
    for (const char *whole : {"Terugkopen", "Premie", "Dagen", "Positie-", "Theta/dag", "Margin"})
        EXPECT_TRUE(seen(table, whole)) << whole << " is cut off or out of sight in: " << table.toStdString();

    // The chart of the position, which the first download put in the history, and its file dialog.
    const std::optional<SeenWord> tab = FindWord(overview, [](const QString &word) { return word == "Grafiek"; });
    ASSERT_TRUE(tab) << "no tab \"Grafiek\"";
    ClickWord(overview, *tab);
    const std::optional<SeenWord> button = FindWord(overview, [](const QString &word) { return word.startsWith("PNG"); });
    ASSERT_TRUE(button) << "no \"Opslaan als PNG...\" on the chart tab";
    ClickWord(overview, *button);
    const QString dialog = WaitForWindow(QStringLiteral("^Grafiek opslaan$"));
    ASSERT_FALSE(dialog.isEmpty()) << "the file dialog did not open";
    QString dialogText;
    waitUntil([&] { return seen(dialogText = TextInWindow(dialog), "Annuleren"); });
    for (const char *dutch : {"Annuleren", "Zoeken in", "Bestandsnaam"})
        EXPECT_TRUE(seen(dialogText, dutch)) << dialogText.toStdString();
    for (const char *english : {"Cancel", "Look in", "File name"})
        EXPECT_FALSE(seen(dialogText, english)) << dialogText.toStdString();
    PressKeys(dialog, QStringLiteral("Escape"));

    EXPECT_TRUE(program.endWith(SIGTERM));
}
