#pragma once
// A TCP port on 127.0.0.1 held for the life of the object, bound to port 0 so that the system
// picks a free one and no other test can take it meanwhile. What a client meets there:
// - Refusing: the port is bound but nobody listens, so every connection is refused at once (a
//   site that is down, failing on this machine without asking any resolver);
// - Silent: connections are taken and never answered; a client waits there until its own
//   time-out gives up;
// - Full: the queue of connections waiting to be taken is full, so a new connection attempt
//   is left hanging instead of being completed or refused.

#include <QByteArray>
#include <QString>

#include <vector>

// "127.0.0.1:<port>", as the site variables take a host.
inline QByteArray LoopbackHost(int port)
{
    return "127.0.0.1:" + QByteArray::number(port);
}

class LoopbackListener
{
public:
    enum Kind { Refusing, Silent, Full };
    explicit LoopbackListener(Kind kind);
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener &) = delete;
    LoopbackListener &operator=(const LoopbackListener &) = delete;

    int port() const { return m_port; }
    QByteArray host() const { return LoopbackHost(m_port); }
    // "http://127.0.0.1:<port>/".
    QString url() const { return QStringLiteral("http://") + QString::fromLatin1(host()) + u'/'; }

private:
    void fillQueue();

    int m_socket = -1;
    int m_port = -1;
    std::vector<int> m_queued;
};

// A host name that no resolver can look up, refused by this machine's own resolver before it
// asks any server: its first label is longer than the 63 characters a name may have.
inline constexpr char kUnresolvableHost[] =
    "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx.invalid";
