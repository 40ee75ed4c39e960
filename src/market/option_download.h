#pragma once
// Bringing the option prices up to date: probe the connection, fetch the call page and the put
// page, rebuild the quote list and rewrite the last price and difference of every position.

#include <QByteArray>
#include <QString>
#include <QStringList>

class QuoteList;

// What a download needs from the window that owns the positions and the quote list.
class OptionDownloadWindow
{
public:
    virtual ~OptionDownloadWindow() = default;
    virtual void setStatusText(const QString &text) = 0;
    virtual void setBusyCursor(bool busy) = 0;
    virtual QuoteList &quoteList() = 0;
    virtual QStringList positionLines() const = 0;
    // Replaces the lines in place; the list has the same length as positionLines() gave.
    virtual void replacePositionLines(const QStringList &lines) = 0;
    // The download has run to its end: the commands that need prices can be used.
    virtual void enableDownloadCommands() = 0;
    // Prices changed: show the selected position again and lay the window out.
    virtual void showDownloadedPrices() = 0;
};

// The last option page fetched.
extern QByteArray PageStr;

// True while a download waits between its fetches; a second one must not start then.
bool DownloadInProgress();

// Runs one download. Returns at once, doing nothing, while another one is in progress.
void DownloadPages(OptionDownloadWindow &window);

// The addresses of the two pages on the option price site.
QString CallPageUrl();
QString PutPageUrl();
