#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>

#include "app/dialog_geometry.h"
#include "app/yes_no_form.h"
#include "support/wait_until.h"

namespace {

const QString kDeleteQuestion = "Wilt u inderdaad de geselecteerde Optie verwijderen?";

class YesNoFormTest : public ::testing::Test
{
protected:
    // Runs the answer once the dialog is up and has taken its focus.
    void answerWith(std::function<void(TYesNoDlg &)> answer)
    {
        QTimer::singleShot(0, &dlg, [this, answer] {
            const auto up = [this] {
                return dlg.isVisible() && QApplication::activeWindow() == &dlg;
            };
            if (!waitUntil(up, 2000)) {
                ADD_FAILURE() << "dialog did not come up";
                dlg.close();
                return;
            }
            answer(dlg);
        });
    }

    bool ask(bool yesB, bool &cancelB, const QString &mess = kDeleteQuestion)
    {
        return dlg.Execute(100, 200, 300, 600, "Pelgrandix - Verwijderen", mess, "Ja", "Nee",
                           "Negeren", yesB, cancelB);
    }

    static void press(TYesNoDlg &d, int key)
    {
        QWidget *target = QApplication::focusWidget();
        QTest::keyClick(target ? target : &d, Qt::Key(key));
    }

    TYesNoDlg dlg;
};

} // namespace

TEST_F(YesNoFormTest, DeleteQuestionShowsOnlyJaAndNeeAndJaAnswersYes)
{
    EXPECT_EQ(YesNoDlg, &dlg);
    bool thirdShown = true;
    QString caption, ja, nee;
    answerWith([&](TYesNoDlg &d) {
        thirdShown = d.CancelBtn->isVisible();
        caption = d.windowTitle();
        ja = d.JaBtn->text();
        nee = d.NeeBtn->text();
        QTest::mouseClick(d.JaBtn, Qt::LeftButton);
    });
    bool cancelB = false;
    EXPECT_TRUE(ask(false, cancelB));
    EXPECT_FALSE(cancelB);
    EXPECT_FALSE(thirdShown);
    EXPECT_EQ(caption, "Pelgrandix - Verwijderen");
    EXPECT_EQ(ja, "Ja");
    EXPECT_EQ(nee, "Nee");
    EXPECT_EQ(dlg.MessageMemo->lines(), QStringList({kDeleteQuestion}));
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(YesNoFormTest, EnterPressesTheFocusedButtonChosenByYesB)
{
    for (bool yesB : {false, true}) {
        QWidget *focused = nullptr;
        answerWith([&](TYesNoDlg &d) {
            focused = QApplication::focusWidget();
            press(d, Qt::Key_Return);
        });
        bool cancelB = true;
        EXPECT_EQ(ask(yesB, cancelB), yesB) << "YesB " << yesB;
        EXPECT_FALSE(cancelB);
        EXPECT_EQ(focused, yesB ? static_cast<QWidget *>(dlg.JaBtn) : dlg.NeeBtn) << "YesB " << yesB;
    }
}

TEST_F(YesNoFormTest, EnterFollowsTheFocusNotTheDefaultButton)
{
    // Tab moves on from the first button to the third; Enter then presses the third.
    QWidget *tabbedTo = nullptr;
    answerWith([&](TYesNoDlg &d) {
        press(d, Qt::Key_Tab);
        tabbedTo = QApplication::focusWidget();
        press(d, Qt::Key_Enter);
    });
    bool cancelB = true;
    EXPECT_FALSE(ask(true, cancelB));
    EXPECT_TRUE(cancelB);
    EXPECT_EQ(tabbedTo, dlg.CancelBtn);
}

TEST_F(YesNoFormTest, EscapeAnswersNoAlsoWithTheThirdButtonShown)
{
    for (bool yesB : {true, false}) {
        bool thirdShown = false;
        answerWith([&](TYesNoDlg &d) {
            thirdShown = d.CancelBtn->isVisible();
            press(d, Qt::Key_Escape);
        });
        bool cancelB = true;
        EXPECT_FALSE(ask(yesB, cancelB)) << "YesB " << yesB;
        EXPECT_FALSE(cancelB);
        EXPECT_TRUE(thirdShown);
    }
}

TEST_F(YesNoFormTest, ThirdButtonSetsTheCancelFlag)
{
    answerWith([](TYesNoDlg &d) { QTest::mouseClick(d.CancelBtn, Qt::LeftButton); });
    bool cancelB = true;
    EXPECT_FALSE(ask(true, cancelB));
    EXPECT_TRUE(cancelB);
    EXPECT_TRUE(dlg.NegeerB);
    EXPECT_FALSE(dlg.JaB);
}

TEST_F(YesNoFormTest, ClosedWithoutAButtonAnswersYesBAndKeepsTheLastCancelFlag)
{
    answerWith([](TYesNoDlg &d) { QTest::mouseClick(d.CancelBtn, Qt::LeftButton); });
    bool cancelB = true;
    ask(false, cancelB);
    ASSERT_TRUE(cancelB);

    answerWith([](TYesNoDlg &d) { d.close(); });
    cancelB = false;
    EXPECT_TRUE(ask(true, cancelB));
    EXPECT_TRUE(cancelB) << "flag of the earlier call stays";

    answerWith([](TYesNoDlg &d) { QTest::mouseClick(d.NeeBtn, Qt::LeftButton); });
    ask(true, cancelB);
    answerWith([](TYesNoDlg &d) { d.close(); });
    cancelB = true;
    EXPECT_FALSE(ask(false, cancelB));
    EXPECT_FALSE(cancelB);
}

TEST_F(YesNoFormTest, ThreeLinesGrowTheDialogAndItIsCentredOnTheRectangle)
{
    QSize oneLine, threeLines;
    QRect threeFrame;
    QStringList shownLines;
    int buttonTop = 0;
    answerWith([&](TYesNoDlg &d) {
        oneLine = d.size();
        QTest::mouseClick(d.JaBtn, Qt::LeftButton);
    });
    bool cancelB = false;
    ask(true, cancelB, "Kort?");
    answerWith([&](TYesNoDlg &d) {
        threeLines = d.size();
        threeFrame = d.frameGeometry();
        shownLines = d.MessageMemo->lines();
        buttonTop = d.NeeBtn->y();
        QTest::mouseClick(d.JaBtn, Qt::LeftButton);
    });
    ask(true, cancelB, "Een\rTwee\rDrie?");

    EXPECT_EQ(shownLines, QStringList({"Een", "Twee", "Drie?"}));
    EXPECT_EQ(oneLine.height(), yesNoHeightLayout(1, 9, 27).clientHeight);
    EXPECT_EQ(threeLines.height(), yesNoHeightLayout(3, 9, 27).clientHeight);
    EXPECT_EQ(buttonTop, yesNoHeightLayout(3, 9, 27).buttonTop);
    EXPECT_EQ(threeLines.width(), oneLine.width());
    // Centred with its outer size, title bar and border included.
    const WindowPos pos = CentreOn({100, 200, 300, 600}, threeFrame.height(), threeFrame.width());
    EXPECT_EQ(threeFrame.topLeft(), QPoint(pos.left, pos.top));
}

TEST_F(YesNoFormTest, ShortQuestionKeepsTheButtonRowAndALongOneWidensForGood)
{
    int jaLeft = 0, neeLeft = 0, cancelLeft = 0, shortWidth = 0;
    answerWith([&](TYesNoDlg &d) {
        shortWidth = d.width();
        jaLeft = d.JaBtn->x();
        neeLeft = d.NeeBtn->x();
        cancelLeft = d.CancelBtn->x();
        QTest::mouseClick(d.NeeBtn, Qt::LeftButton);
    });
    bool cancelB = true;
    ask(false, cancelB, "Kort?");
    EXPECT_EQ(shortWidth, 308);
    EXPECT_EQ(jaLeft, 16);
    EXPECT_EQ(neeLeft, 227);
    EXPECT_EQ(cancelLeft, 101);

    const QString longQuestion = QString("Een heel lange vraag met veel woorden. ").repeated(8);
    const int expected = yesNoWidthLayout(dlg.fontMetrics().horizontalAdvance(longQuestion), 292, {})
                             .clientWidth;
    int longWidth = 0, longLines = 0;
    answerWith([&](TYesNoDlg &d) {
        longWidth = d.width();
        longLines = d.MessageMemo->shownLineCount();
        QTest::mouseClick(d.NeeBtn, Qt::LeftButton);
    });
    ask(false, cancelB, longQuestion);
    EXPECT_GT(expected, 308);
    EXPECT_EQ(longWidth, expected);
    EXPECT_GT(longLines, 1) << "wrapped lines count for the height";
    EXPECT_EQ(dlg.height(), yesNoHeightLayout(longLines, 9, 27).clientHeight);

    answerWith([&](TYesNoDlg &d) {
        shortWidth = d.width();
        QTest::mouseClick(d.NeeBtn, Qt::LeftButton);
    });
    ask(false, cancelB, "Kort?");
    EXPECT_EQ(shortWidth, expected);
}
