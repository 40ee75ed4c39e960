#pragma once
// The update's two HTTP requests: the version list and the installer. Both identify as the
// program's download agent and go straight to the maker's site, never through a proxy. The
// body is handed on in full blocks of the given size (only the last block may be shorter), so
// counts kept per block do not depend on how the network happened to split the data.

#include <QByteArray>
#include <QString>

#include <functional>

namespace update_http {

using BlockHandler = std::function<void(const QByteArray &block)>;

// The body of url as text (bytes as Windows-1252), read in blocks of blockSize bytes. With
// reload, caches along the way are told to fetch a fresh copy. Empty when the address cannot
// be reached; the body of an error page is returned like any other body.
QString fetchText(const QString &url, bool reload = true, int blockSize = 2048);

// Hands the body of url to onBlock, block by block. An exception thrown by onBlock ends the
// transfer and is passed on after the connection is closed. An error status (400 and up)
// delivers nothing: an error page is not the file asked for. Returns true when the whole body
// arrived.
bool download(const QString &url, const BlockHandler &onBlock, int blockSize = 4096);

} // namespace update_http
