#include "update/update_http.h"

namespace update_http {

namespace {

constexpr int kFirstErrorStatus = 400;

} // namespace

QByteArray fetchBytes(const QString &url, qint64 byteLimit, FetchAnswer *answer, int blockSize)
{
    QByteArray bytes;
    FetchOptions options;
    options.byteLimit = byteLimit;
    FetchAnswer unasked;
    FetchAnswer &told = answer ? *answer : unasked;
    ReadUrl(url, blockSize, [&bytes](QByteArrayView block) {
        bytes += block;
        return true;
    }, options, &told);
    return told.end == FetchEnd::Complete ? bytes : QByteArray();
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
