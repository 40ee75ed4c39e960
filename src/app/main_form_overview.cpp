// The main window's part in the portfolio overview: opening it, keeping it up to date, and the
// history that every download adds to.

#include "app/main_form.h"

#include "market/index_download.h"
#include "portfolio/history_file.h"
#include "portfolio/overview_form.h"
#include "support/system_info.h"

void TMainForm::OverzichtButtonClick()
{
    if (!m_overview)
        m_overview = std::make_unique<TOverviewForm>();
    m_overview->show();
    m_overview->raise();
    m_overview->activateWindow();
}

void TMainForm::refreshOverview()
{
    if (m_overview)
        m_overview->scheduleRefresh();
}

void TMainForm::recordDownloadHistory(const QStringList &lines)
{
    QString error;
    if (!history_file::appendDownload(DataDir, lines, AEXQuote.level(),
                                      QDateTime::currentDateTime(), &error))
        setStatusText(QStringLiteral("Download klaar; ") + history_file::appendFailureText(error));
}
