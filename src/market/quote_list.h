#pragma once
// The quote list: one line per option series with its price, kept sorted in the user's
// locale-aware, case-insensitive order. Adding a text that compares equal to one already listed
// leaves the list unchanged.

#include <QCollator>
#include <QString>
#include <QStringList>

class QuoteList
{
public:
    QuoteList();

    void add(const QString &line);
    void clear() { m_lines.clear(); }
    qsizetype count() const { return m_lines.size(); }
    bool isEmpty() const { return m_lines.isEmpty(); }
    const QString &at(qsizetype i) const { return m_lines.at(i); }
    const QStringList &lines() const { return m_lines; }

private:
    QCollator m_collator;
    QStringList m_lines;
};
