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
    // Windows-1252 has one byte per character, so blocks decode on their own.
    ReadUrl(url, blockSize, [&text](QByteArrayView block) {
        text += PageText(block);
        return true;
    }, reload);
    return text;
}

bool download(const QString &url, const BlockHandler &onBlock, int blockSize)
{
    int status = 0;
    const bool opened = ReadUrl(url, blockSize, [&](QByteArrayView block) {
        if (status >= kFirstErrorStatus)
            return false;
        onBlock(block);
        return true;
    }, false, &status);
    return opened && status < kFirstErrorStatus;
}

} // namespace update_http
