#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include "app/main_form.h"
#include "positions/positions_file.h"
#include "support/main_window_fixture.h"
#include "support/wait_until.h"

namespace {

const QByteArray kPositions =
    "AEX; Call; apr; 2013; 400; 2,50; 2,80; 3; -90,00; 0\r\n"
    "AEX; Put; mrt; 2013; 380; 2,80; 2,50; 3; 90,00; 1\r\n"
    "AEX; Put; mei; 2013; 390; 1,00; 1,00; 2; 0,00\r\n"          // older line without a flag
    "AEX; Call; jun; 2013; 350; 300,00; 100,00; 1; 20000,00; 1\r\n"
    "not a position line\r\n";

void clickEntry(TMainForm *form, int row)
{
    PositionListWidget *list = form->ListBox1;
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

class PositionPanel : public ::testing::Test
{
protected:
    PositionPanel() : fixture(kPositions), form(fixture.form())
    {
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form, kPatienceMs));
    }
    QString entry(int row) const { return form->ListBox1->line(row); }

    MainWindowFixture fixture;
    TMainForm *form;
};

} // namespace

TEST_F(PositionPanel, SelectingAnEntryFillsThePanel)
{
    clickEntry(form, 1);
    clickEntry(form, 0);
    EXPECT_EQ(form->Label3->text(), "AEX Call apr 2013 400");
    EXPECT_FALSE(form->PositieCheck->isChecked());
    EXPECT_EQ(form->AantalSpin->text(), "3");
    EXPECT_EQ(form->Label4->text(), "Laatste transactiekoers:");
    EXPECT_EQ(form->TransactieEdit->text(), "2,50");
    EXPECT_EQ(form->Label15->text(), "2,80");
    EXPECT_EQ(form->Label16->text(), "-90,00 (-30,00/optie)");
    EXPECT_EQ(form->ActieLabel->text(), "Schrijven");
    EXPECT_TRUE(form->ActieLabel->isVisible());
    EXPECT_TRUE(form->Label9->isVisible());

    clickEntry(form, 1);
    EXPECT_EQ(form->ActieLabel->text(), "Terugkopen");
    EXPECT_TRUE(form->PositieCheck->isChecked());
}

TEST_F(PositionPanel, ClickOnTheEntrySelectedAtStartFillsThePanel)
{
    ASSERT_EQ(form->ListBox1->currentRow(), 0);
    ASSERT_EQ(form->Label3->text(), "AEX...");
    clickEntry(form, 0);
    EXPECT_EQ(form->Label3->text(), "AEX Call apr 2013 400");
    EXPECT_EQ(form->ActieLabel->text(), "Schrijven");

    // Every such click fills it again, not only the first.
    form->Label3->setText("other");
    clickEntry(form, 0);
    EXPECT_EQ(form->Label3->text(), "AEX Call apr 2013 400");
}

TEST_F(PositionPanel, KeysSelectAndFillThePanelButNoEntryIsEditedInPlace)
{
    PositionListWidget *list = form->ListBox1;
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(form->Label3->text(), "AEX Put mrt 2013 380");
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(form->Label3->text(), "AEX Call apr 2013 400");

    // A line changes only through the panel, the add dialog and the downloads: neither a
    // double click nor the edit key opens an editor on it.
    const QRect rect = list->visualRect(list->model()->index(0, 0));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::keyClick(list, Qt::Key_F2);
    EXPECT_TRUE(list->viewport()->findChildren<QLineEdit *>().isEmpty());
    EXPECT_EQ(entry(0), "AEX; Call; apr; 2013; 400; 2,50; 2,80; 3; -90,00; 0");
}

TEST_F(PositionPanel, FlagCheckRewritesTheLineAndTheAction)
{
    clickEntry(form, 0);
    QTest::mouseClick(form->PositieCheck, Qt::LeftButton);
    EXPECT_TRUE(entry(0).endsWith("; 1"));
    EXPECT_EQ(form->ActieLabel->text(), "Bijschrijven");
    EXPECT_TRUE(form->ActieLabel->isVisible());
}

TEST_F(PositionPanel, NineFieldLineCompletedWhenShownAndLargeDifferenceReadable)
{
    clickEntry(form, 2);
    EXPECT_EQ(entry(2), "AEX; Put; mei; 2013; 390; 1,00; 1,00; 2; 0,00; 0");
    EXPECT_FALSE(form->PositieCheck->isChecked());
    EXPECT_FALSE(form->ActieLabel->isVisible()) << "Geen actie is never shown";

    clickEntry(form, 3);
    EXPECT_EQ(form->Label16->text(), "20000,00 (20000,00/optie)");
    EXPECT_EQ(form->ActieLabel->text(), "Terugkopen");
    EXPECT_TRUE(form->ActieLabel->isVisible());
}

TEST_F(PositionPanel, UnreadableLineShownAsItStandsAndNeverRewritten)
{
    clickEntry(form, 4);
    EXPECT_EQ(form->Label3->text(), "not a position line");
    EXPECT_EQ(form->Label15->text(), "---");
    QTest::mouseClick(form->PositieCheck, Qt::LeftButton);
    form->AantalSpin->setText("7");
    EXPECT_EQ(entry(4), "not a position line");
}

TEST_F(PositionPanel, ClearingTheAmountStoresZero)
{
    clickEntry(form, 0);
    form->AantalSpin->lineEdit()->clear();
    EXPECT_EQ(entry(0), "AEX; Call; apr; 2013; 400; 2,50; 2,80; 0; 0,00; 0");
    QTest::mouseClick(form->AantalSpin->findChildren<QToolButton *>().first(), Qt::LeftButton);
    EXPECT_EQ(entry(0), "AEX; Call; apr; 2013; 400; 2,50; 2,80; 1; -30,00; 0");
}

TEST_F(PositionPanel, TypedPriceStoredOnceOneSecondAfterTheFirstKey)
{
    clickEntry(form, 0);
    // Each store of the entry, with the moment and what the price field held then.
    struct Store { qint64 at; QString typed; };
    QList<Store> stores;
    QElapsedTimer clock;
    const QObject watching;  // ends the connection with this test
    QObject::connect(form->ListBox1->model(), &QAbstractItemModel::dataChanged, &watching,
                     [&] { stores.append({clock.elapsed(), form->TransactieEdit->text()}); });
    clock.start();
    form->TransactieEdit->clear();  // the first key
    QTest::keyClicks(form->TransactieEdit, "3,");
    // Keys keep coming every 100 ms: a delay that started again with each key would never end
    // while they do. One counted from the first key stores in the middle of them.
    while (stores.isEmpty() && clock.elapsed() < kPatienceMs) {
        const qint64 next = clock.elapsed() + 100;
        waitUntil([&] { return !stores.isEmpty() || clock.elapsed() >= next; });
        if (stores.isEmpty())
            QTest::keyClicks(form->TransactieEdit, "5");
    }
    ASSERT_EQ(stores.size(), 1) << "the delay started again with every key";
    // A coarse timer may fire a little early.
    EXPECT_GE(stores.first().at, 900) << "stored before the delay was over";
    EXPECT_EQ(entry(0).section("; ", 5, 5), stores.first().typed);
    // The keys typed after the store are stored one delay after the first of them.
    QTest::keyClicks(form->TransactieEdit, "0");
    ASSERT_TRUE(waitUntil([&] { return stores.size() == 2; }));
    EXPECT_EQ(entry(0).section("; ", 5, 5), form->TransactieEdit->text());
    EXPECT_TRUE(entry(0).startsWith("AEX; Call; apr; 2013; 400; 3,5"));
    EXPECT_FALSE(form->TransactieTimer->isEnabled());
}

TEST_F(PositionPanel, BlanksAroundATypedPriceAreRemoved)
{
    clickEntry(form, 0);
    form->TransactieEdit->clear();
    QTest::keyClicks(form->TransactieEdit, " 3,5 ");
    EXPECT_TRUE(waitUntil([&] { return entry(0).contains("; 3,5;"); }));
    EXPECT_EQ(form->TransactieEdit->text(), "3,5");
    EXPECT_EQ(entry(0), "AEX; Call; apr; 2013; 400; 3,5; 2,80; 3; 210,00; 0");
    // The panel shows the difference of the price stored, not the one from before the edit.
    EXPECT_EQ(form->Label16->text(), "210,00 (70,00/optie)");
    EXPECT_EQ(form->ActieLabel->text(), "Geen actie");
}

TEST_F(PositionPanel, SelectionChangeStoresAPendingPriceIntoItsOwnEntry)
{
    clickEntry(form, 0);
    form->TransactieEdit->clear();
    QTest::keyClicks(form->TransactieEdit, "3,55");
    clickEntry(form, 1);
    EXPECT_EQ(entry(0), "AEX; Call; apr; 2013; 400; 3,55; 2,80; 3; 225,00; 0");
    EXPECT_EQ(form->TransactieEdit->text(), "2,80");
    // Stored now, so no store is left for the delay to make later into either entry.
    EXPECT_FALSE(form->TransactieTimer->isEnabled());
    EXPECT_EQ(entry(1), "AEX; Put; mrt; 2013; 380; 2,80; 2,50; 3; 90,00; 1");
}

TEST_F(PositionPanel, CloseStoresAPendingPriceIntoItsOwnEntry)
{
    clickEntry(form, 0);
    form->TransactieEdit->clear();
    QTest::keyClicks(form->TransactieEdit, "3,55");
    form->SelectEntry(2);  // selected without the panel following, as the add dialog selects
    form->close();
    const QStringList saved = positions_file::decode(fixture.fileBytes("Regels.dat"));
    ASSERT_EQ(saved.size(), 5);
    EXPECT_EQ(saved.at(0), "AEX; Call; apr; 2013; 400; 3,55; 2,80; 3; 225,00; 0");
    EXPECT_EQ(saved.at(2), "AEX; Put; mei; 2013; 390; 1,00; 1,00; 2; 0,00");
}

TEST(PositionPanelEmpty, EditsWithoutAnEntryChangeNothing)
{
    MainWindowFixture fixture;
    TMainForm *form = fixture.form();
    form->PositieCheck->setChecked(true);
    form->AantalSpin->setValue(5);
    form->TransactieEdit->setText("4,00");
    EXPECT_FALSE(form->TransactieTimer->isEnabled());
    form->ListBox1Click();
    EXPECT_EQ(form->Label3->text(), "AEX...");
    EXPECT_TRUE(fixture.entries().isEmpty());
}
