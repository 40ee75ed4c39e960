#include "support/fake_notification_service.h"

#include <QMutexLocker>

QList<NotifyCall> NotificationReceiver::calls() const
{
    const QMutexLocker lock(&m_mutex);
    return m_calls;
}

uint NotificationReceiver::Notify(const QString &appName, uint, const QString &appIcon, const QString &summary,
                                  const QString &body, const QStringList &, const QVariantMap &hints, int)
{
    QThread::msleep(ulong(delayMs.load()));
    const QMutexLocker lock(&m_mutex);
    m_calls.append({appName, appIcon, summary, body, hints.value(QStringLiteral("desktop-entry")).toString()});
    return uint(m_calls.size());
}

FakeNotificationService::FakeNotificationService(const QString &busAddress)
    : m_receiver(new NotificationReceiver)
{
    static int count = 0;
    m_connection = QStringLiteral("fake-notification-service-%1").arg(++count);
    m_receiver->moveToThread(&m_thread);
    m_thread.start();
    QDBusConnection bus = QDBusConnection::connectToBus(busAddress, m_connection);
    m_registered = bus.isConnected()
        && bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), m_receiver,
                              QDBusConnection::ExportAllSlots)
        && bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
}

FakeNotificationService::~FakeNotificationService()
{
    QDBusConnection::disconnectFromBus(m_connection);
    m_thread.quit();
    m_thread.wait();
    delete m_receiver;
}
