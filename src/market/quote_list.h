#pragma once
// The quote list: one line per option series with its price, kept sorted in the user's
// locale-aware, case-insensitive order. Adding a text that compares equal to one already listed
// leaves the list unchanged.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

#include "market/quote_order.h"

class QuoteList
{
public:
    QuoteList();

    void add(const QString &line);
    // The same as adding the lines one after the other, in one step: a page's worth of lines
    // is sorted once instead of being moved into place line by line.
    void addAll(QStringList lines);
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
    // Where a line's key lies in m_keyBytes; a length of 0 for a line without one.
    struct KeySpan {
        qsizetype offset = 0;
        qsizetype length = 0;
        QByteArrayView in(const QByteArray &bytes) const
        {
            return length == 0 ? QByteArrayView() : QByteArrayView(bytes.constData() + offset, length);
        }
    };
    KeySpan appendKey(const QString &line, QByteArray &bytes) const;

    QuoteOrder m_order;
    QStringList m_lines;
    // The keys of all lines one after the other, so that a page's lines cost one allocation
    // for their keys rather than one each. Keys of lines left out stay behind unused.
    std::vector<KeySpan> m_keys;
    QByteArray m_keyBytes;
};
