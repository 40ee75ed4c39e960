#pragma once
// The journal of options bought back, "Afgesloten.csv" in the data folder: one row per buy-back
// with what it realised, in the history file's conventions (";" between fields, numbers in the
// user's notation, Windows-1252, CR LF, one header line), so that a Dutch spreadsheet opens it.
//
// A buy-back changes two files: the row is appended here first, then "Regels.dat" is saved. The
// row carries the SHA-256 of "Regels.dat" before and after that save, so that a start after a
// kill between the two can tell that the positions never changed, and takes the row back out.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

#include <functional>
#include <optional>

namespace journal_file {

QString fileName(const QString &dataDir);

struct Row {
    QDateTime time;  // with its offset from UTC
    QString series, kind, month;
    int year = 0;
    double strike = 0;
    int amount = 0;  // contracts bought back
    double transactionPrice = 0;
    double buyBackPrice = 0;
    double commission = 0;  // for all contracts of the row
    double result = 0;      // amount x 100 x (transaction price - buy-back price) - commission
    // SHA-256 of "Regels.dat" in hexadecimal before and after the buy-back's save; the first is
    // empty when there was no file.
    QByteArray positionsBefore, positionsAfter;
};

// amount x 100 x (transactionPrice - buyBackPrice) - commission.
double RealisedResult(int amount, double transactionPrice, double buyBackPrice, double commission);

QByteArray header();
QByteArray encodeRow(const Row &row);

// Appends the row; start receives where it begins in the file, for takeBack().
bool append(const QString &dataDir, const Row &row, qint64 *start, QString *error = nullptr);
// Cuts the file back to start: the row appended there never happened.
bool takeBack(const QString &dataDir, qint64 start, QString *error = nullptr);

// More than decades of buy-backs take; of a larger file only the newest part is read.
inline constexpr qint64 kReadCap = 8 * 1024 * 1024;

struct ReadResult {
    QList<Row> rows;  // in file order
    int skipped = 0;  // lines that are no row, such as one cut off by a kill or a full disk
    // Where the last row starts when a kill came between its two steps: its positions never
    // reached "Regels.dat", which is still the file from before it. That row is not in rows.
    std::optional<qint64> unfinishedAt;
    QString error;  // the file exists but could not be read
};
// A missing file gives no rows and no error.
ReadResult read(const QString &dataDir);
// The rows of the bytes; the last is unfinished when the positions' digest is its "before".
// positionsDigest is asked only when there is a row.
ReadResult decode(const QByteArray &bytes, const std::function<QByteArray()> &positionsDigest);

// The SHA-256 of the positions file's bytes, as the rows hold it; empty for no file.
QByteArray PositionsDigest(const QString &dataDir);

// Puts the journal right after a kill between its two steps: an unfinished last row is taken
// back out. True when the journal is whole (or was made so).
bool settle(const QString &dataDir, QString *error = nullptr);

// Realised results summed per year and per month ("2026-03"), by the moment of the buy-back.
struct Totals {
    QMap<int, double> perYear;
    QMap<QString, double> perMonth;
};
Totals TotalsOf(const QList<Row> &rows);

} // namespace journal_file
