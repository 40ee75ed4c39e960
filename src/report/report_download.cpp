#include "report/report_download.h"

#include "platform/termination_signals.h"

ReportDownload::ReportDownload(QStringList positionLines) : m_lines(std::move(positionLines)) {}

void ReportDownload::run()
{
    DownloadPages(*this);
    // A termination signal broke the download off; the index would only keep the user waiting.
    if (!TerminationRequested())
        DownloadAEX(*this);
    // One that broke the index fetch off came after the pages had been read: the report still
    // ends as after a download that failed, and nothing is saved.
    if (TerminationRequested() && m_ranToEnd) {
        m_ranToEnd = false;
        m_status = QStringLiteral("Download afgebroken.");
    }
}
