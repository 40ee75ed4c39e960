#pragma once
// Rewrites the last price and the money difference of position lines from the quote list.

#include "market/data_rec.h"
#include "market/quote_list.h"
#include "market/quote_lookup.h"

#include <QDate>
#include <QString>
#include <QStringList>

// The expiry day under which a series is quoted: the third Friday of the expiry month for the
// monthly series "AEX", the Friday of today's week (Sunday to Saturday) for every weekly series;
// 21 March counts as the 20th for both.
int PositionExpiryDay(QStringView series, int expiryYear, int expiryMonth, const QDate &today);

// The line with field 7 set to the series' current price and field 9 to the money difference
// amount x (transaction price - last price) x 100. Lines that cannot be read as a position
// (fewer than ten fields, no usable year, no kind) come back exactly as they were.
QString UpdatePositionLine(const QString &line, TDataRec rec, const QuoteIndex &quotes,
                           const QDate &today);

// Every line updated against one index of the list.
QStringList UpdatePositionLines(const QStringList &lines, const TDataRec &rec,
                                const QuoteList &koersList, const QDate &today);
