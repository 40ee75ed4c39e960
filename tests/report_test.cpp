#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <unistd.h>

#include "portfolio/journal_file.h"
#include "support/files.h"
#include "support/loopback_listener.h"
#include "support/offline_program.h"
#include "support/quote_site.h"
#include "support/running_market_site.h"
#include "support/temp_home.h"
#include "support/wait_until.h"

// pelgrandix --report run as a process, as a cron job runs it: no display, no platform named.

namespace {

struct ReportRun {
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    QByteArray out, err;
};

// The real program without a display, its ping answering or not, and the sites at host (or
// where nothing answers, for an empty host).
void prepare(OfflineProgram &program, const QByteArray &host, ScriptedPing::Answer ping)
{
    QProcessEnvironment &env = program.environment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    env.insert("LANG", "nl_NL.UTF-8");
    if (!host.isEmpty())
        program.pointSitesAt(host);
    program.ping().answer(ping);
}

ReportRun runReport(const TempHome &home, const QStringList &arguments, const QByteArray &host,
                    ScriptedPing::Answer ping = ScriptedPing::Reply, const char *platform = nullptr)
{
    OfflineProgram program(home.path());
    prepare(program, host, ping);
    if (platform)
        program.environment().insert("QT_QPA_PLATFORM", platform);
    ReportRun run;
    if (!program.start(arguments) || !program.process().waitForFinished(kPatienceMs))
        return run;
    run.exitCode = program.process().exitCode();
    run.exitStatus = program.process().exitStatus();
    run.out = program.process().readAllStandardOutput();
    run.err = program.process().readAllStandardError();
    return run;
}

QJsonObject parsed(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << json.toStdString();
    return document.object();
}

// The cells of the first table row that starts with the series, split at the blanks.
QList<QByteArray> tableRow(const QByteArray &table, const QByteArray &series)
{
    for (const QByteArray &line : table.split('\n')) {
        if (line.startsWith(series + ' '))
            return line.simplified().split(' ');
    }
    return {};
}

QByteArray nextYear()
{
    return QByteArray::number(QDate::currentDate().year() + 1);
}

// Two held positions the demo site quotes, one held position it does not (a weekly series a
// year away: the site quotes weekly series for the next few weeks only), one not held, and a
// line that is no position.
QByteArray demoPositions()
{
    const QByteArray year = nextYear();
    return "AEX; Put; jun; " + year + "; 900; 25,00; 25,00; 2; 0,00; 1\r\n"
           "AEX; Call; jun; " + year + "; 1000; 5,00; 5,00; 1; 0,00; 1\r\n"
           "AX1; Call; dec; " + year + "; 950; 1,00; 1,00; 3; 0,00; 1\r\n"
           "AEX; Call; jun; " + year + "; 950; 1,00; 1,00; 4; 0,00; 0\r\n"
           "geen positie\r\n";
}

// The demo site prices at 18 % with a rate of 2 % and no dividend: with those settings the
// implied volatilities come back to 18 %.
const QByteArray kDemoSettings =
    "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Pelgrandix\\Defaults]\r\n"
    "\"Rente\"=\"2,00\"\r\n\"Dividendrendement\"=\"0,00\"\r\n";

class Report : public ::testing::Test
{
protected:
    Report()
    {
        home.writeDataFile("Regels.dat", demoPositions());
        home.writeFile(TempHome::kSettingsFile, kDemoSettings);
    }

    QByteArray file(const char *name) const { return home.readDataFile(QString::fromLatin1(name)); }

    RunningMarketSite site;
    TempHome home;
};

} // namespace

TEST_F(Report, JsonHoldsEveryReadablePositionWithItsFiguresAndChangesNoFile)
{
    ASSERT_GT(site.port, 0);
    // Two buy-backs of this year and one of last year in the journal.
    QByteArray journal = journal_file::header();
    for (const auto &[yearsBack, result] : {std::pair{0, 150.0}, {0, -40.5}, {1, 900.0}}) {
        journal_file::Row row;
        row.time = QDateTime::currentDateTime().addYears(-yearsBack);
        row.result = result;
        row.positionsAfter = QByteArray(64, 'a');
        journal += journal_file::encodeRow(row);
    }
    home.writeDataFile("Afgesloten.csv", journal);
    const ReportRun run = runReport(home, {"--report", "--json"}, site.host());
    ASSERT_EQ(run.exitStatus, QProcess::NormalExit) << run.err.toStdString();
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject report = parsed(run.out);
    EXPECT_EQ(report["status"].toString(), "Download klaar");
    const QString thisYear = QString::number(QDate::currentDate().year());
    EXPECT_EQ(report["realised_this_year"].toDouble(), 109.5);
    EXPECT_EQ(report["realised"].toObject()[thisYear].toDouble(), 109.5);
    EXPECT_EQ(report["realised"].toObject()[QString::number(QDate::currentDate().year() - 1)].toDouble(), 900.0);

    const QJsonArray positions = report["positions"].toArray();
    ASSERT_EQ(positions.size(), 4);
    const QJsonObject put = positions[0].toObject();
    EXPECT_EQ(put["series"].toString(), "AEX");
    EXPECT_EQ(put["kind"].toString(), "Put");
    EXPECT_EQ(put["month"].toString(), "jun");
    EXPECT_EQ(put["year"].toInt(), nextYear().toInt());
    EXPECT_EQ(put["strike"].toDouble(), 900.0);
    EXPECT_EQ(put["amount"].toInt(), 2);
    EXPECT_EQ(put["transaction_price"].toDouble(), 25.0);
    EXPECT_EQ(put["premium"].toDouble(), 2 * 100 * 25.0);
    EXPECT_EQ(put["days_to_expiry"].toInt(),
              QDate::currentDate().daysTo(QDate::fromString(put["expiry"].toString(), Qt::ISODate)));
    EXPECT_TRUE(put["held"].isBool() && put["held"].toBool());
    const double last = put["last_price"].toDouble();
    EXPECT_GT(last, 0) << "the download brought the price";
    EXPECT_NEAR(put["difference"].toDouble(), 2 * (25.0 - last) * 100, 0.005);
    EXPECT_EQ(put["advice"].toString(), last > 25.15 ? "Bijschrijven" : last < 24.85 ? "Terugkopen" : "Geen actie");
    EXPECT_NEAR(put["implied_volatility"].toDouble(), 0.18, 0.01) << "a fraction, from the stored rate and yield";
    const double delta = put["delta"].toDouble();
    EXPECT_LT(delta, 0);
    EXPECT_GT(delta, -1);
    EXPECT_NEAR(put["position_delta"].toDouble(), -2 * 100 * delta, 1e-9);

    const QJsonObject unquoted = positions[2].toObject();
    EXPECT_EQ(unquoted["last_price"].toDouble(), 0.0);
    for (const char *unknown : {"implied_volatility", "delta", "position_delta"})
        EXPECT_TRUE(unquoted[unknown].isNull()) << unknown << " is \"---\" in the window";
    const QJsonObject notHeld = positions[3].toObject();
    EXPECT_FALSE(notHeld["held"].toBool());
    EXPECT_EQ(notHeld["position_delta"].toDouble(), 0.0);
    EXPECT_GT(notHeld["last_price"].toDouble(), 1.15);
    EXPECT_EQ(notHeld["advice"].toString(), "Schrijven") << "not written, and dearer than the user's price";

    const QJsonObject totals = report["totals"].toObject();
    double held = 0, all = 0;
    for (const QJsonValue &position : positions) {
        all += position["difference"].toDouble();
        if (position["held"].toBool())
            held += position["difference"].toDouble();
    }
    EXPECT_NEAR(totals["difference_held"].toDouble(), held, 1e-6);
    EXPECT_NEAR(totals["difference_all"].toDouble(), all, 1e-6);
    EXPECT_NEAR(totals["position_delta_held"].toDouble(),
                positions[0]["position_delta"].toDouble() + positions[1]["position_delta"].toDouble(), 1e-6);
    EXPECT_EQ(totals["held_without_delta"].toInt(), 1);
    EXPECT_GT(totals["index_level"].toDouble(), 0);

    // Theta, margin and cover: per position, null where unknown or not held, and their totals.
    const double index = totals["index_level"].toDouble();
    EXPECT_GT(put["position_theta_per_day"].toDouble(), 0) << "a writer earns the time value";
    EXPECT_NEAR(put["margin_estimate"].toDouble(), 2 * 100 * (last + 0.075 * (2 * 900 - index)), 1e-6) << "7,5 %";
    EXPECT_EQ(put["cash_cover"].toDouble(), 2 * 100 * 900.0);
    EXPECT_TRUE(positions[1]["cash_cover"].isNull() && unquoted["margin_estimate"].isNull()) << "a call; no price";
    EXPECT_TRUE(notHeld["margin_estimate"].isNull() && notHeld["cash_cover"].isNull());
    EXPECT_EQ(totals["cash_cover_puts_held"].toDouble(), 2 * 100 * 900.0);
    EXPECT_TRUE(totals["margin_estimate_held"].isDouble());
    const QJsonArray scenarios = report["scenarios"].toArray();
    ASSERT_EQ(scenarios.size(), 9);
    EXPECT_NEAR(scenarios[0]["index_level"].toDouble(), 0.9 * index, 1e-9);
    EXPECT_TRUE(scenarios[0]["difference_week"].isDouble() && report["break_even_levels"].isArray());
    EXPECT_EQ(totals["unreadable_lines"].toInt(), 1);

    EXPECT_EQ(file("Regels.dat"), demoPositions()) << "only --save writes the positions";
    EXPECT_FALSE(QFile::exists(home.dataDir() + "Regels!.dat"));
    EXPECT_FALSE(QFile::exists(home.dataDir() + "Historie.csv"));
    EXPECT_EQ(home.readFile(TempHome::kSettingsFile), kDemoSettings);
    for (const char *scratch : {"Temp.txt", "tmp.txt"})
        EXPECT_FALSE(QFile::exists(home.path() + '/' + scratch)) << scratch << " in the folder it ran from";
}

TEST_F(Report, SaveWritesThePrintedPricesAsTheWindowDoesAndAddsTheHistory)
{
    ASSERT_GT(site.port, 0);
    const ReportRun run = runReport(home, {"--report", "--csv", "--save"}, site.host());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(file("Regels!.dat"), demoPositions()) << "the file before the save is the backup";

    // The CSV as the history file writes it: a header, then one row per readable position.
    const QList<QByteArray> rows = run.out.split('\n');
    ASSERT_EQ(rows.size(), 6) << run.out.toStdString();
    EXPECT_TRUE(rows[0].startsWith("tijd;aex;serie;soort;maand;jaar;uitoefenkoers;"));
    const QList<QByteArray> put = rows[1].chopped(1).split(';');
    ASSERT_EQ(put.size(), 21) << rows[1].toStdString();
    EXPECT_EQ(put[2] + ";" + put[3] + ";" + put[6], "AEX;Put;900,00");
    EXPECT_TRUE(rows[1].endsWith("\r")) << "lines end in CR LF";

    const QByteArray saved = file("Regels.dat");
    EXPECT_TRUE(saved.startsWith("AEX; Put; jun; " + nextYear() + "; 900; 25,00; " + put[8] + "; 2; "))
        << "the saved line holds the printed price: " << saved.toStdString() << " / " << put[8].toStdString();
    EXPECT_TRUE(saved.contains("geen positie\r\n")) << "a line that is no position is kept";
    const QByteArray history = file("Historie.csv");
    EXPECT_EQ(history.count('\n'), 5) << "the header and the four positions";
}

TEST(ReportStatus, EachSituationHasItsExitStatusAndMessage)
{
    QuoteSite site;
    const QByteArray positions = "AEX; Call; apr; 2013; 380; 10,00; 1,00; 2; 0,00; 1\r\n";

    struct Case {
        const char *situation;
        ScriptedPing::Answer ping;
        bool emptyCalls;
        std::function<void(const TempHome &)> prepare;
        int status;
        const char *message;
        const char *lastPrice;  // as printed
    };
    const auto write = [&](const TempHome &home) { home.writeDataFile("Regels.dat", positions); };
    // Held as the open window holds it.
    std::optional<QLockFile> window;
    const Case cases[] = {
        {"download ran to its end", ScriptedPing::Reply, false, write, 0, "", "12,35"},
        {"no connection", ScriptedPing::TimeOut, false, write, 2, "pelgrandix: Geen internetverbinding.", "1,00"},
        {"a page failed", ScriptedPing::Reply, true, write, 2, "pelgrandix: Download mislukt: de callpagina is leeg.", "1,00"},
        {"no positions file: nothing to report", ScriptedPing::Reply, false, [](const TempHome &) {}, 0, "", nullptr},
        {"positions file not readable", ScriptedPing::Reply, false,
         [](const TempHome &home) { QDir().mkpath(home.dataDir() + "Regels.dat"); }, 3,
         "pelgrandix: Regels.dat kon niet volledig worden gelezen", nullptr},
        {"history file not writable: the report is printed all the same", ScriptedPing::Reply, false,
         [&](const TempHome &home) {
             write(home);
             QDir().mkpath(home.dataDir() + "Historie.csv");
         }, 3, "pelgrandix: Historie.csv niet bijgewerkt", "12,35"},
        {"the window is open: it would save over what the report saved", ScriptedPing::Reply, false,
         [&](const TempHome &home) {
             write(home);
             window.emplace(home.dataDir() + "Pelgrandix.lock");
             ASSERT_TRUE(window->tryLock(0));
         }, 3, "pelgrandix: Het venster is open; niets opgeslagen.", "12,35"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.situation);
        site.serve(QuoteSite::Calls, c.emptyCalls ? QByteArray("") : ReadFixture("calls_sample.html"));
        TempHome home;
        c.prepare(home);
        // With a platform that a window toolkit could not start on.
        const ReportRun run = runReport(home, {"--report", "--save"}, site.host(), c.ping, "none-such");
        EXPECT_EQ(run.exitStatus, QProcess::NormalExit);
        EXPECT_EQ(run.exitCode, c.status) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        if (c.lastPrice) {
            EXPECT_EQ(tableRow(run.out, "AEX").value(8), c.lastPrice) << run.out.toStdString();
        }
        if (c.lastPrice == QByteArray("12,35")) {
            EXPECT_TRUE(run.out.contains("AEX 912,34")) << "the index quote of the same run";
        }
        if (!c.lastPrice) {
            EXPECT_EQ(run.out.isEmpty(), c.status == 3) << "nothing is printed from a file not read";
        }
        if (window) {
            EXPECT_EQ(home.readDataFile("Regels.dat"), positions);
            EXPECT_TRUE(home.readDataFile("Historie.csv").isNull());
            window.reset();
        }
    }
}

TEST(ReportStatus, SaveOfAnUnchangedListLeavesTheBackupsAlone)
{
    QuoteSite site;
    site.serve(QuoteSite::Calls, ReadFixture("calls_sample.html"));
    TempHome home;
    const QByteArray before = "AEX; Call; apr; 2013; 380; 10,00; 1,00; 2; 0,00; 1\r\n";
    home.writeDataFile("Regels.dat", before);
    for (int run = 0; run < 2; ++run)
        ASSERT_EQ(runReport(home, {"--report", "--save"}, site.host()).exitCode, 0);
    EXPECT_NE(home.readDataFile("Regels.dat"), before) << "the first run saved the new price";
    EXPECT_EQ(home.readDataFile("Regels!.dat"), before) << "the second run pushed the backup out";
    EXPECT_FALSE(QFileInfo::exists(home.dataDir() + "Regels!!.dat"));
    EXPECT_EQ(home.readDataFile("Historie.csv").count('\n'), 3) << "the header and both downloads";
}

TEST(ReportStatus, AReportThatCannotBeWrittenIsAFailure)
{
    QuoteSite site;
    // A pipe whose reader has gone: the child gets the write end and the default reaction to a
    // broken pipe, whatever this test program does with it.
    int closedPipe[2];
    ASSERT_EQ(::pipe(closedPipe), 0);
    ::close(closedPipe[0]);
    struct Case { const char *reader; std::function<void()> outputInChild; };
    const Case cases[] = {
        {"a full disk", [] { ::dup2(::open("/dev/full", O_WRONLY), STDOUT_FILENO); }},
        {"a closed pipe", [&] { ::dup2(closedPipe[1], STDOUT_FILENO); }},
    };
    for (const Case &c : cases) {
        TempHome home;
        home.writeDataFile("Regels.dat", demoPositions());
        OfflineProgram program(home.path());
        prepare(program, site.host(), ScriptedPing::Reply);
        program.process().setChildProcessModifier([&c] {
            ::signal(SIGPIPE, SIG_DFL);
            c.outputInChild();
        });
        ASSERT_TRUE(program.start({"--report", "--csv"})) << c.reader;
        ASSERT_TRUE(program.process().waitForFinished(kPatienceMs)) << c.reader;
        EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit) << c.reader;
        EXPECT_EQ(program.process().exitCode(), 3) << c.reader;
        EXPECT_TRUE(program.process().readAllStandardError().contains("pelgrandix: Rapport niet geschreven: ")) << c.reader;
    }
    ::close(closedPipe[1]);
}

TEST(ReportStatus, ATerminationSignalDuringTheIndexQuoteSavesNothing)
{
    QuoteSite site;
    // The pages come at once; the index quote keeps the report waiting.
    site.answer(QuoteSite::Index, trickle());
    TempHome home;
    home.writeDataFile("Regels.dat", demoPositions());
    OfflineProgram program(home.path());
    prepare(program, site.host(), ScriptedPing::Reply);
    ASSERT_TRUE(program.start({"--report", "--save"}));
    ASSERT_TRUE(waitUntil([&] { return site.requests(QuoteSite::Index) > 0; }));
    EXPECT_TRUE(program.endWith(SIGTERM)) << "ended by itself, not by the signal";
    EXPECT_EQ(program.process().exitCode(), 2);
    EXPECT_TRUE(program.process().readAllStandardError().contains("pelgrandix: Download afgebroken."));
    EXPECT_EQ(home.readDataFile("Regels.dat"), demoPositions());
    EXPECT_FALSE(QFileInfo::exists(home.dataDir() + "Historie.csv"));
}

TEST(ReportCommandLine, ArgumentsHelpAndVersionNeedNoDisplay)
{
    struct Case {
        QStringList arguments;
        int status;
        const char *out;
        const char *err;
    };
    const Case cases[] = {
        {{"--help"}, 0, "pelgrandix --report [--csv | --json] [--save]", ""},
        {{"-h"}, 0, "Exit status of --report", ""},
        {{"--version"}, 0, "pelgrandix " , ""},
        {{"--report", "--csv", "--json"}, 64, "", "--csv and --json cannot be given together."},
        {{"--save"}, 64, "", "pelgrandix: --save needs --report."},
        {{"--report", "--bogus"}, 64, "", "pelgrandix: Unknown option 'bogus'.\nUsage: pelgrandix"},
        {{"Regels.dat"}, 64, "", "pelgrandix: Unexpected argument 'Regels.dat'."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        TempHome home;
        // A window toolkit would fail on this platform at once: none may be started here.
        const ReportRun run = runReport(home, c.arguments, "", ScriptedPing::Reply, "none-such");
        EXPECT_EQ(run.exitCode, c.status) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(c.out)) << run.out.toStdString();
        EXPECT_TRUE(run.err.contains(c.err)) << run.err.toStdString();
        EXPECT_FALSE(QDir(home.path() + "/UserData").exists()) << "nothing was started";
    }
}

TEST(ReportStatus, ATerminationSignalEndsAWaitingReportOrdinarily)
{
    LoopbackListener silent(LoopbackListener::Silent);
    TempHome home;
    home.writeDataFile("Regels.dat", demoPositions());
    OfflineProgram program(home.path());
    prepare(program, silent.host(), ScriptedPing::Reply);
    ASSERT_TRUE(program.start({"--report", "--save"}));
    // The call page's fetch waits on a site that never answers.
    ASSERT_TRUE(program.waitUntilReady());
    ASSERT_FALSE(program.process().waitForFinished(500));
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(program.endWith(SIGTERM)) << "ended by itself, not by the signal";
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(program.process().exitCode(), 2);
    EXPECT_EQ(tableRow(program.process().readAllStandardOutput(), "AX1").value(6), "1,00") << "the positions as they were";
    EXPECT_EQ(home.readDataFile("Regels.dat"), demoPositions());
}
