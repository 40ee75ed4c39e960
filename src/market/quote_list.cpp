#include "market/quote_list.h"

#include <algorithm>
#include <array>
#include <numeric>

QuoteList::QuoteList()
    : m_order(QLocale())
{
}

void QuoteList::clear()
{
    m_lines.clear();
    m_keys.clear();
    m_keyBytes.clear();
}

QuoteList::KeySpan QuoteList::appendKey(const QString &line, QByteArray &bytes) const
{
    const qsizetype offset = bytes.size();
    return {offset, m_order.appendKey(line, bytes)};
}

void QuoteList::add(const QString &line)
{
    m_order.useRanks();
    const KeySpan span = appendKey(line, m_keyBytes);
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

// A line given to addAll: its key and its place among the lines given. Kept small, since a
// page's worth of them is moved about while sorting.
struct New {
    QByteArrayView key;
    qsizetype index;
};
using NewIt = std::vector<New>::iterator;

// Sorts lines whose keys agree in their first `depth` bytes by their keys, keeping the given
// order among equal keys. Keys are distributed by one byte at a time (a stable radix sort), so
// a page costs time in proportion to its size, where comparing keys would cost more per line
// the longer the page; small groups are cheaper to compare.
//
// Of the groups a byte makes, the largest is sorted on in this loop and only the others by a
// call of their own. Each of those holds at most half the lines, so the calls nest no deeper
// than the logarithm of the page's length, however long a prefix its keys share (a page whose
// strikes read 1, 11, 111, ... would otherwise nest one call per byte of the longest one).
void sortByKeys(NewIt first, NewIt last, qsizetype depth, NewIt scratch)
{
    const auto before = [](const New &a, const New &b) {
        return QuoteOrder::compareKeys(a.key, b.key) < 0;
    };
    for (;;) {
        const std::ptrdiff_t count = last - first;
        if (count <= 32) {
            std::stable_sort(first, last, before);
            return;
        }
        // Group 0 holds the keys that end here, which come first; group b + 1 the keys whose
        // next byte is b.
        std::array<std::ptrdiff_t, 258> starts{};
        const auto groupOf = [depth](const New &n) {
            return n.key.size() == depth ? 0 : 1 + int(static_cast<unsigned char>(n.key[depth]));
        };
        for (NewIt it = first; it != last; ++it)
            ++starts[size_t(groupOf(*it)) + 1];
        if (std::find(starts.begin(), starts.end(), count) != starts.end()) {
            // One group only: nothing to move at this byte.
            if (starts[1] == count)
                return; // every key ended: all equal
            ++depth;
            continue;
        }
        for (size_t g = 1; g < starts.size(); ++g)
            starts[g] += starts[g - 1];
        std::array<std::ptrdiff_t, 258> next = starts;
        for (NewIt it = first; it != last; ++it)
            scratch[next[size_t(groupOf(*it))]++] = *it;
        std::copy(scratch, scratch + count, first);

        // Group 0 needs no sorting: its keys are equal and kept in the given order.
        size_t largest = 1;
        for (size_t g = 2; g + 1 < starts.size(); ++g) {
            if (starts[g + 1] - starts[g] > starts[largest + 1] - starts[largest])
                largest = g;
        }
        for (size_t g = 1; g + 1 < starts.size(); ++g) {
            if (g != largest && starts[g + 1] - starts[g] > 1)
                sortByKeys(first + starts[g], first + starts[g + 1], depth + 1, scratch + starts[g]);
        }
        scratch += starts[largest];
        last = first + starts[largest + 1];
        first += starts[largest];
        ++depth;
    }
}

} // namespace

void QuoteList::addAll(QStringList lines)
{
    m_order.useRanks();
    // The new keys go behind the listed ones. Views into the buffer are taken only once it
    // has stopped growing.
    QByteArray bytes = m_keyBytes;
    std::vector<KeySpan> spans;
    spans.reserve(size_t(lines.size()));
    for (const QString &line : lines)
        spans.push_back(appendKey(line, bytes));
    std::vector<New> sorted;
    sorted.reserve(spans.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        sorted.push_back({spans[size_t(i)].in(bytes), i});
    const auto compareNew = [&](const New &a, const New &b) {
        return m_order.compare(lines.at(a.index), a.key, lines.at(b.index), b.key);
    };

    // The new lines in order; of lines that compare equal the first one given is kept, as
    // adding them one by one would keep it.
    if (std::all_of(sorted.begin(), sorted.end(), [](const New &n) { return !n.key.isNull(); })) {
        std::vector<New> scratch(sorted.size());
        sortByKeys(sorted.begin(), sorted.end(), 0, scratch.begin());
    } else {
        std::stable_sort(sorted.begin(), sorted.end(),
                         [&](const New &a, const New &b) { return compareNew(a, b) < 0; });
    }
    sorted.erase(std::unique(sorted.begin(), sorted.end(),
                             [&](const New &a, const New &b) { return compareNew(a, b) == 0; }),
                 sorted.end());

    // Merged with the lines already listed, which win over an equal new one. The lines are moved
    // rather than copied: a copy touches every line's text once more, far apart in memory.
    QStringList listed = std::move(m_lines);
    QStringList mergedLines;
    std::vector<KeySpan> mergedKeys;
    mergedLines.reserve(listed.size() + qsizetype(sorted.size()));
    mergedKeys.reserve(size_t(mergedLines.capacity()));
    qsizetype old = 0;
    for (const New &added : sorted) {
        int relation = 1;
        for (; old < listed.size(); ++old) {
            relation = m_order.compare(listed.at(old), m_keys[size_t(old)].in(bytes),
                                       lines.at(added.index), added.key);
            if (relation >= 0)
                break;
            mergedLines << std::move(listed[old]);
            mergedKeys.push_back(m_keys[size_t(old)]);
        }
        if (old < listed.size() && relation == 0)
            continue;
        mergedLines << std::move(lines[added.index]);
        mergedKeys.push_back(spans[size_t(added.index)]);
    }
    for (; old < listed.size(); ++old) {
        mergedLines << std::move(listed[old]);
        mergedKeys.push_back(m_keys[size_t(old)]);
    }
    m_lines = std::move(mergedLines);
    m_keys = std::move(mergedKeys);
    m_keyBytes = std::move(bytes);
}
