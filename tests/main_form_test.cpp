#include <gtest/gtest.h>

#include <optional>

#include <QStyledItemDelegate>

#include "support/qt_printers.h"

#include "app/main_form.h"
#include "app/position_list_widget.h"
#include "app/shaded_panel_widget.h"
#include "book/position_list_model.h"
#include "book/positions_book.h"
#include "positions/positions_file.h"
#include "support/event_counter.h"
#include "support/main_window_fixture.h"
#include "support/program_state.h"
#include "support/scripted_ping.h"
#include "support/system_info.h"
#include "support/wait_until.h"

namespace {

// A test here clears the language code; the fixture puts back what was there.
class MainFormStart : public ProgramStateTest
{
};

const QByteArray kTwoPositions =
    "; my positions\r\n"
    "AEX; Put; mrt; 2013; 380; 12,34; 12,34; 1; 1234,00; 0\r\n"
    "\r\n"
    "AEX; Call; apr; 2013; 400; 2,50; 2,80; 3; -90,00; 1\r\n";
}

TEST_F(MainFormStart, CaptionButtonsAndDesignTexts)
{
    sLanguage = QString();  // whatever the system's language, the window is Dutch
    MainWindowFixture fixture;
    TMainForm *form = fixture.form();
    EXPECT_EQ(form->windowTitle(), "Pelgrandix, versie 1.20a");
    EXPECT_EQ(sLanguage, "NLD");
    EXPECT_FALSE(form->AddButton->isEnabled());
    EXPECT_FALSE(form->DownloadButton->isEnabled());
    EXPECT_TRUE(form->DelButton->isEnabled());
    EXPECT_TRUE(form->InstellingenButton->isEnabled());
    EXPECT_EQ(form->Label3->text(), "AEX...");
    EXPECT_EQ(form->Label4->text(), "Laatste...");
    EXPECT_EQ(form->Label5->text(), "Laatste...");
    EXPECT_EQ(form->Label6->text(), "Verschil...");
    EXPECT_EQ(form->TransactieEdit->text(), "0,00");
    EXPECT_EQ(form->Label15->text(), "---");
    EXPECT_EQ(form->ActieLabel->text(), "---");
    EXPECT_EQ(form->Panel3->width(),
              form->PositieCheck->x() + form->PositieCheck->width() + form->Label3->x());
    EXPECT_EQ(form->DownloadTimer->interval(), 900000);
    EXPECT_EQ(form->UpdateTimer->interval(), 10000);
    EXPECT_EQ(form->AEXTimer->interval(), 20000);
    EXPECT_FALSE(form->TransactieTimer->isEnabled());
}

TEST_F(MainFormStart, LoadsPositionLinesFromTheHomeDataFolder)
{
    MainWindowFixture fixture(kTwoPositions);
    EXPECT_EQ(DataDir, fixture.home().path() + "/UserData/Pelgrandix/");
    EXPECT_EQ(fixture.entries().size(), 2);
    EXPECT_EQ(fixture.form()->ListBox1->currentRow(), 0);
    EXPECT_EQ(fixture.form()->Label3->text(), "AEX...") << "selecting does not fill the panel";
}

TEST_F(MainFormStart, NoFileOrOnlyCommentsGivesAnEmptyListWithoutSelection)
{
    for (const QByteArray &file : {QByteArray(), QByteArray("; one\r\n;two\r\n")}) {
        MainWindowFixture fixture(file);
        EXPECT_TRUE(fixture.entries().isEmpty());
        EXPECT_EQ(fixture.form()->ListBox1->currentRow(), -1);
    }
}

// The list's rows are in the window's first paint, also when it has more lines than a list
// lays out at once (one that lays itself out in steps draws no row until its last step).
TEST_F(MainFormStart, TheFirstPaintShowsTheListsRows)
{
    MainWindowFixture fixture(QByteArray("AEX; Put; mrt; 2013; 380; 12,34; 12,34; 1; 1234,00; 0\r\n").repeated(1000));
    // The row the list finds at its top when its first paint begins.
    struct TopRowAtFirstPaint : QObject {
        QListView *list;
        std::optional<int> topRow;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint && !topRow)
                topRow = list->indexAt(QPoint(4, 4)).row();
            return false;
        }
    } firstPaint;
    firstPaint.list = fixture.form()->ListBox1;
    firstPaint.list->viewport()->installEventFilter(&firstPaint);
    fixture.form()->show();
    ASSERT_TRUE(waitUntil([&] { return firstPaint.topRow.has_value(); }));
    EXPECT_EQ(firstPaint.topRow, 0);
}

TEST(MainFormClose, EveryCloseSavesWithTwoBackupGenerations)
{
    MainWindowFixture fixture(kTwoPositions);
    TMainForm *form = fixture.form();
    form->book().setLine(0, "first");
    form->close();
    form->book().setLine(0, "second");
    form->close();
    EXPECT_TRUE(fixture.fileBytes("Regels.dat").startsWith("second\r\n"));
    EXPECT_TRUE(fixture.fileBytes("Regels!.dat").startsWith("first\r\n"));
    EXPECT_EQ(fixture.fileBytes("Regels!!.dat"), kTwoPositions);
}

TEST(MainFormClose, EmptyListLeavesTheFilesAlone)
{
    MainWindowFixture fixture;
    fixture.form()->close();
    EXPECT_TRUE(fixture.fileBytes("Regels.dat").isNull());
}

TEST(MainFormLayout, HelpButtonAndIndexLabelsFollowTheWidth)
{
    MainWindowFixture fixture;
    TMainForm *form = fixture.form();
    form->L21->setText("AEX:");
    form->L22->setText("912,34");
    form->L23->setText("3,21 (0,35%)");
    form->L24->setText("@ 07-12-2026 17:35");
    for (int width : {760, 1100, 600}) {
        form->resize(width, 330);
        form->FormResize();
        EXPECT_EQ(form->HelpButton->x() + form->HelpButton->width(), width - 10);
        EXPECT_EQ(form->L22->x(), form->L21->x() + form->L21->width() + 7);
        EXPECT_EQ(form->L23->x(), form->L22->x() + form->L22->width() + 7);
        EXPECT_EQ(form->L24->x(), form->L23->x() + form->L23->width() + 7);
        EXPECT_EQ(form->L24->x() + form->L24->width(), width - form->Label3->x());
    }
}

TEST(MainFormPaint, StartUpWorkRunsOnlyAtTheFirstPaint)
{
    // The start-up work is a download and an index refresh, each of which probes once.
    ScriptedPing ping(ScriptedPing::TimeOut);
    MainWindowFixture fixture;
    TMainForm *form = fixture.form();
    EventCounter paints(form, QEvent::Paint);
    ASSERT_TRUE(waitForQueuedWork());
    EXPECT_EQ(ping.runCount(), 0) << "nothing runs before the window is painted";

    form->show();
    ASSERT_TRUE(waitUntil([&] { return ping.runCount() >= 2; }));
    EXPECT_EQ(ping.runCount(), 2);
    EXPECT_EQ(form->Label1->text(), "Geen internetverbinding.");

    // Later paints, of every cause, start nothing: the work they would queue would run first.
    const int painted = paints.count();
    form->repaint();
    form->resize(800, 400);
    form->hide();
    form->show();
    ASSERT_TRUE(waitUntil([&] { return paints.count() >= painted + 2; }));
    ASSERT_TRUE(waitForQueuedWork());
    EXPECT_EQ(ping.runCount(), 2);
}

// The bars and the detail panel draw their edge themselves: pixel for pixel what the style draws
// for a shaded panel of one pixel, raised and sunken.
TEST(ShadedPanel, DrawsTheStylesShadedEdge)
{
    for (const QFrame::Shadow shadow : {QFrame::Raised, QFrame::Sunken}) {
        QFrame styled;
        styled.setFrameShape(QFrame::Panel);
        styled.setFrameShadow(shadow);
        ShadedPanelWidget own(shadow, nullptr);
        styled.resize(40, 12);
        own.resize(40, 12);
        EXPECT_EQ(own.grab().toImage(), styled.grab().toImage()) << (shadow == QFrame::Raised ? "raised" : "sunken");
    }
}

// The list lays the text of a plain row out once instead of the style's three times: pixel for
// pixel what the style draws, for plain rows, a selected one and one too long for the list.
TEST(PositionList, DrawsItsRowsAsTheStyleDoes)
{
    PositionListModel lines;
    lines.setLines(positions_file::decode("AEX; Put; mrt; 2013; 380; 12,34; 12,34; 1; 1234,00; 0\n"
                                          "AEX; Call; apr; 2013; 400; 2,50; 2,80; 3; -90,00; 1\n"
                                          + QByteArray(80, 'W') + "\nAX1; Put\n"));
    PositionListWidget own(&lines);
    PositionListWidget styled(&lines);
    QStyledItemDelegate byTheStyle;
    styled.setItemDelegate(&byTheStyle);
    for (PositionListWidget *list : {&own, &styled}) {
        list->setFont(TMainForm::windowFont());
        list->resize(480, 100);
        list->setCurrentIndex(lines.index(1));
        list->doItemsLayout();
    }
    ASSERT_EQ(own.indexAt(QPoint(4, 4)).row(), 0) << "laid out, so that the rows are drawn";
    EXPECT_EQ(own.grab().toImage(), styled.grab().toImage());
}
