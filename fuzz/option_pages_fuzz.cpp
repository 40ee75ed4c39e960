// The option page parser on arbitrary bytes, read first as a call page and then as a put page.
// Besides not crashing, the quote list must come out as a plain reading of the rows gives it:
// the parser cuts by offsets, and this target cuts the same page the slow way, by copying the
// rest of the text at every step, and compares the two lists.

#include "fuzz_support.h"

#include "market/option_pages.h"
#include "market/page_text.h"

#include <QByteArray>
#include <QCollator>

#include <cstdint>

namespace {

const QByteArray kHeading("Uitoef. prijs");
const QByteArray kPriceCell("fBold price\">");

// Where the next expiry cell starts in the text, found step by step on copies of it; -1 when
// none does.
qsizetype referenceFindRow(QByteArray text)
{
    qsizetype offset = 0;
    for (;;) {
        const qsizetype dash = text.indexOf('-');
        if (dash < 0)
            return -1;
        const qsizetype start = dash < 2 ? 0 : dash - 2;
        text = text.mid(start);
        offset += start;
        if (text.size() >= 6 && text.at(5) == '-')
            return offset;
        text = text.mid(9);
        offset += 9;
    }
}

// The rows of a page, cut step by step on copies of the text. A row's cells are the price cells
// that start before the next row's expiry cell, and their texts end at a tag before it, with
// white space of any kind as blanks.
int referenceCut(QByteArray text, const QString &prefix, QuoteList &list)
{
    const qsizetype heading = text.indexOf(kHeading);
    if (heading < 0)
        return 0;
    text = text.mid(heading + kHeading.size());
    qsizetype row = referenceFindRow(text);
    int rows = 0;
    while (row >= 0) {
        text = text.mid(row);
        const qsizetype behindExpiry = referenceFindRow(text.mid(8));
        const qsizetype next = behindExpiry < 0 ? -1 : 8 + behindExpiry;
        const QByteArray expiry = text.left(6) + "20" + text.mid(6, 2);
        QByteArray cells[2];
        int found = 0;
        QByteArray rest = text;
        qsizetype restOffset = 0;
        for (QByteArray &cell : cells) {
            const qsizetype marker = rest.indexOf(kPriceCell);
            if (marker < 0 || (next >= 0 && restOffset + marker >= next))
                break;
            rest = rest.mid(marker + kPriceCell.size());
            restOffset += marker + kPriceCell.size();
            const qsizetype tag = rest.indexOf('<');
            cell = tag < 0 || (next >= 0 && restOffset + tag > next) ? QByteArray() : rest.left(tag);
            ++found;
        }
        if (next < 0 && found < 2)
            break;
        if (found > 0) {
            for (QByteArray &cell : cells) {
                for (char &c : cell) {
                    if ((c >= '\t' && c <= '\r') || c == '\xa0')
                        c = ' ';
                }
            }
            list.add(prefix + PageText(expiry) + QLatin1String("; ") + PageText(cells[0])
                     + QLatin1String("; ") + PageText(cells[1]));
            ++rows;
        }
        row = next;
    }
    return rows;
}

void checkOrder(const QuoteList &list)
{
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    for (qsizetype i = 1; i < list.count(); ++i)
        FUZZ_CHECK(collator.compare(list.at(i - 1), list.at(i)) < 0,
                   list.at(i - 1) + QLatin1String(" | ") + list.at(i));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    UseDutchLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray page(reinterpret_cast<const char *>(data), qsizetype(size));

    QuoteList list;
    list.add(QStringLiteral("stays only until the call page is read"));
    const int callRows = ParseCalls(page, list);
    FUZZ_CHECK(list.count() <= callRows, QString::number(list.count()));
    for (const QString &line : list.lines())
        FUZZ_CHECK(line.startsWith(QLatin1String("AEX C; ")), line);
    const qsizetype calls = list.count();

    const int putRows = ParsePuts(page, list);
    FUZZ_CHECK(putRows == callRows, QString::number(putRows));
    FUZZ_CHECK(list.count() >= calls && list.count() <= calls + putRows,
               QString::number(list.count()));
    checkOrder(list);

    // The slow reading gives the same rows and the same list.
    QuoteList reference;
    const int referenceRows = referenceCut(page, QStringLiteral("AEX C; "), reference);
    referenceCut(page, QStringLiteral("AEX P; "), reference);
    FUZZ_CHECK(referenceRows == callRows,
               QStringLiteral("rows %1, read the slow way %2").arg(callRows).arg(referenceRows));
    FUZZ_CHECK(reference.lines() == list.lines(),
               list.lines().join(QLatin1Char('|')) + QLatin1String(" <> ")
                   + reference.lines().join(QLatin1Char('|')));
    return 0;
}
