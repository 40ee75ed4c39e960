#include "update/update_http.h"

#include <QStringDecoder>

#include <curl/curl.h>

#include <exception>
#include <memory>
#include <mutex>

namespace update_http {

namespace {

const char kAgentName[] = "Rondel Function: Download";
// A site that takes the connection but stops sending must not hold the window for ever.
constexpr long kReceiveTimeoutSeconds = 30;

// Cuts whatever the network delivers into blocks of exactly blockSize bytes.
class BlockCutter
{
public:
    BlockCutter(int blockSize, const BlockHandler &onBlock)
        : m_blockSize(blockSize > 0 ? blockSize : 1), m_onBlock(onBlock)
    {
        m_pending.reserve(m_blockSize);
    }

    void feed(const char *data, qsizetype size)
    {
        while (size > 0) {
            const qsizetype take = qMin<qsizetype>(size, m_blockSize - m_pending.size());
            m_pending.append(data, take);
            data += take;
            size -= take;
            if (m_pending.size() == m_blockSize) {
                m_onBlock(m_pending);
                m_pending.clear();
            }
        }
    }

    void finish()
    {
        if (!m_pending.isEmpty())
            m_onBlock(m_pending);
        m_pending.clear();
    }

private:
    const qsizetype m_blockSize;
    const BlockHandler &m_onBlock;
    QByteArray m_pending;
};

struct Transfer {
    CURL *curl = nullptr;
    BlockCutter *cutter = nullptr;
    bool skipErrorBody = false;
    bool refused = false;
    std::exception_ptr failure;
};

size_t receive(char *data, size_t size, size_t count, void *userData)
{
    auto *transfer = static_cast<Transfer *>(userData);
    const size_t bytes = size * count;
    if (transfer->skipErrorBody) {
        long status = 0;
        curl_easy_getinfo(transfer->curl, CURLINFO_RESPONSE_CODE, &status);
        if (status >= 400) {
            transfer->refused = true;
            return 0;
        }
    }
    // An exception must not unwind through the library: keep it and stop the transfer.
    try {
        transfer->cutter->feed(data, qsizetype(bytes));
    } catch (...) {
        transfer->failure = std::current_exception();
        return 0;
    }
    return bytes;
}

struct EasyDeleter {
    void operator()(CURL *curl) const { curl_easy_cleanup(curl); }
};
struct ListDeleter {
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};

// Runs one GET; true when the whole body arrived. When the connection breaks halfway, what did
// arrive is still handed on, the short last block included.
bool get(const QString &url, bool reload, bool skipErrorBody, int blockSize,
         const BlockHandler &onBlock)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
    if (!curl)
        return false;
    std::unique_ptr<curl_slist, ListDeleter> headers;
    if (reload) {
        curl_slist *list = curl_slist_append(nullptr, "Cache-Control: no-cache");
        list = curl_slist_append(list, "Pragma: no-cache");
        headers.reset(list);
    }

    BlockCutter cutter(blockSize, onBlock);
    Transfer transfer{curl.get(), &cutter, skipErrorBody, false, nullptr};
    const QByteArray address = url.toUtf8();
    CURL *handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, address.constData());
    curl_easy_setopt(handle, CURLOPT_USERAGENT, kAgentName);
    curl_easy_setopt(handle, CURLOPT_PROXY, "");
    curl_easy_setopt(handle, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, kReceiveTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &receive);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);

    const CURLcode code = curl_easy_perform(handle);
    curl.reset();
    if (transfer.failure)
        std::rethrow_exception(transfer.failure);
    if (transfer.refused)
        return false;
    cutter.finish();
    return code == CURLE_OK;
}

} // namespace

QString fetchText(const QString &url, bool reload, int blockSize)
{
    QStringDecoder decoder("Windows-1252");
    QString text;
    get(url, reload, false, blockSize,
        [&](const QByteArray &block) { text += decoder.decode(block); });
    return text;
}

bool download(const QString &url, const BlockHandler &onBlock, int blockSize)
{
    return get(url, false, true, blockSize, onBlock);
}

} // namespace update_http
