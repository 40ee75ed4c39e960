#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>

#include "platform/desktop_notifier.h"
#include "support/fake_notification_service.h"
#include "support/loopback_listener.h"
#include "support/private_session_bus.h"
#include "support/scoped_env.h"

TEST(DesktopNotifier, NotificationsReachTheServiceWithTheProgramsNameAndIcon)
{
    PrivateSessionBus bus;
    ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon did not start";
    FakeNotificationService service(bus.address());
    ASSERT_TRUE(service.registered());

    platform::DesktopNotifier notifier("Pelgrandix", "nl.pelgrandix.Pelgrandix");
    QString error;
    EXPECT_TRUE(notifier.notify("Pelgrandix: AEX Put mrt 2013 380", "Advies: Terugkopen (verschil 90,00)", &error))
        << error.toStdString();
    EXPECT_TRUE(notifier.notify("second", "over the same connection", &error)) << error.toStdString();

    const QList<NotifyCall> calls = service.calls();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[0].appName, "Pelgrandix");
    EXPECT_EQ(calls[0].icon, "nl.pelgrandix.Pelgrandix");
    EXPECT_EQ(calls[0].desktopEntry, "nl.pelgrandix.Pelgrandix");
    EXPECT_EQ(calls[0].summary, "Pelgrandix: AEX Put mrt 2013 380");
    EXPECT_EQ(calls[0].body, "Advies: Terugkopen (verschil 90,00)");
    EXPECT_EQ(calls[1].summary, "second");
}

// Whatever stands in the way, a notifier gives up within its second, for all its notifications
// together, and says why.
TEST(DesktopNotifier, GivesUpWithinASecondAndSaysWhy)
{
    QTemporaryDir emptyRuntime;
    struct Case {
        const char *situation;
        std::function<std::optional<QString>()> prepare;  // the bus address, or none
        const char *reason;
    };
    std::unique_ptr<PrivateSessionBus> bus;
    std::unique_ptr<FakeNotificationService> service;
    const LoopbackListener silent(LoopbackListener::Silent);
    const Case cases[] = {
        {"no session bus", [] { return std::nullopt; }, "no session bus"},
        {"a bus address where nothing listens", [] { return QStringLiteral("unix:path=/nonexistent/bus"); },
         "no session bus answers at unix:path=/nonexistent/bus"},
        {"a bus that takes the connection and never answers",
         [&] { return QStringLiteral("tcp:host=127.0.0.1,port=%1").arg(silent.port()); },
         "no session bus answers at tcp:host=127.0.0.1"},
        {"a bus without a notification service", [&] {
             bus = std::make_unique<PrivateSessionBus>();
             return bus->address();
         }, "org.freedesktop.Notifications"},
        {"a service that answers too late", [&] {
             bus = std::make_unique<PrivateSessionBus>();
             service = std::make_unique<FakeNotificationService>(bus->address());
             service->setAnswerDelay(3000);
             return bus->address();
         }, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.situation);
        const std::optional<QString> address = c.prepare();
        {
            const ScopedEnv busAddress("DBUS_SESSION_BUS_ADDRESS",
                                       address ? std::optional(address->toLocal8Bit()) : std::nullopt);
            const ScopedEnv runtime("XDG_RUNTIME_DIR", QFile::encodeName(emptyRuntime.path()));

            QElapsedTimer clock;
            clock.start();
            platform::DesktopNotifier notifier("Pelgrandix", "nl.pelgrandix.Pelgrandix");
            QString first, second;
            EXPECT_FALSE(notifier.notify("one", "body", &first));
            EXPECT_FALSE(notifier.notify("two", "body", &second));
            EXPECT_LT(clock.elapsed(), platform::kNotifierDeadlineMs + 300);
            EXPECT_FALSE(first.isEmpty());
            EXPECT_TRUE(first.contains(c.reason)) << first.toStdString();
            EXPECT_FALSE(second.isEmpty());
        }
        // The bus's own variable goes last, after the one set here on top of it.
        service.reset();
        bus.reset();
    }
}
