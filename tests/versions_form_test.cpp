#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <memory>
#include <optional>

#include "app/main_form.h"
#include "app/main_form_windows.h"
#include "book/positions_book.h"
#include "app/yes_no_form.h"
#include "support/dialog_answers.h"
#include "support/event_counter.h"
#include "support/files.h"
#include "support/main_window_fixture.h"
#include "support/maker_site.h"
#include "support/message_box_catcher.h"
#include "support/scoped_env.h"
#include "support/scripted_ping.h"
#include "support/system_info.h"
#include "support/update_keys.h"
#include "support/wait_until.h"
#include "support/write_limit.h"
#include "update/update_state.h"
#include "update/versions_form.h"

namespace {

const QByteArray kPositions = "AEX; Put; mrt; 2013; 380; 12,34; 12,34; 1; 1234,00; 0\r\n";

const std::string kOtherProgram = "Koersbord,Koersbord300.exe,c,900,x,oud,old\r\n";
const std::string kChecksum = Sha256Field("the current release");
const std::string kCurrentList = kOtherProgram + "Pelgrandix,Pelgrandix120.exe,a,8," + kChecksum + ",huidig,current\r\n";

const QStringList kAdvisedLines = {"Uw huidige versie is versie 1.20a",
                                   "De nieuwste versie is 1.21b",
                                   "De Downloadnaam is Pelgrandix121.exe"};

constexpr QFileDevice::Permissions kExecutable =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

// The update window beside a main window on a fresh home, the maker's site on loopback and a
// scripted ping.
class VersionsWindow : public ::testing::Test
{
protected:
    VersionsWindow()
    {
        main.emplace(kPositions);
        main->form()->UpdateTimer->setEnabled(false);
        main->form()->show();
        form = MakeVersionsForm(*main->form());
        mainCloses.emplace(main->form(), QEvent::Close);
        DownloadName.clear();
        DownloadedB = false;
    }
    ~VersionsWindow() override
    {
        form.reset();
        main.reset();
    }

    // An installer that notes its arguments in the tools folder, padded to the given size.
    std::string demoInstaller(size_t size = 5000) const
    {
        std::string script = "#!/bin/sh\necho \"$@\" >> '" + tools.filePath("args.txt").toStdString()
                             + "'\nexit 0\n";
        script.append(size - script.size() - 1, '#');
        return script + "\n";
    }
    QByteArray installerArguments() const { return readFile(tools.filePath("args.txt")); }
    // Names release 1.21b with the demo installer's size and checksum.
    std::string newerList() const
    {
        return kOtherProgram + "Pelgrandix,Pelgrandix121.exe,b,5," + Sha256Field(demoInstaller())
               + ",nieuw,new\r\n";
    }

    void checkInteractively() { form->UpdateProg(100, 200, 500, 600, "Pelgrandix", "versie 1.20a"); }
    QString dataDir() const { return main->home().dataDir(); }

    QTemporaryDir tools;
    MakerSite site;
    ScriptedPing ping;
    std::optional<MainWindowFixture> main;
    std::unique_ptr<TVersionsForm> form;
    // The close requests that reach the main window.
    std::optional<EventCounter> mainCloses;
};

} // namespace

TEST_F(VersionsWindow, InteractiveCheckOnTheCurrentReleaseOnlyOffersToClose)
{
    site.serveList(kCurrentList);
    checkInteractively();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), "Pelgrandix - Update");
    EXPECT_EQ(form->MemoLines(), QStringList({"", "Updaten van Pelgrandix", "",
                                              "Een Update is niet nodig,",
                                              "u heeft de nieuwste versie."}));
    EXPECT_EQ(form->Memo1->toPlainText(), form->MemoLines().join('\n'));
    for (QTextBlock block = form->Memo1->document()->begin(); block.isValid(); block = block.next())
        EXPECT_TRUE(block.blockFormat().alignment().testFlag(Qt::AlignHCenter)) << block.text().toStdString();
    EXPECT_EQ(form->ExitBtn->text(), "Sluit Venster");
    EXPECT_TRUE(form->DownloadBtn->isHidden());
    EXPECT_FALSE(form->ExitBtn->isHidden());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(VersionsWindow, ADownloadNameLongerThanAFileNameIsRefusedAndShownCut)
{
    // Laid out whole, a line of this length would hold the window for a while.
    const std::string name = "Pelgrandix121" + std::string(3000, 'x') + ".exe";
    site.serveList(kOtherProgram + "Pelgrandix," + name + ",b,5," + kChecksum + ",nieuw,new\r\n");
    checkInteractively();
    form->DownloadBtn->click();
    for (const QString &line : form->MemoLines())
        EXPECT_LE(line.size(), 201) << line.left(80).toStdString();
    EXPECT_TRUE(form->MemoLines().last().startsWith("Ongeldige downloadnaam: \"Pelgrandix121xxx"));
    EXPECT_EQ(site.paths(), QStringList({"/versions.dat", "/versions.dat.minisig"})) << "no installer asked for";
}

TEST_F(VersionsWindow, InteractiveCheckIsCentredOnTheCallerTruncatingTowardZero)
{
    site.serveList(kCurrentList);
    form->show();
    // The outer size counts, as the caller's rectangle is an outer one too.
    const QSize outer = form->frameGeometry().size();
    struct Case { int top, left, height, width; QPoint expected; };
    for (const Case &c : {Case{100, 200, 500, 600, {200 + (163 - (outer.width() - 437)) / 2,
                                                   100 + (191 - (outer.height() - 309)) / 2}},
                          // 101 - 437 = -336 and 100 - 309 = -209: -209 / 2 gives -104
                          Case{10, 20, 100, 101, {20 + (-336 - (outer.width() - 437)) / 2,
                                                  10 + (-209 - (outer.height() - 309)) / 2}}}) {
        form->UpdateProg(c.top, c.left, c.height, c.width, "Pelgrandix", "versie 1.20a");
        EXPECT_EQ(form->pos(), c.expected) << c.width;
    }
}

TEST_F(VersionsWindow, InteractiveCheckTellsWhyThereIsNoOffer)
{
    struct Case {
        ScriptedPing::Answer probe;
        std::optional<std::string> list;
        QStringList outcome;
        int requests;
    };
    const Case cases[] = {
        {ScriptedPing::TimeOut, newerList(), {"Er is iets niet goed gegaan"}, 0},
        {ScriptedPing::Reply, std::nullopt, {"Het bestand is te klein"}, 1},
        {ScriptedPing::Reply, kOtherProgram + kOtherProgram, {"Programma-naam niet gevonden"}, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.outcome.first().toStdString());
        MakerSite own;
        if (c.list)
            own.serveList(*c.list);
        ping.answer(c.probe);
        checkInteractively();
        EXPECT_EQ(form->MemoLines().mid(3), c.outcome);
        EXPECT_TRUE(form->DownloadBtn->isHidden());
        EXPECT_EQ(own.requests(), c.requests);
    }
}

TEST_F(VersionsWindow, InteractiveCheckOnANewerReleaseOffersTheDownloadInEitherLanguage)
{
    site.serveList(newerList());
    checkInteractively();
    EXPECT_EQ(form->MemoLines(), QStringList({"", "Updaten van Pelgrandix", "",
                                              "Een Update wordt aanbevolen", ""})
                                     + kAdvisedLines);
    EXPECT_FALSE(form->DownloadBtn->isHidden());
    EXPECT_EQ(form->DownloadBtn->text(), "Start Download");
    EXPECT_EQ(form->ExitBtn->text(), "Download later");
    EXPECT_EQ(DownloadName, "Pelgrandix121.exe");
    EXPECT_EQ(InstallerSizeKB, 5);

    sLanguage = "ENU";
    checkInteractively();
    sLanguage = "NLD";
    EXPECT_EQ(form->MemoLines(),
              QStringList({"", "Updating Pelgrandix", "", "Update is advised", "",
                           "Your current version is versie 1.20a", "The latest version is 1.21b",
                           "The Download Name is Pelgrandix121.exe"}));
}

TEST_F(VersionsWindow, SilentCheckOnTheCurrentReleaseShowsNothing)
{
    site.serveList(kCurrentList);
    DownloadName = "Pelgrandix119.exe";
    form->UpdateStealth("Pelgrandix", "versie 1.20a");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(DownloadName, "Pelgrandix119.exe");
    EXPECT_EQ(site.paths(), QStringList({"/versions.dat", "/versions.dat.minisig"}));
}

TEST_F(VersionsWindow, MainWindowTimerRunsTheSilentCheckOnceWhichShowsANewerRelease)
{
    site.serveList(newerList());
    form->move(50, 60);
    main->form()->UpdateTimer->setInterval(10);
    main->form()->UpdateTimer->setEnabled(true);
    ASSERT_TRUE(waitUntil([&] { return form->isVisible(); }));
    EXPECT_FALSE(main->form()->UpdateTimer->isEnabled());
    EXPECT_EQ(form->pos(), QPoint(50, 60)) << "the silent check leaves the window where it was";
    EXPECT_EQ(form->MemoLines(), QStringList({"", "Een Update wordt aanbevolen", ""}) + kAdvisedLines);
    EXPECT_EQ(form->DownloadBtn->text(), "Start Downloaden");
    EXPECT_FALSE(form->DownloadBtn->isHidden());
    EXPECT_EQ(form->ExitBtn->text(), "Download Later");
    EXPECT_EQ(DownloadName, "Pelgrandix121.exe");
    // Five periods later a timer still running would have checked again.
    ASSERT_TRUE(waitForTimer(50));
    EXPECT_EQ(site.requests(), 2) << "the list and its signature, once";
}

TEST_F(VersionsWindow, DownloadReplacesTheOlderInstallerAndOffersTheInstallation)
{
    site.serveList(newerList());
    site.serve("/Pelgrandix121.exe", demoInstaller(5000), 1000);
    ASSERT_TRUE(writeFile(dataDir() + "Temp/Pelgrandix120.exe", "old release"));
    checkInteractively();
    form->DownloadBtn->click();

    EXPECT_EQ(readFile(dataDir() + "Temp/Pelgrandix121.exe"), QByteArray::fromStdString(demoInstaller(5000)));
    EXPECT_FALSE(QFileInfo::exists(dataDir() + "Temp/Pelgrandix120.exe"));
    EXPECT_EQ(form->MemoLines(), QStringList({"", "Pelgrandix121.exe is met succes gedownload",
                                              "Klik \"Installeer\" om het progamma te installeren"}));
    EXPECT_EQ(form->ExitBtn->text(), "Installeer");
    EXPECT_FALSE(form->ExitBtn->isHidden());
    EXPECT_TRUE(form->DownloadBtn->isHidden());
    EXPECT_TRUE(DownloadedB);
    // 4096 bytes count 4 KiB, the last 904 bytes none; the gauge shows one more.
    EXPECT_EQ(ReceivedKB, 4u);
    EXPECT_FALSE(form->Gauge1->isHidden());
    EXPECT_EQ(form->Gauge1->maximum(), 5);
    EXPECT_EQ(form->Gauge1->value(), 5);
    EXPECT_EQ(installerArguments(), "") << "downloading does not start it";
}

TEST_F(VersionsWindow, FailedDownloadKeepsTheOffer)
{
    site.serveList(newerList());
    checkInteractively();
    const QStringList offer = form->MemoLines();
    form->DownloadBtn->click();  // the site has no installer
    EXPECT_EQ(form->MemoLines(), offer);
    EXPECT_FALSE(form->DownloadBtn->isHidden());
    EXPECT_FALSE(DownloadedB);
    EXPECT_FALSE(QFileInfo::exists(dataDir() + "Temp/Pelgrandix121.exe"));
}

TEST_F(VersionsWindow, DownloadNamesLeavingTheInstallerFolderAreNeitherFetchedNorStarted)
{
    // Written where each name would land, ready to note its start.
    for (const char *name : {"Pelgrandix121/../../evil.exe", "../evil.exe"}) {
        SCOPED_TRACE(name);
        MakerSite own;
        own.serveList(kOtherProgram + "Pelgrandix," + name + ",b,8," + kChecksum + "\r\n");
        own.serve("/evil.exe", demoInstaller());
        QDir().mkpath(dataDir() + "Temp/Pelgrandix121");
        ASSERT_TRUE(writeFile(QDir::cleanPath(dataDir() + "Temp/" + name),
                              QByteArray::fromStdString(demoInstaller()), kExecutable));
        checkInteractively();
        DownloadName = name;  // also when a check of another kind put it there
        const QString refusal = QString("Ongeldige downloadnaam: \"%1\"").arg(name);

        form->DownloadBtn->click();
        EXPECT_EQ(form->MemoLines().mid(form->MemoLines().size() - 2), QStringList({"", refusal}));
        EXPECT_TRUE(form->Gauge1->isHidden());
        EXPECT_FALSE(DownloadedB);

        DownloadedB = true;
        form->ExitBtn->click();
        EXPECT_EQ(form->MemoLines().count(refusal), 2);
        EXPECT_EQ(own.paths(), QStringList({"/versions.dat", "/versions.dat.minisig"}));
        // A started installer is followed at once by the close of the program.
        EXPECT_EQ(mainCloses->count(), 0);
        DownloadedB = false;
    }
    EXPECT_EQ(installerArguments(), "");
}

TEST_F(VersionsWindow, ExitButtonBeforeADownloadClosesTheWindowOnly)
{
    site.serveList(newerList());
    checkInteractively();
    form->ExitBtn->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(main->form()->isVisible());
    EXPECT_EQ(mainCloses->count(), 0);
}

TEST_F(VersionsWindow, ALaterCheckTakesTheInstallationBackFromTheExitButton)
{
    site.serveList(newerList());
    site.serve("/Pelgrandix121.exe", demoInstaller(5000), 1000);
    const struct {
        const char *name;
        std::function<void()> check;
    } checks[] = {
        {"the same release offered again", [&] { checkInteractively(); }},
        {"the same release offered by the silent check", [&] { form->UpdateStealth("Pelgrandix", "versie 1.20a"); }},
        {"a list that cannot be read", [&] {
             site.serve("/versions.dat", "Interne fout", 1 << 20, 500);
             checkInteractively();
         }},
    };
    for (const auto &c : checks) {
        SCOPED_TRACE(c.name);
        checkInteractively();
        form->DownloadBtn->click();
        ASSERT_EQ(form->ExitBtn->text(), "Installeer");
        c.check();
        ASSERT_NE(form->ExitBtn->text(), "Installeer");
        form->ExitBtn->click();
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(mainCloses->count(), 0);
        site.serveList(newerList());
    }
    EXPECT_EQ(installerArguments(), "");
}

TEST_F(VersionsWindow, ButtonsAnswerWhileAnotherDialogIsModal)
{
    site.serveList(newerList());
    // The window shows while the dialog is up (the silent check fired meanwhile), or was up
    // already when the dialog opened.
    for (const bool shownBefore : {false, true}) {
        if (shownBefore)
            form->UpdateStealth("Pelgrandix", "versie 1.20a");
        QDialog dialog;
        bool closedByItsButton = false;
        QTimer::singleShot(0, &dialog, [&] {
            if (!shownBefore)
                form->UpdateStealth("Pelgrandix", "versie 1.20a");
            ASSERT_TRUE(form->isVisible());
            // Through the window system, which holds back what a modal dialog blocks.
            QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {},
                              form->ExitBtn->mapTo(form.get(), form->ExitBtn->rect().center()));
            closedByItsButton = form->isHidden();
            dialog.reject();
        });
        dialog.exec();
        EXPECT_TRUE(closedByItsButton) << "shown before the dialog: " << shownBefore;
    }

    // A dialog of the window's own (its error box) must not become the window's owner too.
    form->show();
    QDialog own(form.get());
    QWindow *ownerWhileOpen = nullptr;
    QTimer::singleShot(0, &own, [&] {
        ownerWhileOpen = form->windowHandle()->transientParent();
        own.reject();
    });
    own.exec();
    EXPECT_EQ(ownerWhileOpen, nullptr);
}

TEST_F(VersionsWindow, InstallStartsTheInstallerStopsTheCompanionAndClosesTheProgram)
{
    // A companion in the folder that was current when the window was made, running.
    const QString companion = main->home().path() + "/Pelgrandix_Sched.exe";
    ASSERT_TRUE(QFile::copy("/bin/sleep", companion));
    QProcess companionRun;
    companionRun.start(companion, {"60"});
    ASSERT_TRUE(companionRun.waitForStarted());

    site.serveList(newerList());
    site.serve("/Pelgrandix121.exe", demoInstaller());
    checkInteractively();
    form->DownloadBtn->click();
    main->form()->book().setLine(0, "changed since the start");
    // A second click while the companion is being stopped starts no second installer.
    QTimer::singleShot(0, [&] { form->ExitBtn->click(); });
    form->ExitBtn->click();

    ASSERT_TRUE(waitUntil([&] { return !installerArguments().isEmpty(); }));
    EXPECT_EQ(installerArguments(), "/SP- /silent /noicons\n");
    // Each start is noted in the window as it happens: one start, one pair of lines.
    EXPECT_EQ(form->MemoLines().mid(3), QStringList({"", "De installatie van Pelgrandix wordt gestart.",
                                                     "De installatie van Pelgrandix is gestart."}));
    // The window let events run meanwhile, so the end may have been noticed already.
    EXPECT_TRUE(companionRun.state() == QProcess::NotRunning || companionRun.waitForFinished(kPatienceMs));
    EXPECT_EQ(mainCloses->count(), 1);
    EXPECT_FALSE(main->form()->isVisible());
    EXPECT_TRUE(main->fileBytes("Regels.dat").startsWith("changed since the start\r\n"));
    EXPECT_EQ(main->fileBytes("Regels!.dat"), kPositions);
}

TEST_F(VersionsWindow, InstallerThatCannotBeStartedKeepsTheProgramRunningForAnotherTry)
{
    DownloadedB = true;
    DownloadName = "Pelgrandix121.exe";
    const QString installer = dataDir() + "Temp/Pelgrandix121.exe";
    const QStringList failed = {"", "De installatie van Pelgrandix wordt gestart.",
                                "Installatie is mislukt."};

    form->ExitBtn->click();  // nothing there
    EXPECT_EQ(form->MemoLines(), failed);
    ASSERT_TRUE(QDir().mkpath(installer));  // a folder by that name
    form->ExitBtn->click();
    EXPECT_EQ(form->MemoLines(), failed + failed);
    EXPECT_EQ(mainCloses->count(), 0);
    EXPECT_TRUE(main->form()->isVisible());

    ASSERT_TRUE(QDir().rmdir(installer));
    ASSERT_TRUE(writeFile(installer, QByteArray::fromStdString(demoInstaller())));
    form->ExitBtn->click();
    EXPECT_TRUE(waitUntil([&] { return !installerArguments().isEmpty(); }));
    EXPECT_EQ(mainCloses->count(), 1);
}

TEST_F(VersionsWindow, InstallerWaitsUntilTheProgramIsSureToCloseAndTheListIsSavedOnce)
{
    DownloadedB = true;
    DownloadName = "Pelgrandix121.exe";
    ASSERT_TRUE(writeFile(dataDir() + "Temp/Pelgrandix121.exe", QByteArray::fromStdString(demoInstaller())));
    TYesNoDlg dialog;
    main->form()->book().setLine(0, "changed since the start");

    {
        // The save fails, and the user keeps the program open rather than lose the change.
        WriteLimit disk(10);
        DialogAnswers keepOpen({false});
        form->ExitBtn->click();
        EXPECT_EQ(keepOpen.questions.size(), 1);
    }
    EXPECT_EQ(form->MemoLines(), QStringList({"", "De installatie van Pelgrandix wordt gestart.",
                                              "Installatie uitgesteld: het programma blijft open."}));
    EXPECT_TRUE(main->form()->isVisible());
    QTest::qWait(300);
    EXPECT_EQ(installerArguments(), "") << "an installer ran beside the open program";

    form->ExitBtn->click();
    ASSERT_TRUE(waitUntil([&] { return !installerArguments().isEmpty(); }));
    EXPECT_FALSE(main->form()->isVisible());
    EXPECT_TRUE(main->fileBytes("Regels.dat").startsWith("changed since the start\r\n"));
    EXPECT_EQ(main->fileBytes("Regels!.dat"), kPositions) << "saved twice, the older list rotated away";
}

TEST_F(VersionsWindow, WhileTheInstallerComesInTheExitButtonStopsItAndNothingElseRuns)
{
    site.serveList(newerList());
    // One byte every few milliseconds: no block fills for seconds, yet the window must answer.
    site.serve("/Pelgrandix121.exe", demoInstaller(5000), 1);
    checkInteractively();
    // As if an earlier installer had been received: the exit button would install.
    DownloadedB = true;
    const QStringList offer = form->MemoLines();
    bool clickedMeanwhile = false;
    QTimer::singleShot(300, [&] {
        form->DownloadBtn->click();
        EXPECT_EQ(site.paths(), QStringList({"/versions.dat", "/versions.dat.minisig", "/Pelgrandix121.exe"}));
        form->ExitBtn->click();
        clickedMeanwhile = true;
        EXPECT_EQ(form->MemoLines(), offer) << "an installation was tried";
    });
    QElapsedTimer clock;
    clock.start();
    form->DownloadBtn->click();
    EXPECT_TRUE(clickedMeanwhile);
    // The whole installer would take 25 s at this pace.
    EXPECT_LT(clock.elapsed(), 10000) << "the download was not stopped";
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->MemoLines(), offer);
    EXPECT_FALSE(QFileInfo::exists(dataDir() + "Temp/Pelgrandix121.exe"));
    // A started installer is followed at once by the close of the program.
    EXPECT_EQ(mainCloses->count(), 0) << "a half-received installer was started";
    EXPECT_EQ(installerArguments(), "");
}

TEST_F(VersionsWindow, GaugeOfAnInstallerWithoutListedSizeStaysAtZeroPercent)
{
    site.serveList(kOtherProgram + "Pelgrandix,Pelgrandix121.exe,b,0," + Sha256Field(demoInstaller()) + "\r\n");
    site.serve("/Pelgrandix121.exe", demoInstaller(5000), 1000);
    checkInteractively();
    form->DownloadBtn->click();
    EXPECT_TRUE(DownloadedB);
    EXPECT_GT(form->Gauge1->maximum(), 0) << "a gauge without maximum runs as a busy animation";
    EXPECT_EQ(form->Gauge1->value(), 0);
}

TEST_F(VersionsWindow, UnreadableProgramLineShowsTheErrorBoxAndKeepsTheText)
{
    site.serveList(kCurrentList);
    checkInteractively();
    const QStringList before = form->MemoLines();
    form->hide();

    site.serveList(kOtherProgram + "Pelgrandix,Pelgrandix121.exe,b\r\n");
    MessageBoxCatcher boxes;
    checkInteractively();
    EXPECT_EQ(boxes.errors(), QStringList{"Lijstindex buiten bereik (3)"});
    EXPECT_TRUE(boxes.others().isEmpty());
    EXPECT_EQ(form->MemoLines(), before);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    form->UpdateStealth("Pelgrandix", "versie 1.20a");
    EXPECT_EQ(boxes.errors().size(), 2);
    EXPECT_EQ(form->MemoLines(), before);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(VersionsWindow, ListNotSignedByATrustedKeyIsNotUsedAtAll)
{
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const QByteArray list = QByteArray::fromStdString(newerList());
    TestUpdateKey stranger;
    const std::string noChecksum = kOtherProgram + "Pelgrandix,Pelgrandix121.exe,b,5,x,nieuw,new\r\n";
    struct Case {
        const char *name;
        std::function<void()> serve;
    };
    const Case cases[] = {
        {"no signature", [&] { site.serve("/versions.dat.minisig", "", 1 << 20, 404); }},
        {"the signature of another list",
         [&] { site.serve("/versions.dat.minisig", site.key().sign(list + " ").toStdString()); }},
        {"signed by a key not trusted", [&] { site.serve("/versions.dat.minisig", stranger.sign(list).toStdString()); }},
        {"signed before the newest list seen", [&] { site.serveList(newerList(), now - 1); }},
        {"no installer checksum", [&] { site.serveList(noChecksum, now); }},
    };
    site.serve("/Pelgrandix121.exe", demoInstaller());
    site.serveList(newerList(), now);
    checkInteractively();
    ASSERT_FALSE(form->DownloadBtn->isHidden()) << "the list signed now is used, and is the newest seen";
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        site.serveList(newerList(), now);  // what the cases change
        c.serve();
        DownloadName = "Pelgrandix119.exe";
        checkInteractively();
        EXPECT_EQ(form->MemoLines(), QStringList({"", "Updaten van Pelgrandix", "",
                                                  "De versielijst kon niet worden gecontroleerd."}));
        EXPECT_TRUE(form->DownloadBtn->isHidden());
        form->DownloadBtn->click();
        form->ExitBtn->click();
        form->UpdateStealth("Pelgrandix", "versie 1.20a");
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(DownloadName, "Pelgrandix119.exe");
    }
    EXPECT_FALSE(site.paths().contains("/Pelgrandix121.exe"));
    EXPECT_FALSE(QFileInfo::exists(dataDir() + "Temp/Pelgrandix121.exe"));
    EXPECT_EQ(mainCloses->count(), 0);
    EXPECT_EQ(installerArguments(), "");
}

TEST_F(VersionsWindow, InstallerThatIsNotTheListedOneIsNeitherKeptNorStarted)
{
    site.serveList(newerList());
    std::string tampered = demoInstaller();
    tampered[tampered.size() / 2] = '!';
    site.serve("/Pelgrandix121.exe", tampered);
    checkInteractively();
    form->DownloadBtn->click();
    EXPECT_EQ(form->MemoLines().last(), "Het gedownloade bestand is beschadigd.");
    EXPECT_NE(form->ExitBtn->text(), "Installeer");
    form->ExitBtn->click();
    EXPECT_FALSE(QFileInfo::exists(dataDir() + "Temp/Pelgrandix121.exe"));
    EXPECT_EQ(mainCloses->count(), 0);
    EXPECT_EQ(installerArguments(), "");
}

TEST_F(VersionsWindow, InstalledFromThePackageTheNewReleaseIsLeftToThePackageManager)
{
    QTemporaryDir dpkg;
    ASSERT_TRUE(writeFile(dpkg.filePath("info/pelgrandix.list"),
                          "/.\n/usr\n" + QFile::encodeName(QCoreApplication::applicationFilePath()) + "\n"));
    const ScopedEnv database("DPKG_ADMINDIR", QFile::encodeName(dpkg.path()));
    site.serveList(newerList());
    site.serve("/Pelgrandix121.exe", demoInstaller());
    form->UpdateStealth("Pelgrandix", "versie 1.20a");
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->MemoLines().mid(form->MemoLines().size() - 5),
              kAdvisedLines + QStringList({"", "Installeer de nieuwe versie met uw pakketbeheerder."}));
    EXPECT_TRUE(form->DownloadBtn->isHidden());
    EXPECT_EQ(form->ExitBtn->text(), "Sluit Venster");
    form->DownloadBtn->click();
    DownloadedB = true;  // as if an installer had come before
    form->ExitBtn->click();
    EXPECT_FALSE(site.paths().contains("/Pelgrandix121.exe"));
    EXPECT_EQ(mainCloses->count(), 0);
    EXPECT_EQ(installerArguments(), "");
}

TEST_F(VersionsWindow, MarkupInTheListIsShownAsTextNotLoaded)
{
    // Read as markup, the image would make the error box read an endless device; laid out
    // whole, a long text would hold it.
    site.serveList(kOtherProgram + "Pelgrandix,Pelgrandix121.exe,b,<img src=\"/dev/zero\">"
                   + std::string(3000, 'x') + "," + kChecksum + "\r\n");
    MessageBoxCatcher boxes;
    checkInteractively();
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_TRUE(boxes.boxes().first().text.contains("<img src=\"/dev/zero\">"));
    EXPECT_LE(boxes.boxes().first().text.size(), 201);
    EXPECT_EQ(boxes.boxes().first().format, Qt::PlainText);
}
