#pragma once
// An HTTP server on 127.0.0.1 at a free port, for tests that fetch over the network. Register
// the handlers through server(), then start(); the destructor stops it and waits for it.

#include <QString>

#include <httplib.h>

#include "support/loopback_listener.h"

#include <atomic>
#include <thread>

class LocalHttpServer
{
public:
    LocalHttpServer() = default;
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer &) = delete;
    LocalHttpServer &operator=(const LocalHttpServer &) = delete;

    httplib::Server &server() { return m_server; }
    // Binds to a free port and serves on a thread of its own; returns once requests are served.
    void start();
    int port() const { return m_port; }
    // "http://127.0.0.1:<port>" + path.
    QString url(const QString &path) const;
    // "127.0.0.1:<port>".
    QByteArray host() const { return LoopbackHost(m_port); }

private:
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = -1;
    std::atomic<bool> m_ended = false;
};
