#include <gtest/gtest.h>

#include "support/qt_printers.h"
#include "support/running_market_site.h"

#include "market_model.h"
#include "market_pages.h"

#include "market/index_quote.h"
#include "market/option_pages.h"
#include "support/files.h"
#include "support/wait_until.h"
#include "update/minisign.h"
#include "update/version_list.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimeZone>

#include <httplib.h>

#include <algorithm>
#include <cmath>

namespace {

QDate date(const char *ddmmyyyy)
{
    return QDate::fromString(QString::fromLatin1(ddmmyyyy), QStringLiteral("dd-MM-yyyy"));
}

QDateTime localTime(const char *ddmmyyyy, const char *hhmmss)
{
    return QDateTime(date(ddmmyyyy), QTime::fromString(QString::fromLatin1(hhmmss)),
                     QTimeZone::systemTimeZone());
}

// The quote lines that the program reads from an option page, in plain text order, and how many
// rows it recognised.
struct ReadPage {
    int rows = 0;
    QStringList lines;
};

ReadPage readOptionPage(OptionKind kind, const QByteArray &page)
{
    QuoteList list;
    ReadPage read;
    read.rows = kind == OptionKind::Call ? ParseCalls(page, list) : ParsePuts(page, list);
    read.lines = list.lines();
    std::sort(read.lines.begin(), read.lines.end());
    return read;
}

QString commaDecimals(double value)
{
    return QString::number(value, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace

TEST(ExpiryCalendar, ThirdFridayOrTheDayBeforeGoodFriday)
{
    struct Case { int year, month, plain; const char *listed; };
    const Case cases[] = {
        {2025, 3, 21, "21-03-2025"}, // the 1st is a Saturday
        {2026, 3, 20, "20-03-2026"}, // the 1st is a Sunday
        {2013, 4, 19, "19-04-2013"},
        {2024, 11, 15, "15-11-2024"}, // the 1st is a Friday
        {2025, 4, 18, "17-04-2025"},  // Good Friday
        {2008, 3, 21, "20-03-2008"},  // Good Friday
    };
    for (const Case &c : cases) {
        EXPECT_EQ(thirdFriday(c.year, c.month), c.plain) << c.year << "-" << c.month;
        EXPECT_EQ(monthlyExpiry(c.year, c.month), date(c.listed)) << c.year << "-" << c.month;
    }
}

TEST(ExpiryCalendar, ThirdFridayAgreesWithTheWeekdayRuleEverywhere)
{
    for (int year = 2000; year <= 2040; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const int w = QDate(year, month, 1).dayOfWeek() % 7 + 1; // Sunday = 1
            const int day = thirdFriday(year, month);
            ASSERT_EQ(day, (13 - w) % 7 + 15) << year << "-" << month;
            ASSERT_EQ(QDate(year, month, day).dayOfWeek(), Qt::Friday);
        }
    }
}

TEST(ExpiryCalendar, FridayOfTheWeekCountedFromSunday)
{
    struct Case { const char *day, *friday; };
    const Case cases[] = {
        {"22-03-2025", "21-03-2025"}, // Saturday: the day before
        {"23-03-2025", "28-03-2025"}, // Sunday: five days later
        {"28-03-2025", "28-03-2025"}, // Friday itself
        {"31-12-2025", "02-01-2026"}, // over the turn of the year
    };
    for (const Case &c : cases)
        EXPECT_EQ(weekFriday(date(c.day)), date(c.friday)) << c.day;
}

TEST(ExpiryCalendar, ListOnThePlainThirdFridayKeepsTheMonth)
{
    // 21 March 2025 is the third Friday: March is still offered, and the week's Friday is the
    // same expiry. Three weeks on, Good Friday moves to the Thursday.
    const QList<QDate> dates = expiryDates(date("21-03-2025"));
    EXPECT_TRUE(std::is_sorted(dates.begin(), dates.end()));
    EXPECT_EQ(std::adjacent_find(dates.begin(), dates.end()), dates.end());
    EXPECT_EQ(dates.first(), date("21-03-2025"));
    EXPECT_FALSE(dates.contains(date("18-04-2025")));
    for (const char *weekly : {"28-03-2025", "04-04-2025", "11-04-2025", "17-04-2025"})
        EXPECT_TRUE(dates.contains(date(weekly))) << weekly;
    for (int i = 0; i < 12; ++i) {
        const QDate month = QDate(2025, 3, 1).addMonths(i);
        EXPECT_TRUE(dates.contains(monthlyExpiry(month.year(), month.month()))) << i;
    }
    // After the twelve monthly ones only quarterly expiries, up to five years ahead.
    const QList<QDate> later = dates.mid(dates.indexOf(monthlyExpiry(2026, 2)) + 1);
    ASSERT_FALSE(later.isEmpty());
    EXPECT_EQ(later.first(), monthlyExpiry(2026, 3));
    EXPECT_EQ(later.last(), monthlyExpiry(2030, 3));
    for (const QDate &d : later)
        EXPECT_EQ(d.month() % 3, 0) << d.toString().toStdString();
}

TEST(ExpiryCalendar, MonthMovesOnAfterTheThirdFriday)
{
    const QList<QDate> saturday = expiryDates(date("22-03-2025"));
    // The week's Friday (21 March) is still there, the month is April.
    EXPECT_EQ(saturday.first(), date("21-03-2025"));
    EXPECT_TRUE(saturday.contains(monthlyExpiry(2025, 4)));
    EXPECT_TRUE(saturday.contains(monthlyExpiry(2026, 3)));
    EXPECT_FALSE(saturday.contains(monthlyExpiry(2026, 4)));
    EXPECT_FALSE(saturday.contains(monthlyExpiry(2026, 5)));

    const QList<QDate> december = expiryDates(date("28-12-2026"));
    EXPECT_FALSE(december.contains(monthlyExpiry(2026, 12)));
    EXPECT_TRUE(december.contains(monthlyExpiry(2027, 1)));
    EXPECT_TRUE(december.contains(monthlyExpiry(2027, 12)));
}

TEST(OptionPricing, KnownValueAndParity)
{
    EXPECT_NEAR(optionValue(OptionKind::Call, 100, 100, 1.0, {0.20, 0.05}), 10.4506, 1e-4);
    EXPECT_NEAR(optionValue(OptionKind::Put, 100, 100, 1.0, {0.20, 0.05}), 5.5735, 1e-4);
    EXPECT_NEAR(optionValue(OptionKind::Call, 900, 950, 0.25), 15.2835, 1e-3);

    for (double years : {0.01, 0.25, 1.0, 4.0}) {
        for (double strike : {700.0, 880.0, 900.0, 1100.0}) {
            const double call = optionValue(OptionKind::Call, 900, strike, years);
            const double put = optionValue(OptionKind::Put, 900, strike, years);
            EXPECT_NEAR(call - put, 900 - strike * std::exp(-0.02 * years), 1e-6)
                << strike << " " << years;
        }
    }
}

TEST(OptionPricing, CallsGainAndPutsLoseAsTheStrikeFalls)
{
    for (double years : {0.005, 0.25, 1.0, 4.0}) {
        for (double strike = 700; strike < 1100; strike += 10) {
            EXPECT_GT(optionValue(OptionKind::Call, 900, strike, years),
                      optionValue(OptionKind::Call, 900, strike + 10, years));
            EXPECT_LT(optionValue(OptionKind::Put, 900, strike, years),
                      optionValue(OptionKind::Put, 900, strike + 10, years));
        }
    }
}

TEST(OptionPricing, ExpiredOptionsAreWorthTheirIntrinsicValue)
{
    EXPECT_DOUBLE_EQ(optionValue(OptionKind::Call, 900, 880, 0), 20);
    EXPECT_DOUBLE_EQ(optionValue(OptionKind::Call, 900, 920, 0), 0);
    EXPECT_DOUBLE_EQ(optionValue(OptionKind::Put, 900, 920, 0), 20);
    // A Friday listed on Saturday has expired.
    EXPECT_DOUBLE_EQ(yearsToExpiry(localTime("22-03-2025", "10:00:00"), date("21-03-2025")), 0);
    EXPECT_NEAR(yearsToExpiry(localTime("21-03-2025", "16:00:00"), date("20-03-2026")),
                364.0 / 365.25, 1e-3);
}

TEST(IndexWalk, LevelDependsOnlyOnSeedStartAndStep)
{
    const QDateTime start = localTime("07-12-2026", "09:00:00");
    IndexWalk walk(42, start);
    IndexWalk same(42, start);
    IndexWalk other(43, start);

    EXPECT_DOUBLE_EQ(walk.levelAt(start), 900.0);
    // Asked out of order, far ahead first: must agree with a walk asked step by step.
    const double far = walk.levelAt(start.addSecs(5 * 5000));
    const double near = walk.levelAt(start.addSecs(5 * 10));
    const double middle = walk.levelAt(start.addSecs(5 * 2500));
    double sequentialFar = 0;
    double sequentialNear = 0;
    double sequentialMiddle = 0;
    for (int step = 0; step <= 5000; ++step) {
        const double level = same.levelAt(start.addSecs(5 * step));
        if (step == 10) sequentialNear = level;
        if (step == 2500) sequentialMiddle = level;
        if (step == 5000) sequentialFar = level;
    }
    EXPECT_DOUBLE_EQ(far, sequentialFar);
    EXPECT_DOUBLE_EQ(near, sequentialNear);
    EXPECT_DOUBLE_EQ(middle, sequentialMiddle);
    EXPECT_NE(other.levelAt(start.addSecs(5 * 10)), near);

    // Within one step the level holds; from step to step it moves.
    const QDateTime t = start.addSecs(5 * 100);
    EXPECT_DOUBLE_EQ(walk.levelAt(t), walk.levelAt(t.addMSecs(4999)));
    int moves = 0;
    for (int step = 101; step <= 120; ++step)
        moves += walk.levelAt(start.addSecs(5 * step)) != walk.levelAt(start.addSecs(5 * (step - 1)));
    EXPECT_EQ(moves, 20);
}

TEST(IndexWalk, StaysNearItsStartAndClosesTheDayBefore)
{
    const QDateTime start = localTime("07-12-2026", "09:00:00");
    IndexWalk walk(7, start);
    double low = 1e9;
    double high = 0;
    for (int step = 0; step < 3 * 17280; step += 37) {
        const double level = walk.levelAt(start.addSecs(5 * step));
        low = std::min(low, level);
        high = std::max(high, level);
    }
    EXPECT_GT(low, 700);
    EXPECT_LT(high, 1150);
    EXPECT_GT(high - low, 5); // it does wander

    EXPECT_DOUBLE_EQ(walk.previousCloseAt(localTime("07-12-2026", "15:00:00")), 900.0);
    const double close = walk.levelAt(localTime("07-12-2026", "23:59:59"));
    EXPECT_DOUBLE_EQ(walk.previousCloseAt(localTime("08-12-2026", "10:00:00")), close);
}

TEST(MarketPages, EveryRowOfTheOptionPagesIsReadBack)
{
    const QDateTime now = localTime("22-03-2025", "11:00:00");
    for (OptionKind kind : {OptionKind::Call, OptionKind::Put}) {
        // Index above 1000 so strikes of four digits appear as well.
        QList<OptionQuote> chain = optionChain(kind, 1012.5, 900.0, now, 5);
        ASSERT_GT(chain.size(), 300);
        ASSERT_LT(chain.size(), 3000);
        chain[3].traded = false;

        const QByteArray page = optionPage(kind, chain, 1012.5, now);
        EXPECT_EQ(page.count("Uitoef. prijs"), 1);
        EXPECT_TRUE(page.contains("row-odd") && page.contains("row-even"));
        for (char c : page)
            ASSERT_GT(static_cast<signed char>(c), 0) << "single-byte text only";

        QStringList expected;
        for (const OptionQuote &q : chain) {
            expected << QString(kind == OptionKind::Call ? "AEX C; " : "AEX P; ")
                    + q.expiry.toString(QStringLiteral("dd-MM-yyyy")) + "; " + commaDecimals(q.strike) + "; "
                    + (q.traded ? commaDecimals(q.value) : QString());
        }
        std::sort(expected.begin(), expected.end());
        const ReadPage read = readOptionPage(kind, page);
        EXPECT_EQ(read.rows, chain.size());
        EXPECT_EQ(read.lines, expected);
    }
}

TEST(MarketPages, ChainIsSortedAndItsPricesFollowTheStrike)
{
    const QDateTime now = localTime("07-12-2026", "14:00:00");
    const QList<OptionQuote> calls = optionChain(OptionKind::Call, 905, 900, now, 1);
    const QList<OptionQuote> puts = optionChain(OptionKind::Put, 905, 900, now, 1);
    ASSERT_EQ(calls.size(), puts.size());
    int untraded = 0;
    for (qsizetype i = 1; i < calls.size(); ++i) {
        const OptionQuote &a = calls.at(i - 1);
        const OptionQuote &b = calls.at(i);
        ASSERT_TRUE(a.expiry < b.expiry || (a.expiry == b.expiry && a.strike < b.strike)) << i;
        if (a.expiry == b.expiry) {
            EXPECT_EQ(b.strike - a.strike, b.expiry > now.date().addYears(1) ? 20 : 10);
            EXPECT_GT(a.value, b.value);
            EXPECT_LT(puts.at(i - 1).value, puts.at(i).value);
        }
        untraded += !b.traded;
        EXPECT_LE(b.bid, b.value);
        EXPECT_GE(b.ask, b.value);
    }
    EXPECT_LT(untraded, calls.size() / 50);
    // The strikes cover 80% to 120% of the index.
    EXPECT_LE(calls.first().strike, 0.8 * 900);
    EXPECT_GE(calls.last().strike, 1.2 * 905 - 20);
}

TEST(MarketPages, IndexPageReadsAsDateTimeLevelChangeAndPercent)
{
    struct Case {
        const char *day, *time;
        double level, previous;
        QStringList labels;  // as the program shows them
    };
    const Case cases[] = {
        // After the close the moment shown is the close itself.
        {"07-12-2026", "17:35:12", 912.34, 909.13, {"AEX:", "912,34", "3,21 (0,35%)", "@ 07-12-2026 18:00"}},
        {"03-01-2025", "09:05:07", 905.00, 912.50, {"AEX:", "905,00", "-7,50 (-0,82%)", "@ 03-01-2025 09:05"}},
        {"31-10-2024", "12:00:00", 1012.34, 1012.34, {"AEX:", "1012,34", "0,00 (0,00%)", "@ 31-10-2024 12:00"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.day);
        const QDateTime moment = localTime(c.day, c.time);
        IndexQuote quote;
        const IndexQuoteResult shown = quote.takePage(indexPage({moment, c.level, c.previous}), moment);
        ASSERT_EQ(shown.kind, IndexQuoteResult::Show);
        EXPECT_EQ(quote.sAEX_Tijd, c.time);
        EXPECT_EQ(QStringList({shown.l21, shown.l22, shown.l23, shown.l24}), c.labels);
    }
}

TEST(MakerFiles, VersionListNamesTheInstallerWithItsSize)
{
    const QByteArray installer = installerScript();
    EXPECT_TRUE(installer.startsWith("#!/bin/sh\n"));
    EXPECT_GE(installer.size(), 5 * 1024);

    const QByteArray list = versionList(installer);
    EXPECT_GE(list.size(), 50);
    EXPECT_TRUE(list.endsWith("\r\n"));
    EXPECT_EQ(list.count('\n'), list.count("\r\n"));
    EXPECT_GE(list.count("\r\n"), 2);

    const qsizetype at = list.indexOf("Pelgrandix");
    ASSERT_GT(at, 0) << "another program's line comes first";
    EXPECT_EQ(list.at(at - 1), '\n');
    // The program's update check reads it as a newer release with this installer.
    QString programStr = QStringLiteral("Pelgrandix");
    QString newVersion, remark;
    int sizeKB = 0;
    QByteArray sha256;
    bool downloaded = true;
    EXPECT_EQ(EvaluateVersionList(QString::fromLatin1(list), programStr, newVersion, remark,
                                  QStringLiteral("versie 1.20a"), QStringLiteral("NLD"), sizeKB, sha256,
                                  downloaded),
              UpdateAdvised);
    EXPECT_EQ(programStr, installerFileName());
    EXPECT_EQ(newVersion, "1.21b");
    EXPECT_EQ(sizeKB, (installer.size() + 1023) / 1024);
    EXPECT_FALSE(remark.isEmpty());
    EXPECT_EQ(sha256, QCryptographicHash::hash(installer, QCryptographicHash::Sha256).toHex());

    const QByteArray downloads = downloadPage(installer.size());
    EXPECT_TRUE(downloads.contains("name=\"Pelgrandix\""));
    EXPECT_TRUE(downloads.contains("href=\"/Pelgrandix121.exe\""));
}

TEST(MakerFiles, InstallerOnlyNotesItsRunInTheUsersFolder)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString script = home.filePath(QStringLiteral("Pelgrandix121.exe"));
    ASSERT_TRUE(writeFile(script, installerScript()));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    for (int run = 0; run < 2; ++run) {
        QProcess sh;
        sh.setProcessEnvironment(env);
        sh.setWorkingDirectory(home.path());
        sh.start(QStringLiteral("/bin/sh"),
                 {script, QStringLiteral("/SP-"), QStringLiteral("/silent"), QStringLiteral("/noicons")});
        ASSERT_TRUE(sh.waitForFinished(kPatienceMs));
        EXPECT_EQ(sh.exitCode(), 0) << sh.readAllStandardError().constData();
    }
    const QList<QByteArray> lines =
        readFile(home.filePath(QStringLiteral(".local/share/Pelgrandix/installer.log"))).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    for (const QByteArray &line : lines) {
        EXPECT_TRUE(line.endsWith(" /SP- /silent /noicons")) << line.constData();
        EXPECT_TRUE(line.startsWith(QDate::currentDate().toString(Qt::ISODate).toLatin1()));
    }
    // Nothing else appears in the home folder.
    EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 2);
}

TEST(MarketSite, ServesEveryPathAndStopsOnRequest)
{
    RunningMarketSite site({QStringLiteral("--seed"), QStringLiteral("42"),
                            QStringLiteral("--installer-delay"), QStringLiteral("0")});
    ASSERT_GT(site.port, 0);
    httplib::Client client("127.0.0.1", site.port);

    auto calls = client.Get("/derivaten/opties/?call=AEX.AEX/O");
    ASSERT_TRUE(calls);
    EXPECT_EQ(calls->status, 200);
    EXPECT_GT(readOptionPage(OptionKind::Call, QByteArray::fromStdString(calls->body)).lines.size(), 300);

    auto puts = client.Get("/derivaten/opties/?put=AEX.AEX/O");
    ASSERT_TRUE(puts);
    EXPECT_EQ(puts->status, 200);
    EXPECT_TRUE(puts->body.find("opties - Puts") != std::string::npos);
    EXPECT_GT(readOptionPage(OptionKind::Put, QByteArray::fromStdString(puts->body)).lines.size(), 300);

    auto index = client.Get("/index.php?type=main");
    ASSERT_TRUE(index);
    EXPECT_EQ(index->status, 200);
    // Read now, with today's date on it, it shows a level at the moment the reader makes of it.
    const QDateTime now = QDateTime::currentDateTime();
    IndexQuote quote;
    const IndexQuoteResult shown = quote.takePage(QByteArray::fromStdString(index->body), now);
    ASSERT_EQ(shown.kind, IndexQuoteResult::Show);
    EXPECT_TRUE(QTime::fromString(quote.sAEX_Tijd, QStringLiteral("HH:mm:ss")).isValid()) << quote.sAEX_Tijd.toStdString();
    EXPECT_EQ(shown.l24, "@ " + IndexQuote::quoteMoment(now.date().toString(QStringLiteral("dd-MM-yyyy")),
                                                         quote.sAEX_Tijd, now)
                                  .toString(QStringLiteral("dd-MM-yyyy hh:mm")));
    EXPECT_GT(shown.l22.size(), 4);

    auto versions = client.Get("/versions.dat");
    ASSERT_TRUE(versions);
    EXPECT_EQ(versions->status, 200);
    const QByteArray installer = installerScript();
    EXPECT_EQ(QByteArray::fromStdString(versions->body), versionList(installer));
    auto head = client.Head("/versions.dat");
    ASSERT_TRUE(head);
    EXPECT_EQ(head->status, 200);

    auto download = client.Get("/Pelgrandix121.exe");
    ASSERT_TRUE(download);
    EXPECT_EQ(download->status, 200);
    EXPECT_EQ(QByteArray::fromStdString(download->body), installer);

    auto downloads = client.Get("/downloads_n.html");
    ASSERT_TRUE(downloads);
    EXPECT_EQ(downloads->status, 200);

    for (const char *path : {"/", "/derivaten/opties/", "/derivaten/opties/?call=ASML.AEX/O",
                             "/index.php?type=fondsen", "/Pelgrandix120.exe"}) {
        auto missing = client.Get(path);
        ASSERT_TRUE(missing) << path;
        EXPECT_EQ(missing->status, 404) << path;
        EXPECT_FALSE(missing->body.empty()) << path;
    }

    site.process().terminate();
    ASSERT_TRUE(site.process().waitForFinished(kPatienceMs));
    EXPECT_EQ(site.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(site.process().exitCode(), 0);
}

TEST(MarketSite, InstallerArrivesInPiecesWithPauses)
{
    RunningMarketSite site({QStringLiteral("--installer-delay"), QStringLiteral("40")});
    ASSERT_GT(site.port, 0);
    httplib::Client client("127.0.0.1", site.port);
    QElapsedTimer timer;
    timer.start();
    QByteArray received;
    int pieces = 0;
    auto res = client.Get("/Pelgrandix121.exe", [&](const char *data, size_t length) {
        received.append(data, qsizetype(length));
        ++pieces;
        return true;
    });
    ASSERT_TRUE(res);
    EXPECT_EQ(received, installerScript());
    const qint64 gaps = (installerScript().size() + 4095) / 4096 - 1;
    EXPECT_GE(timer.elapsed(), gaps * 40);
    EXPECT_GE(pieces, gaps + 1);
}

TEST(MarketSite, SecondCopyCannotTakeTheSamePort)
{
    RunningMarketSite first;
    ASSERT_GT(first.port, 0);
    QProcess second;
    second.start(QStringLiteral(PELGRANDIX_BIN_DIR "/pelgrandix-market"),
                 {QStringLiteral("--port"), QString::number(first.port)});
    ASSERT_TRUE(second.waitForFinished(kPatienceMs));
    EXPECT_NE(second.exitCode(), 0);
}

TEST(MarketSite, SignsItsListWithAKeyOfItsOwnThatMinisignVerifies)
{
    RunningMarketSite site;
    ASSERT_GT(site.port, 0);
    httplib::Client client("127.0.0.1", site.port);
    auto list = client.Get("/versions.dat");
    auto signature = client.Get("/versions.dat.minisig");
    ASSERT_TRUE(list && signature);
    QTemporaryDir dir;
    ASSERT_TRUE(writeFile(dir.filePath("versions.dat"), QByteArray::fromStdString(list->body)));
    ASSERT_TRUE(writeFile(dir.filePath("versions.dat.minisig"), QByteArray::fromStdString(signature->body)));

    QProcess market;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_STATE_HOME", site.stateFolder());
    market.setProcessEnvironment(environment);
    market.start(PELGRANDIX_BIN_DIR "/pelgrandix-market", {"--print-update-key"});
    ASSERT_TRUE(market.waitForFinished(kPatienceMs));
    const QByteArray publicKey = market.readAllStandardOutput();
    ASSERT_TRUE(writeFile(dir.filePath("key.pub"), publicKey));
    EXPECT_EQ(QProcess::execute("minisign", {"-Vm", dir.filePath("versions.dat"), "-p", dir.filePath("key.pub")}), 0);

    const std::optional<qint64> signedAt = minisign::verifiedTimestamp(
        QByteArray::fromStdString(list->body), QByteArray::fromStdString(signature->body),
        {*minisign::parsePublicKey(publicKey)});
    ASSERT_TRUE(signedAt);
    EXPECT_LE(qAbs(*signedAt - QDateTime::currentSecsSinceEpoch()), 60);
    // Its secret key is its alone.
    const QString folder = site.stateFolder() + "/pelgrandix-market/";
    EXPECT_EQ(QFile::permissions(folder) & 0x0077, 0);
    EXPECT_EQ(QFile::permissions(folder + "update.key") & 0x0077, 0);
}

TEST(MarketSite, SignsWithAKeyThatMinisignMadeWithoutAPassword)
{
    // minisign leaves the checksum of such a key at zero.
    QTemporaryDir dir;
    ASSERT_EQ(QProcess::execute("minisign", {"-G", "-W", "-p", dir.filePath("maker.pub"), "-s", dir.filePath("maker.key")}), 0);
    QProcess market;
    market.start(PELGRANDIX_BIN_DIR "/pelgrandix-market", {"--update-key", dir.filePath("maker.key"), "--print-update-key"});
    ASSERT_TRUE(market.waitForFinished(kPatienceMs));
    EXPECT_EQ(market.exitCode(), 0) << market.readAllStandardError().toStdString();
    EXPECT_TRUE(market.readAllStandardOutput().contains(readFile(dir.filePath("maker.pub")).split('\n').value(1)));
}
