#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "app/main_form.h"
#include "app/main_form_windows.h"
#include "book/positions_book.h"
#include "entry/add_form.h"
#include "market/data_rec.h"
#include "support/event_counter.h"
#include "support/main_window_fixture.h"
#include "support/message_box_catcher.h"
#include "support/wait_until.h"

namespace {

const QString kMarch = "15-03-2013";

// A main window on a fresh home with the add dialog created after it, the range of expiry
// months that a download leaves (March 2013 to the end of 2015), and four March puts, twenty
// March calls (300 to 490) and two April puts.
class AddFormScene
{
public:
    explicit AddFormScene(const QByteArray &positions = QByteArray(), bool withQuotes = true)
        : main(positions)
    {
        TDataRec &record = main.book().DataRec();
        record.MonthFrom = 3;
        record.YearFrom = 2013;
        record.YearTill = 2015;
        form = MakeAddForm(*main.form());
        if (!withQuotes)
            return;
        const char *putPrices[] = {"12,34", "15,00", "19,50", "25,10"};
        for (int i = 0; i < 4; ++i)
            quote(QString("AEX P; %1; %2,00; %3").arg(kMarch).arg(380 + 10 * i).arg(putPrices[i]));
        for (int strike = 300; strike < 500; strike += 10)
            quote(QString("AEX C; %1; %2,00; 1,50").arg(kMarch).arg(strike));
        quote("AEX P; 19-04-2013; 370,00; 9,00");
        quote("AEX P; 19-04-2013; 380,00; 16,20");
    }
    void quote(const QString &line) { main.book().KoersList().add(line); }

    // Shows the dialog and waits for the work of its first paint.
    bool showPainted()
    {
        form->show();
        return waitUntil([this] { return form->ComboBox1->count() == 12; });
    }

    MainWindowFixture main;
    std::unique_ptr<TAddForm> form;
    MessageBoxCatcher boxes;
};

// Clicks a radio button on its round mark, which takes clicks wherever the layout stretched it.
void clickRadio(QRadioButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

QStringList items(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

const QString kFirstLine = "AEX; Put; mrt; 2013;  410;  25,10;  25,10; 1; 0,00; 0";

} // namespace

TEST(AddFormFirstPaint, FillsListsSelectsDefaultsComposesAndCentres)
{
    AddFormScene scene;
    TAddForm *form = scene.form.get();
    EXPECT_EQ(form->windowTitle(), "Pelgrandix - Toevoegen");
    EXPECT_FALSE(form->bPainted);
    EXPECT_EQ(form->ComboBox1->count(), 0) << "the lists wait for the first paint";
    ASSERT_TRUE(scene.showPainted());
    EXPECT_TRUE(form->bPainted);
    EXPECT_EQ(items(form->ComboBox1),
              QStringList({"januari", "februari", "maart", "april", "mei", "juni", "juli",
                           "augustus", "september", "oktober", "november", "december"}));
    EXPECT_EQ(form->ComboBox1->currentIndex(), 2);
    EXPECT_EQ(items(form->ComboBox2), QStringList({"2013", "2014", "2015"}));
    EXPECT_EQ(form->ComboBox2->currentIndex(), 0);
    EXPECT_EQ(items(form->ComboBox4),
              QStringList({"Geen", " 380,00", " 390,00", " 400,00", " 410,00"}));
    EXPECT_EQ(form->ComboBox4->currentIndex(), 4);
    EXPECT_EQ(form->ComboBox3->count(), 21);
    EXPECT_EQ(form->ComboBox3->currentText(), " 410,00");  // entry 12
    EXPECT_EQ(form->ResultLabel->text(), kFirstLine);
    const QRect mainFrame = MainForm->frameGeometry();
    const QRect frame = form->frameGeometry();
    EXPECT_EQ(frame.left(), mainFrame.left() + (mainFrame.width() - frame.width()) / 2);
    EXPECT_EQ(frame.top(), mainFrame.top() + (mainFrame.height() - frame.height()) / 2);
    // Rows: month with the puts, year with the calls, then the result above the count.
    const auto middle = [](const QWidget *w) { return w->geometry().center().y(); };
    EXPECT_NEAR(middle(form->ComboBox4), middle(form->ComboBox1), 2);
    EXPECT_NEAR(middle(form->ComboBox3), middle(form->ComboBox2), 2);
    EXPECT_LT(middle(form->RadioGroup), middle(form->ComboBox1));
    EXPECT_LT(middle(form->ComboBox1), middle(form->ComboBox2));
    EXPECT_LT(middle(form->ComboBox2), middle(form->ResultLabel));
    EXPECT_LT(middle(form->ResultLabel), middle(form->EditAantal));
    EXPECT_TRUE(scene.boxes.boxes().isEmpty());
}

TEST(AddFormChoices, MonthYearAndSeriesRefillTheStrikeListsOthersOnlyRecompose)
{
    AddFormScene scene;
    TAddForm *form = scene.form.get();
    ASSERT_TRUE(scene.showPainted());
    form->ComboBox1->setCurrentIndex(3);  // April: two puts, no calls
    EXPECT_EQ(items(form->ComboBox4), QStringList({"Geen", " 370,00", " 380,00"}));
    EXPECT_EQ(form->ComboBox4->currentText(), "");
    EXPECT_EQ(items(form->ComboBox3), QStringList{"Geen"});
    EXPECT_EQ(form->ResultLabel->text(), "AEX; Put; apr; 2013; ;  0.0;  0.0; 1; 0,00; 0");
    form->ComboBox1->setCurrentIndex(2);
    form->ComboBox2->setCurrentIndex(1);  // March 2014: nothing listed
    EXPECT_EQ(form->ResultLabel->text(), "Geen geldige serie.");
    form->ComboBox2->setCurrentIndex(0);
    EXPECT_EQ(form->ResultLabel->text(), kFirstLine);

    // A quote that arrives now shows up in the line but not in the lists.
    scene.quote("AEX P; 15-03-2013; 395,00; 17,00");
    clickRadio(form->RadioCall);
    EXPECT_EQ(form->ResultLabel->text(), "AEX; Call; mrt; 2013;  410;  1,50;  1,50; 1; 0,00; 0");
    clickRadio(form->RadioPut);
    QTest::keyClick(form->ComboBox4, Qt::Key_Up);
    EXPECT_EQ(form->ResultLabel->text(), "AEX; Put; mrt; 2013;  400;  19,50;  19,50; 1; 0,00; 0");
    form->ComboBox4->lineEdit()->clear();
    QTest::keyClicks(form->ComboBox4->lineEdit(), "395,00");  // a typed strike counts
    EXPECT_EQ(form->ResultLabel->text(), "AEX; Put; mrt; 2013; 395;  17,00;  17,00; 1; 0,00; 0");
    EXPECT_EQ(form->ComboBox4->count(), 5);
    // Clearing the count waits for the new one without complaint.
    form->EditAantal->selectAll();
    QTest::keyClick(form->EditAantal, Qt::Key_Backspace);
    QTest::keyClicks(form->EditAantal, "12");
    EXPECT_EQ(form->ResultLabel->text(), "AEX; Put; mrt; 2013; 395;  17,00;  17,00; 12; 0,00; 0");

    clickRadio(form->RadioGroup->button(0));  // AX1: nothing listed on Friday 1 March
    EXPECT_EQ(form->RadioGroup->itemIndex(), 0);
    EXPECT_EQ(items(form->ComboBox4), QStringList{"Geen"});
    EXPECT_EQ(items(form->ComboBox3), QStringList{"Geen"});
    EXPECT_EQ(form->ResultLabel->text(), "Geen geldige serie.");
    EXPECT_TRUE(scene.boxes.boxes().isEmpty());
}

TEST(AddFormFailures, ErrorBoxShownAndLineAndListsKept)
{
    AddFormScene scene;
    TAddForm *form = scene.form.get();
    ASSERT_TRUE(scene.showPainted());
    QTest::keyClick(form->EditAantal, Qt::Key_End);
    QTest::keyClicks(form->EditAantal, ",");
    EXPECT_EQ(scene.boxes.errors(), QStringList{"'1,' is geen geldige integerwaarde"});
    EXPECT_TRUE(scene.boxes.others().isEmpty());
    EXPECT_EQ(form->ResultLabel->text(), kFirstLine);

    form->ReplaceYearList(2016, 2015);  // no year left to choose
    form->ComboBox1->setCurrentIndex(3);
    EXPECT_EQ(scene.boxes.errors().value(1), "'01-04-' is geen geldige datum");
    EXPECT_EQ(form->ComboBox4->count(), 5);
    EXPECT_EQ(form->ComboBox3->count(), 21);
    EXPECT_EQ(form->ResultLabel->text(), kFirstLine);
}

TEST(AddFormYears, ReplacedListLeavesStrikesAndLineUntilTheNextChange)
{
    AddFormScene scene;
    TAddForm *form = scene.form.get();
    ASSERT_TRUE(scene.showPainted());
    form->ComboBox2->setCurrentIndex(2);
    form->ReplaceYearList(2013, 2018);
    EXPECT_EQ(items(form->ComboBox2), QStringList({"2013", "2014", "2015", "2016", "2017", "2018"}));
    EXPECT_EQ(form->ComboBox2->currentIndex(), 0);
    EXPECT_EQ(form->ResultLabel->text(), "Geen geldige serie.") << "still the line of 2015";
    form->ComboBox2->setCurrentIndex(5);
    form->ComboBox2->setCurrentIndex(0);
    EXPECT_EQ(form->ResultLabel->text(), kFirstLine);
}

TEST(AddFormOK, AppendsSavesSelectsAndShowsTheNewPosition)
{
    const QByteArray positions = "AEX; Call; apr; 2013; 400; 2,50; 2,80; 3; -90,00; 1\r\n";
    AddFormScene scene(positions);
    TAddForm *form = scene.form.get();
    TMainForm *main = MainForm;
    main->ListBox1Click();  // the panel shows the held call, with its flag set
    ASSERT_TRUE(scene.showPainted());
    form->EditAantal->setText("7");
    const QString line = "AEX; Put; mrt; 2013;  410;  25,10;  25,10; 7; 0,00; 0";
    ASSERT_EQ(form->ResultLabel->text(), line);

    QTest::mouseClick(form->OKButton, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(scene.main.fileBytes("Regels.dat"), positions + line.toLatin1() + "\r\n");
    EXPECT_EQ(scene.main.fileBytes("Regels!.dat"), positions);
    EXPECT_EQ(main->ListBox1->currentRow(), 1);
    // The panel shows the new position (and the list its line as the panel rewrote it), so an
    // edit made there lands in the new position.
    EXPECT_EQ(main->AantalSpin->value(), 7);
    EXPECT_EQ(main->ListBox1->line(1), "AEX; Put; mrt; 2013; 410; 25,10; 25,10; 7; 0,00; 0");
    main->PositieCheck->setChecked(true);
    EXPECT_TRUE(main->ListBox1->line(1).endsWith("; 1"));
    EXPECT_EQ(main->ListBox1->line(0), QString::fromLatin1(positions.trimmed()));
}

TEST(AddFormOK, EqualLineAlreadyListedSelectsTheOlderEntry)
{
    AddFormScene scene("AEX; Call; apr; 2013; 400; 2,50; 2,80; 3; -90,00; 1\r\n"
                       + kFirstLine.toLatin1()
                       + "\r\nAEX; Call; mei; 2013; 420; 1,00; 1,00; 1; 0,00; 0\r\n");
    ASSERT_TRUE(scene.showPainted());
    QTest::mouseClick(scene.form->OKButton, Qt::LeftButton);
    EXPECT_EQ(MainForm->ListBox1->count(), 4);
    EXPECT_EQ(MainForm->ListBox1->line(3), kFirstLine);
    EXPECT_EQ(MainForm->ListBox1->currentRow(), 1);
}

TEST(AddFormOK, OffersAWeeklySeriesOnItsOwnFriday)
{
    AddFormScene scene;
    scene.quote("AEX P; 12-04-2013; 375,00; 4,00");  // the second Friday of April
    TAddForm *form = scene.form.get();
    ASSERT_TRUE(scene.showPainted());
    form->ComboBox1->setCurrentIndex(3);
    clickRadio(form->RadioGroup->button(1));
    EXPECT_EQ(items(form->ComboBox4), QStringList({"Geen", " 375,00"}));
    QTest::keyClicks(form->ComboBox4->lineEdit(), "375,00");
    EXPECT_EQ(form->ResultLabel->text(), "AX2; Put; apr; 2013; 375;  4,00;  4,00; 1; 0,00; 0");
}

TEST(AddFormOK, NoValidSeriesAddsNothing)
{
    AddFormScene scene(QByteArray(), false);
    ASSERT_TRUE(scene.showPainted());
    ASSERT_EQ(scene.form->ResultLabel->text(), "Geen geldige serie.");
    QTest::mouseClick(scene.form->OKButton, Qt::LeftButton);
    EXPECT_FALSE(scene.form->isVisible());
    EXPECT_TRUE(scene.main.entries().isEmpty());
    EXPECT_TRUE(scene.main.fileBytes("Regels.dat").isEmpty());
}

TEST(AddFormOK, TypedStrikeWithASemicolonAddsNothing)
{
    AddFormScene scene;
    ASSERT_TRUE(scene.showPainted());
    scene.form->ComboBox4->lineEdit()->clear();
    QTest::keyClicks(scene.form->ComboBox4->lineEdit(), "38;0,00");
    EXPECT_EQ(scene.form->ResultLabel->text(), "Geen geldige serie.");
    QTest::mouseClick(scene.form->OKButton, Qt::LeftButton);
    EXPECT_TRUE(scene.main.entries().isEmpty());
    EXPECT_TRUE(scene.main.fileBytes("Regels.dat").isNull());
}

TEST(AddFormCancel, AddsNothingAndTheNextShowingKeepsListsAndChoices)
{
    AddFormScene scene("AEX; Call; apr; 2013; 400; 2,50; 2,80; 3; -90,00; 1\r\n");
    TAddForm *form = scene.form.get();
    ASSERT_TRUE(scene.showPainted());
    form->ComboBox1->setCurrentIndex(3);
    const QString line = form->ResultLabel->text();
    QTest::mouseClick(form->CancelButton, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(scene.main.entries().size(), 1);
    EXPECT_TRUE(scene.main.fileBytes("Regels!.dat").isEmpty()) << "nothing was saved";

    scene.main.book().KoersList().clear();  // a download in between refills nothing
    EventCounter paints(form, QEvent::Paint);
    form->show();
    // Work that this showing's paint would start has run by the time the queue is through.
    ASSERT_TRUE(waitUntil([&paints] { return paints.count() > 0; }));
    ASSERT_TRUE(waitForQueuedWork());
    EXPECT_EQ(form->ComboBox1->currentIndex(), 3);
    EXPECT_EQ(items(form->ComboBox4), QStringList({"Geen", " 370,00", " 380,00"}));
    EXPECT_EQ(form->ResultLabel->text(), line);
}

TEST(AddFormMainWindow, AddButtonShowsTheDialogModally)
{
    AddFormScene scene;
    QString shownLine;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget() == AddForm && !AddForm->ResultLabel->text().isEmpty()) {
            shownLine = AddForm->ResultLabel->text();
            AddForm->CancelButton->click();
        }
    });
    closer.start(10);
    MainForm->AddButton->setEnabled(true);
    MainForm->AddButton->click();
    EXPECT_EQ(shownLine, kFirstLine);
    EXPECT_FALSE(AddForm->isVisible());
}
