#pragma once
// Finds the price of one option series in the quote list. The series is described by the
// lookup fields of a TDataRec (CP, ExpDay, ExpMonth, ExpYear, UitOefen); the price text comes
// back in its Koers field.

#include "market/data_rec.h"
#include "market/quote_list.h"

#include <QString>
#include <vector>

// "AEX " + CP + "; " + dd-mm-yyyy + "; " + strike with two decimals in the user's notation:
// the start of the quote line of that series.
QString QuoteKey(const TDataRec &rec);

// Sets rec.Koers to the text after the last ";" of the first line, in list order, that contains
// the key; " 0.0" when no line does.
void GetKoers(TDataRec &rec, const QuoteList &koersList);

// The same lookup for many series against one list: built once, it answers each lookup without
// walking the whole list, with exactly the result GetKoers gives on that list.
class QuoteIndex
{
public:
    QuoteIndex() = default;
    explicit QuoteIndex(const QuoteList &koersList);

    void GetKoers(TDataRec &rec) const;
    // The price text GetKoers gives for each key. Asked together, the keys are found in one
    // pass through the list.
    QStringList koersFor(const QStringList &keys) const;
    // The price for each key as StrToReal reads the text that koersFor gives: read as soon as
    // its line is found, rather than fetched again from far off in the list.
    std::vector<double> pricesFor(const QStringList &keys) const;
    // The first line in list order that contains the key, or a null text.
    QString firstLineContaining(const QString &key) const;

private:
    // The first line in list order that contains key, searching the list's keys from `from`
    // on (every key before `from` sorts before rankKey, the key's own); the line count when no
    // line contains it.
    qsizetype firstContaining(const QString &key, QByteArrayView rankKey, qsizetype from) const;
    // The first position at or after `from` whose key does not sort before rankKey.
    qsizetype lowerBound(QByteArrayView rankKey, qsizetype from) const;
    // Calls found(key, line) with each key's index and the place of its first line (the line
    // count when no line contains it).
    template<typename Found>
    void forEachFirstLine(const QStringList &keys, Found found) const;
    // Appends a key's rank key to keys and returns its length, when the list's keys can answer
    // for it; returns 0 otherwise.
    qsizetype appendRankKey(const QString &key, QByteArray &keys) const;
    // The price text of the line at a place in the list, " 0.0" past its end.
    QStringView koersAt(qsizetype line) const;

    QuoteList m_list;
    // Every line has a key, so the list is in the order of its keys, in which the lines that
    // start with the same text are neighbours. Otherwise m_byText holds the positions in
    // the list ordered by the lines' characters, for the same purpose.
    bool m_ranked = false;
    std::vector<qsizetype> m_byText;
    // Positions of the lines in which a key could also start after the first character.
    std::vector<qsizetype> m_elsewhere;
};
