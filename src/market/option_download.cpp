#include "market/option_download.h"

#include <QCoreApplication>
#include <QDateTime>

#include <optional>

#include "book/positions_book.h"
#include "entry/settings_values.h"
#include "market/connectivity_probe.h"
#include "market/data_rec.h"
#include "market/internet.h"
#include "market/market_hosts.h"
#include "market/option_pages.h"
#include "market/page_fetch.h"
#include "market/position_update.h"
#include "market/quote_list.h"

QByteArray PageStr;

namespace {

bool g_downloading = false;

// Marks a download as running for as long as it lives, also when a fetch throws.
class DownloadGuard
{
public:
    DownloadGuard() { g_downloading = true; }
    ~DownloadGuard() { g_downloading = false; }
};

// Announces the wait on the network for as long as it lives, also when a fetch throws.
class BusyBook
{
public:
    explicit BusyBook(PositionsBook &book) : m_book(book) { m_book.setBusy(true); }
    ~BusyBook() { m_book.setBusy(false); }

private:
    PositionsBook &m_book;
};

// Why a page cannot be used, or an empty text when it can. A page that broke off holds only
// part of the rows; reading it would zero the positions whose rows were lost.
QString pageFault(const QByteArray &page, bool whole, bool certificateRefused, int rows,
                  const QString &name, const QString &url)
{
    if (certificateRefused)
        return QStringLiteral("Download mislukt: ") + CertificateRefusedText(url) + QLatin1Char('.');
    if (page.isEmpty())
        return QStringLiteral("Download mislukt: de %1 is leeg.").arg(name);
    if (!whole)
        return QStringLiteral("Download mislukt: de %1 is niet volledig ontvangen.").arg(name);
    if (rows == 0)
        return QStringLiteral("Download mislukt: de %1 bevat geen koersen.").arg(name);
    return QString();
}

// The list that the next download fills. It is kept from one download to the next, emptied but
// with its memory: a list the size of a page, freed after every download, would have that memory
// handed back to the system and faulted in afresh by the next download.
QuoteList &nextQuoteList(const QuoteList &shown)
{
    static std::optional<QuoteList> next;
    if (!next || next->order().locale() != shown.order().locale())
        next.emplace(shown.order().locale());
    return *next;
}

} // namespace

QString CallPageUrl()
{
    return SiteAddress(QuoteHost()) + QStringLiteral("/derivaten/opties/?call=AEX.AEX/O");
}

QString PutPageUrl()
{
    return SiteAddress(QuoteHost()) + QStringLiteral("/derivaten/opties/?put=AEX.AEX/O");
}

bool DownloadInProgress()
{
    return g_downloading;
}

bool DownloadPages(PositionsBook &book)
{
    if (g_downloading)
        return false;
    const DownloadGuard guard;
    const BusyBook busy(book);

    if (!MarketProbePassed(RunConnectivityProbe(SiteProbeHost(MakerHost())))) {
        book.setStatusText(QStringLiteral("Geen internetverbinding."));
        return false;
    }
    TDataRec &record = book.DataRec();
    PrepareDataRec(record, QDate::currentDate(), NumberOfYears);

    // The new quotes are collected apart, so that a page that failed leaves the prices of the
    // last good download in place instead of zeroing every position.
    QuoteList &quotes = nextQuoteList(book.KoersList());
    bool refused = false;
    bool whole = DownloadRightPage(CallPageUrl(), PageStr, &refused);
    QCoreApplication::processEvents();
    QString fault = pageFault(PageStr, whole, refused, ParseCalls(PageStr, quotes),
                              QStringLiteral("callpagina"), CallPageUrl());

    // Without the calls the download fails whatever the put page holds; a site that does not
    // answer then keeps the window waiting once, not twice.
    if (fault.isEmpty()) {
        whole = DownloadRightPage(PutPageUrl(), PageStr, &refused);
        QCoreApplication::processEvents();
        fault = pageFault(PageStr, whole, refused, ParsePuts(PageStr, quotes),
                          QStringLiteral("putpagina"), PutPageUrl());
    }

    if (!fault.isEmpty()) {
        quotes.clear();
        book.setStatusText(fault);
        book.pagesRead();
        return false;
    }

    std::swap(book.KoersList(), quotes);
    quotes.clear();
    const QStringList lines = book.lines();
    if (!lines.isEmpty())
        book.replaceLines(UpdatePositionLines(lines, record, book.KoersList()));
    LastTime = QTime::currentTime();
    book.setStatusText(QStringLiteral("Download klaar"));
    book.pagesRead();
    book.pricesDownloaded();
    return true;
}
