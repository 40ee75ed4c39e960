#include "report/report_download.h"

#include "platform/termination_signals.h"

ReportDownload::ReportDownload(QStringList positionLines) : m_lines(std::move(positionLines)) {}

void ReportDownload::run()
{
    DownloadPages(*this);
    // A termination signal broke the download off; the index would only keep the user waiting.
    if (!TerminationRequested())
        DownloadAEX(*this);
}
