#include "report/report.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "book/positions_book.h"
#include "entry/stored_settings.h"
#include "market/index_download.h"
#include "market/option_download.h"
#include "platform/termination_signals.h"
#include "portfolio/history_file.h"
#include "portfolio/journal_file.h"
#include "positions/positions_file.h"
#include "positions/window_lock.h"
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
bool saveDownload(const QStringList &loaded, PositionsBook &book, std::optional<double> index, const QDateTime &now)
{
    bool done = true;
    const QStringList lines = book.lines();
    if (loaded != lines) {
        const positions_file::SaveResult saved = book.save();
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

// The probe's output and the page copy are only scratch to the report: they go to a private
// folder of its own, removed at its end, so that the report changes no file of the folder it is
// run from. The current folder is put back afterwards.
class PrivateScratchFolder
{
public:
    PrivateScratchFolder() : m_before(QDir::currentPath())
    {
        if (m_folder.isValid())
            QDir::setCurrent(m_folder.path());
    }
    ~PrivateScratchFolder() { QDir::setCurrent(m_before); }

private:
    QTemporaryDir m_folder;
    QString m_before;
};

// Runs the window's first download on the book: the option pages, then the index quote. True
// when the prices were brought up to date and the run was not broken off.
bool download(PositionsBook &book)
{
    const bool updated = DownloadPages(book);
    // A termination signal broke the download off; the index would only keep the user waiting.
    if (!TerminationRequested())
        DownloadAEX(book);
    // One that broke the index fetch off came after the pages had been read: the report still
    // ends as after a download that failed, and nothing is saved.
    if (TerminationRequested() && updated) {
        book.setStatusText(QStringLiteral("Download afgebroken."));
        return false;
    }
    return updated;
}

} // namespace

int RunReport(const ReportOptions &options)
{
    const QString program = QCoreApplication::applicationName();
    DataDir = GetDataDir(program);
    const PrivateScratchFolder scratch;
    PositionsBook book(program);
    book.load();
    if (!book.incompleteText().isEmpty()) {
        complain(book.incompleteText());
        return kReportFileFailed;
    }
    // The rate and the dividend yield of the risk figures, and the sites; the report stores no
    // setting.
    const RegistryKey settings(program, RegistryKey::ReadOnly);
    book.setSettings(readPortfolioSettings(settings));
    Sites = readSiteSettings(settings);
    const QStringList loaded = book.lines();

    const bool updated = download(book);
    int status = kReportDone;
    if (!updated) {
        complain(book.statusText());
        status = kReportDownloadFailed;
    }
    const std::optional<double> index = book.pricingIndex().level;
    if (!index)
        complain(book.indexTexts().l22.isEmpty() ? QStringLiteral("Geen AEX-koers ontvangen.") : book.indexTexts().l22);

    const QDateTime now = QDateTime::currentDateTime();
    // After a download that failed the list is as it was: saving it would only push a backup out.
    if (options.save && updated) {
        // An open window keeps its own list and saves it at its close, over what the report saved;
        // the lock also keeps a window from starting during the save.
        platform::FileLock openWindow(WindowLockPath(DataDir));
        if (!TakeWindowLock(openWindow)) {
            complain(QStringLiteral("Het venster is open; niets opgeslagen."));
            status = kReportFileFailed;
        } else {
            // A buy-back that a kill broke off is taken back before the positions change, which
            // would make its row look finished.
            QString error;
            if (!journal_file::settle(DataDir, &error)) {
                complain(QStringLiteral("Afgesloten.csv niet nagekeken: ") + error);
                status = kReportFileFailed;
            } else if (!saveDownload(loaded, book, index, now)) {
                status = kReportFileFailed;
            }
        }
    }

    const journal_file::ReadResult journal = journal_file::read(DataDir);
    if (!journal.error.isEmpty())
        complain(QStringLiteral("Afgesloten.csv kon niet worden gelezen: ") + journal.error);
    const ReportOutput output(book.figureInputs(now), book.statusText(), journal_file::TotalsOf(journal.rows).perYear);
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
