#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "app/main_form.h"
#include "app/main_form_windows.h"
#include "book/positions_book.h"
#include "entry/add_form.h"
#include "entry/options_form.h"
#include "entry/settings_values.h"
#include "market/data_rec.h"
#include "market/market_hosts.h"
#include "support/main_window_fixture.h"
#include "support/maker_site.h"
#include "support/message_box_catcher.h"
#include "support/scoped_env.h"
#include "support/scripted_ping.h"
#include "support/update_keys.h"
#include "support/wait_until.h"
#include "update/versions_form.h"

namespace {

const QString &kStore = TempHome::kSettingsFile;

QByteArray storeWith(const QByteArray &values)
{
    return "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Pelgrandix\\Defaults]\n"
           + values;
}

class Settings : public ::testing::Test
{
protected:
    // The stored values are written before the dialog is created, as at a program start.
    void start(const QByteArray &values = QByteArray())
    {
        if (!values.isNull())
            fixture.home().writeFile(kStore, storeWith(values));
        NumberOfYears = NumberOfMinutes = 0;
        options = MakeOptionsForm(*fixture.form());
    }
    // The program's end: the dialog writes the settings back.
    QByteArray stop()
    {
        options.reset();
        return fixture.home().readFile(kStore);
    }
    // Shows the dialog and presses a button once it is up.
    void showAndPress(QPushButton *TOptionsForm::*button, std::function<void()> edit = {})
    {
        QTimer::singleShot(0, [this, button, edit] {
            if (edit)
                edit();
            (options.get()->*button)->click();
        });
        options->showCentred();
    }

    MainWindowFixture fixture;
    std::unique_ptr<TOptionsForm> options;
};

} // namespace

TEST_F(Settings, FirstStartUsesDefaultsAndWritesAllNineValues)
{
    start();
    TMainForm *form = fixture.form();
    EXPECT_EQ(form->x(), 100);
    EXPECT_EQ(form->y(), 100);
    EXPECT_EQ(form->width(), 760);
    EXPECT_EQ(form->height(), 330);
    EXPECT_EQ(NumberOfYears, 1);
    EXPECT_EQ(NumberOfMinutes, 15);
    EXPECT_TRUE(options->DownloadCheck->isChecked());
    EXPECT_TRUE(options->UpdatesCheck->isChecked());
    EXPECT_TRUE(form->DownloadTimer->isEnabled());
    EXPECT_EQ(options->windowTitle(), "Pelgrandix - Instellingen");

    const QByteArray written = stop();
    for (const char *line : {"\"Top\"=dword:00000064", "\"Left\"=dword:00000064", "\"Height\"=dword:0000014a",
                             "\"Width\"=dword:000002f8", "\"Aantal jaren\"=dword:00000001",
                             "\"DownloadTimer\"=\"1\"", "\"Aantal minuten\"=dword:0000000f",
                             "\"Updates Aan\"=\"1\"", "\"Splitter\"=dword:"})
        EXPECT_TRUE(written.contains(line)) << line << "\n" << written.toStdString();
}

TEST_F(Settings, StoredPlacementIsAppliedAndTextKeepsItsKind)
{
    start("\"Top\"=\"250\"\n\"Left\"=dword:00000020\n\"Width\"=dword:00000320\n");
    EXPECT_EQ(fixture.form()->y(), 250);
    EXPECT_EQ(fixture.form()->x(), 32);
    EXPECT_EQ(fixture.form()->width(), 800);
    const QByteArray written = stop();
    EXPECT_TRUE(written.contains("\"Top\"=\"250\"")) << written.toStdString();
}

TEST_F(Settings, PlaceOutOfSightOfEveryScreenIsCentredOnTheMainScreen)
{
    // Left 3000: stored while a second screen stood right of this one.
    start("\"Top\"=dword:00000050\n\"Left\"=dword:00000bb8\n\"Width\"=dword:00000258\n");
    TMainForm *form = fixture.form();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_LT(screen.right(), 3000);
    EXPECT_EQ(form->width(), 600);
    EXPECT_EQ(form->x(), screen.x() + (screen.width() - 600) / 2);
    EXPECT_EQ(form->y(), screen.y() + (screen.height() - form->height()) / 2);
}

TEST_F(Settings, LettersInATextValueGiveTheDefault)
{
    start("\"Top\"=\"boven\"\n");
    EXPECT_EQ(fixture.form()->y(), 100);
}

TEST_F(Settings, YearsOutsideTheFieldBoundsShowAsTheNearestBoundAndOkDownloads)
{
    struct Case { const char *stored; int shown; };
    for (const Case &c : {Case{"00000000", 1}, Case{"00000009", 5}}) {
        ScriptedPing ping(ScriptedPing::TimeOut);
        start("\"Aantal jaren\"=dword:" + QByteArray(c.stored) + "\n");
        int shown = -1;
        showAndPress(&TOptionsForm::OKBtn, [&] { shown = options->JarenEdit->value(); });
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(NumberOfYears, c.shown);
        EXPECT_EQ(fixture.form()->Label1->text(), "Geen internetverbinding.") << "a changed number of years downloads";
        stop();
        fixture.form()->Label1->clear();
    }
}

TEST_F(Settings, OkWithoutChangeOnlyReplacesTheAddDialogsYears)
{
    const std::unique_ptr<TAddForm> made = MakeAddForm(*fixture.form());
    TAddForm &add = *made;
    start("\"Aantal jaren\"=dword:00000002\n");
    fixture.book().DataRec().YearFrom = 2027;
    showAndPress(&TOptionsForm::OKBtn);
    EXPECT_EQ(fixture.form()->Label1->text(), "") << "no download";
    EXPECT_EQ(fixture.book().DataRec().YearTill, 2029);
    ASSERT_EQ(add.ComboBox2->count(), 3);
    EXPECT_EQ(add.ComboBox2->itemText(0), "2027");
    EXPECT_EQ(add.ComboBox2->currentIndex(), 0);
}

TEST_F(Settings, EnterOnAFocusedButtonPressesThatButton)
{
    start("\"Aantal jaren\"=dword:00000002\n");
    QTimer::singleShot(0, [this] {
        options->JarenEdit->setValue(5);
        QTest::keyClick(options->CancelBtn, Qt::Key_Return);
    });
    options->showCentred();
    EXPECT_EQ(options->result(), QDialog::Rejected);
    EXPECT_EQ(NumberOfYears, 2);
}

TEST_F(Settings, MinutesSetTheDownloadPeriod)
{
    start();
    for (int minutes : {1, 60}) {
        showAndPress(&TOptionsForm::OKBtn, [&] { options->MinutesEdit->setValue(minutes); });
        EXPECT_EQ(NumberOfMinutes, minutes);
        EXPECT_EQ(fixture.form()->DownloadTimer->interval(), minutes * 60000);
    }
}

TEST_F(Settings, StoredMinutesOutsideTheFieldBoundsAreReadAsTheNearestBound)
{
    struct Case { const char *stored; int minutes; };
    const Case cases[] = {
        {"dword:0000001e", 30}, {"dword:0000003d", 60}, {"dword:0000ffff", 60},
        {"dword:0001002d", 60}, {"\"5000\"", 60}, {"dword:00000000", 1}, {"dword:ffffffff", 1},
    };
    for (const Case &c : cases) {
        ScriptedPing ping(ScriptedPing::TimeOut);
        start("\"Aantal minuten\"=" + QByteArray(c.stored) + "\n");
        EXPECT_EQ(NumberOfMinutes, c.minutes) << c.stored;
        // The period reaches the timer with the next download.
        fixture.form()->DownloadButtonClick();
        EXPECT_EQ(fixture.form()->DownloadTimer->interval(), c.minutes * 60000) << c.stored;
        EXPECT_TRUE(fixture.form()->DownloadTimer->isEnabled());
        stop();
    }
}

TEST_F(Settings, UntickingTheSwitchActsAtOnceEvenWhenCancelled)
{
    start();
    showAndPress(&TOptionsForm::CancelBtn, [&] { options->DownloadCheck->click(); });
    EXPECT_FALSE(fixture.form()->DownloadTimer->isEnabled());
    EXPECT_FALSE(options->Label2->isEnabled());
    EXPECT_FALSE(options->Label3->isEnabled());
    EXPECT_TRUE(options->MinutesEdit->isEnabled());
    EXPECT_TRUE(stop().contains("\"DownloadTimer\"=\"0\""));
}

TEST_F(Settings, AValueOfAnotherKindStopsTheReading)
{
    MessageBoxCatcher boxes;
    start("\"Top\"=dword:00000096\n\"Left\"=dword:00000097\n\"Height\"=hex:01,02\n\"Width\"=dword:00000320\n");
    ASSERT_EQ(boxes.errors().size(), 1);
    EXPECT_TRUE(boxes.errors().first().contains("Height")) << boxes.errors().first().toStdString();
    EXPECT_EQ(fixture.form()->y(), 150);
    EXPECT_EQ(fixture.form()->x(), 151);
    EXPECT_EQ(fixture.form()->width(), 760) << "values after the bad one are not read";
    EXPECT_EQ(NumberOfMinutes, 0);
    EXPECT_FALSE(options->DownloadCheck->isChecked());
}

TEST_F(Settings, SettingsThatCannotBeWrittenAtTheEndAreShown)
{
    // A file where the settings folder would be made: no user, root included, can write there.
    fixture.home().writeFile(".config/Pelgrandix", "in the way");
    start();
    MessageBoxCatcher boxes;
    stop();
    EXPECT_EQ(boxes.errors(), QStringList{"Instellingen niet opgeslagen: " + fixture.home().settingsFile()
                                          + " kan niet worden geschreven."});
    EXPECT_EQ(fixture.home().readFile(".config/Pelgrandix"), "in the way");
}

TEST(UpdateCheckAtStart, RunsOnceWhenSwitchedOnAndNeverWhenOff)
{
    for (bool on : {false, true}) {
        SCOPED_TRACE(on ? "switched on" : "switched off");
        MakerSite maker;
        ScriptedPing ping(ScriptedPing::Reply);
        MainWindowFixture main;
        // Signed by a key trusted in the window's home.
        maker.serveList("Pelgrandix,Pelgrandix120.exe,a,8," + Sha256Field("current") + ",huidig,current\r\n"
                        "Koersbord,Koersbord300.exe,c,900,x,oud,old\r\n");
        main.home().writeFile(kStore, storeWith(on ? "\"Updates Aan\"=\"1\"\n" : "\"Updates Aan\"=\"0\"\n"));
        TMainForm *form = main.form();
        const std::unique_ptr<TOptionsForm> options = MakeOptionsForm(*form);
        const std::unique_ptr<TVersionsForm> made = MakeVersionsForm(*form);
        TVersionsForm &versions = *made;
        form->show();
        // The first paint's download and index refresh probe once each; the switch is read first.
        ASSERT_TRUE(waitUntil([&ping] { return ping.runCount() >= 2; }));
        // Brought forward from its ten seconds; a timer switched off stays off.
        form->UpdateTimer->setInterval(10);
        ASSERT_TRUE(waitForTimer(200));
        EXPECT_EQ(maker.paths().count("/versions.dat"), on ? 1 : 0);
        EXPECT_FALSE(form->UpdateTimer->isEnabled());
        EXPECT_FALSE(versions.isVisible()) << "the current release is listed";
    }
}

TEST_F(Settings, PortfolioRateAndYieldTakeEffectAtOkOnlyAndAreStoredAsText)
{
    start("\"Rente\"=\"2,5\"\n");
    EXPECT_EQ(fixture.book().settings().ratePercent, 2.5);
    EXPECT_EQ(fixture.book().settings().dividendYieldPercent, 3.0);
    EXPECT_EQ(options->PortfolioBox->title(), " Portefeuille ");
    EXPECT_GT(options->UpdateBox->y(), options->PortfolioBox->geometry().bottom());

    showAndPress(&TOptionsForm::CancelBtn, [&] { options->RenteEdit->setValue(7); });
    EXPECT_EQ(fixture.book().settings().ratePercent, 2.5);
    double shown = 0;
    showAndPress(&TOptionsForm::OKBtn, [&] {
        shown = options->RenteEdit->value();
        options->DividendEdit->setValue(25);  // beyond the field's bound
        options->MarginEdit->setValue(150);
        options->CommissieEdit->setValue(2.5);
    });
    EXPECT_EQ(shown, 2.5) << "each showing starts from the values in force";
    EXPECT_EQ(fixture.book().settings().dividendYieldPercent, 20.0);
    EXPECT_EQ(fixture.book().settings().marginPercent, 100.0);
    EXPECT_GT(options->MeldingenCheck->geometry().top(), options->MarginEdit->geometry().bottom());
    const QByteArray written = stop();
    for (const char *line : {"\"Rente\"=\"2,50\"\n", "\"Dividendrendement\"=\"20,00\"\n", "\"Marginpercentage\"=\"100,00\"\n",
                             "\"Commissie per contract\"=\"2,50\"\n"})
        EXPECT_TRUE(written.contains(line)) << line << "\n" << written.toStdString();
}

TEST_F(Settings, AlertSwitchIsOnByDefaultTakesEffectAtOkAndIsStoredAsText)
{
    struct Case {
        QByteArray stored;
        bool read;
        bool tickedAtOk;
        const char *written;
    };
    const Case cases[] = {
        {QByteArray(), true, false, "\"Meldingen\"=\"0\"\n"},
        {"\"Meldingen\"=\"0\"\n", false, true, "\"Meldingen\"=\"1\"\n"},
        {"\"Meldingen\"=\"nee\"\n", true, true, "\"Meldingen\"=\"1\"\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored.toStdString());
        start(c.stored);
        EXPECT_EQ(fixture.book().settings().notifications, c.read);

        bool shown = !c.read;
        showAndPress(&TOptionsForm::CancelBtn, [&] {
            shown = options->MeldingenCheck->isChecked();
            options->MeldingenCheck->setChecked(!c.read);
        });
        EXPECT_EQ(shown, c.read) << "the dialog shows the switch in force";
        EXPECT_EQ(fixture.book().settings().notifications, c.read) << "cancelled";
        showAndPress(&TOptionsForm::OKBtn, [&] { options->MeldingenCheck->setChecked(c.tickedAtOk); });
        EXPECT_EQ(fixture.book().settings().notifications, c.tickedAtOk);
        const QByteArray written = stop();
        EXPECT_TRUE(written.contains(c.written)) << written.toStdString();
    }
}

TEST_F(Settings, SitesAreTypedInTheWebsitesGroupUnlessTheEnvironmentNamesThem)
{
    const ScopedEnv noQuotes("PELGRANDIX_QUOTE_HOST", std::nullopt);
    const ScopedEnv noIndex("PELGRANDIX_INDEX_HOST", std::nullopt);
    start("\"Indexsite\"=\"https://index.example\"\n");
    EXPECT_EQ(IndexHost(), "https://index.example");

    MessageBoxCatcher boxes;
    QStringList shown;
    bool makerEditable = true;
    bool openAfterRefusal = false;
    double rateAfterRefusal = 0;
    QTimer::singleShot(0, [&] {
        for (const QLineEdit *edit : {options->OptiesiteEdit, options->IndexsiteEdit, options->MakersiteEdit})
            shown << edit->text();
        makerEditable = options->MakersiteEdit->isEnabled();
        options->OptiesiteEdit->setText("ftp://quotes.example");
        options->RenteEdit->setValue(7);
        options->OKBtn->click();
        openAfterRefusal = options->isVisible();
        rateAfterRefusal = fixture.book().settings().ratePercent;
        options->OptiesiteEdit->setText(" https://quotes.example ");
        options->OKBtn->click();
    });
    options->showCentred();
    EXPECT_EQ(shown, QStringList({"127.0.0.1:8470", "https://index.example", qEnvironmentVariable("PELGRANDIX_MAKER_HOST")}));
    EXPECT_FALSE(makerEditable) << "the environment names it";
    EXPECT_EQ(boxes.others(), QStringList{"Optiesite is geen adres van een website: ftp://quotes.example"});
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(rateAfterRefusal, 2.0) << "a refused OK takes nothing";
    EXPECT_EQ(QuoteHost(), "https://quotes.example");
    EXPECT_EQ(fixture.book().settings().ratePercent, 7.0);
    const QByteArray written = stop();
    for (const char *line : {"\"Optiesite\"=\"https://quotes.example\"\n", "\"Indexsite\"=\"https://index.example\"\n",
                             "\"Makersite\"=\"\"\n"})
        EXPECT_TRUE(written.contains(line)) << line << "\n" << written.toStdString();
}
