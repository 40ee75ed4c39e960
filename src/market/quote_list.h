#pragma once
// The quote list: one line per option series with its price, kept sorted in the user's
// locale-aware, case-insensitive order. Adding a text that compares equal to one already listed
// leaves the list unchanged.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

#include "market/key_sort.h"
#include "market/quote_order.h"

class QuoteList
{
public:
    explicit QuoteList(const QLocale &locale = QLocale());

    void add(const QString &line);
    // The same as adding the lines one after the other, in one step: a page's worth of lines
    // is sorted once instead of being moved into place line by line.
    void addAll(QStringList lines);
    // addAll in two steps, for lines made one by one: each line is staged as it is made (its key
    // is worked out while its text is still at hand), then all of them are added at once.
    void stage(QString line);
    void addStaged();
    // The text of a line that clear() dropped, for a new line to be written into (resized, it
    // keeps its memory when that is large enough); a null text when none is left.
    QString takeSpareText();
    void clear();
    qsizetype count() const { return m_lines.size(); }
    bool isEmpty() const { return m_lines.isEmpty(); }
    const QString &at(qsizetype i) const { return m_lines.at(i); }
    const QStringList &lines() const { return m_lines; }

    // The order of the list, and the order's key of the line at i (a null view for a line
    // without one).
    const QuoteOrder &order() const { return m_order; }
    QByteArrayView key(qsizetype i) const { return m_keys[size_t(i)].in(m_keyBytes); }

private:
    // Where a line's key lies in m_keyBytes; a length of 0 for a line without one. Small, as
    // the list holds one for every line.
    struct KeySpan {
        quint32 offset = 0;
        quint32 length = 0;
        QByteArrayView in(const QByteArray &bytes) const
        {
            return length == 0 ? QByteArrayView() : QByteArrayView(bytes.constData() + offset, length);
        }
    };
    KeySpan appendKey(const QString &line);
    KeySpan spanOf(const KeyedLine &added) const;

    QuoteOrder m_order;
    QStringList m_lines;
    // The keys of all lines one after the other, so that a page's lines cost one allocation
    // for their keys rather than one each. Keys of lines left out stay behind unused.
    std::vector<KeySpan> m_keys;
    QByteArray m_keyBytes;

    // What the list keeps from one page to the next: the texts of the lines it dropped, for
    // the next page's lines to be written into, and the work space of addStaged, emptied but
    // with its capacity (clear() keeps the capacity of the lists above too). Memory of a page's
    // size freed after every download would be handed back to the system and faulted in afresh
    // by the next one. A copy of the list starts without any of it.
    struct Kept {
        Kept() = default;
        Kept(const Kept &) {}
        Kept &operator=(const Kept &) { return *this; }
        Kept(Kept &&) = default;
        Kept &operator=(Kept &&) = default;

        QStringList spareTexts;
        QStringList staged;
        std::vector<KeyedLine> adding;
        KeySortSpace sortSpace;
        QStringList mergedLines;
        std::vector<KeySpan> mergedKeys;
    };
    Kept m_kept;
};
