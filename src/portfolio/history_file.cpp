#include "portfolio/history_file.h"

#include <QFile>
#include <QLocale>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/private_files.h"
#include "support/code_page.h"
#include "support/text_routines.h"

namespace history_file {

namespace {

enum Column { Time, Index, Series, Kind, Month, Year, Strike, LastPrice, Amount, Difference, ColumnCount };

const QString kHeader = QStringLiteral(
    "tijd;aex;serie;soort;maand;jaar;uitoefenkoers;laatste koers;aantal;verschil");

using Fields = QVarLengthArray<QStringView, ColumnCount + 2>;

// The fields of a line as views into it, or into quotedTexts for a quoted field.
Fields splitFields(QStringView line, std::vector<QString> &quotedTexts)
{
    Fields fields;
    qsizetype pos = 0;
    for (;;) {
        if (pos < line.size() && line.at(pos) == QLatin1Char('"')) {
            QString text;
            qsizetype i = pos + 1;
            for (; i < line.size(); ++i) {
                if (line.at(i) != QLatin1Char('"')) {
                    text += line.at(i);
                } else if (i + 1 < line.size() && line.at(i + 1) == QLatin1Char('"')) {
                    text += QLatin1Char('"');
                    ++i;
                } else {
                    break;
                }
            }
            quotedTexts.push_back(std::move(text));
            fields.append(quotedTexts.back());
            pos = i + 1;  // behind the closing quote
            if (pos < line.size() && line.at(pos) != QLatin1Char(';'))
                return {};
        } else {
            const qsizetype end = line.indexOf(QLatin1Char(';'), pos);
            fields.append(line.mid(pos, (end < 0 ? line.size() : end) - pos));
            pos = end < 0 ? line.size() : end;
        }
        if (pos >= line.size())
            return fields;
        ++pos;  // the separator
    }
}

int digitsAt(QStringView text, qsizetype from, qsizetype count, bool *ok)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            *ok = false;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

// The form written here, "2026-12-08T14:03:20+01:00", is read digit by digit: a long history
// holds many of them. Any other ISO 8601 form goes through the general reader.
QDateTime timeOf(QStringView text)
{
    bool ok = text.size() == 25 && text.at(4) == u'-' && text.at(7) == u'-' && text.at(10) == u'T'
        && text.at(13) == u':' && text.at(16) == u':' && (text.at(19) == u'+' || text.at(19) == u'-')
        && text.at(22) == u':';
    if (!ok)
        return QDateTime::fromString(text.toString(), Qt::ISODate);
    const QDate date(digitsAt(text, 0, 4, &ok), digitsAt(text, 5, 2, &ok), digitsAt(text, 8, 2, &ok));
    const QTime time(digitsAt(text, 11, 2, &ok), digitsAt(text, 14, 2, &ok), digitsAt(text, 17, 2, &ok));
    const int offset = (digitsAt(text, 20, 2, &ok) * 60 + digitsAt(text, 23, 2, &ok)) * 60;
    if (!ok)
        return QDateTime();
    return QDateTime(date, time, Qt::OffsetFromUTC, text.at(19) == u'-' ? -offset : offset);
}

std::optional<Row> decodeRow(QStringView line, std::vector<QString> &quotedTexts)
{
    const Fields fields = splitFields(line, quotedTexts);
    if (fields.size() != ColumnCount)
        return std::nullopt;
    Row row;
    row.time = timeOf(fields[Time]);
    if (!row.time.isValid() || !ParseDecimalInt(fields[Year], &row.year)
        || !ParseDecimalInt(fields[Amount], &row.amount))
        return std::nullopt;
    if (!fields[Index].isEmpty())
        row.index = StrToReal(fields[Index]);
    row.series = fields[Series].toString();
    row.kind = fields[Kind].toString();
    row.month = fields[Month].toString();
    row.strike = StrToReal(fields[Strike]);
    row.lastPrice = StrToReal(fields[LastPrice]);
    row.difference = StrToReal(fields[Difference]);
    return row;
}

} // namespace

QStringList splitLine(QStringView line)
{
    std::vector<QString> quotedTexts;
    QStringList fields;
    for (QStringView field : splitFields(line, quotedTexts))
        fields.append(field.toString());
    return fields;
}

QString numberField(double value, int decimals)
{
    return FixedText(value, decimals);
}

QString numberField(std::optional<double> value, int decimals)
{
    return value ? numberField(*value, decimals) : QString();
}

QString timeField(const QDateTime &time)
{
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate);
}

QString textField(const QString &text)
{
    // Quoted only when a character would otherwise end the field or the line.
    if (!text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char(';'))
        && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray encodeLine(const QStringList &fields)
{
    return Windows1252Bytes(fields.join(QLatin1Char(';'))) + "\r\n";
}

QString fileName(const QString &dataDir)
{
    return dataDir + QStringLiteral("Historie.csv");
}

QList<Row> downloadRows(const QStringList &positionLines, std::optional<double> index,
                        const QDateTime &now)
{
    QList<Row> rows;
    for (int i = 0; i < positionLines.size(); ++i) {
        const std::optional<PortfolioPosition> p = ReadPortfolioPosition(positionLines.at(i), i);
        if (p)
            rows.append({now, index, p->series, p->kind, p->month, p->year, p->strike, p->lastPrice,
                         p->amount, p->difference});
    }
    return rows;
}

QByteArray header()
{
    return kHeader.toLatin1() + "\r\n";
}

QByteArray encodeRow(const Row &row)
{
    return encodeLine({
        timeField(row.time),
        numberField(row.index),
        textField(row.series),
        textField(row.kind),
        textField(row.month),
        QString::number(row.year),
        numberField(row.strike),
        numberField(row.lastPrice),
        QString::number(row.amount),
        numberField(row.difference),
    });
}

namespace {

// Every row is written with its line end, so a last line without one was cut off (a full disk,
// a kill). Ending it would let what is left read as a whole row with a wrong last number; it is
// cut away instead, as the reader skips it anyway. False when the line stays: longer than any
// row, or the file could not be read or cut.
bool cutAwayALastLineCutOff(QFile &file)
{
    constexpr qint64 kLongestRow = 64 * 1024;
    const qint64 size = file.size();
    const qint64 from = std::max<qint64>(0, size - kLongestRow);
    if (size == 0)
        return true;
    if (!file.seek(from))
        return false;
    const QByteArray tail = file.read(size - from);
    if (tail.size() != size - from)
        return false;
    if (tail.endsWith('\n'))
        return true;
    const qsizetype lastEnd = tail.lastIndexOf('\n');
    if (lastEnd < 0 && from > 0)
        return false;
    return file.resize(from + lastEnd + 1);
}

} // namespace

bool appendLines(const QString &path, const QByteArray &headerLine, const QList<QByteArray> &lines,
                 QString *error, qint64 *start)
{
    if (lines.isEmpty())
        return true;
    // Unbuffered: every write below reaches the file at once.
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // These files tell what the user holds and earned: the user's alone, a file made by an older
    // release too.
    platform::makePrivate(file);
    QByteArray lead;
    if (!cutAwayALastLineCutOff(file)) {
        // Ended, it stays a line apart from the rows that follow.
        lead = "\r\n";
    } else if (file.size() == 0) {
        lead = headerLine;
    }
    const auto write = [&file, error](const QByteArray &bytes) {
        if (file.write(bytes) == bytes.size())
            return true;
        if (error)
            *error = file.errorString();
        return false;
    };
    if (!lead.isEmpty() && !write(lead))
        return false;
    if (start)
        *start = file.size();
    for (const QByteArray &line : lines) {
        if (!write(line))
            return false;
    }
    return true;
}

bool append(const QString &dataDir, const QList<Row> &rows, QString *error)
{
    QList<QByteArray> lines;
    lines.reserve(rows.size());
    for (const Row &row : rows)
        lines.append(encodeRow(row));
    return appendLines(fileName(dataDir), header(), lines, error);
}

bool appendDownload(const QString &dataDir, const QStringList &positionLines,
                    std::optional<double> index, const QDateTime &now, QString *error)
{
    return append(dataDir, downloadRows(positionLines, index, now), error);
}

ReadResult decode(const QByteArray &bytes)
{
    ReadResult result;
    const QString text = Windows1252Text(bytes);
    std::vector<QString> quotedTexts;
    QStringView rest(text);
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf(QLatin1Char('\n'));
        if (end < 0) {
            // Every row is written with its line end: a line without one was cut off.
            ++result.skipped;
            break;
        }
        QStringView line = rest.left(end);
        rest = rest.mid(end + 1);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty() || line == kHeader)
            continue;
        quotedTexts.clear();
        if (std::optional<Row> row = decodeRow(line, quotedTexts))
            result.rows.append(std::move(*row));
        else
            ++result.skipped;
    }
    return result;
}

ReadResult read(const QString &dataDir, qint64 cap)
{
    QFile file(fileName(dataDir));
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return {{}, 0, false, file.errorString()};
    const qint64 size = file.size();
    const bool olderLeftOut = size > cap;
    if (olderLeftOut)
        file.seek(size - cap);
    QByteArray bytes = file.read(std::min(size, cap));
    if (olderLeftOut)
        bytes.remove(0, bytes.indexOf('\n') + 1);  // the first line read is only a part of one
    ReadResult result = decode(bytes);
    result.olderLeftOut = olderLeftOut;
    if (file.error() != QFileDevice::NoError)
        result.error = file.errorString();
    return result;
}

QList<Row> rowsOf(const QList<Row> &rows, const OptionKey &option, int occurrence)
{
    QList<Row> found;
    QDateTime download;
    int seen = 0;
    for (const Row &row : rows) {
        // The rows of one download share their moment, in the order of the position list.
        if (row.time != download) {
            download = row.time;
            seen = 0;
        }
        if (row.key() == option && seen++ == occurrence)
            found.append(row);
    }
    return found;
}

} // namespace history_file
