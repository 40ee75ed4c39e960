#include "market/market_hosts.h"

#include <QtGlobal>

namespace {

QString hostFrom(const char *variable)
{
    const QString host = qEnvironmentVariable(variable).trimmed();
    return host.isEmpty() ? QStringLiteral("127.0.0.1:8470") : host;
}

} // namespace

QString QuoteHost()
{
    return hostFrom("PELGRANDIX_QUOTE_HOST");
}

QString IndexHost()
{
    return hostFrom("PELGRANDIX_INDEX_HOST");
}

QString MakerHost()
{
    return hostFrom("PELGRANDIX_MAKER_HOST");
}
