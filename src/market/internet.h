#pragma once
// The program's one way into the web: a blocking HTTP fetch that hands the body over in blocks
// of a fixed size, with the same agent name, a direct connection (no proxy) and, on request,
// a fresh copy from the server rather than from any cache. Every page, the version list and the
// installer come through here.

#include <QByteArrayView>
#include <QString>

#include <functional>

inline constexpr int kDefaultReceiveTimeoutMs = 30000;

// The time-out for every fetch of the process from now on: how long a connection may take to be
// made, and how long the server may stay silent before the fetch gives up.
void SetReceiveTimeout(int ms);
int ReceiveTimeout();

// Receives one block of the body; returns false to stop reading.
using BlockReceiver = std::function<bool(QByteArrayView block)>;

// Opens url and reads its body, handing it to receive in blocks of exactly blockSize bytes; only
// the last block may be shorter, however the network cut the body up. With reload the page is
// asked fresh from the server, never from a cache. Returns whether the address could be opened:
// a connection was made and the server answered (an error page too, whose body is delivered).
// A fetch that breaks off later still delivers what arrived. An exception thrown by receive ends
// the fetch and is passed on. When status is given it receives the HTTP status of the answer
// (0 when none came), already before the first block is handed over, so that the receiver can
// turn down an error page. When complete is given it tells whether the body arrived to its
// end: false when the connection broke off, the server fell silent or receive stopped the read.
bool ReadUrl(const QString &url, qsizetype blockSize, const BlockReceiver &receive,
             bool reload = true, int *status = nullptr, bool *complete = nullptr);
