#include "market/index_download.h"

#include <QDateTime>

#include "book/positions_book.h"
#include "market/connectivity_probe.h"
#include "market/internet.h"
#include "market/market_hosts.h"
#include "market/page_fetch.h"

QString IndexPageUrl()
{
    return SiteAddress(IndexHost()) + QStringLiteral("/index.php?type=main");
}

void DownloadAEX(PositionsBook &book)
{
    book.setBusy(true);
    const QString host = SiteProbeHost(IndexHost());
    if (!MarketProbePassed(RunConnectivityProbe(host))) {
        book.showIndexQuote(IndexQuote::probeFailed(host));
        book.setBusy(false);
        return;
    }
    bool certificateRefused = false;
    const QByteArray page = FetchIndexPage(IndexPageUrl(), &certificateRefused);
    if (certificateRefused)
        book.showIndexQuote(IndexQuote::notReached(CertificateRefusedText(IndexPageUrl())));
    if (!page.isEmpty()) {
        const IndexQuoteResult result = book.AEXQuote().takePage(page, QDateTime::currentDateTime());
        if (result.kind == IndexQuoteResult::Show)
            book.showIndexQuote(result);
    }
    book.setBusy(false);
}
