#include "market/quote_lookup.h"

#include "support/text_routines.h"

#include <algorithm>

namespace {

const QString kNoQuote = QStringLiteral(" 0.0");
// Every key begins with this text, so a line can contain a key only where this text stands.
const QString kKeyStart = QStringLiteral("AEX ");

} // namespace

QString QuoteKey(const TDataRec &rec)
{
    return kKeyStart + rec.CP + QLatin1String("; ") + IntToStrZ2(rec.ExpDay) + QLatin1Char('-')
        + IntToStrZ2(rec.ExpMonth) + QLatin1Char('-') + QString::number(rec.ExpYear)
        + QLatin1String("; ") + RealToStr(rec.UitOefen, 5, 2);
}

void GetKoers(TDataRec &rec, const QuoteList &koersList)
{
    rec.Koers = kNoQuote;
    const QString key = QuoteKey(rec);
    for (const QString &line : koersList.lines()) {
        if (line.contains(key, Qt::CaseSensitive)) {
            rec.Koers = RightOfLast(QLatin1Char(';'), line);
            return;
        }
    }
}

QuoteIndex::QuoteIndex(const QuoteList &koersList)
{
    const QStringList &lines = koersList.lines();
    m_byText.reserve(size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        m_byText.push_back({line, i});
        if (line.indexOf(kKeyStart, 1) >= 0)
            m_elsewhere.push_back({line, i});
    }
    std::sort(m_byText.begin(), m_byText.end(),
              [](const Entry &a, const Entry &b) { return a.line < b.line; });
}

QString QuoteIndex::firstLineContaining(const QString &key) const
{
    const Entry *best = nullptr;
    if (key.startsWith(kKeyStart)) {
        // A line whose only "AEX " stands at its start contains the key exactly when it starts
        // with it; those lines form one run in character order.
        auto it = std::lower_bound(m_byText.begin(), m_byText.end(), key,
                                   [](const Entry &e, const QString &k) { return e.line < k; });
        for (; it != m_byText.end() && it->line.startsWith(key); ++it) {
            if (!best || it->listIndex < best->listIndex)
                best = &*it;
        }
        for (const Entry &e : m_elsewhere) {
            if (best && e.listIndex >= best->listIndex)
                break;
            if (e.line.contains(key, Qt::CaseSensitive)) {
                best = &e;
                break;
            }
        }
    } else {
        // Not a key that QuoteKey builds: no shortcut applies.
        for (const Entry &e : m_byText) {
            if (e.line.contains(key, Qt::CaseSensitive) && (!best || e.listIndex < best->listIndex))
                best = &e;
        }
    }
    return best ? best->line : QString();
}

void QuoteIndex::GetKoers(TDataRec &rec) const
{
    const QString line = firstLineContaining(QuoteKey(rec));
    rec.Koers = line.isNull() ? kNoQuote : RightOfLast(QLatin1Char(';'), line);
}
