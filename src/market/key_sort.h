#pragma once
// Sorting a page's lines by the keys of the quote order (one byte for each character, compared
// byte by byte): a radix sort, in time that grows with the number of lines.

#include <QByteArrayView>
#include <QtGlobal>

#include <vector>

// A line being sorted: where its key lies among the keys' bytes (a length of 0 for a line
// without one, which must not be sorted this way) and its place among the lines given. Small,
// since thousands of them are moved about.
struct KeyedLine {
    KeyedLine() = default;
    KeyedLine(qsizetype keyOffset, qsizetype keySize, qsizetype index)
        : keyOffset(quint32(keyOffset)), keySize(quint32(keySize)), index(quint32(index)) {}
    QByteArrayView key(const char *keys) const
    {
        return keySize == 0 ? QByteArrayView() : QByteArrayView(keys + keyOffset, keySize);
    }
    quint32 keyOffset = 0;
    quint32 keySize = 0;
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
