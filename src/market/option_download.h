#pragma once
// Bringing the option prices up to date: probe the connection, fetch the call page and the put
// page, rebuild the quote list and rewrite the last price and difference of every position.
// The window and the report run the same download, each on its positions book.

#include <QByteArray>
#include <QString>
#include <QStringList>

class PositionsBook;

// The last option page fetched.
extern QByteArray PageStr;

// True while a download waits between its fetches; a second one must not start then.
bool DownloadInProgress();

// Runs one download on the book: its quote list and the prices of its lines are replaced, and
// it announces each step. True when the download ran to its end; returns false at once, doing
// nothing, while another one is in progress.
bool DownloadPages(PositionsBook &book);

// The addresses of the two pages on the option price site.
QString CallPageUrl();
QString PutPageUrl();
