#include "local_http_server.h"

#include <chrono>
#include <stdexcept>

LocalHttpServer::~LocalHttpServer()
{
    if (m_thread.joinable()) {
        m_server.stop();
        m_thread.join();
    }
}

void LocalHttpServer::start()
{
    m_port = m_server.bind_to_any_port("127.0.0.1");
    if (m_port <= 0)
        throw std::runtime_error("no free port on 127.0.0.1");
    m_thread = std::thread([this] {
        m_server.listen_after_bind();
        m_ended = true;
    });
    // stop() only works on a running server, so the destructor must not come before this.
    while (!m_server.is_running() && !m_ended)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (m_ended)
        throw std::runtime_error("the test server could not serve");
}

QString LocalHttpServer::url(const QString &path) const
{
    return QStringLiteral("http://") + QString::fromLatin1(host()) + path;
}
