#include "portfolio/history_file.h"

#include <QFile>
#include <QLocale>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/private_files.h"
#include "support/code_page.h"
#include "support/text_routines.h"

namespace history_file {

namespace {

enum Column { Time, Index, Series, Kind, Month, Year, Strike, LastPrice, Amount, Difference, ColumnCount };

const QString kHeader = QStringLiteral(
    "tijd;aex;serie;soort;maand;jaar;uitoefenkoers;laatste koers;aantal;verschil");

// The fields of a line, as views into it or into quotedTexts for a quoted field; none for a line
// cut inside a quoted field. For a line of text and for a line of the file's bytes alike: the
// characters that end a field or a line are ASCII, and the code page holds each as one byte.
template <typename View, typename Text>
QVarLengthArray<View, ColumnCount + 2> splitFields(View line, std::vector<Text> &quotedTexts)
{
    using Char = typename View::value_type;
    const Char quote('"');
    const Char separator(';');
    QVarLengthArray<View, ColumnCount + 2> fields;
    qsizetype pos = 0;
    for (;;) {
        if (pos < line.size() && line.at(pos) == quote) {
            Text text;
            qsizetype i = pos + 1;
            for (; i < line.size(); ++i) {
                if (line.at(i) != quote) {
                    text += line.at(i);
                } else if (i + 1 < line.size() && line.at(i + 1) == quote) {
                    text += quote;
                    ++i;
                } else {
                    break;
                }
            }
            quotedTexts.push_back(std::move(text));
            fields.append(View(quotedTexts.back()));
            pos = i + 1;  // behind the closing quote
            if (pos < line.size() && line.at(pos) != separator)
                return {};
        } else {
            const qsizetype end = line.indexOf(separator, pos);
            fields.append(line.sliced(pos, (end < 0 ? line.size() : end) - pos));
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

// A field as text, made in place for the readers of numbers and moments, which take text: the
// code page has one character for each byte.
class WideField
{
public:
    QStringView operator()(QByteArrayView field)
    {
        m_chars.resize(field.size());
        DecodeWindows1252(field, m_chars.data());
        return QStringView(m_chars.data(), m_chars.size());
    }

private:
    QVarLengthArray<char16_t, 64> m_chars;
};

// The moment of a time field, kept with the bytes it was read from: the rows of a download all
// have the same.
class SharedMoment
{
public:
    const QDateTime &of(QByteArrayView field, WideField &wide)
    {
        if (field != m_bytes) {
            m_bytes = field.toByteArray();
            m_value = timeOf(wide(field));
        }
        return m_value;
    }

private:
    QByteArray m_bytes;
    QDateTime m_value;
};

// The text of a field, kept with the bytes it was made of: most rows have the series, kind or
// month of the row before, and share its text.
class SharedText
{
public:
    const QString &of(QByteArrayView field)
    {
        if (field != m_bytes) {
            m_bytes = field.toByteArray();
            m_value = Windows1252Text(field);
        }
        return m_value;
    }

private:
    QByteArray m_bytes;
    QString m_value;
};

// Makes rows of a file's lines, which are read as bytes: a field becomes text only where the row
// keeps it as text, and then mostly by sharing the text of a row before.
class RowReader
{
public:
    // False for a line that is no row.
    bool read(QByteArrayView line, Row &row)
    {
        m_quotedTexts.clear();
        const auto fields = splitFields(line, m_quotedTexts);
        if (fields.size() != ColumnCount)
            return false;
        row.time = m_time.of(fields[Time], m_wide);
        if (!row.time.isValid() || !ParseDecimalInt(m_wide(fields[Year]), &row.year)
            || !ParseDecimalInt(m_wide(fields[Amount]), &row.amount))
            return false;
        row.index = fields[Index].isEmpty() ? std::nullopt : std::optional(StrToReal(m_wide(fields[Index])));
        row.series = m_series.of(fields[Series]);
        row.kind = m_kind.of(fields[Kind]);
        row.month = m_month.of(fields[Month]);
        row.strike = StrToReal(m_wide(fields[Strike]));
        row.lastPrice = StrToReal(m_wide(fields[LastPrice]));
        row.difference = StrToReal(m_wide(fields[Difference]));
        return true;
    }

private:
    std::vector<QByteArray> m_quotedTexts;
    WideField m_wide;
    SharedMoment m_time;
    SharedText m_series, m_kind, m_month;
};

// The header line as it stands in the file.
QByteArrayView headerBytes()
{
    static const QByteArray header = kHeader.toLatin1();
    return header;
}

// Whether a field is a whole number as ParseDecimalInt reads it: nine digits or fewer always are.
bool isWholeNumber(QByteArrayView field, WideField &wide)
{
    if (!field.isEmpty() && field.size() <= 9
        && std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return true;
    return ParseDecimalInt(wide(field), nullptr);
}

// What finding the rows of one option must know of each line, found without making its row:
// whether it is a row, its moment, and whether it holds the option. A line with a quote in it is
// read whole instead.
class OptionLines
{
public:
    explicit OptionLines(const OptionKey &option) : m_option(option) {}

    struct Look {
        bool isRow = false;
        bool isOption = false;
        const QDateTime *time = nullptr;  // until the next line is looked at
        // The bytes the moment was read from, when the line was looked at quickly: the same bytes
        // are the same moment.
        QByteArrayView timeBytes;
    };
    Look look(QByteArrayView line)
    {
        if (line.contains('"'))
            return lookWhole(line);
        // Where each field ends: at its separator, the last one at the line's end.
        std::array<qsizetype, ColumnCount> ends{};
        qsizetype from = 0;
        for (size_t column = 0; column + 1 < ColumnCount; ++column) {
            ends[column] = line.indexOf(';', from);
            if (ends[column] < 0)
                return {};
            from = ends[column] + 1;
        }
        ends.back() = line.size();
        if (line.sliced(from).contains(';'))
            return {};
        const auto field = [&line, &ends](int first, int last) {
            const qsizetype start = first == 0 ? 0 : ends[size_t(first - 1)] + 1;
            return line.sliced(start, ends[size_t(last)] - start);
        };
        Look look;
        look.timeBytes = field(Time, Time);
        look.time = &m_time.of(look.timeBytes, m_wide);
        look.isRow = look.time->isValid() && isWholeNumber(field(Year, Year), m_wide)
                     && isWholeNumber(field(Amount, Amount), m_wide);
        // The option's fields lie side by side: series, kind, month, year and strike.
        look.isOption = look.isRow && holdsOption(field(Series, Strike));
        return look;
    }

private:
    Look lookWhole(QByteArrayView line)
    {
        Row row;
        if (!m_reader.read(line, row))
            return {};
        m_wholeTime = row.time;
        return {true, row.key() == m_option, &m_wholeTime, {}};
    }
    // Each way the option's fields are written is judged once.
    bool holdsOption(QByteArrayView optionFields)
    {
        const std::string_view written(optionFields.data(), size_t(optionFields.size()));
        const auto judged = m_judged.find(written);
        if (judged != m_judged.end())
            return judged->second;
        const QStringList fields = splitLine(Windows1252Text(optionFields));
        int year = 0;
        ParseDecimalInt(fields.at(Year - Series), &year);
        const bool holds = MakeOptionKey(fields.at(0), fields.at(Kind - Series), fields.at(Month - Series),
                                         year, StrToReal(fields.at(Strike - Series)))
                           == m_option;
        m_judged.emplace(written, holds);
        return holds;
    }

    struct TextHash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };

    OptionKey m_option;
    RowReader m_reader;
    WideField m_wide;
    SharedMoment m_time;
    QDateTime m_wholeTime;
    std::unordered_map<std::string, bool, TextHash, std::equal_to<>> m_judged;
};

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
    RowReader reader;
    Row row;
    const bool cutOff = forEachLine(bytes, headerBytes(), [&](QByteArrayView line) {
        if (reader.read(line, row))
            result.rows.append(std::move(row));
        else
            ++result.skipped;
    });
    result.skipped += cutOff;
    return result;
}

FileBytes readTail(const QString &path, qint64 cap)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return {{}, 0, false, file.errorString()};
    FileBytes read;
    const qint64 size = file.size();
    read.olderLeftOut = size > cap;
    if (read.olderLeftOut) {
        read.offset = size - cap;
        file.seek(read.offset);
    }
    read.bytes = file.read(std::min(size, cap));
    if (read.olderLeftOut) {
        // The first line read is only a part of one.
        const qsizetype cut = read.bytes.indexOf('\n') + 1;
        read.bytes.remove(0, cut);
        read.offset += cut;
    }
    if (file.error() != QFileDevice::NoError)
        read.error = file.errorString();
    return read;
}

FileBytes readBytes(const QString &dataDir, qint64 cap)
{
    return readTail(fileName(dataDir), cap);
}

ReadResult read(const QString &dataDir, qint64 cap)
{
    const FileBytes file = readBytes(dataDir, cap);
    ReadResult result = decode(file.bytes);
    result.olderLeftOut = file.olderLeftOut;
    result.error = file.error;
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

QList<Row> rowsOf(const QByteArray &bytes, const OptionKey &option, int occurrence)
{
    // As the function above does with every row made.
    QList<Row> found;
    OptionLines lines(option);
    RowReader reader;
    QDateTime download;
    QByteArray downloadBytes;
    int seen = 0;
    forEachLine(bytes, headerBytes(), [&](QByteArrayView line) {
        const OptionLines::Look look = lines.look(line);
        if (!look.isRow)
            return;
        if (look.timeBytes.isEmpty() || look.timeBytes != downloadBytes) {
            if (*look.time != download) {
                download = *look.time;
                seen = 0;
            }
            downloadBytes = look.timeBytes.toByteArray();
        }
        Row row;
        if (look.isOption && seen++ == occurrence && reader.read(line, row))
            found.append(std::move(row));
    });
    return found;
}

} // namespace history_file
