#include "support/main_window_fixture.h"

#include "app/main_form.h"
#include "support/local_http_server.h"
#include "support/system_info.h"

MainWindowFixture::MainWindowFixture(const QByteArray &positionsFile)
    : m_closedSite("127.0.0.1:" + QByteArray::number(UnusedLocalPort())),
      m_quoteHost("PELGRANDIX_QUOTE_HOST", siteOrClosed("PELGRANDIX_QUOTE_HOST")),
      m_indexHost("PELGRANDIX_INDEX_HOST", siteOrClosed("PELGRANDIX_INDEX_HOST")),
      m_makerHost("PELGRANDIX_MAKER_HOST", siteOrClosed("PELGRANDIX_MAKER_HOST"))
{
    InitSupport();
    if (!positionsFile.isNull())
        m_home.writeFile(QStringLiteral("UserData/Pelgrandix/Regels.dat"), positionsFile);
    m_form = std::make_unique<TMainForm>();
}

MainWindowFixture::~MainWindowFixture() = default;

QByteArray MainWindowFixture::siteOrClosed(const char *variable) const
{
    return qEnvironmentVariableIsSet(variable) ? qgetenv(variable) : m_closedSite;
}

QStringList MainWindowFixture::entries() const
{
    return m_form->PositionLines();
}

QByteArray MainWindowFixture::fileBytes(const char *name) const
{
    return m_home.readFile(QStringLiteral("UserData/Pelgrandix/") + QLatin1String(name));
}
