#pragma once
// The history of the positions, "Historie.csv" in the data folder: after every download that
// ran to its end, one row per readable position with the moment, the index level and the
// position's price and difference. Separated by ";", numbers in the user's notation, text in
// Windows-1252 with CR LF line ends and one header line, so that a Dutch spreadsheet opens it
// as it is.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include "portfolio/portfolio_position.h"

namespace history_file {

QString fileName(const QString &dataDir);

struct Row {
    QDateTime time;  // with its offset from UTC
    std::optional<double> index;  // none before the first index quote
    QString series, kind, month;
    int year = 0;
    double strike = 0;
    double lastPrice = 0;
    int amount = 0;
    double difference = 0;

    OptionKey key() const { return MakeOptionKey(series, kind, month, year, strike); }
};

// The rows a download adds: one per position line that can be read as a position.
QList<Row> downloadRows(const QStringList &positionLines, std::optional<double> index,
                        const QDateTime &now);

// Appends the rows, each written on its own, so that a kill loses at most the row being
// written. A new file starts with the header line; when the last line was cut off, a line end
// comes first, so that the cut line stays apart and is skipped on reading.
bool append(const QString &dataDir, const QList<Row> &rows, QString *error = nullptr);
// Appends the rows of a download that ran to its end.
bool appendDownload(const QString &dataDir, const QStringList &positionLines,
                    std::optional<double> index, const QDateTime &now, QString *error = nullptr);
// What the user is told when the rows could not be appended.
inline QString appendFailureText(const QString &error)
{
    return QStringLiteral("Historie.csv niet bijgewerkt: ") + error;
}

// The bytes of the header line and of one row.
QByteArray header();
QByteArray encodeRow(const Row &row);

// The file's conventions, for other files of the same kind: a number in the user's notation
// with a fixed number of decimals, without group separators and without a sign when it rounds
// to zero; a text in double quotes, its quotes doubled, only when it holds a ";", a quote or a
// line break; a line of fields joined by ";" in Windows-1252, ended by CR LF.
QString numberField(double value, int decimals = 2);
// The same, empty for a figure that is not known.
QString numberField(std::optional<double> value, int decimals = 2);
// A moment as ISO 8601 with its offset from UTC.
QString timeField(const QDateTime &time);
QString textField(const QString &text);
QByteArray encodeLine(const QStringList &fields);
// The fields of a line, a quoted one without its quotes; none for a line that is cut inside a
// quoted field.
QStringList splitLine(QStringView line);
// Appends the lines, each written as it is (with its line end), so that a kill loses at most
// the line being written. A new file starts with the header line; a last line cut off before is
// cut away first. start, when given, receives where the first appended line begins.
bool appendLines(const QString &path, const QByteArray &headerLine, const QList<QByteArray> &lines,
                 QString *error = nullptr, qint64 *start = nullptr);

// Beyond this many bytes only the newest part of the file is read.
inline constexpr qint64 kReadCap = 32 * 1024 * 1024;

struct FileBytes {
    QByteArray bytes;  // whole lines only
    qint64 offset = 0;  // where the bytes start in the file
    bool olderLeftOut = false;  // the file is larger than the cap
    QString error;  // the file exists but could not be read
};
// The newest lines of a file of lines, as many as fit in cap bytes. A missing file gives no bytes
// and no error.
FileBytes readTail(const QString &path, qint64 cap);
// Those of the history file.
FileBytes readBytes(const QString &dataDir, qint64 cap = kReadCap);

// Calls each(line) for every line of the bytes, without its line end, but for empty lines and the
// header. Returns whether the last line was cut off: every row is written with its line end.
template <typename Each>
bool forEachLine(QByteArrayView bytes, QByteArrayView header, Each each)
{
    while (!bytes.isEmpty()) {
        const qsizetype end = bytes.indexOf('\n');
        if (end < 0)
            return true;
        QByteArrayView line = bytes.first(end);
        bytes = bytes.sliced(end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty() && line != header)
            each(line);
    }
    return false;
}

struct ReadResult {
    QList<Row> rows;  // in file order
    int skipped = 0;  // lines that are no row, such as one cut off by a kill
    bool olderLeftOut = false;  // the file is larger than the cap
    QString error;  // the file exists but could not be read
};
// Every row of the file. A missing file gives no rows and no error.
ReadResult read(const QString &dataDir, qint64 cap = kReadCap);
// The rows of the file's bytes; a last line without its line end is skipped.
ReadResult decode(const QByteArray &bytes);

// The rows of one option. When several lines of the list hold the same option, occurrence
// (0 for the first such line) picks the line's own row from each download.
QList<Row> rowsOf(const QList<Row> &rows, const OptionKey &option, int occurrence);
// The same rows found in the file's bytes: only the option's own rows are made, so that a long
// history does not keep the chart of one position waiting on all of them.
QList<Row> rowsOf(const QByteArray &bytes, const OptionKey &option, int occurrence);

} // namespace history_file

// Moved in memory as a whole when a list of many rows grows.
Q_DECLARE_TYPEINFO(history_file::Row, Q_RELOCATABLE_TYPE);
