#include "book/download_recorder.h"

#include <QDateTime>

#include "book/positions_book.h"
#include "portfolio/history_file.h"
#include "support/system_info.h"

DownloadRecorder::DownloadRecorder(PositionsBook &book)
    : QObject(&book), m_book(book)
{
    connect(&book, &PositionsBook::pricesUpdated, this, &DownloadRecorder::record);
}

void DownloadRecorder::record()
{
    // Every download is compared with the one before, also while the alerts are switched off,
    // so that switching them on does not report a change that is long known.
    const QStringList lines = m_book.lines();
    const QList<AdviceAlert> alerts = m_adviceAlerts.afterDownload(lines);
    if (m_book.settings().notifications)
        ShowAdviceAlerts(alerts);
    QString error;
    if (!history_file::appendDownload(DataDir, lines, m_book.pricingIndex().level, QDateTime::currentDateTime(),
                                      &error))
        m_book.setStatusText(QStringLiteral("Download klaar; ") + history_file::appendFailureText(error));
}
