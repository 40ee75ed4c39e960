#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QDir>
#include <QTimeZone>

#include "portfolio/history_file.h"
#include "support/temp_home.h"

using history_file::Row;

namespace {

const QDateTime kWinter(QDate(2026, 12, 8), QTime(14, 3, 20), QTimeZone("Europe/Amsterdam"));

Row row(const QDateTime &time, const char *series, double difference, std::optional<double> index = 912.34)
{
    return {time, index, QString::fromLatin1(series), "Put", "mrt", 2027, 880, 12.5, 2, difference};
}

class HistoryFile : public ::testing::Test
{
protected:
    QByteArray bytes() const { return home.readDataFile("Historie.csv"); }
    void write(const QByteArray &bytes) const { home.writeDataFile("Historie.csv", bytes); }

    TempHome home;
    QString dir = home.dataDir();
    bool made = QDir().mkpath(dir);
};

} // namespace

TEST_F(HistoryFile, RowsGoOutInTheUsersNotationUnderOneHeader)
{
    ASSERT_TRUE(history_file::append(dir, {row(kWinter, "AEX", -90)}));
    ASSERT_TRUE(history_file::append(dir, {row(kWinter.addSecs(900), "AEX", 1234.5, std::nullopt)}));
    EXPECT_EQ(bytes(),
              "tijd;aex;serie;soort;maand;jaar;uitoefenkoers;laatste koers;aantal;verschil\r\n"
              "2026-12-08T14:03:20+01:00;912,34;AEX;Put;mrt;2027;880,00;12,50;2;-90,00\r\n"
              "2026-12-08T14:18:20+01:00;;AEX;Put;mrt;2027;880,00;12,50;2;1234,50\r\n");

    const history_file::ReadResult read = history_file::read(dir);
    ASSERT_EQ(read.rows.size(), 2);
    EXPECT_EQ(read.skipped, 0);
    EXPECT_EQ(read.rows[0].time, kWinter);
    EXPECT_EQ(read.rows[0].time.offsetFromUtc(), 3600);
    EXPECT_EQ(read.rows[0].index, 912.34);
    EXPECT_EQ(read.rows[1].index, std::nullopt);
    EXPECT_EQ(read.rows[1].difference, 1234.5);
    EXPECT_EQ(read.rows[1].key(), row(kWinter, "AEX", 0).key());
}

TEST_F(HistoryFile, ALineCutOffByAKillIsSkippedAndCutAwayBeforeTheNextRow)
{
    // Cut in a text, inside the last number (which would read as -32), and between the two
    // bytes of the line end.
    for (const QByteArray cut : {"2026-12-08T14:18:20+01:00;912,34;AE", "2026-12-08T14:18:20+01:00;912,34;AEX;Put;mrt;2027;880,00;12,50;2;-32",
                                 "2026-12-08T14:18:20+01:00;912,34;AEX;Put;mrt;2027;880,00;12,50;2;-3272,00\r"}) {
        write({});
        ASSERT_TRUE(history_file::append(dir, {row(kWinter, "AEX", 10)}));
        const QByteArray whole = bytes();
        write(whole + cut);
        EXPECT_EQ(history_file::read(dir).rows.size(), 1) << cut.toStdString();
        EXPECT_EQ(history_file::read(dir).skipped, 1) << cut.toStdString();

        ASSERT_TRUE(history_file::append(dir, {row(kWinter.addSecs(1800), "AEX", 30)}));
        const history_file::ReadResult read = history_file::read(dir);
        ASSERT_EQ(read.rows.size(), 2) << cut.toStdString();
        EXPECT_EQ(read.rows[1].difference, 30) << cut.toStdString();
        EXPECT_EQ(read.skipped, 0) << cut.toStdString();
        EXPECT_TRUE(bytes().startsWith(whole)) << cut.toStdString();
    }
}

TEST(HistoryDecode, WhatCountsAsARow)
{
    struct Case {
        const char *why;
        QByteArray bytes;
        int rows, skipped;
        const char *series;
    };
    const QByteArray good = "2026-12-08T14:03:20+01:00;912,34;AEX;Put;mrt;2027;880,00;12,50;2;-90,00";
    const Case cases[] = {
        {"nothing", "", 0, 0, nullptr},
        {"line ends of either kind", good + "\n" + good + "\r\n", 2, 0, "AEX"},
        {"points as decimal marks", "2026-06-08T14:03:20+02:00;912.34;AEX;Put;jun;2027;880.00;12.50;2;-90.00\n", 1, 0, "AEX"},
        {"a time in UTC", "2026-12-08T13:03:20Z;912,34;AEX;Put;mrt;2027;880,00;12,50;2;-90,00\n", 1, 0, "AEX"},
        {"a quoted series", "2026-12-08T14:03:20+01:00;;\"A;\"\"X\";Put;mrt;2027;880;1;2;3\n", 1, 0, "A;\"X"},
        {"nine fields", "2026-12-08T14:03:20+01:00;912,34;AEX;Put;mrt;2027;880,00;12,50;2\n", 0, 1, nullptr},
        {"no time", "gisteren;912,34;AEX;Put;mrt;2027;880,00;12,50;2;-90,00\n", 0, 1, nullptr},
        {"a year that is no number", "2026-12-08T14:03:20+01:00;1;AEX;Put;mrt;nu;880;1;2;3\n", 0, 1, nullptr},
        {"the last line without its end", good + "\r\n" + good.left(40), 1, 1, "AEX"},
    };
    for (const Case &c : cases) {
        const history_file::ReadResult read = history_file::decode(c.bytes);
        EXPECT_EQ(read.rows.size(), c.rows) << c.why;
        EXPECT_EQ(read.skipped, c.skipped) << c.why;
        if (c.series && !read.rows.isEmpty()) {
            EXPECT_EQ(read.rows.first().series, QString::fromLatin1(c.series)) << c.why;
        }
    }
}

TEST_F(HistoryFile, BeyondTheCapOnlyTheNewestWholeRowsAreRead)
{
    QList<Row> rows;
    for (int i = 0; i < 100; ++i)
        rows << row(kWinter.addSecs(60 * i), "AEX", i);
    ASSERT_TRUE(history_file::append(dir, rows));
    const qint64 rowSize = history_file::encodeRow(rows.last()).size();
    // The cap ends in the middle of a row: that row is left out with the older ones.
    const history_file::ReadResult read = history_file::read(dir, 10 * rowSize + 5);
    EXPECT_TRUE(read.olderLeftOut);
    ASSERT_EQ(read.rows.size(), 10);
    EXPECT_EQ(read.rows.first().difference, 90);
    EXPECT_EQ(read.skipped, 0);
    EXPECT_FALSE(history_file::read(dir).olderLeftOut);
}

TEST(HistoryRowsOf, EachLineOfTheSameOptionKeepsItsOwnRows)
{
    // Two lines hold the same option; a third holds another. Each download wrote them in list
    // order, with the same moment.
    QList<Row> rows;
    for (int download = 0; download < 3; ++download) {
        const QDateTime at = kWinter.addSecs(900 * download);
        rows << row(at, "AEX", 100 + download) << row(at, "AX2", 0) << row(at, "AEX", 200 + download);
    }
    const OptionKey option = row(kWinter, "AEX", 0).key();
    const auto differences = [&rows, &option](int occurrence) {
        QList<double> found;
        for (const Row &r : history_file::rowsOf(rows, option, occurrence))
            found << r.difference;
        return found;
    };
    EXPECT_EQ(differences(0), QList<double>({100, 101, 102}));
    EXPECT_EQ(differences(1), QList<double>({200, 201, 202}));
    EXPECT_TRUE(differences(2).isEmpty());
}

TEST(HistoryRowsOf, FoundInTheFileAsAmongEveryRowMade)
{
    // Rows of one moment written in two notations, a strike with and without decimals, a quoted
    // series, a line that is no row between two downloads, and a line cut off at the end.
    const QByteArray bytes =
        "tijd;aex;serie;soort;maand;jaar;uitoefenkoers;laatste koers;aantal;verschil\r\n"
        "2026-12-08T14:03:20+01:00;912,34;AEX;Put;mrt;2027;880,00;1;2;1\r\n"
        "2026-12-08T14:03:20+01:00;912,34;AX2;Put;mrt;2027;880,00;1;2;2\r\n"
        "2026-12-08T14:03:20+01:00;;AEX;Put;mrt;2027;880;1;2;3\r\n"
        "2026-12-08T14:03:20+01:00;;\"A;\"\"X\";Put;mrt;2027;880;1;2;4\r\n"
        "2026-12-08T13:03:20Z;912,34;AEX;Put;mrt;2027;880,00;1;2;5\r\n"
        "2026-12-08T14:10:00+01:00;912,34;AEX;Put;mrt;nu;880,00;1;2;6\r\n"
        "2026-12-08T14:18:20+01:00;912,34;AEX;Put;mrt;2027;880.00;1;2;7\r\n"
        "2026-12-08T14:18:20+01:00;912,34;\"A;\"\"X\";Put;mrt;2027;880,00;1;2;8\r\n"
        "2026-12-08T14:18:20+01:00;912,34;AEX;Put;mrt;2027;880,00;1;2;9\r\n"
        "2026-12-08T14:33:20+01:00;912,34;AEX;Put;mrt;2027;880,00;1;2;1";
    const QList<Row> every = history_file::decode(bytes).rows;
    const auto differences = [](const QList<Row> &rows) {
        QList<double> found;
        for (const Row &r : rows)
            found << r.difference;
        return found;
    };
    for (const char *series : {"AEX", "AX2", "A;\"X", "AX3"}) {
        const OptionKey option = MakeOptionKey(QString::fromLatin1(series), "Put", "mrt", 2027, 880);
        for (int occurrence = 0; occurrence < 4; ++occurrence) {
            SCOPED_TRACE(std::string(series) + " " + std::to_string(occurrence));
            const QList<Row> found = history_file::rowsOf(bytes, option, occurrence);
            EXPECT_EQ(differences(found), differences(history_file::rowsOf(every, option, occurrence)));
            for (qsizetype i = 0; i < found.size(); ++i)
                EXPECT_EQ(found[i].time, history_file::rowsOf(every, option, occurrence)[i].time);
        }
    }
    EXPECT_EQ(differences(history_file::rowsOf(bytes, MakeOptionKey("AEX", "Put", "mrt", 2027, 880), 2)),
              QList<double>({5}));
}
