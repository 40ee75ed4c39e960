// Positions files and typed prices of any content. The bytes are read as a positions file; every
// line goes through the field split and join, the price update after a download and the store of
// a typed transaction price (the text of the input's first line). Whatever the line holds, a
// rewrite touches only the fields it means to and never turns one line into another number of
// fields or into several lines.

#include "fuzz_support.h"

#include "positions/position_line.h"
#include "positions/position_view.h"
#include "positions/positions_file.h"
#include "market/page_text.h"
#include "market/position_update.h"
#include "support/text_routines.h"

#include <QRegularExpression>

#include <cstdint>

namespace {

QuoteList *quotes = nullptr;
QuoteIndex *quoteIndex = nullptr;

QString normalised(const QString &line)
{
    return JoinPositionFields(SplitPositionLine(line));
}

bool holdsLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// The fields of a rewritten line: ten, and equal to the original's except those listed.
void checkRewrite(const QString &before, const QString &after, std::initializer_list<int> changed)
{
    const QStringList old = SplitPositionLine(before);
    const QStringList now = SplitPositionLine(after);
    FUZZ_CHECK(now.size() == field::Count, before + QLatin1String(" -> ") + after);
    for (int i = 0; i < field::Count; ++i) {
        if (std::find(changed.begin(), changed.end(), i) != changed.end())
            continue;
        FUZZ_CHECK(now.at(i) == UnBeginSpace(old.at(i)),
                   QStringLiteral("field %1: ").arg(i + 1) + before + QLatin1String(" -> ") + after);
    }
    FUZZ_CHECK(!holdsLineBreak(after) || holdsLineBreak(before), after);
}

void checkLine(const QString &line, const QString &typedPrice)
{
    FUZZ_CHECK(!line.isEmpty() && !line.startsWith(QLatin1Char(';')) && !line.contains('\n'), line);

    const QStringList fields = SplitPositionLine(line);
    FUZZ_CHECK(fields.size() >= 2, line);
    for (const QString &f : fields) {
        FUZZ_CHECK(!f.contains(QLatin1Char(';')), f);
        FUZZ_CHECK(f == QLatin1String(" ") || !f.startsWith(QLatin1Char(' ')), f);
    }
    // Joining and splitting again settles after one round: a line rewritten over and over
    // does not drift.
    const QString once = normalised(line);
    const QString twice = normalised(once);
    FUZZ_CHECK(normalised(twice) == twice, twice);
    FUZZ_CHECK(SplitPositionLine(once).size() == field::Count, once);

    const bool usable = IsUsablePosition(fields);
    FUZZ_CHECK(!usable || fields.size() >= field::Count, line);

    // The update after a download: field 7 and 9 only, and the same fields on a second run.
    const QString updated = UpdatePositionLine(line, TDataRec(), *quoteIndex);
    if (updated != line) {
        checkRewrite(line, updated, {field::LastPrice, field::Difference});
        const QString lastPrice = SplitPositionLine(updated).at(field::LastPrice);
        static const QRegularExpression twoDecimals(QStringLiteral("\\A-?\\d+,\\d\\d\\z"));
        FUZZ_CHECK(twoDecimals.match(lastPrice).hasMatch(), lastPrice);
        const QString again = UpdatePositionLine(updated, TDataRec(), *quoteIndex);
        // Same quotes, same fields; only an empty field written as one blank may lose it.
        FUZZ_CHECK(normalised(again) == normalised(updated),
                   line + QLatin1String(" -> ") + updated + QLatin1String(" -> ") + again);
    }
    // The list-wide update agrees with the update of one line.
    FUZZ_CHECK(UpdatePositionLines({line}, TDataRec(), *quotes)
                   == QStringList{updated},
               line);

    // A typed transaction price: field 6 and 9 only.
    const QString stored = PutTransactieKoers(typedPrice, line);
    const bool splits = typedPrice.contains(QLatin1Char(';')) || holdsLineBreak(typedPrice);
    if (!usable || splits) {
        FUZZ_CHECK(stored == line, stored);
    } else {
        checkRewrite(line, stored, {field::TransactionPrice, field::Difference});
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    UseDutchLocale();
    quotes = new QuoteList;
    for (const char *quote : {"AEX C; 19-04-2013; 380,00; 12,35", "AEX C; 19-04-2013; 400,00; ",
                              "AEX P; 19-04-2013; 380,00; 4,60", "AEX P; 12-04-2013; 370,00; 1,05",
                              "AEX C; 15-03-2013; 380,00; 9,80", "AEX C; 20-12-2013; 420,00; 3,05",
                              "AEX P; 20-03-2025; 900,00; 31,40", "AEX C; 19-04-2013; 380,00; 99,99"})
        quotes->add(QString::fromLatin1(quote));
    quoteIndex = new QuoteIndex(*quotes);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = positions_file::decode(bytes);
    // What the file holds is what is written back.
    FUZZ_CHECK(positions_file::decode(positions_file::encode(lines)) == lines,
               lines.join(QLatin1Char('|')));

    const qsizetype firstBreak = bytes.indexOf('\n');
    const QString typedPrice = PageText(QByteArrayView(bytes).first(firstBreak < 0 ? bytes.size() : firstBreak));
    for (const QString &line : lines)
        checkLine(line, typedPrice);
    return 0;
}
