#pragma once
// An https site on 127.0.0.1 at a free port whose certificate no authority signed: made at test
// time with openssl for 127.0.0.1, so that only its signer is missing. It answers every path
// with a page and counts the requests that got through.

#include <QByteArray>
#include <QTemporaryDir>

#include <atomic>
#include <memory>
#include <thread>

namespace httplib {
class SSLServer;
}

class UntrustedTlsSite
{
public:
    UntrustedTlsSite();
    ~UntrustedTlsSite();

    // "https://127.0.0.1:<port>".
    QByteArray address() const;
    int requests() const { return m_requests; }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<httplib::SSLServer> m_server;
    std::thread m_thread;
    int m_port = -1;
    std::atomic<int> m_requests = 0;
};
