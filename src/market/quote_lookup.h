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
    // The first line in list order that contains the key, or a null text.
    QString firstLineContaining(const QString &key) const;

private:
    QStringList m_lines;
    // Positions in m_lines, ordered by the lines' characters, so that the lines starting with a
    // key are neighbours.
    std::vector<qsizetype> m_byText;
    // Positions of the lines in which a key could also start after the first character.
    std::vector<qsizetype> m_elsewhere;
};
