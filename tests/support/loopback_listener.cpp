#include "support/loopback_listener.h"

#include <stdexcept>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    return address;
}

} // namespace

LoopbackListener::LoopbackListener(Kind kind)
{
    m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    const bool bound = m_socket >= 0
        && ::bind(m_socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        && ::getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &length) == 0;
    const bool listening = kind == Refusing || ::listen(m_socket, kind == Full ? 0 : 16) == 0;
    if (!bound || !listening) {
        if (m_socket >= 0)
            ::close(m_socket);
        throw std::runtime_error("no loopback port for the test");
    }
    m_port = ntohs(address.sin_port);
    if (kind == Full)
        fillQueue();
}

void LoopbackListener::fillQueue()
{
    // With a backlog of 0 the queue holds one connection: connect one and wait until the
    // listening socket counts it (for a listener, TCP_INFO's "unacked" is the queue's length).
    const int client = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in target = loopback(m_port);
    if (client < 0 || ::connect(client, reinterpret_cast<const sockaddr *>(&target), sizeof target) != 0)
        throw std::runtime_error("could not fill the queue of the loopback port");
    m_queued.push_back(client);
    for (int tries = 0; tries < 5000; ++tries) {
        tcp_info info{};
        socklen_t size = sizeof info;
        if (::getsockopt(m_socket, IPPROTO_TCP, TCP_INFO, &info, &size) == 0 && info.tcpi_unacked >= 1)
            return;
        ::usleep(1000);
    }
    throw std::runtime_error("the queue of the loopback port did not fill");
}

LoopbackListener::~LoopbackListener()
{
    for (int client : m_queued)
        ::close(client);
    ::close(m_socket);
}
