#include "report/report.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "entry/settings_values.h"
#include "entry/stored_settings.h"
#include "portfolio/history_file.h"
#include "positions/positions_file.h"
#include "positions/window_lock.h"
#include "report/report_download.h"
#include "report/report_output.h"
#include "support/system_info.h"

namespace {

void complain(const QString &text)
{
    std::fprintf(stderr, "pelgrandix: %s\n", qPrintable(text));
}

// Saves as the window does, and adds the download to the history; false when either failed.
// A list that the download left as it was read is not saved again: every save pushes the older
// backup out, and a report run every few minutes outside trading hours would soon leave no
// backup of the list as it was before a mistake.
bool saveDownload(const positions_file::FileLines &loaded, const QStringList &lines, std::optional<double> index,
                  const QDateTime &now)
{
    bool done = true;
    if (!(loaded == lines)) {
        const positions_file::SaveResult saved = positions_file::save(DataDir, lines);
        if (saved.failed()) {
            complain(positions_file::saveFailureText(saved.error));
            done = false;
        }
    }
    QString error;
    if (!history_file::appendDownload(DataDir, lines, index, now, &error)) {
        complain(history_file::appendFailureText(error));
        done = false;
    }
    return done;
}

} // namespace

int RunReport(const ReportOptions &options)
{
    const QString program = QCoreApplication::applicationName();
    DataDir = GetDataDir(program);
    const positions_file::LoadResult loaded = positions_file::load(DataDir);
    if (!loaded.complete) {
        complain(loaded.failureText());
        return kReportFileFailed;
    }
    // The rate and the dividend yield of the risk figures, and the sites; the report stores no
    // setting.
    const RegistryKey settings(program, RegistryKey::ReadOnly);
    Portfolio = readPortfolioSettings(settings);
    Sites = readSiteSettings(settings);

    ReportDownload download(loaded.lines);
    download.run();
    int status = kReportDone;
    if (!download.ranToEnd()) {
        complain(download.statusText());
        status = kReportDownloadFailed;
    }
    const std::optional<double> index = AEXQuote.level();
    if (!index)
        complain(download.indexText().isEmpty() ? QStringLiteral("Geen AEX-koers ontvangen.") : download.indexText());

    const QDateTime now = QDateTime::currentDateTime();
    // After a download that failed the list is as it was: saving it would only push a backup out.
    if (options.save && download.ranToEnd()) {
        // An open window keeps its own list and saves it at its close, over what the report saved;
        // the lock also keeps a window from starting during the save.
        QLockFile openWindow(WindowLockPath(DataDir));
        if (!TakeWindowLock(openWindow)) {
            complain(QStringLiteral("Het venster is open; niets opgeslagen."));
            status = kReportFileFailed;
        } else if (!saveDownload(loaded.lines, download.lines(), index, now)) {
            status = kReportFileFailed;
        }
    }

    const ReportOutput output({download.lines(), index, Portfolio.ratePercent,
                               Portfolio.dividendYieldPercent, now},
                              download.statusText());
    const QByteArray text = options.format == ReportOptions::Csv ? output.csv()
        : options.format == ReportOptions::Json                  ? output.json()
                                                                 : output.table();
    // A report that did not reach its reader (a full disk, a closed pipe) has failed.
    if (std::fwrite(text.constData(), 1, size_t(text.size()), stdout) != size_t(text.size())
        || std::fflush(stdout) != 0) {
        complain(QStringLiteral("Rapport niet geschreven: ") + QString::fromLocal8Bit(std::strerror(errno)));
        return kReportFileFailed;
    }
    return status;
}
