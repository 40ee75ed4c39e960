#include "support/main_window_fixture.h"

#include "app/main_form.h"
#include "support/local_http_server.h"
#include "support/system_info.h"

MainWindowFixture::MainWindowFixture(const QByteArray &positionsFile)
    : m_closedSite("127.0.0.1:" + QByteArray::number(UnusedLocalPort())),
      m_quoteHost("PELGRANDIX_QUOTE_HOST", m_closedSite),
      m_indexHost("PELGRANDIX_INDEX_HOST", m_closedSite),
      m_makerHost("PELGRANDIX_MAKER_HOST", m_closedSite)
{
    InitSupport();
    if (!positionsFile.isNull())
        m_home.writeFile(QStringLiteral("UserData/Pelgrandix/Regels.dat"), positionsFile);
    m_form = std::make_unique<TMainForm>();
}

MainWindowFixture::~MainWindowFixture() = default;

QStringList MainWindowFixture::entries() const
{
    return m_form->PositionLines();
}

QByteArray MainWindowFixture::fileBytes(const char *name) const
{
    return m_home.readFile(QStringLiteral("UserData/Pelgrandix/") + QLatin1String(name));
}
