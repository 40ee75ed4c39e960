#include "market/index_download.h"

#include <QDateTime>

#include "market/connectivity_probe.h"
#include "market/market_hosts.h"
#include "market/page_fetch.h"

IndexQuote AEXQuote;

QString IndexPageUrl()
{
    return QStringLiteral("http://") + IndexHost() + QStringLiteral("/index.php?type=main");
}

void DownloadAEX(IndexQuoteWindow &window)
{
    window.setBusyCursor(true);
    if (!MarketProbePassed(RunConnectivityProbe(IndexHost()))) {
        window.showIndexQuote(IndexQuote::probeFailed(IndexHost()));
        window.setBusyCursor(false);
        return;
    }
    const QByteArray page = FetchIndexPage(IndexPageUrl());
    if (!page.isEmpty()) {
        const IndexQuoteResult result = AEXQuote.takePage(page, QDateTime::currentDateTime());
        if (result.kind == IndexQuoteResult::Show)
            window.showIndexQuote(result);
    }
    window.setBusyCursor(false);
}
