#pragma once
// Sorting a page's lines by the keys of the quote order (one byte for each character, compared
// byte by byte): a radix sort, in time that grows with the number of lines.

#include <QByteArrayView>
#include <QtGlobal>

#include <vector>

// Where a line's key lies among the keys' bytes; a length of 0 for a line without one. Small, as
// a list holds one for every line.
struct KeySpan {
    quint32 offset = 0;
    quint32 length = 0;
    QByteArrayView in(const char *keys) const
    {
        return length == 0 ? QByteArrayView() : QByteArrayView(keys + offset, length);
    }
};

// A line being sorted: its key (a line without one must not be sorted this way) and its place
// among the lines given. Small, since thousands of them are moved about.
struct KeyedLine {
    KeyedLine() = default;
    KeyedLine(KeySpan span, qsizetype index) : span(span), index(quint32(index)) {}
    QByteArrayView key(const char *keys) const { return span.in(keys); }
    KeySpan span;
    quint32 index : 31 = 0;
    // Set by the sort: the key equals the one before it.
    quint32 repeatsKey : 1 = 0;
};

// Work space of the sort, which may be kept from one sort to the next.
struct KeySortSpace {
    std::vector<KeyedLine> lines;
    std::vector<unsigned char> groups;
};

// Sorts the lines by their keys, found in `keys`, keeping the given order among equal keys, and
// marks each line whose key equals the one before it. Every line must have a key.
void SortByKeys(std::vector<KeyedLine> &lines, const char *keys, KeySortSpace &space);
