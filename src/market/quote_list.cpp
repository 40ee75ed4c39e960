#include "market/quote_list.h"

#include <algorithm>

QuoteList::QuoteList(const QLocale &locale)
    : m_order(locale)
{
}

void QuoteList::clear()
{
    // Emptied, not freed: the next page fills the same memory.
    if (!m_lines.isEmpty()) {
        std::swap(m_lines, m_kept.spareTexts);
        m_lines.clear();
    }
    m_keys.clear();
    m_keyBytes.truncate(0);
}

// Where an added line's key lies, taken from the line being added rather than looked up
// among the staged lines far off.
QuoteList::KeySpan QuoteList::spanOf(const KeyedLine &added) const
{
    return {added.keyOffset, added.keySize};
}

QString QuoteList::takeSpareText()
{
    if (m_kept.spareTexts.isEmpty())
        return QString();
    QString text = std::move(m_kept.spareTexts.last());
    m_kept.spareTexts.removeLast();
    return text;
}

QuoteList::KeySpan QuoteList::appendKey(const QString &line)
{
    const qsizetype offset = m_keyBytes.size();
    return {quint32(offset), quint32(m_order.appendKey(line, m_keyBytes))};
}

void QuoteList::add(const QString &line)
{
    m_order.useRanks();
    const KeySpan span = appendKey(line);
    const QByteArrayView lineKey = span.in(m_keyBytes);
    qsizetype low = 0;
    qsizetype high = m_lines.size();
    while (low < high) {
        const qsizetype middle = low + (high - low) / 2;
        if (m_order.compare(m_lines.at(middle), key(middle), line, lineKey) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    if (low < m_lines.size() && m_order.compare(m_lines.at(low), key(low), line, lineKey) == 0) {
        m_keyBytes.truncate(span.offset);
        return;
    }
    m_lines.insert(low, line);
    m_keys.insert(m_keys.begin() + low, span);
}


void QuoteList::addAll(QStringList lines)
{
    for (QString &line : lines)
        stage(std::move(line));
    addStaged();
}

void QuoteList::stage(QString line)
{
    m_order.useRanks();
    // The new keys go behind the listed ones.
    const KeySpan key = appendKey(line);
    m_kept.adding.emplace_back(key.offset, key.length, m_kept.staged.size());
    m_kept.staged << std::move(line);
}

void QuoteList::addStaged()
{
    QStringList &lines = m_kept.staged;
    std::vector<KeyedLine> &sorted = m_kept.adding;
    const char *keys = m_keyBytes.constData();
    const auto compareAdded = [&](const KeyedLine &a, const KeyedLine &b) {
        return m_order.compare(lines.at(a.index), a.key(keys), lines.at(b.index), b.key(keys));
    };

    // The new lines in order; of lines that compare equal the first one given is kept, as
    // adding them one by one would keep it.
    if (std::all_of(sorted.begin(), sorted.end(), [](const KeyedLine &a) { return a.keySize != 0; })) {
        SortByKeys(sorted, keys, m_kept.sortSpace);
        sorted.erase(std::remove_if(sorted.begin(), sorted.end(), [](const KeyedLine &a) { return a.repeatsKey; }),
                     sorted.end());
    } else {
        std::stable_sort(sorted.begin(), sorted.end(),
                         [&](const KeyedLine &a, const KeyedLine &b) { return compareAdded(a, b) < 0; });
        sorted.erase(std::unique(sorted.begin(), sorted.end(),
                                 [&](const KeyedLine &a, const KeyedLine &b) { return compareAdded(a, b) == 0; }),
                     sorted.end());
    }

    // The lines are moved rather than copied: a copy touches every line's text once more, far
    // apart in memory. When they all go behind the listed ones (the put lines sort behind the call
    // lines), they are simply appended.
    if (!sorted.empty()
        && (m_lines.isEmpty()
            || m_order.compare(m_lines.constLast(), m_keys.back().in(m_keyBytes),
                               lines.at(sorted.front().index), sorted.front().key(keys)) < 0)) {
        m_lines.reserve(m_lines.size() + qsizetype(sorted.size()));
        m_keys.reserve(m_keys.size() + sorted.size());
        for (const KeyedLine &added : sorted) {
            m_lines << std::move(lines[added.index]);
            m_keys.push_back(spanOf(added));
        }
        lines.clear();
        sorted.clear();
        return;
    }

    // Otherwise merged with the listed lines, which win over an equal new one.
    QStringList listed = std::move(m_lines);
    QStringList mergedLines = std::move(m_kept.mergedLines);
    std::vector<KeySpan> mergedKeys = std::move(m_kept.mergedKeys);
    mergedLines.clear();
    mergedKeys.clear();
    mergedLines.reserve(listed.size() + qsizetype(sorted.size()));
    mergedKeys.reserve(size_t(mergedLines.capacity()));
    qsizetype old = 0;
    for (const KeyedLine &added : sorted) {
        int relation = 1;
        for (; old < listed.size(); ++old) {
            relation = m_order.compare(listed.at(old), m_keys[size_t(old)].in(m_keyBytes),
                                       lines.at(added.index), added.key(keys));
            if (relation >= 0)
                break;
            mergedLines << std::move(listed[old]);
            mergedKeys.push_back(m_keys[size_t(old)]);
        }
        if (old < listed.size() && relation == 0)
            continue;
        mergedLines << std::move(lines[added.index]);
        mergedKeys.push_back(spanOf(added));
    }
    for (; old < listed.size(); ++old) {
        mergedLines << std::move(listed[old]);
        mergedKeys.push_back(m_keys[size_t(old)]);
    }
    m_lines = std::move(mergedLines);
    std::swap(m_keys, mergedKeys);
    m_kept.mergedLines = std::move(listed);
    m_kept.mergedLines.clear();
    m_kept.mergedKeys = std::move(mergedKeys);
    lines.clear();
    sorted.clear();
}
