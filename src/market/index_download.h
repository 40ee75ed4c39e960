#pragma once
// The index refresh: probe the index site, fetch its mobile page and show the level, its
// change and the moment of the quote.

#include "market/index_quote.h"

class IndexQuoteWindow
{
public:
    virtual ~IndexQuoteWindow() = default;
    virtual void setBusyCursor(bool busy) = 0;
    virtual void showIndexQuote(const IndexQuoteResult &result) = 0;
};

// The texts of the last refreshes, kept for the whole run.
extern IndexQuote AEXQuote;

QString IndexPageUrl();
void DownloadAEX(IndexQuoteWindow &window);
