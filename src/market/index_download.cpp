#include "market/index_download.h"

#include <QDateTime>

#include "book/positions_book.h"
#include "market/connectivity_probe.h"
#include "market/market_hosts.h"
#include "market/page_fetch.h"

QString IndexPageUrl()
{
    return QStringLiteral("http://") + IndexHost() + QStringLiteral("/index.php?type=main");
}

void DownloadAEX(PositionsBook &book)
{
    book.setBusy(true);
    if (!MarketProbePassed(RunConnectivityProbe(IndexHost()))) {
        book.showIndexQuote(IndexQuote::probeFailed(IndexHost()));
        book.setBusy(false);
        return;
    }
    const QByteArray page = FetchIndexPage(IndexPageUrl());
    if (!page.isEmpty()) {
        const IndexQuoteResult result = book.AEXQuote().takePage(page, QDateTime::currentDateTime());
        if (result.kind == IndexQuoteResult::Show)
            book.showIndexQuote(result);
    }
    book.setBusy(false);
}
