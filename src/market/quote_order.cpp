#include "market/quote_order.h"

#include <QMutex>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <vector>

// Rank of every printable ASCII character in the collator's order (characters that compare
// equal, such as a letter and its capital, share a rank); 0 for a character without one.
struct QuoteOrder::Ranks {
    std::array<unsigned char, 128> rank{};
};

namespace {

using Ranks = QuoteOrder::Ranks;

constexpr char16_t kFirstPlain = 0x20;
constexpr char16_t kLastPlain = 0x7e;

int sign(int value)
{
    return (value > 0) - (value < 0);
}

qsizetype appendKeyWith(const Ranks &ranks, QStringView text, QByteArray &keys)
{
    const qsizetype start = keys.size();
    keys.resize(start + text.size());
    char *out = keys.data() + start;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const unsigned char rank = u < ranks.rank.size() ? ranks.rank[u] : 0;
        if (rank == 0) {
            keys.truncate(start);
            return 0;
        }
        *out++ = char(rank);
    }
    return text.size();
}

QByteArray keyWith(const Ranks &ranks, QStringView text)
{
    QByteArray key;
    return appendKeyWith(ranks, text, key) > 0 ? key : QByteArray();
}

// The ranks, or nothing when they would not reproduce the collator's order.
std::shared_ptr<const Ranks> learnRanks(const QCollator &collator)
{
    QStringList chars;
    for (char16_t u = kFirstPlain; u <= kLastPlain; ++u) {
        const QString text(QChar{u});
        // A character the collator ignores cannot be given a place of its own.
        if (collator.compare(QLatin1String("a") + text, QLatin1String("a")) != 0)
            chars << text;
    }
    std::stable_sort(chars.begin(), chars.end(),
                     [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    auto ranks = std::make_shared<Ranks>();
    int rank = 0;
    for (qsizetype i = 0; i < chars.size(); ++i) {
        if (i == 0 || collator.compare(chars.at(i - 1), chars.at(i)) != 0)
            ++rank;
        ranks->rank[chars.at(i).at(0).unicode()] = static_cast<unsigned char>(rank);
    }

    // Every text of one or two ranked characters, put in the order of their keys, must be in
    // the collator's order too, and compare equal exactly where the keys are equal.
    struct Probe {
        QString text;
        QByteArray key;
    };
    std::vector<Probe> probes;
    probes.reserve(size_t(chars.size() * (chars.size() + 1)));
    for (const QString &first : chars) {
        probes.push_back({first, keyWith(*ranks, first)});
        for (const QString &second : chars)
            probes.push_back({first + second, keyWith(*ranks, first + second)});
    }
    std::sort(probes.begin(), probes.end(), [](const Probe &a, const Probe &b) {
        return QuoteOrder::compareKeys(a.key, b.key) < 0;
    });
    for (size_t i = 1; i < probes.size(); ++i) {
        if (sign(collator.compare(probes[i - 1].text, probes[i].text))
            != sign(QuoteOrder::compareKeys(probes[i - 1].key, probes[i].key)))
            return nullptr;
    }
    return ranks;
}

// Learnt once per locale.
std::shared_ptr<const Ranks> ranksFor(const QLocale &locale)
{
    static QMutex mutex;
    static std::map<QString, std::shared_ptr<const Ranks>> known;
    const QString name = locale.bcp47Name();
    QMutexLocker lock(&mutex);
    const auto found = known.find(name);
    if (found != known.end())
        return found->second;
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return known[name] = learnRanks(collator);
}

} // namespace

QuoteOrder::QuoteOrder(const QLocale &locale)
    : m_collator(locale)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

void QuoteOrder::useRanks()
{
    if (m_ranksAsked)
        return;
    m_ranks = ranksFor(m_collator.locale());
    m_ranksAsked = true;
}

QByteArray QuoteOrder::key(QStringView text) const
{
    return m_ranks ? keyWith(*m_ranks, text) : QByteArray();
}

qsizetype QuoteOrder::appendKey(QStringView text, QByteArray &keys) const
{
    return m_ranks ? appendKeyWith(*m_ranks, text, keys) : 0;
}

int QuoteOrder::compareKeys(QByteArrayView a, QByteArrayView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    const int order = common > 0 ? std::memcmp(a.constData(), b.constData(), size_t(common)) : 0;
    if (order != 0)
        return order;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int QuoteOrder::compare(QStringView a, QByteArrayView keyA, QStringView b, QByteArrayView keyB) const
{
    if (!keyA.isNull() && !keyB.isNull())
        return compareKeys(keyA, keyB);
    return m_collator.compare(a, b);
}
