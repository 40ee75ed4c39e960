#include "update/update_http.h"

#include "market/page_text.h"

namespace update_http {

namespace {

constexpr int kFirstErrorStatus = 400;

} // namespace

QString fetchText(const QString &url, bool reload, int blockSize)
{
    QString text;
    FetchOptions options;
    options.reload = reload;
    FetchAnswer answer;
    // Windows-1252 has one byte per character, so blocks decode on their own.
    ReadUrl(url, blockSize, [&text](QByteArrayView block) {
        text += PageText(block);
        return true;
    }, options, &answer);
    return answer.end == FetchEnd::Complete ? text : QString();
}

bool download(const QString &url, const std::function<bool(QByteArrayView block)> &onBlock,
              FetchOptions options, FetchAnswer &answer, int blockSize)
{
    options.reload = false;
    const bool opened = ReadUrl(url, blockSize, [&](QByteArrayView block) {
        return answer.status < kFirstErrorStatus && onBlock(block);
    }, options, &answer);
    return opened && answer.status < kFirstErrorStatus;
}

} // namespace update_http
