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
    : m_lines(koersList.lines())
{
    m_byText.reserve(size_t(m_lines.size()));
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        m_byText.push_back(i);
        if (m_lines.at(i).indexOf(kKeyStart, 1) >= 0)
            m_elsewhere.push_back(i);
    }
    std::sort(m_byText.begin(), m_byText.end(),
              [this](qsizetype a, qsizetype b) { return m_lines.at(a) < m_lines.at(b); });
}

QString QuoteIndex::firstLineContaining(const QString &key) const
{
    if (!key.startsWith(kKeyStart)) {
        // Not a key that QuoteKey builds: no shortcut applies.
        for (const QString &line : m_lines) {
            if (line.contains(key, Qt::CaseSensitive))
                return line;
        }
        return QString();
    }
    // A line whose only "AEX " stands at its start contains the key exactly when it starts with
    // it; those lines form one run in character order.
    qsizetype best = m_lines.size();
    auto it = std::lower_bound(m_byText.begin(), m_byText.end(), key,
                               [this](qsizetype i, const QString &k) { return m_lines.at(i) < k; });
    for (; it != m_byText.end() && m_lines.at(*it).startsWith(key); ++it)
        best = std::min(best, *it);
    for (qsizetype i : m_elsewhere) {
        if (i >= best)
            break;
        if (m_lines.at(i).contains(key, Qt::CaseSensitive)) {
            best = i;
            break;
        }
    }
    return best < m_lines.size() ? m_lines.at(best) : QString();
}

void QuoteIndex::GetKoers(TDataRec &rec) const
{
    const QString line = firstLineContaining(QuoteKey(rec));
    rec.Koers = line.isNull() ? kNoQuote : RightOfLast(QLatin1Char(';'), line);
}
