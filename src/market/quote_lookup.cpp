#include "market/quote_lookup.h"

#include "support/text_routines.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

const QString kNoQuote = QStringLiteral(" 0.0");
// Every key begins with this text, so a line can contain a key only where this text stands.
const QString kKeyStart = QStringLiteral("AEX ");
// The quote site writes its numbers the Dutch way, whatever the user's own notation.
constexpr QChar kPageDecimalPoint = u',';

} // namespace

QString QuoteKey(const TDataRec &rec)
{
    // Written in one piece: a download builds one for every position.
    const QString strike = RealToStr(rec.UitOefen, 5, 2, kPageDecimalPoint);
    QVarLengthArray<char16_t, 64> key(kKeyStart.size() + 30 + strike.size());
    char16_t *out = std::copy(kKeyStart.utf16(), kKeyStart.utf16() + kKeyStart.size(), key.data());
    *out++ = rec.CP.unicode();
    *out++ = u';';
    *out++ = u' ';
    out = WriteIntToStrZ2(rec.ExpDay, out);
    *out++ = u'-';
    out = WriteIntToStrZ2(rec.ExpMonth, out);
    *out++ = u'-';
    out = WriteDecimal(rec.ExpYear, out);
    *out++ = u';';
    *out++ = u' ';
    out = std::copy(strike.utf16(), strike.utf16() + strike.size(), out);
    return QString(reinterpret_cast<const QChar *>(key.data()), out - key.data());
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
    : m_list(koersList)
{
    m_ranked = true;
    for (qsizetype i = 0; i < m_list.count() && m_ranked; ++i)
        m_ranked = !m_list.key(i).isNull();
    // Looking for the key's first letter is cheap, in the keys (a byte a character) cheaper
    // still, and most lines hold it only at their start.
    const QByteArray rankOfA = m_ranked ? m_list.order().key(kKeyStart.left(1)) : QByteArray();
    for (qsizetype i = 0; i < m_list.count(); ++i) {
        const QByteArrayView key = m_list.key(i);
        const bool mayHoldA = rankOfA.size() == 1
            ? key.size() > 1 && std::memchr(key.data() + 1, rankOfA.front(), size_t(key.size() - 1))
            : QStringView(m_list.at(i)).indexOf(kKeyStart.front(), 1) >= 0;
        if (mayHoldA && m_list.at(i).indexOf(kKeyStart, 1) >= 0)
            m_elsewhere.push_back(i);
    }
    if (m_ranked)
        return;
    m_byText.resize(size_t(m_list.count()));
    std::iota(m_byText.begin(), m_byText.end(), 0);
    std::sort(m_byText.begin(), m_byText.end(),
              [this](qsizetype a, qsizetype b) { return m_list.at(a) < m_list.at(b); });
}

qsizetype QuoteIndex::appendRankKey(const QString &key, QByteArray &keys) const
{
    return m_ranked && key.startsWith(kKeyStart) ? m_list.order().appendKey(key, keys) : 0;
}

qsizetype QuoteIndex::lowerBound(QByteArrayView rankKey, qsizetype from) const
{
    const auto before = [this, rankKey](qsizetype i) {
        return QuoteOrder::compareKeys(m_list.key(i), rankKey) < 0;
    };
    // Galloping: probes at from, from+1, from+3, from+7 ... bracket the answer, so a near answer
    // costs a few probes close together and a far one a binary search.
    qsizetype low = from;
    qsizetype high = from;
    qsizetype step = 1;
    while (high < m_list.count() && before(high)) {
        low = high + 1;
        high = low + step;
        step *= 2;
    }
    high = std::min(high, m_list.count());
    while (low < high) {
        const qsizetype middle = low + (high - low) / 2;
        if (before(middle))
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

qsizetype QuoteIndex::firstContaining(const QString &key, QByteArrayView rankKey, qsizetype from) const
{
    qsizetype best = m_list.count();
    if (!rankKey.isNull()) {
        // The lines whose keys start with the key's key are neighbours. A line starting with the
        // key itself is among them (the ranks make no case difference, the key does), and
        // walking them in list order the first such line is the one.
        for (qsizetype i = from; i < m_list.count() && m_list.key(i).startsWith(rankKey); ++i) {
            if (m_list.at(i).startsWith(key)) {
                best = i;
                break;
            }
        }
    } else if (!key.startsWith(kKeyStart)) {
        // Not a key that QuoteKey builds: no shortcut applies.
        for (qsizetype i = 0; i < m_list.count(); ++i) {
            if (m_list.at(i).contains(key, Qt::CaseSensitive))
                return i;
        }
        return best;
    } else if (m_ranked) {
        // A key the ranks cannot stand for: walk the list.
        for (qsizetype i = 0; i < m_list.count() && best == m_list.count(); ++i) {
            if (m_list.at(i).startsWith(key))
                best = i;
        }
    } else {
        auto it = std::lower_bound(m_byText.begin(), m_byText.end(), key,
                                   [this](qsizetype i, const QString &k) { return m_list.at(i) < k; });
        for (; it != m_byText.end() && m_list.at(*it).startsWith(key); ++it)
            best = std::min(best, *it);
    }
    // A line whose only "AEX " stands at its start contains the key exactly when it starts with
    // it; the few others are searched whole.
    for (qsizetype i : m_elsewhere) {
        if (i >= best)
            break;
        if (m_list.at(i).contains(key, Qt::CaseSensitive))
            return i;
    }
    return best;
}

QString QuoteIndex::firstLineContaining(const QString &key) const
{
    QString first;
    forEachFirstLine({key}, [this, &first](qsizetype, qsizetype line) {
        if (line < m_list.count())
            first = m_list.at(line);
    });
    return first;
}

QStringView QuoteIndex::koersAt(qsizetype line) const
{
    return line < m_list.count() ? RightOfLast(QLatin1Char(';'), QStringView(m_list.at(line))) : QStringView(kNoQuote);
}

void QuoteIndex::GetKoers(TDataRec &rec) const
{
    rec.Koers = koersFor({QuoteKey(rec)}).constFirst();
}

QStringList QuoteIndex::koersFor(const QStringList &keys) const
{
    QStringList koers(keys.size());
    forEachFirstLine(keys, [this, &koers](qsizetype key, qsizetype line) {
        koers[key] = koersAt(line).toString();
    });
    return koers;
}

std::vector<double> QuoteIndex::pricesFor(const QStringList &keys) const
{
    std::vector<double> prices(size_t(keys.size()));
    forEachFirstLine(keys, [this, &prices](qsizetype key, qsizetype line) {
        prices[size_t(key)] = StrToReal(koersAt(line));
    });
    return prices;
}

template<typename Found>
void QuoteIndex::forEachFirstLine(const QStringList &keys, Found found) const
{
    // The keys the list's keys answer for, in the order of their own keys, so that each search
    // starts where the one before it ended and the list is walked once. Their rank keys are
    // made one after the other in one array, and viewed once it has stopped growing.
    QByteArray rankKeys;
    struct Sought {
        qsizetype offset;
        qsizetype length;
        qsizetype index;
        QByteArrayView rankKey;
    };
    std::vector<Sought> sought;
    sought.reserve(size_t(keys.size()));
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const qsizetype offset = rankKeys.size();
        if (const qsizetype length = appendRankKey(keys.at(i), rankKeys))
            sought.push_back({offset, length, i, {}});
        else
            found(i, firstContaining(keys.at(i), QByteArrayView(), 0));
    }
    for (Sought &s : sought)
        s.rankKey = QByteArrayView(rankKeys.constData() + s.offset, s.length);
    std::sort(sought.begin(), sought.end(), [](const Sought &a, const Sought &b) {
        return QuoteOrder::compareKeys(a.rankKey, b.rankKey) < 0;
    });
    qsizetype from = 0;
    for (const Sought &s : sought) {
        from = lowerBound(s.rankKey, from);
        found(s.index, firstContaining(keys.at(s.index), s.rankKey, from));
    }
}
