#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTimer>

#include <unistd.h>

#include "app/main_form.h"
#include "app/main_form_windows.h"
#include "book/positions_book.h"
#include "entry/options_form.h"
#include "entry/settings_values.h"
#include "support/fake_notification_service.h"
#include "support/files.h"
#include "support/main_window_fixture.h"
#include "support/private_session_bus.h"
#include "support/quote_site.h"
#include "support/scripted_ping.h"

namespace {

// Bought at 14,00: against the sample page's 12,35 the difference is 165,00 per option, so the
// advice for the written call is "Terugkopen"; against 13,95 it is 5,00 and the panel shows none.
const QByteArray kPositions = "AEX; Call; apr; 2013; 380; 14,00; 14,00; 1; 0,00; 1\r\n"
                              "AEX; Put; mrt; 2013; 380; 1,00; 1,00; 1; 0,00; 0\r\n";

// What the program writes to its standard error while the object lives.
class CapturedStderr
{
public:
    CapturedStderr() : m_saved(::dup(STDERR_FILENO))
    {
        m_file.open();
        std::fflush(stderr);
        ::dup2(m_file.handle(), STDERR_FILENO);
    }
    ~CapturedStderr() { restore(); }
    QByteArray text()
    {
        restore();
        m_file.seek(0);
        return m_file.readAll();
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
        m_saved = -1;
    }
    QTemporaryFile m_file;
    int m_saved;
};

class AdviceAlertsWindow : public ::testing::Test
{
protected:
    // A download with the call at 380 in April priced as given.
    void downloadAt(const QByteArray &price)
    {
        site.serve(QuoteSite::Calls, ReadFixture("calls_sample.html").replace(">12,35<", ">" + price + "<"));
        fixture.form()->DownloadButtonClick();
        ASSERT_EQ(fixture.form()->Label1->text(), "Download klaar");
    }

    ScriptedPing ping{ScriptedPing::Reply};
    QuoteSite site;
    MainWindowFixture fixture{kPositions};
};

const QString kSummary = QStringLiteral("Pelgrandix: AEX Call apr 2013 380");

} // namespace

TEST_F(AdviceAlertsWindow, EachDownloadThatChangesTheBuyBackAdviceShowsOneNotificationWhenSwitchedOn)
{
    PrivateSessionBus bus;
    FakeNotificationService service(bus.address());
    ASSERT_TRUE(service.registered());

    downloadAt("12,35");
    downloadAt("12,35");
    EXPECT_TRUE(service.calls().isEmpty()) << "the first download records; the second changed nothing";
    downloadAt("13,95");
    downloadAt("13,90");
    ASSERT_EQ(service.calls().size(), 1) << "a change of the difference alone is no change of the advice";
    EXPECT_EQ(service.calls()[0].summary, kSummary);
    EXPECT_EQ(service.calls()[0].body, "Advies: Geen actie (verschil 5,00)");

    PortfolioSettings settings = fixture.book().settings();
    settings.notifications = false;
    fixture.book().setSettings(settings);
    downloadAt("12,35");
    settings.notifications = true;
    fixture.book().setSettings(settings);
    downloadAt("12,35");
    EXPECT_EQ(service.calls().size(), 1) << "nothing while switched off, nor later for that change";
    downloadAt("13,95");
    ASSERT_EQ(service.calls().size(), 2);
    EXPECT_EQ(service.calls()[1].body, "Advies: Geen actie (verschil 5,00)");
}

TEST_F(AdviceAlertsWindow, AlertsSwitchedOffInTheSettingsAreOffForTheDownloadTheSameOkStarts)
{
    PrivateSessionBus bus;
    FakeNotificationService service(bus.address());
    ASSERT_TRUE(service.registered());
    downloadAt("12,35");
    site.serve(QuoteSite::Calls, ReadFixture("calls_sample.html").replace(">12,35<", ">13,95<"));
    const std::unique_ptr<TOptionsForm> made = MakeOptionsForm(*fixture.form());
    TOptionsForm &options = *made;
    QTimer::singleShot(0, [&] {
        options.MeldingenCheck->setChecked(false);
        options.JarenEdit->setValue(NumberOfYears + 1);  // a new number of years downloads
        options.OKBtn->click();
    });
    options.showCentred();
    ASSERT_EQ(fixture.form()->Label1->text(), "Download klaar");
    EXPECT_TRUE(service.calls().isEmpty());
}

TEST_F(AdviceAlertsWindow, WithoutABusTheAlertGoesToTheLogOnce)
{
    QTemporaryDir runtime;
    const QByteArray address = "unix:path=" + QFile::encodeName(runtime.filePath("bus"));
    const ScopedEnv noBus("DBUS_SESSION_BUS_ADDRESS", address);
    downloadAt("12,35");
    CapturedStderr log;
    downloadAt("13,95");
    const QByteArray written = log.text();
    const QByteArray line = "notification not shown (no session bus answers at " + address
        + "): Pelgrandix: AEX Call apr 2013 380: Advies: Geen actie (verschil 5,00)\n";
    EXPECT_EQ(written.count(line), 1) << written.toStdString();
    EXPECT_EQ(written.count("notification not shown"), 1) << written.toStdString();
}
