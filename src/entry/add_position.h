#pragma once
// The rules of the add dialog without its window: the expiry date of a series, the strikes that
// the quote list offers for a series, which strike is chosen first, and the position line that
// the dialog's choices compose.

#include <QChar>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include "market/data_rec.h"
#include "market/quote_list.h"

// The series code of the series group's entry 0-4 ("AX1", "AX2", "AEX", "AX4", "AX5");
// empty for any other index.
QString SeriesName(int index);

// Expiry date of a series ("AX1", "AX2", "AEX", "AX4", "AX5") in a month, given the month's
// first day as "01-mm-yyyy": the day on which it expires (market/expiry_calendar.h) as
// "dd-mm-yyyy", or an empty text when the series does not expire in that month (an AX5 of a
// month with four Fridays). Throws ConversionError when the text is no date in that form.
QString GetExpDate(const QString &series, const QString &firstOfMonth);

// Expiry date of a series in the month with list index monthIndex (0 = January) of the year
// written as yearText. Throws ConversionError as GetExpDate does.
QString ExpiryOfChoice(const QString &series, int monthIndex, const QString &yearText);

// The strike text of a quote line: its third ";"-separated field with the leading blank it has
// in the list; empty when the line has fewer fields.
QString GetUitOef(const QString &quoteLine);

// "Geen", then in list order the strike of every quote line of the kind (cp is 'C' or 'P') that
// expires on expiry ("dd-mm-yyyy"); only "Geen" for an empty expiry. The quote pages list every
// series under "AEX" and tell the weekly ones by their day.
QStringList StrikeChoices(const QuoteList &list, QChar cp, const QString &expiry);

// The entry first selected in a strike list of entryCount entries ("Geen" included): the one
// just past the middle, or -1 (none) when that lies beyond the end.
int DefaultStrikeIndex(int entryCount);

// The strike as the position line holds it: the strike text up to its decimal comma, leading
// blank kept; empty when the text has no comma ("Geen", an empty field).
QString StrikeOfChoice(const QString &strikeText);

// The text shown instead of a position line when the chosen series and kind have no strikes.
QString NoValidSeriesText();

// Composes the position line for the dialog's choices: series code, kind ("Put" or "Call"),
// month list index (0 = January), year text, strike text as the strike field shows it and the
// count as typed. Fills the lookup fields of the record and finds the price in quotes with
// GetKoers. The difference field is 0,00: the price is both the transaction and the last price.
// Gives NoValidSeriesText() when the series does not expire in the month, quotes holds no strike
// for the kind on the series' expiry day, or the strike holds a ";" or a line break.
// Throws ConversionError for a year or a count that is not a whole number, or a month index
// that names no month.
QString ComposePositionLine(const QString &series, const QString &kind, int monthIndex,
                            const QString &yearText, const QString &strikeText,
                            const QString &countText, const QuoteList &quotes, TDataRec &DataRec);

// Whether a composed result is a line that may be added to the positions: one with a strike.
bool IsAddableLine(const QString &resultText);

// Top left at which a window of size inner stands centred over the window outer; halves are
// cut toward zero.
QPoint CentredTopLeft(const QRect &outer, const QSize &inner);
