#pragma once
// The index level, its change and the time of the quote, cut from the visible text of the
// mobile index page.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// Removes the markup from a page in place: everything from a "<" up to and including the next
// ">" goes; character references stay as they are.
void ParseHTML(QByteArray &page);

enum class IndexColour { Green, Red, Blue };

struct Rgb {
    int red, green, blue;
};
Rgb IndexColourRgb(IndexColour colour);

// What the index labels should show after one refresh.
struct IndexQuoteResult {
    enum Kind {
        Unchanged,  // same quote time as before: the labels keep what they show
        Show,       // set the four texts (and the colours that are given), then lay them out
        DateError,  // the quote's date or time could not be read: the labels keep what they show
    };
    Kind kind = Unchanged;
    QString l21, l22, l23, l24;
    // A colour that is not given stays as it was.
    std::optional<IndexColour> l22Colour, l23Colour;
};

// The unit-wide texts of the index quote, kept from one refresh to the next.
class IndexQuote
{
public:
    // Reads a fetched page; `now` is the system clock, used for a quote from before the
    // opening. An empty page means no page arrived: nothing changes.
    IndexQuoteResult takePage(QByteArray page, const QDateTime &now);

    // The labels when the index site does not answer the probe, or when its certificate was
    // refused (the reason given); their colours stay.
    static IndexQuoteResult probeFailed(const QString &host);
    static IndexQuoteResult notReached(const QString &reason);

    // The moment the labels show for a quote with this date and time text (dd-mm-yyyy and
    // hh:mm[:ss]): after the close it is the close, before the opening the close of the day
    // before, and a weekend day moves back to the Friday. Null when the text cannot be read.
    static QDateTime quoteMoment(const QString &dateText, const QString &timeText,
                                 const QDateTime &now);

    QString sAEX;           // index level as cut from the page
    QString sPrevAEX;       // sAEX of the refresh before
    QString sDeltaAEX;      // change of the index
    QString sProc;          // change in per cent, ending in "%"
    QString sAEX_Tijd;      // quote time as cut from the page
    QString Old_sAEX_Tijd;  // sAEX_Tijd of the refresh before

    // The moment of the last quote shown; null before the first.
    QDateTime moment;

    // The level as a number; none before the first quote.
    std::optional<double> level() const;

    bool operator==(const IndexQuote &) const = default;
};
