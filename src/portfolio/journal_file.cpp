#include "portfolio/journal_file.h"

#include <QCryptographicHash>
#include <QFile>

#include <algorithm>
#include <cmath>

#include "portfolio/history_file.h"
#include "positions/positions_file.h"
#include "support/code_page.h"
#include "support/text_routines.h"

namespace journal_file {

namespace {

enum Column {
    Time, Series, Kind, Month, Year, Strike, Amount, TransactionPrice, BuyBackPrice, Commission, Result,
    PositionsBefore, PositionsAfter, ColumnCount
};

const QString kHeader = QStringLiteral(
    "tijd;serie;soort;maand;jaar;uitoefenkoers;aantal;transactiekoers;terugkoopkoers;commissie;resultaat;"
    "regels voor;regels na");

bool isDigest(const QString &text)
{
    static const QByteArray hex("0123456789abcdef");
    return text.size() == 64 && std::all_of(text.begin(), text.end(), [](QChar c) {
               return c.unicode() < 128 && hex.contains(char(c.unicode()));
           });
}

std::optional<Row> decodeRow(QStringView line)
{
    const QStringList fields = history_file::splitLine(line);
    if (fields.size() != ColumnCount)
        return std::nullopt;
    Row row;
    row.time = QDateTime::fromString(fields[Time], Qt::ISODate);
    if (!row.time.isValid() || !ParseDecimalInt(fields[Year], &row.year)
        || !ParseDecimalInt(fields[Amount], &row.amount) || !isDigest(fields[PositionsAfter])
        || !(fields[PositionsBefore].isEmpty() || isDigest(fields[PositionsBefore])))
        return std::nullopt;
    row.series = fields[Series];
    row.kind = fields[Kind];
    row.month = fields[Month];
    row.strike = StrToReal(fields[Strike]);
    row.transactionPrice = StrToReal(fields[TransactionPrice]);
    row.buyBackPrice = StrToReal(fields[BuyBackPrice]);
    row.commission = StrToReal(fields[Commission]);
    row.result = StrToReal(fields[Result]);
    row.positionsBefore = fields[PositionsBefore].toLatin1();
    row.positionsAfter = fields[PositionsAfter].toLatin1();
    return row;
}

} // namespace

QString fileName(const QString &dataDir)
{
    return dataDir + QStringLiteral("Afgesloten.csv");
}

double RealisedResult(int amount, double transactionPrice, double buyBackPrice, double commission)
{
    return double(amount) * 100.0 * (transactionPrice - buyBackPrice) - commission;
}

QByteArray header()
{
    return kHeader.toLatin1() + "\r\n";
}

QByteArray encodeRow(const Row &row)
{
    using namespace history_file;
    return encodeLine({
        timeField(row.time),
        textField(row.series),
        textField(row.kind),
        textField(row.month),
        QString::number(row.year),
        numberField(row.strike),
        QString::number(row.amount),
        numberField(row.transactionPrice),
        numberField(row.buyBackPrice),
        numberField(row.commission),
        numberField(row.result),
        QString::fromLatin1(row.positionsBefore),
        QString::fromLatin1(row.positionsAfter),
    });
}

bool append(const QString &dataDir, const Row &row, qint64 *start, QString *error)
{
    return history_file::appendLines(fileName(dataDir), header(), {encodeRow(row)}, error, start);
}

bool takeBack(const QString &dataDir, qint64 start, QString *error)
{
    QFile file(fileName(dataDir));
    if (file.resize(start))
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

ReadResult decode(const QByteArray &bytes, const std::function<QByteArray()> &positionsDigest)
{
    ReadResult result;
    static const QByteArray headerLine = kHeader.toLatin1();
    qsizetype lastRowStart = -1;
    const bool cutOff = history_file::forEachLine(bytes, headerLine, [&](QByteArrayView line) {
        if (std::optional<Row> row = decodeRow(Windows1252Text(line))) {
            result.rows.append(std::move(*row));
            lastRowStart = line.data() - bytes.data();
        } else {
            ++result.skipped;
        }
    });
    result.skipped += cutOff;
    if (!result.rows.isEmpty()) {
        const Row &last = result.rows.constLast();
        const QByteArray positions = positionsDigest();
        if (last.positionsBefore == positions && last.positionsAfter != positions) {
            result.unfinishedAt = lastRowStart;
            result.rows.removeLast();
        }
    }
    return result;
}

ReadResult read(const QString &dataDir)
{
    // Of a file beyond the cap the newest part is read, where an unfinished row would be.
    const history_file::FileBytes file = history_file::readTail(fileName(dataDir), kReadCap);
    if (!file.error.isEmpty())
        return {{}, 0, std::nullopt, file.error};
    // Hashing the positions file takes milliseconds at thousands of lines: only a journal with
    // rows needs it, and most users never bought back.
    ReadResult result = decode(file.bytes, [&dataDir] { return PositionsDigest(dataDir); });
    if (result.unfinishedAt)
        *result.unfinishedAt += file.offset;
    return result;
}

QByteArray PositionsDigest(const QString &dataDir)
{
    QFile file(positions_file::fileName(dataDir));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex();
}

bool settle(const QString &dataDir, QString *error)
{
    const ReadResult read = journal_file::read(dataDir);
    if (!read.error.isEmpty()) {
        if (error)
            *error = read.error;
        return false;
    }
    return !read.unfinishedAt || takeBack(dataDir, *read.unfinishedAt, error);
}

Totals TotalsOf(const QList<Row> &rows)
{
    Totals totals;
    for (const Row &row : rows) {
        const QDate day = row.time.date();
        totals.perYear[day.year()] += row.result;
        totals.perMonth[day.toString(QStringLiteral("yyyy-MM"))] += row.result;
    }
    return totals;
}

} // namespace journal_file
