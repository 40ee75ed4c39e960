#pragma once
// What the demo quote site serves: the option price pages, the mobile index page, and the
// maker's files (version list, installer, download page). Everything is single-byte text;
// numbers are written the Dutch way.

#include "market_model.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// Decimal comma, no thousands separator, a minus sign for a negative value and no sign for a
// positive one; a value that rounds to zero has no sign.
QString dutchNumber(double value, int decimals = 2);

// The call or put price table: one row per series in the order given, each row an expiry cell
// (dd-mm-yy), a strike cell and a last-price cell, then bid, ask and volume.
QByteArray optionPage(OptionKind kind, const QList<OptionQuote> &chain, double index,
                      const QDateTime &now);

struct IndexLevel
{
    QDateTime time;      // local time of the quote
    double level = 0.0;
    double previousClose = 0.0;
};

// The mobile page with the index levels. With the markup taken out, its top reads
// "Koers;" date (dd-mm-yy) time (hh:mm:ss) "HOME" "Fondsen" "AEX" level "(" change ")" per cent "%",
// with no blanks in between.
QByteArray indexPage(const IndexLevel &quote);

QString installerFileName();

// The demo installer: a shell script that only notes when it ran and with which arguments,
// padded to a whole number of KiB so that its download takes a few blocks.
QByteArray installerScript();

// The list of the maker's current releases; the size given for the installer is its size in
// KiB, rounded up, and its SHA-256 follows as "sha256=" and 64 hexadecimal digits.
QByteArray versionList(const QByteArray &installer);

QByteArray downloadPage(qint64 installerBytes);
