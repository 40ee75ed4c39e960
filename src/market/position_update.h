#pragma once
// Rewrites the last price and the money difference of position lines from the quote list.

#include "market/data_rec.h"
#include "market/quote_list.h"
#include "market/quote_lookup.h"

#include <QString>
#include <QStringList>

// The line with field 7 set to the series' current price and field 9 to the money difference
// amount x (transaction price - last price) x 100; the series is looked up under the day on
// which it expires (market/expiry_calendar.h). Lines that cannot be read as a position (fewer
// than ten fields, no usable year, no kind) come back exactly as they were, and so do lines of
// a series that does not expire in their month (an unknown code, an AX5 of a month with four
// Fridays): no quote can exist for them, and a price of 0 would show a profit never made.
QString UpdatePositionLine(const QString &line, TDataRec rec, const QuoteIndex &quotes);

// Every line updated against one index of the list.
QStringList UpdatePositionLines(const QStringList &lines, const TDataRec &rec,
                                const QuoteList &koersList);
