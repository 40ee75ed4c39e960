#pragma once
// The desktop's notification service, played by the test: it owns the name
// org.freedesktop.Notifications on a bus and records every call of Notify. It answers from a
// thread of its own, so that a caller who waits on the bus gets its answer.

#include <QDBusConnection>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QVariantMap>

#include <atomic>

struct NotifyCall {
    QString appName, icon, summary, body, desktopEntry;
};

class NotificationReceiver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QList<NotifyCall> calls() const;
    // Each answer comes this much later.
    std::atomic<int> delayMs = 0;

public slots:
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int expireTimeout);

private:
    mutable QMutex m_mutex;
    QList<NotifyCall> m_calls;
};

class FakeNotificationService
{
public:
    // Registers on the bus at that address; registered() tells whether it could.
    explicit FakeNotificationService(const QString &busAddress);
    ~FakeNotificationService();
    FakeNotificationService(const FakeNotificationService &) = delete;
    FakeNotificationService &operator=(const FakeNotificationService &) = delete;

    bool registered() const { return m_registered; }
    QList<NotifyCall> calls() const { return m_receiver->calls(); }
    void setAnswerDelay(int ms) { m_receiver->delayMs = ms; }

private:
    QThread m_thread;
    NotificationReceiver *m_receiver;
    QString m_connection;
    bool m_registered = false;
};
