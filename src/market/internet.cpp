#include "market/internet.h"

#include <QByteArray>
#include <QUrl>

#include "market/curl_library.h"
#include "platform/termination_signals.h"

#include <chrono>
#include <exception>
#include <memory>

namespace {

const char kAgentName[] = "Rondel Function: Download";

int receiveTimeoutMs = kDefaultReceiveTimeoutMs;
int fetchDeadlineMs = kDefaultFetchDeadlineMs;

struct EasyDeleter {
    const curl_library::Functions *curl;
    void operator()(CURL *handle) const { curl->easy_cleanup(handle); }
};
struct ListDeleter {
    const curl_library::Functions *curl;
    void operator()(curl_slist *list) const { curl->slist_free_all(list); }
};

using Clock = std::chrono::steady_clock;

// Gathers what the network delivers into whole blocks for the receiver, notes when the server
// last sent anything, and stops the transfer at the byte limit.
struct BlockCollector {
    BlockCollector(qsizetype size, const BlockReceiver &receiver, const FetchOptions &fetch,
                   std::chrono::milliseconds limit)
        : blockSize(size), receive(receiver), options(fetch), silenceLimit(limit) {}

    const curl_library::Functions *curl = nullptr;
    CURL *handle = nullptr;
    FetchAnswer *answer = nullptr;

    qsizetype blockSize;
    const BlockReceiver &receive;
    const FetchOptions &options;
    std::chrono::milliseconds silenceLimit;
    Clock::time_point lastHeard = Clock::now();
    QByteArray pending;
    qint64 received = 0;
    bool stopped = false;
    bool tooLong = false;
    std::exception_ptr failure;

    bool deliver(QByteArrayView block)
    {
        try {
            if (!receive(block))
                stopped = true;
        } catch (...) {
            failure = std::current_exception();
            stopped = true;
        }
        return !stopped;
    }

    // Hands over every whole block; false once the receiver wants no more.
    bool take(const char *data, size_t size)
    {
        qsizetype at = 0;
        const qsizetype total = static_cast<qsizetype>(size);
        if (!pending.isEmpty()) {
            const qsizetype fill = qMin(blockSize - pending.size(), total);
            pending.append(data, fill);
            at = fill;
            if (pending.size() < blockSize)
                return true;
            if (!deliver(pending))
                return false;
            pending.clear();
        }
        while (total - at >= blockSize) {
            if (!deliver(QByteArrayView(data + at, blockSize)))
                return false;
            at += blockSize;
        }
        pending.append(data + at, total - at);
        return true;
    }

    void finish()
    {
        if (!stopped && !pending.isEmpty())
            deliver(pending);
        pending.clear();
    }
};

// What is known of the answer so far: after a redirect, the last one.
void noteAnswer(BlockCollector &collector)
{
    long code = 0;
    collector.curl->easy_getinfo(collector.handle, CURLINFO_RESPONSE_CODE, &code);
    collector.answer->status = static_cast<int>(code);
    curl_off_t length = -1;
    collector.curl->easy_getinfo(collector.handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    collector.answer->announcedLength = length;
}

size_t writeBody(char *data, size_t size, size_t count, void *user)
{
    auto *collector = static_cast<BlockCollector *>(user);
    const size_t bytes = size * count;
    noteAnswer(*collector);
    collector->received += qint64(bytes);
    if (collector->received > collector->options.byteLimit) {
        collector->tooLong = true;
        return 0;
    }
    const bool more = collector->take(data, bytes);
    // Counted after the receiver, which may take its time (it may let the window work), so that
    // only the server's silence counts.
    collector->lastHeard = Clock::now();
    // Anything short of the full count makes the library stop the transfer.
    return more ? bytes : 0;
}

size_t noteHeader(char *, size_t size, size_t count, void *user)
{
    static_cast<BlockCollector *>(user)->lastHeard = Clock::now();
    return size * count;
}

// Called by the library now and then during the transfer, also while nothing arrives. It ends
// the transfer when the program is to end, when the caller no longer wants it, and at the
// receive time-out: the server may stay silent this long, counted from the start or from the
// last bytes it sent. (The library's own low-speed limit averages over several seconds, so a
// burst followed by silence would keep a fetch alive far longer.)
int checkProgress(void *user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    auto *collector = static_cast<BlockCollector *>(user);
    const std::function<bool()> &keepGoing = collector->options.keepGoing;
    if (WaitsMustEnd() || (keepGoing && !keepGoing())) {
        collector->stopped = true;
        return 1;
    }
    return Clock::now() - collector->lastHeard > collector->silenceLimit ? 1 : 0;
}

bool certificateFailure(CURLcode outcome)
{
    return outcome == CURLE_PEER_FAILED_VERIFICATION || outcome == CURLE_SSL_CACERT_BADFILE
           || outcome == CURLE_SSL_ISSUER_ERROR;
}

FetchEnd endOf(CURLcode outcome, const BlockCollector &collector)
{
    if (collector.tooLong || outcome == CURLE_FILESIZE_EXCEEDED)
        return FetchEnd::TooLong;
    if (collector.stopped)
        return FetchEnd::Stopped;
    return outcome == CURLE_OK ? FetchEnd::Complete : FetchEnd::BrokenOff;
}

} // namespace

void SetReceiveTimeout(int ms)
{
    receiveTimeoutMs = ms;
}

int ReceiveTimeout()
{
    return receiveTimeoutMs;
}

void SetFetchDeadline(int ms)
{
    fetchDeadlineMs = ms;
}

int FetchDeadline()
{
    return fetchDeadlineMs;
}

QString CertificateRefusedText(const QString &url)
{
    return QStringLiteral("het certificaat van %1 wordt niet vertrouwd").arg(QUrl(url).host());
}

bool ReadUrl(const QString &url, qsizetype blockSize, const BlockReceiver &receive,
             const FetchOptions &options, FetchAnswer *answer)
{
    FetchAnswer unasked;
    if (!answer)
        answer = &unasked;
    *answer = FetchAnswer();
    if (WaitsMustEnd()) {
        answer->end = FetchEnd::Stopped;
        return false;
    }
    const curl_library::Functions *curl = curl_library::installed();
    if (!curl || blockSize <= 0)
        return false;
    std::unique_ptr<CURL, EasyDeleter> easy(curl->easy_init(), EasyDeleter{curl});
    if (!easy)
        return false;
    CURL *handle = easy.get();

    std::unique_ptr<curl_slist, ListDeleter> headers(nullptr, ListDeleter{curl});
    if (options.reload) {
        headers.reset(curl->slist_append(nullptr, "Cache-Control: no-cache"));
        if (headers)
            curl->slist_append(headers.get(), "Pragma: no-cache");  // appends behind the head
    }

    const QByteArray address = url.toUtf8();
    const int timeoutMs = qMax(1, receiveTimeoutMs);
    const int deadlineMs = qMax(1, options.deadlineMs > 0 ? options.deadlineMs : fetchDeadlineMs);
    BlockCollector collector(blockSize, receive, options, std::chrono::milliseconds(timeoutMs));
    collector.curl = curl;
    collector.handle = handle;
    collector.answer = answer;

    curl->easy_setopt(handle, CURLOPT_URL, address.constData());
    curl->easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl->easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl->easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl->easy_setopt(handle, CURLOPT_MAXREDIRS, 10L);
    curl->easy_setopt(handle, CURLOPT_USERAGENT, kAgentName);
    // Left unset, the library takes the proxy from the environment as it reads it.
    if (!options.systemProxy) {
        curl->easy_setopt(handle, CURLOPT_PROXY, "");
        curl->easy_setopt(handle, CURLOPT_NOPROXY, "*");
    }
    // The library's defaults, said here because everything rests on them: the certificate must be
    // signed by an authority of the system's store and name the host.
    curl->easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl->easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    curl->easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl->easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeoutMs));
    curl->easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(deadlineMs));
    // Turns down an announced length beyond the limit before the body comes.
    curl->easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(options.byteLimit));
    curl->easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl->easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, checkProgress);
    curl->easy_setopt(handle, CURLOPT_XFERINFODATA, &collector);
    curl->easy_setopt(handle, CURLOPT_HEADERFUNCTION, noteHeader);
    curl->easy_setopt(handle, CURLOPT_HEADERDATA, &collector);
    if (headers)
        curl->easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    curl->easy_setopt(handle, CURLOPT_WRITEFUNCTION, writeBody);
    curl->easy_setopt(handle, CURLOPT_WRITEDATA, &collector);

    const CURLcode outcome = curl->easy_perform(handle);
    noteAnswer(collector);
    answer->end = endOf(outcome, collector);
    answer->certificateRefused = certificateFailure(outcome);
    const bool opened = answer->status > 0;
    if (opened)
        collector.finish();
    // Free the handles before passing on a failure of the receiver.
    easy.reset();
    headers.reset();
    if (collector.failure)
        std::rethrow_exception(collector.failure);
    return opened;
}
