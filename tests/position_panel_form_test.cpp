#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include "app/main_form.h"
#include "support/main_window_fixture.h"

namespace {

const QByteArray kPositions =
    "AEX; Call; apr; 2013; 400; 2,50; 2,80; 3; -90,00; 0\r\n"
    "AEX; Put; mrt; 2013; 380; 2,80; 2,50; 3; 90,00; 1\r\n"
    "AEX; Put; mei; 2013; 390; 1,00; 1,00; 2; 0,00\r\n"          // older line without a flag
    "AEX; Call; jun; 2013; 350; 300,00; 100,00; 1; 20000,00; 1\r\n"
    "not a position line\r\n";

void clickEntry(TMainForm *form, int row)
{
    QListWidget *list = form->ListBox1;
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

class PositionPanel : public ::testing::Test
{
protected:
    PositionPanel() : fixture(kPositions), form(fixture.form())
    {
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
    }
    QString entry(int row) const { return form->ListBox1->item(row)->text(); }

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
    const QString before = entry(0);
    QElapsedTimer clock;
    clock.start();
    form->TransactieEdit->clear();
    QTest::keyClicks(form->TransactieEdit, "3");
    QTest::qWait(300);
    QTest::keyClicks(form->TransactieEdit, ",5");
    QTest::qWait(300);
    QTest::keyClicks(form->TransactieEdit, "5");
    EXPECT_EQ(entry(0), before) << "not stored before the delay";
    EXPECT_TRUE(QTest::qWaitFor([&] { return entry(0) != before; }, 3000));
    EXPECT_LT(clock.elapsed(), 1300) << "the delay counts from the first keystroke";
    EXPECT_EQ(entry(0), "AEX; Call; apr; 2013; 400; 3,55; 2,80; 3; 225,00; 0");
}

TEST_F(PositionPanel, BlanksAroundATypedPriceAreRemoved)
{
    clickEntry(form, 0);
    form->TransactieEdit->clear();
    QTest::keyClicks(form->TransactieEdit, " 3,5 ");
    EXPECT_TRUE(QTest::qWaitFor([&] { return entry(0).contains("; 3,5;"); }, 3000));
    EXPECT_EQ(form->TransactieEdit->text(), "3,5");
    EXPECT_EQ(entry(0), "AEX; Call; apr; 2013; 400; 3,5; 2,80; 3; 210,00; 0");
}

TEST_F(PositionPanel, SelectionChangeStoresAPendingPriceIntoItsOwnEntry)
{
    clickEntry(form, 0);
    form->TransactieEdit->clear();
    QTest::keyClicks(form->TransactieEdit, "3,55");
    clickEntry(form, 1);
    EXPECT_EQ(entry(0), "AEX; Call; apr; 2013; 400; 3,55; 2,80; 3; 225,00; 0");
    EXPECT_EQ(form->TransactieEdit->text(), "2,80");
    QTest::qWait(1300);
    EXPECT_EQ(entry(1), "AEX; Put; mrt; 2013; 380; 2,80; 2,50; 3; 90,00; 1");
    EXPECT_EQ(entry(0), "AEX; Call; apr; 2013; 400; 3,55; 2,80; 3; 225,00; 0");
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
