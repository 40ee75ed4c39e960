#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>

#include "app/dialog_geometry.h"
#include "app/yes_no_form.h"
#include "support/wait_until.h"

namespace {

class YesNoFormTest : public ::testing::Test
{
protected:
    // Asks, and answers once the dialog is up and active.
    bool ask(bool yesB, bool &cancelB, const std::function<void(TYesNoDlg &)> &answer,
             const QString &mess = "Wilt u inderdaad de geselecteerde Optie verwijderen?")
    {
        QTimer::singleShot(0, &dlg, [this, answer] {
            if (!waitUntil([this] { return QApplication::activeWindow() == &dlg; })) {
                ADD_FAILURE() << "dialog did not come up";
                dlg.close();
                return;
            }
            answer(dlg);
        });
        return dlg.Execute(100, 200, 300, 600, "Pelgrandix - Verwijderen", mess, "Ja", "Nee",
                           "Negeren", yesB, cancelB);
    }

    static void press(int key) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); }
    static void click(QWidget *button) { QTest::mouseClick(button, Qt::LeftButton); }

    TYesNoDlg dlg;
};

} // namespace

TEST_F(YesNoFormTest, DeleteQuestionShowsOnlyJaAndNeeAndJaAnswersYes)
{
    EXPECT_EQ(YesNoDlg, &dlg);
    bool thirdShown = true;
    QString caption;
    bool cancelB = false;
    EXPECT_TRUE(ask(false, cancelB, [&](TYesNoDlg &d) {
        thirdShown = d.CancelBtn->isVisible();
        caption = d.windowTitle();
        click(d.JaBtn);
    }));
    EXPECT_FALSE(cancelB);
    EXPECT_FALSE(thirdShown);
    EXPECT_EQ(caption, "Pelgrandix - Verwijderen");
    EXPECT_EQ(QStringList({dlg.JaBtn->text(), dlg.NeeBtn->text()}), QStringList({"Ja", "Nee"}));
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(YesNoFormTest, EnterPressesTheFocusedButtonChosenByYesBOrMovedByTab)
{
    for (bool yesB : {false, true}) {
        bool cancelB = true;
        EXPECT_EQ(ask(yesB, cancelB, [](TYesNoDlg &) { press(Qt::Key_Return); }), yesB);
        EXPECT_FALSE(cancelB);
    }
    // Tab moves on from the first button to the third; Enter then presses the third.
    bool cancelB = true;
    EXPECT_FALSE(ask(true, cancelB, [](TYesNoDlg &) {
        press(Qt::Key_Tab);
        press(Qt::Key_Enter);
    }));
    EXPECT_TRUE(cancelB);
}

TEST_F(YesNoFormTest, EscapeAnswersNoAlsoWithTheThirdButtonShown)
{
    for (bool yesB : {true, false}) {
        bool cancelB = true;
        EXPECT_FALSE(ask(yesB, cancelB, [](TYesNoDlg &) { press(Qt::Key_Escape); }));
        EXPECT_FALSE(cancelB);
    }
}

TEST_F(YesNoFormTest, ThirdButtonSetsTheFlagAndAClosedDialogKeepsItAndAnswersYesB)
{
    bool cancelB = true;
    EXPECT_FALSE(ask(true, cancelB, [](TYesNoDlg &d) { click(d.CancelBtn); }));
    EXPECT_TRUE(cancelB);

    cancelB = false;
    EXPECT_TRUE(ask(true, cancelB, [](TYesNoDlg &d) { d.close(); }));
    EXPECT_TRUE(cancelB) << "flag of the earlier call stays";

    ask(true, cancelB, [](TYesNoDlg &d) { click(d.NeeBtn); });
    cancelB = true;
    EXPECT_FALSE(ask(false, cancelB, [](TYesNoDlg &d) { d.close(); }));
    EXPECT_FALSE(cancelB);
}

TEST_F(YesNoFormTest, ThreeLinesGrowTheDialogWhichIsCentredOnTheRectangle)
{
    QSize oneLine;
    QRect threeFrame;
    bool cancelB = false;
    ask(true, cancelB, [&](TYesNoDlg &d) { oneLine = d.size(), click(d.JaBtn); }, "Kort?");
    ask(true, cancelB, [&](TYesNoDlg &d) { threeFrame = d.frameGeometry(), click(d.JaBtn); },
        "Een\rTwee\rDrie?");
    EXPECT_EQ(dlg.MessageMemo->lines(), QStringList({"Een", "Twee", "Drie?"}));
    EXPECT_EQ(oneLine.height(), yesNoHeightLayout(1, 9, 27).clientHeight);
    EXPECT_EQ(dlg.height(), yesNoHeightLayout(3, 9, 27).clientHeight);
    EXPECT_EQ(dlg.NeeBtn->y(), yesNoHeightLayout(3, 9, 27).buttonTop);
    EXPECT_EQ(dlg.width(), oneLine.width());
    // Centred with its outer size, title bar and border included.
    const WindowPos pos = CentreOn({100, 200, 300, 600}, threeFrame.height(), threeFrame.width());
    EXPECT_EQ(threeFrame.topLeft(), QPoint(pos.left, pos.top));
}

TEST_F(YesNoFormTest, ShortQuestionKeepsTheButtonRowAndALongOneWidensForGood)
{
    const auto no = [](TYesNoDlg &d) { click(d.NeeBtn); };
    bool cancelB = true;
    ask(false, cancelB, no, "Kort?");
    EXPECT_EQ(dlg.width(), 308);
    EXPECT_EQ(QList<int>({dlg.JaBtn->x(), dlg.CancelBtn->x(), dlg.NeeBtn->x()}), QList<int>({16, 101, 227}));

    const QString longQuestion = QString("Een heel lange vraag met veel woorden. ").repeated(8);
    const int wide = yesNoWidthLayout(dlg.fontMetrics().horizontalAdvance(longQuestion), 292, {})
                         .clientWidth;
    ask(false, cancelB, no, longQuestion);
    EXPECT_GT(wide, 308);
    EXPECT_EQ(dlg.width(), wide);
    EXPECT_GT(dlg.MessageMemo->shownLineCount(), 1) << "wrapped lines count for the height";
    EXPECT_EQ(dlg.height(), yesNoHeightLayout(dlg.MessageMemo->shownLineCount(), 9, 27).clientHeight);

    ask(false, cancelB, no, "Kort?");
    EXPECT_EQ(dlg.width(), wide);
}
