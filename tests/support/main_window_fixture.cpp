#include "support/main_window_fixture.h"

#include "app/main_form.h"
#include "book/positions_book.h"
#include "support/system_info.h"

MainWindowFixture::MainWindowFixture(const QByteArray &positionsFile,
                                     const std::function<void(const TempHome &)> &beforeTheWindow)
{
    for (auto [variable, guard] : {std::pair{"PELGRANDIX_QUOTE_HOST", &m_quoteHost},
                                   {"PELGRANDIX_INDEX_HOST", &m_indexHost},
                                   {"PELGRANDIX_MAKER_HOST", &m_makerHost}}) {
        if (!qEnvironmentVariableIsSet(variable))
            guard->emplace(variable, m_closedSite.host());
    }
    InitSupport();
    if (!positionsFile.isNull())
        m_home.writeDataFile(QStringLiteral("Regels.dat"), positionsFile);
    if (beforeTheWindow)
        beforeTheWindow(m_home);
    m_book = std::make_unique<PositionsBook>(QStringLiteral("Pelgrandix"));
    m_form = std::make_unique<TMainForm>(*m_book);
}

MainWindowFixture::~MainWindowFixture() = default;

QStringList MainWindowFixture::entries() const
{
    return m_form->PositionLines();
}

QByteArray MainWindowFixture::fileBytes(const char *name) const
{
    return m_home.readDataFile(QLatin1String(name));
}
