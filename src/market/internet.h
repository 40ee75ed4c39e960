#pragma once
// The program's one way into the web: a blocking HTTP (or HTTPS) fetch that hands the body over in blocks
// of a fixed size, with the same agent name, a direct connection unless asked otherwise and, on
// request, a fresh copy from the server rather than from any cache. Every page, the version
// list and the installer come through here. An https site must show a certificate that the
// system's store of certificate authorities vouches for.
//
// No site can hold a fetch without end or fill the memory: every fetch has an overall deadline
// and a most it takes, and ends at once when the program is asked to end. Past either limit it
// ends as a connection that broke off does.

#include <QByteArrayView>
#include <QString>

#include <functional>

inline constexpr int kDefaultReceiveTimeoutMs = 30000;
inline constexpr int kDefaultFetchDeadlineMs = 30000;
// Far beyond any page or version list; a site streaming without end stops here.
inline constexpr qint64 kPageByteLimit = 16 * 1024 * 1024;

// The time-out for every fetch of the process from now on: how long a connection may take to be
// made, and how long the server may stay silent before the fetch gives up.
void SetReceiveTimeout(int ms);
int ReceiveTimeout();

// How long a page or the version list may take from the request to its last byte, for every
// fetch of the process from now on. A server that sends a byte now and then keeps the receive
// time-out from running out, not this one.
void SetFetchDeadline(int ms);
int FetchDeadline();

struct FetchOptions {
    // Asks every cache on the way for a fresh copy from the server.
    bool reload = true;
    // Through the proxy that the environment names (http_proxy, no_proxy, ...) instead of
    // directly to the site.
    bool systemProxy = false;
    // The most bytes of the body taken.
    qint64 byteLimit = kPageByteLimit;
    // From the request to the last byte; 0 for FetchDeadline().
    int deadlineMs = 0;
    // Asked now and then while the fetch runs, at least about once a second also while
    // nothing arrives; false stops the fetch.
    std::function<bool()> keepGoing;
};

enum class FetchEnd {
    Complete,   // the whole body arrived
    BrokenOff,  // the connection broke off, the server fell silent or the deadline passed
    TooLong,    // the body, or the length the server announced, exceeds the byte limit
    Stopped,    // the receiver, keepGoing or the program's end stopped it
};

// What is known of the answer. Status and announced length are filled before the first block
// is handed over, so that the receiver can turn down an error page.
struct FetchAnswer {
    int status = 0;               // HTTP status of the (last) answer; 0 when none came
    qint64 announcedLength = -1;  // the body length the server announced; -1 when it gave none
    FetchEnd end = FetchEnd::BrokenOff;
    // An https site whose certificate the system's store does not vouch for: nothing was asked.
    bool certificateRefused = false;
};

// What the user is told when the certificate of url's site was refused, to follow a status
// ("Download mislukt: ") or the index bar's "AEX:".
QString CertificateRefusedText(const QString &url);

// Receives one block of the body; returns false to stop reading.
using BlockReceiver = std::function<bool(QByteArrayView block)>;

// Opens url and reads its body, handing it to receive in blocks of exactly blockSize bytes; only
// the last block may be shorter, however the network cut the body up. Returns whether the
// address could be opened: a connection was made and the server answered (an error page too,
// whose body is delivered). A fetch that ends early still delivers what arrived before. An
// exception thrown by receive ends the fetch and is passed on. Once the program has been asked
// to end, nothing is fetched any more.
bool ReadUrl(const QString &url, qsizetype blockSize, const BlockReceiver &receive,
             const FetchOptions &options = {}, FetchAnswer *answer = nullptr);
