#include "market/key_sort.h"

#include "market/quote_order.h"

#include <algorithm>
#include <array>

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

void SortByKeys(std::vector<KeyedLine> &lines, const char *keys, KeySortSpace &space)
{
    // Nothing to order; an empty list has no first line for the sort to start from.
    if (lines.size() < 2)
        return;
    space.lines.resize(lines.size());
    space.groups.resize(lines.size());
    sortByKeys(lines.begin(), space.lines.begin(), std::ptrdiff_t(lines.size()), 0, true,
               space.groups.data(), keys);
}
