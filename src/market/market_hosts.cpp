#include "market/market_hosts.h"

#include <QUrl>
#include <QtGlobal>

SiteSettings Sites;

namespace {

constexpr int kHttpsPort = 443;

QString siteFrom(const char *variable, const QString &setting)
{
    const QString host = qEnvironmentVariable(variable).trimmed();
    if (!host.isEmpty())
        return host;
    return setting.trimmed().isEmpty() ? QString::fromLatin1(kDefaultSite) : setting.trimmed();
}

bool hasScheme(const QString &site)
{
    return site.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
           || site.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

QUrl urlOf(const QString &site)
{
    return QUrl(hasScheme(site) ? site : QStringLiteral("http://") + site, QUrl::StrictMode);
}

} // namespace

QString QuoteHost()
{
    return siteFrom("PELGRANDIX_QUOTE_HOST", Sites.optionSite);
}

QString IndexHost()
{
    return siteFrom("PELGRANDIX_INDEX_HOST", Sites.indexSite);
}

QString MakerHost()
{
    return siteFrom("PELGRANDIX_MAKER_HOST", Sites.makerSite);
}

std::optional<QString> SiteFromText(const QString &text)
{
    const QString site = text.trimmed();
    if (site.isEmpty())
        return site;
    // Without a scheme only a host and a port: "example.com/x" reads as a typing error.
    if (!hasScheme(site) && site.contains(QLatin1Char('/')))
        return std::nullopt;
    const QUrl url = urlOf(site);
    if (!url.isValid() || url.host().isEmpty() || url.hasQuery() || url.hasFragment()
        || !url.userInfo().isEmpty() || site.contains(QLatin1Char(' ')))
        return std::nullopt;
    return site;
}

QString SiteAddress(const QString &site)
{
    if (!hasScheme(site))
        return QStringLiteral("http://") + site;
    QString address = site;
    while (address.endsWith(QLatin1Char('/')))
        address.chop(1);
    return address;
}

QString SiteProbeHost(const QString &site)
{
    if (!hasScheme(site))
        return site;
    const QUrl url = urlOf(site);
    const bool https = url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
    const int port = url.port(https ? kHttpsPort : -1);
    const QString host = url.host().contains(QLatin1Char(':'))
                             ? QLatin1Char('[') + url.host() + QLatin1Char(']')
                             : url.host();
    return port < 0 ? host : host + QLatin1Char(':') + QString::number(port);
}
