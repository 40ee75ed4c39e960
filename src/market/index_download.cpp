#include "market/index_download.h"

#include <QDateTime>

#include "market/connectivity_probe.h"
#include "market/internet.h"
#include "market/market_hosts.h"
#include "market/page_fetch.h"

IndexQuote AEXQuote;

QString IndexPageUrl()
{
    return SiteAddress(IndexHost()) + QStringLiteral("/index.php?type=main");
}

void DownloadAEX(IndexQuoteWindow &window)
{
    window.setBusyCursor(true);
    const QString host = SiteProbeHost(IndexHost());
    if (!MarketProbePassed(RunConnectivityProbe(host))) {
        window.showIndexQuote(IndexQuote::probeFailed(host));
        window.setBusyCursor(false);
        return;
    }
    bool certificateRefused = false;
    const QByteArray page = FetchIndexPage(IndexPageUrl(), &certificateRefused);
    if (certificateRefused)
        window.showIndexQuote(IndexQuote::notReached(CertificateRefusedText(IndexPageUrl())));
    if (!page.isEmpty()) {
        const IndexQuoteResult result = AEXQuote.takePage(page, QDateTime::currentDateTime());
        if (result.kind == IndexQuoteResult::Show)
            window.showIndexQuote(result);
    }
    window.setBusyCursor(false);
}
