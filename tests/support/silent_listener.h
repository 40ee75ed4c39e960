#pragma once
// A TCP port on 127.0.0.1 that takes connections and never says a word: the system completes
// each connection for the listening socket, and nobody ever reads or answers on it. A client
// waits there until its own time-out gives up.

class SilentListener
{
public:
    SilentListener();
    ~SilentListener();
    SilentListener(const SilentListener &) = delete;
    SilentListener &operator=(const SilentListener &) = delete;

    int port() const { return m_port; }

private:
    int m_socket = -1;
    int m_port = -1;
};
