#include "market/page_fetch.h"

#include "market/internet.h"
#include "support/scratch_files.h"

#include <QDeadlineTimer>

namespace {

constexpr qsizetype kReadSize = 1024;
constexpr int kIndexAttempts = 3;

// The page as one blocking read after another; empty when the address cannot be opened.
QByteArray readPage(const QString &url, bool *complete, bool *certificateRefused,
                    const FetchOptions &options = {})
{
    QByteArray page;
    FetchAnswer answer;
    ReadUrl(url, kReadSize, [&page](QByteArrayView block) {
        page.append(block);
        return true;
    }, options, &answer);
    *complete = answer.end == FetchEnd::Complete;
    if (certificateRefused)
        *certificateRefused = answer.certificateRefused;
    return page;
}

// Nothing reads the copy back; it is there for a look at the last page, so a failure to write
// it does not matter.
void WriteFile(const QByteArray &s)
{
    const ScratchFile copy = CreateScratchFile(QStringLiteral("Temp.txt"));
    if (!copy.file)
        return;
    copy.file->write(s);
    copy.file->write("\r\n", 2);
}

} // namespace

bool DownloadRightPage(const QString &url, QByteArray &page, bool *certificateRefused)
{
    bool complete = false;
    page = readPage(url, &complete, certificateRefused);
    WriteFile(page);
    return complete;
}

QByteArray FetchIndexPage(const QString &url, bool *certificateRefused)
{
    SetReceiveTimeout(kIndexReceiveTimeoutMs);
    // The attempts share one deadline: a site that keeps each of them alive must not hold the
    // window three times as long.
    const QDeadlineTimer deadline(FetchDeadline());
    FetchOptions options;
    options.systemProxy = true;
    QByteArray page;
    for (int attempt = 0; attempt < kIndexAttempts && page.isEmpty() && !deadline.hasExpired();
         ++attempt) {
        options.deadlineMs = int(qMax<qint64>(1, deadline.remainingTime()));
        bool complete = false;
        bool refused = false;
        page = readPage(url, &complete, &refused, options);
        if (!complete)
            page.clear();
        if (certificateRefused)
            *certificateRefused = refused;
        // Asking again gets the same certificate.
        if (refused)
            break;
    }
    return page;
}
