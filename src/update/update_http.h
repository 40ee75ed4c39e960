#pragma once
// The update's HTTP requests: the version list with its signature, and the installer, read
// through the program's one way into the web (its agent name, no proxy, the time-outs, full
// blocks).

#include <QByteArrayView>
#include <QString>

#include <functional>

#include "market/internet.h"

namespace update_http {

// The body of url, read in blocks of blockSize bytes, caches along the way told to fetch a fresh
// copy. Empty when the address cannot be reached, the body did not arrive whole or holds more
// than byteLimit bytes: a list cut off anywhere could name a wrong size or file. The body of an
// error page is returned like any other body. answer, when given, tells how the fetch ended.
QByteArray fetchBytes(const QString &url, qint64 byteLimit = kPageByteLimit,
                      FetchAnswer *answer = nullptr, int blockSize = 2048);

// Hands the body of url to onBlock, block by block, and lets a cached copy serve; onBlock
// returns false to stop. An exception thrown by onBlock ends the transfer and is passed on. An
// error status (400 and up) delivers nothing: an error page is not the file asked for. Returns
// true when the address answered with the file; answer tells how the transfer ended.
bool download(const QString &url, const std::function<bool(QByteArrayView block)> &onBlock,
              FetchOptions options, FetchAnswer &answer, int blockSize = 4096);

} // namespace update_http
