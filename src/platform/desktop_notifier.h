#pragma once
// Desktop notifications through the freedesktop notification service: the method Notify of
// org.freedesktop.Notifications on the session bus.
//
// A notifier waits on the bus at most kNotifierDeadlineMs in all, for reaching the bus and for
// every answer together. Reaching the bus is the part that cannot be bounded from outside: a
// bus that takes the connection but never answers holds the D-Bus library for about a minute,
// also at the program's end. So each address is first asked whether a bus answers there at
// all, within the deadline, before the D-Bus library is let near it.

#include <QDeadlineTimer>
#include <QString>

namespace platform {

inline constexpr int kNotifierDeadlineMs = 1000;

class DesktopNotifier
{
public:
    // appName and the desktop entry's name (without ".desktop"), which is also its icon's name,
    // go with every notification. The deadline starts here; the bus is reached at the first
    // notify().
    DesktopNotifier(const QString &appName, const QString &desktopEntry);
    ~DesktopNotifier();
    DesktopNotifier(const DesktopNotifier &) = delete;
    DesktopNotifier &operator=(const DesktopNotifier &) = delete;

    // False, with the reason, when there is no session bus, no notification service, or no
    // answer before the deadline. After the bus could not be reached every later call fails
    // at once with the same reason.
    bool notify(const QString &summary, const QString &body, QString *error = nullptr);

private:
    // Sets m_connection, or m_failure when the bus cannot be reached.
    void connect();

    QString m_appName, m_desktopEntry;
    QDeadlineTimer m_deadline;
    QString m_connection;  // the D-Bus library's name of the connection; empty before it
    QString m_failure;     // why the bus could not be reached
};

} // namespace platform
