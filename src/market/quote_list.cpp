#include "market/quote_list.h"

#include <algorithm>
#include <array>
#include <numeric>

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
QuoteList::KeySpan QuoteList::spanOf(const Adding &added) const
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

namespace {

// How many bytes from the start all keys in [first, last) have in common, given that they agree
// in their first `depth`: a page's keys begin alike, and each byte they share would otherwise
// cost a pass over all of them.
template<typename It>
qsizetype sharedLength(It first, It last, qsizetype depth, const char *keys)
{
    const QByteArrayView model = first->key(keys);
    qsizetype shared = model.size();
    for (It it = first + 1; it != last && shared > depth; ++it) {
        const QByteArrayView key = it->key(keys);
        const qsizetype common = std::min(shared, key.size());
        qsizetype i = depth;
        while (i < common && key[i] == model[i])
            ++i;
        shared = i;
    }
    return shared;
}

// Sorts lines whose keys agree in their first `depth` bytes by their keys, keeping the given
// order among equal keys, and marks each key that equals the one before it: the sort learns
// that on the way, where a pass after it would fetch every key once more. Keys are distributed
// by one byte at a time (a stable radix sort), so a page costs time in proportion to its size,
// where comparing keys would cost more per line the longer the page; small groups are cheaper
// to compare.
//
// The lines move to and fro between two arrays of the same length, a level at a time, rather
// than being copied back after every level: `at` holds them now, `other` takes them next, and
// `atHome` says whether `at` is the array they must end in. Lines in their final place are
// brought home once.
//
// Of the groups a byte makes, the largest is sorted on in this loop and only the others by a
// call of their own. Each of those holds at most half the lines, so the calls nest no deeper
// than the logarithm of the page's length, however long a prefix its keys share (a page whose
// strikes read 1, 11, 111, ... would otherwise nest one call per byte of the longest one).
template<typename It>
void sortByKeys(It at, It other, std::ptrdiff_t count, qsizetype depth, bool atHome,
                unsigned char *groups, const char *keys)
{
    const auto settle = [&](std::ptrdiff_t from, std::ptrdiff_t n) {
        if (!atHome)
            std::copy(at + from, at + from + n, other + from);
    };
    for (;;) {
        if (count <= 32) {
            // Few keys are sorted by insertion, which is stable and needs no memory of its own;
            // the bytes that they agree in need no comparing.
            for (It next = at + 1; next < at + count; ++next) {
                auto item = *next;
                It place = next;
                for (; place != at; --place) {
                    const int order = QuoteOrder::compareKeys(item.key(keys).sliced(depth),
                                                              (place - 1)->key(keys).sliced(depth));
                    if (order >= 0) {
                        item.repeatsKey = order == 0;
                        break;
                    }
                    *place = *(place - 1);
                }
                *place = item;
            }
            settle(0, count);
            return;
        }
        depth = sharedLength(at, at + count, depth, keys);
        // Group 0 holds the keys that end here, which come first; group b the keys whose next
        // byte is b (a key holds no byte 0: ranks start at 1). Each key's group is noted on the
        // way, so that its byte is fetched from the far-off key once, not twice.
        std::array<std::ptrdiff_t, 257> starts{};
        for (std::ptrdiff_t i = 0; i < count; ++i) {
            const auto &key = at[i];
            groups[i] = key.keySize == depth ? 0 : static_cast<unsigned char>(keys[key.keyOffset + depth]);
            ++starts[size_t(groups[i]) + 1];
        }
        // Keys that all end here are equal, and sorted.
        if (starts[1] == count) {
            for (It it = at + 1; it < at + count; ++it)
                it->repeatsKey = true;
            settle(0, count);
            return;
        }
        for (size_t g = 1; g < starts.size(); ++g)
            starts[g] += starts[g - 1];
        std::array<std::ptrdiff_t, 257> next = starts;
        for (std::ptrdiff_t i = 0; i < count; ++i)
            other[next[groups[i]]++] = at[i];
        std::swap(at, other);
        atHome = !atHome;
        // Group 0, now in front, holds equal keys in the given order.
        for (It it = at + 1; it < at + starts[1]; ++it)
            it->repeatsKey = true;
        settle(0, starts[1]);

        size_t largest = 1;
        for (size_t g = 2; g + 1 < starts.size(); ++g) {
            if (starts[g + 1] - starts[g] > starts[largest + 1] - starts[largest])
                largest = g;
        }
        for (size_t g = 1; g + 1 < starts.size(); ++g) {
            const std::ptrdiff_t size = starts[g + 1] - starts[g];
            if (g != largest && size > 1)
                sortByKeys(at + starts[g], other + starts[g], size, depth + 1, atHome, groups + starts[g], keys);
            else if (g != largest && size == 1)
                settle(starts[g], 1);
        }
        at += starts[largest];
        other += starts[largest];
        groups += starts[largest];
        count = starts[largest + 1] - starts[largest];
        ++depth;
    }
}

} // namespace

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
    m_kept.adding.emplace_back(appendKey(line), m_kept.staged.size());
    m_kept.staged << std::move(line);
}

void QuoteList::addStaged()
{
    QStringList &lines = m_kept.staged;
    std::vector<Adding> &sorted = m_kept.adding;
    const char *keys = m_keyBytes.constData();
    const auto compareAdding = [&](const Adding &a, const Adding &b) {
        return m_order.compare(lines.at(a.index), a.key(keys), lines.at(b.index), b.key(keys));
    };

    // The new lines in order; of lines that compare equal the first one given is kept, as
    // adding them one by one would keep it.
    if (std::all_of(sorted.begin(), sorted.end(), [](const Adding &a) { return a.keySize != 0; })) {
        m_kept.sortSpace.resize(sorted.size());
        m_kept.sortGroups.resize(sorted.size());
        sortByKeys(sorted.begin(), m_kept.sortSpace.begin(), std::ptrdiff_t(sorted.size()), 0, true,
                   m_kept.sortGroups.data(), keys);
        sorted.erase(std::remove_if(sorted.begin(), sorted.end(), [](const Adding &a) { return a.repeatsKey; }),
                     sorted.end());
    } else {
        std::stable_sort(sorted.begin(), sorted.end(),
                         [&](const Adding &a, const Adding &b) { return compareAdding(a, b) < 0; });
        sorted.erase(std::unique(sorted.begin(), sorted.end(),
                                 [&](const Adding &a, const Adding &b) { return compareAdding(a, b) == 0; }),
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
        for (const Adding &added : sorted) {
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
    for (const Adding &added : sorted) {
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
