#pragma once
// Turns the rows of the option price pages into quote lines:
// "AEX C; " or "AEX P; " + expiry dd-mm-yyyy + "; " + strike + "; " + price,
// with strike and price as the page writes them, white space of any kind as blanks.

#include "market/quote_list.h"

#include <QByteArray>

// Empties the list, then adds the call quote lines of the page. Returns the number of rows
// recognised (rows whose line was already listed count too), so that a page which yielded no
// quote line at all can be told apart.
int ParseCalls(const QByteArray &page, QuoteList &koersList);

// Adds the put quote lines of the page to the list without emptying it. Returns the number of
// rows recognised, as ParseCalls does.
int ParsePuts(const QByteArray &page, QuoteList &koersList);
