#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QTest>
#include <QTimer>

#include "about/about_form.h"
#include "app/main_form.h"
#include "app/yes_no_form.h"
#include "entry/settings_values.h"
#include "support/event_counter.h"
#include "support/main_window_fixture.h"
#include "support/quote_site.h"
#include "support/scripted_ping.h"
#include "support/wait_until.h"

namespace {

QByteArray positionsFile(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "AEX; Call; apr; 2013; " + QByteArray::number(400 + i) + "; 2,50; 2,80; 1; -30,00; 0\r\n";
    return bytes;
}

QString strikeOf(const QString &line)
{
    return line.section(QStringLiteral("; "), 4, 4);
}

// Presses a button of the confirmation dialog as soon as it is shown.
void answerQuestion(bool yes, QString *caption = nullptr)
{
    QTimer::singleShot(0, [=] {
        if (!YesNoDlg->isVisible()) {
            answerQuestion(yes, caption);
            return;
        }
        if (caption)
            *caption = YesNoDlg->windowTitle() + "|" + YesNoDlg->MessageMemo->lines().join("") + "|"
                       + (YesNoDlg->CancelBtn->isVisible() ? "third" : "two");
        (yes ? YesNoDlg->JaBtn : YesNoDlg->NeeBtn)->click();
    });
}

class Commands : public ::testing::Test
{
protected:
    explicit Commands(int positions = 5) : fixture(positionsFile(positions)), form(fixture.form()) {}

    void deleteRow(int row, bool yes = true)
    {
        form->SelectEntry(row);
        answerQuestion(yes);
        form->DelButtonClick();
    }

    MainWindowFixture fixture;
    TMainForm *form;
    TYesNoDlg dialog;
};

} // namespace

TEST_F(Commands, DeleteAsksAndSelectsTheFollowingEntry)
{
    form->SelectEntry(2);
    QString question;
    answerQuestion(true, &question);
    form->DelButtonClick();
    EXPECT_EQ(question, "Pelgrandix - Verwijderen|Wilt u inderdaad de geselecteerde Optie verwijderen?|two");
    EXPECT_EQ(fixture.entries().size(), 4);
    EXPECT_EQ(strikeOf(fixture.entries().at(2)), "403") << "the entry that followed takes its place";
    EXPECT_EQ(form->ListBox1->currentRow(), 2);
    EXPECT_EQ(form->Label3->text(), "AEX Call apr 2013 403") << "the panel shows the selected entry";
    EXPECT_FALSE(fixture.fileBytes("Regels.dat").contains("; 402;"));
    EXPECT_TRUE(fixture.fileBytes("Regels!.dat").contains("; 402;"));
}

TEST_F(Commands, DeletingTheLastEntrySelectsTheNewLast)
{
    deleteRow(4);
    EXPECT_EQ(form->ListBox1->currentRow(), 3);
    EXPECT_EQ(strikeOf(form->ListBox1->currentLine()), "403");
}

TEST_F(Commands, AnsweringNoChangesNothing)
{
    const QByteArray before = fixture.fileBytes("Regels.dat");
    deleteRow(1, false);
    EXPECT_EQ(fixture.entries().size(), 5);
    EXPECT_EQ(fixture.fileBytes("Regels.dat"), before);
    EXPECT_TRUE(fixture.fileBytes("Regels!.dat").isNull());
}

TEST_F(Commands, DeletingTheLastRemainingPositionSticks)
{
    for (int i = 0; i < 5; ++i)
        deleteRow(0);
    EXPECT_TRUE(fixture.entries().isEmpty());
    EXPECT_FALSE(fixture.fileBytes("Regels.dat").isNull()) << "the empty list is written";
    EXPECT_EQ(fixture.fileBytes("Regels.dat"), "");
    EXPECT_TRUE(fixture.fileBytes("Regels!.dat").contains("; 404;"));
    form->close();  // a close with the list empty does not write again
    EXPECT_TRUE(fixture.fileBytes("Regels!.dat").contains("; 404;"));
    // With an empty list the command asks nothing.
    form->DelButtonClick();
    EXPECT_FALSE(YesNoDlg->isVisible());
}

TEST_F(Commands, WithoutSelectionTheFirstEntryIsAskedFor)
{
    form->SelectEntry(-1);
    answerQuestion(true);
    form->DelButtonClick();
    EXPECT_EQ(strikeOf(fixture.entries().first()), "401");
}

TEST_F(Commands, PriceWaitingForItsEntryIsStoredThereBeforeADelete)
{
    // Typed for the second entry; the first is selected without the panel following (as the
    // add dialog selects) and deleted while the price still waits for its delay.
    form->SelectEntry(1);
    form->ListBox1Click();
    form->TransactieEdit->setText("3,55");
    ASSERT_TRUE(form->TransactieTimer->isEnabled());
    deleteRow(0);
    EXPECT_EQ(fixture.entries().at(0), "AEX; Call; apr; 2013; 401; 3,55; 2,80; 1; 75,00; 0");
    EXPECT_EQ(fixture.entries().at(1), "AEX; Call; apr; 2013; 402; 2,50; 2,80; 1; -30,00; 0");
    EXPECT_TRUE(fixture.fileBytes("Regels.dat").startsWith("AEX; Call; apr; 2013; 401; 3,55;"));
    EXPECT_FALSE(form->TransactieTimer->isEnabled()) << "nothing is left to store later";
}

class LongList : public Commands
{
protected:
    LongList() : Commands(500) {}
};

TEST_F(LongList, DeleteInAListOfFiveHundred)
{
    deleteRow(250);
    EXPECT_EQ(fixture.entries().size(), 499);
    EXPECT_EQ(strikeOf(form->ListBox1->currentLine()), "651");
    EXPECT_EQ(fixture.fileBytes("Regels.dat").count("\r\n"), 499);
}

TEST(MainStart, FirstPaintDownloadsOnceAndIndexRefreshOnce)
{
    QuoteSite site;
    ScriptedPing ping(ScriptedPing::Reply);
    MainWindowFixture fixture;
    TMainForm *form = fixture.form();
    EventCounter paints(form, QEvent::Paint);
    form->show();
    ASSERT_TRUE(waitUntil([&] { return site.requests(QuoteSite::Index) > 0; }));
    EXPECT_EQ(form->Label1->text(), "Download klaar");
    const int painted = paints.count();
    form->repaint();
    form->resize(900, 400);
    ASSERT_TRUE(waitUntil([&] { return paints.count() >= painted + 2; }));
    ASSERT_TRUE(waitForQueuedWork());
    EXPECT_EQ(site.requests(QuoteSite::Calls), 1);
    EXPECT_EQ(site.requests(QuoteSite::Puts), 1);
    EXPECT_EQ(site.requests(QuoteSite::Index), 1);
}

TEST(MainStart, HelpButtonOpensTheInformationWindow)
{
    MainWindowFixture fixture;
    TAboutForm about(fixture.form()->identity());
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = about.isVisible();
        about.accept();
    });
    QTest::mouseClick(fixture.form()->HelpButton, Qt::LeftButton);
    EXPECT_TRUE(shown);
}
