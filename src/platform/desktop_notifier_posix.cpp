#include "platform/desktop_notifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>
#include <QVariantMap>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <netdb.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kObjectPath = QStringLiteral("/org/freedesktop/Notifications");

// The session's bus: the address the session names, else the user's bus that systemd keeps at
// a fixed place (the D-Bus library looks there too). Empty when there is none; the library's
// last resort, starting a bus of its own, would give a bus without a notification service.
QString sessionBusAddress()
{
    const QString named = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (!named.isEmpty())
        return named;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString userBus = runtime + QStringLiteral("/bus");
    if (runtime.isEmpty() || !QFileInfo::exists(userBus))
        return QString();
    // Address values escape every byte but these.
    return QStringLiteral("unix:path=")
        + QString::fromLatin1(QFile::encodeName(userBus).toPercentEncoding("/*", "~"));
}

class Socket
{
public:
    explicit Socket(int family) : m_fd(::socket(family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)) {}
    ~Socket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Socket(const Socket &) = delete;
    Socket &operator=(const Socket &) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

bool waitFor(int fd, short events, const QDeadlineTimer &deadline)
{
    for (;;) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0)
            return false;
        pollfd poll{fd, events, 0};
        const int ready = ::poll(&poll, 1, int(left));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

// Whether a bus listens at a socket address: it answers the first step of a client's
// authentication ("AUTH" with no mechanism) at once.
bool busAnswersAt(const sockaddr *address, socklen_t length, const QDeadlineTimer &deadline)
{
    const Socket socket(address->sa_family);
    if (::connect(socket.fd(), address, length) != 0) {
        // A TCP connection comes in its own time; a Unix socket connects at once or not at all
        // (a bus whose queue of connections is full, EAGAIN, is not answering either).
        int failure = 0;
        socklen_t size = sizeof failure;
        if (errno != EINPROGRESS || !waitFor(socket.fd(), POLLOUT, deadline)
            || ::getsockopt(socket.fd(), SOL_SOCKET, SO_ERROR, &failure, &size) != 0 || failure != 0)
            return false;
    }
    static const char kAuthStart[] = "\0AUTH\r\n";
    const size_t startLength = sizeof kAuthStart - 1;
    char answer[64];
    return ::send(socket.fd(), kAuthStart, startLength, MSG_NOSIGNAL) == ssize_t(startLength)
        && waitFor(socket.fd(), POLLIN, deadline) && ::recv(socket.fd(), answer, sizeof answer, 0) > 0;
}

// Whether a bus answers at one entry of a bus address ("transport:key=value,..."); none for an
// entry of a kind that cannot be asked beforehand.
std::optional<bool> entryAnswers(const QString &entry, const QDeadlineTimer &deadline)
{
    const QString transport = entry.section(QLatin1Char(':'), 0, 0);
    QHash<QString, QByteArray> values;
    for (const QString &pair : entry.section(QLatin1Char(':'), 1).split(QLatin1Char(',')))
        values.insert(pair.section(QLatin1Char('='), 0, 0),
                      QByteArray::fromPercentEncoding(pair.section(QLatin1Char('='), 1).toLatin1()));

    if (transport == QLatin1String("unix")) {
        const bool abstract = values.contains(QStringLiteral("abstract"));
        const QByteArray name = values.value(abstract ? QStringLiteral("abstract") : QStringLiteral("path"));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const size_t start = abstract ? 1 : 0;  // an abstract name follows a zero byte
        if (name.isEmpty() || start + size_t(name.size()) >= sizeof address.sun_path)
            return false;
        std::memcpy(address.sun_path + start, name.constData(), size_t(name.size()));
        return busAnswersAt(reinterpret_cast<const sockaddr *>(&address),
                            socklen_t(offsetof(sockaddr_un, sun_path) + start + size_t(name.size())), deadline);
    }
    if (transport == QLatin1String("tcp") || transport == QLatin1String("nonce-tcp")) {
        // A host name goes to the system's resolver, which no deadline cuts short; a session
        // bus over TCP names this machine, which the resolver knows without asking anyone.
        addrinfo hints{};
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_NUMERICSERV;
        addrinfo *found = nullptr;
        const QByteArray host = values.value(QStringLiteral("host"), "localhost");
        if (::getaddrinfo(host.constData(), values.value(QStringLiteral("port")).constData(), &hints, &found) != 0)
            return false;
        bool answers = false;
        for (const addrinfo *candidate = found; candidate && !answers; candidate = candidate->ai_next)
            answers = busAnswersAt(candidate->ai_addr, candidate->ai_addrlen, deadline);
        ::freeaddrinfo(found);
        return answers;
    }
    return std::nullopt;
}

// The first entry of a bus address (entries separated by ";") at which a bus answers, or that
// cannot be asked beforehand and is taken as it stands.
QString answeringEntry(const QString &address, const QDeadlineTimer &deadline, QString *reason)
{
    for (const QString &entry : address.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (entryAnswers(entry, deadline).value_or(true))
            return entry;
        *reason = QStringLiteral("no session bus answers at ") + entry;
    }
    return QString();
}

} // namespace

DesktopNotifier::DesktopNotifier(const QString &appName, const QString &desktopEntry)
    : m_appName(appName), m_desktopEntry(desktopEntry), m_deadline(kNotifierDeadlineMs)
{
}

DesktopNotifier::~DesktopNotifier()
{
    if (!m_connection.isEmpty())
        QDBusConnection::disconnectFromBus(m_connection);
}

void DesktopNotifier::connect()
{
    const QString address = sessionBusAddress();
    QString reason = QStringLiteral("no session bus");
    const QString entry = address.isEmpty() ? QString() : answeringEntry(address, m_deadline, &reason);
    if (entry.isEmpty()) {
        m_failure = reason;
        return;
    }
    // Each notifier has a connection of its own, closed when it ends: a bus that restarted
    // meanwhile is found again by the next one.
    static std::atomic<int> count = 0;
    m_connection = QStringLiteral("pelgrandix-notifier-%1").arg(++count);
    const QDBusConnection bus = QDBusConnection::connectToBus(entry, m_connection);
    if (!bus.isConnected())
        m_failure = bus.lastError().message();
}

bool DesktopNotifier::notify(const QString &summary, const QString &body, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (m_connection.isEmpty() && m_failure.isEmpty())
        connect();
    if (!m_failure.isEmpty())
        return fail(m_failure);
    const int left = int(m_deadline.remainingTime());
    if (left <= 0)
        return fail(QStringLiteral("no answer from the notification service within %1 ms").arg(kNotifierDeadlineMs));

    QDBusMessage call = QDBusMessage::createMethodCall(kService, kObjectPath, kService, QStringLiteral("Notify"));
    // Arguments: application, notification to replace (none), icon, summary, body, actions,
    // hints, how long to show it (as the service prefers).
    call << m_appName << 0u << m_desktopEntry << summary << body << QStringList()
         << QVariantMap{{QStringLiteral("desktop-entry"), m_desktopEntry}} << -1;
    const QDBusMessage reply = QDBusConnection(m_connection).call(call, QDBus::Block, left);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    return fail(reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage());
}

} // namespace platform
