#include "update/update_http.h"

#include "market/internet.h"
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

bool download(const QString &url, const BlockHandler &onBlock, int blockSize)
{
    FetchOptions options;
    options.reload = false;
    FetchAnswer answer;
    const bool opened = ReadUrl(url, blockSize, [&](QByteArrayView block) {
        if (answer.status >= kFirstErrorStatus)
            return false;
        onBlock(block);
        return true;
    }, options, &answer);
    return opened && answer.status < kFirstErrorStatus;
}

} // namespace update_http
