#include "platform/desktop_notifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QVariantMap>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstring>
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
    Socket() : m_fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)) {}
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

bool waitFor(int fd, short events, const QElapsedTimer &clock)
{
    for (;;) {
        const qint64 left = kNotifierDeadlineMs - clock.elapsed();
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

// Whether a bus listens at a Unix socket (a path, or a name in the abstract namespace): it
// answers the first step of a client's authentication ("AUTH" with no mechanism) at once.
bool busAnswersAt(const QByteArray &name, bool abstract, const QElapsedTimer &clock, QString *reason)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const size_t start = abstract ? 1 : 0;  // an abstract name follows a zero byte
    if (name.isEmpty() || start + size_t(name.size()) >= sizeof address.sun_path) {
        *reason = QStringLiteral("unusable bus address");
        return false;
    }
    std::memcpy(address.sun_path + start, name.constData(), size_t(name.size()));
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + start + size_t(name.size()));

    // A Unix socket connects at once or not at all; a bus whose queue of connections is full
    // (EAGAIN) is not answering either.
    const Socket socket;
    const bool connected = ::connect(socket.fd(), reinterpret_cast<const sockaddr *>(&address), length) == 0;
    static const char kAuthStart[] = "\0AUTH\r\n";
    const size_t startLength = sizeof kAuthStart - 1;
    char answer[64];
    if (!connected
        || ::send(socket.fd(), kAuthStart, startLength, MSG_NOSIGNAL) != ssize_t(startLength)
        || !waitFor(socket.fd(), POLLIN, clock) || ::recv(socket.fd(), answer, sizeof answer, 0) <= 0) {
        *reason = QStringLiteral("no session bus answers at %1").arg(QString::fromLocal8Bit(name));
        return false;
    }
    return true;
}

// The first entry of a bus address (entries separated by ";") at which a bus answers. An entry
// of a kind that cannot be asked beforehand (not a Unix socket) is taken as it stands.
QString answeringEntry(const QString &address, const QElapsedTimer &clock, QString *reason)
{
    for (const QString &entry : address.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype colon = entry.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        if (entry.left(colon) != QLatin1String("unix"))
            return entry;
        for (const QString &pair : entry.mid(colon + 1).split(QLatin1Char(','))) {
            const QString key = pair.section(QLatin1Char('='), 0, 0);
            const QByteArray value = QByteArray::fromPercentEncoding(pair.section(QLatin1Char('='), 1).toLatin1());
            const bool abstract = key == QLatin1String("abstract");
            if ((abstract || key == QLatin1String("path")) && busAnswersAt(value, abstract, clock, reason))
                return entry;
        }
    }
    return QString();
}

} // namespace

DesktopNotifier::DesktopNotifier(const QString &appName, const QString &desktopEntry)
    : m_appName(appName), m_desktopEntry(desktopEntry)
{
    m_clock.start();
}

DesktopNotifier::~DesktopNotifier()
{
    if (!m_connection.isEmpty())
        QDBusConnection::disconnectFromBus(m_connection);
}

int DesktopNotifier::remainingMs() const
{
    return int(kNotifierDeadlineMs - m_clock.elapsed());
}

void DesktopNotifier::connect()
{
    const QString address = sessionBusAddress();
    QString reason = QStringLiteral("no session bus");
    const QString entry = address.isEmpty() ? QString() : answeringEntry(address, m_clock, &reason);
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
    const int left = remainingMs();
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
