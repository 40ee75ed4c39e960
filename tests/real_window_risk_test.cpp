#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QDate>
#include <QFileInfo>
#include <QImage>

#include <csignal>

#include "support/offline_program.h"
#include "support/running_market_site.h"
#include "support/temp_home.h"
#include "support/wait_until.h"
#include "support/x_windows.h"

// The real program in a real X window against the demo quote site (CTest runs this under
// xvfb-run, with no window manager): the overview opened with its button after the first
// download, its tabs "Scenario's" and "Uitbetaling" opened with the mouse, the scenario
// grid's losses red on the screen, and the payoff chart saved through its button and the file
// dialog.

namespace {

// How many pixels of the window, as the screen shows it, are plainly red; -1 without a picture.
int redPixels(const QString &window, const QString &path)
{
    if (!TakePicture(window, path))
        return -1;
    const QImage shot(path);
    int red = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            red += c.red() > 180 && c.green() < 80 && c.blue() < 80;
        }
    }
    return red;
}

// The overview's place and size, so that its button lies where the test clicks; the middle of
// the tabs "Scenario's" and "Uitbetaling" in its tab bar. The tabs are clicked rather than
// reached with ctrl+Tab: a click on a tab can be repeated, where a repeated key would go too far.
constexpr int kOverviewWidth = 1800;  // wider than every column, so that it stays this wide
constexpr int kOverviewHeight = 600;
constexpr int kTabBarY = 19;
constexpr int kScenarioTabX = 187;
constexpr int kPayoffTabX = 275;

} // namespace

TEST(RealWindowRisk, ScenarioAndPayoffTabsOpenWithTheMouseAndThePayoffChartIsSaved)
{
    ASSERT_TRUE(qEnvironmentVariableIsSet("DISPLAY")) << "run under xvfb-run -a";
    RunningMarketSite site;
    ASSERT_GT(site.port, 0);
    TempHome home;
    // A written put at the money, sold dearer than the demo site prices it: a gain now, a loss
    // when the AEX falls 10 %.
    const QByteArray year = QByteArray::number(QDate::currentDate().year() + 1);
    home.writeDataFile("Regels.dat", "AEX; Put; jun; " + year + "; 900; 80,00; 0,00; 2; 0,00; 1\r\n");
    const auto dword = [](int value) { return "dword:" + QByteArray::number(value, 16).rightJustified(8, '0'); };
    // The overview at the top left in the size above.
    home.writeFile(TempHome::kSettingsFile,
                   QuietSettings("\"Overzicht Top\"=dword:00000000\r\n\"Overzicht Left\"=dword:00000000\r\n"
                                 "\"Overzicht Width\"=" + dword(kOverviewWidth) + "\r\n"
                                 "\"Overzicht Height\"=" + dword(kOverviewHeight) + "\r\n"));

    OfflineProgram program(home.path());
    const QString mainWindow = StartOnDisplay(program, site.host());
    ASSERT_FALSE(mainWindow.isEmpty()) << "the main window did not appear";

    // The first download runs at the first paint and ends with a row in the history; only then
    // is "Overzicht" (left of the help button in the top bar) usable.
    ASSERT_TRUE(waitUntil([&] { return QFileInfo::exists(home.dataDir() + "Historie.csv"); }))
        << "the first download did not end";
    const QString overview = OpenOverview(mainWindow);
    ASSERT_FALSE(overview.isEmpty()) << "the overview did not open";

    // "Scenario's": its grid shows the loss at -10 % in red, where "Posities" shows none.
    const int redOnPositions = redPixels(overview, home.path() + "/posities.png");
    ASSERT_GE(redOnPositions, 0) << "no picture of the overview";
    int redOnScenarios = 0;
    EXPECT_TRUE(waitUntil([&] {
        Click(overview, kScenarioTabX, kTabBarY);
        return (redOnScenarios = redPixels(overview, home.path() + "/scenarios.png")) > redOnPositions + 100;
    })) << redOnPositions << " red pixels on \"Posities\", " << redOnScenarios << " on \"Scenario's\"";

    // "Uitbetaling": "Opslaan als PNG..." at the bottom right, and the file dialog's proposal
    // taken with Enter.
    const QString saved = home.path() + "/Pelgrandix uitbetaling.png";
    const QPoint payoffTab(kPayoffTabX, kTabBarY), saveButton(kOverviewWidth - 70, kOverviewHeight - 28);
    const QString dialog = ClickUntilWindow(overview, {payoffTab, saveButton}, QStringLiteral("^Uitbetaling opslaan$"));
    ASSERT_FALSE(dialog.isEmpty()) << "the payoff tab's button opened no file dialog";
    PressKeys(dialog, QStringLiteral("Return"));
    // Read once it is whole.
    QImage picture;
    ASSERT_TRUE(waitUntil([&] { return !(picture = QImage(saved)).isNull(); }))
        << "no picture at " << saved.toStdString();
    EXPECT_GT(picture.width(), kOverviewWidth / 2);
    EXPECT_GT(picture.height(), kOverviewHeight / 2);

    EXPECT_TRUE(program.endWith(SIGTERM));
}
