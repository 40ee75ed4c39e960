#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBlock>

#include "app/message_form.h"
#include "support/wait_until.h"

namespace {

class MessageFormTest : public ::testing::Test
{
protected:
    bool closes() { return waitUntil([&] { return !form.isVisible(); }); }
    TMessageForm form;
};

} // namespace

TEST_F(MessageFormTest, ShowsBothLinesCentredAndClosesItselfAfterTheTime)
{
    EXPECT_EQ(MessageForm, &form);
    QElapsedTimer clock;
    clock.start();
    form.Execute(100, 200, 301, 500, "Eerste regel", "Tweede regel", 200);
    EXPECT_TRUE(form.isVisible()) << "returns at once, window up";
    EXPECT_EQ(form.MessageMemo->lines(), QStringList({"Eerste regel", "Tweede regel"}));
    // Two lines at 10 pt: memo (2 + 2) x 10, window 50 higher, centred on the rectangle.
    EXPECT_EQ(form.MessageMemo->geometry(), QRect(20, 25, 659, 40));
    EXPECT_EQ(form.geometry(), QRect(200 - 99, 100 + 105, 699, 90));
    ASSERT_TRUE(closes());
    EXPECT_GE(clock.elapsed(), 180) << "closed before its time (a coarse timer may fire a little early)";
}

TEST_F(MessageFormTest, BothTextsEmptyGiveTheTwoLineMinimumAndStillClose)
{
    form.Execute(0, 0, 600, 800, QString(), QString(), 200);
    EXPECT_TRUE(form.MessageMemo->lines().isEmpty());
    EXPECT_EQ(form.height(), 70);
    EXPECT_TRUE(closes());
    form.Execute(0, 0, 600, 800, QString(), "Alleen de tweede", 200);
    EXPECT_EQ(form.height(), 80);
}

TEST_F(MessageFormTest, SecondCallReplacesTextAndPlaceButNotTheRunningTime)
{
    QElapsedTimer clock;
    clock.start();
    form.Execute(0, 0, 600, 800, "Eerste", QString(), 2000);
    waitUntil([&] { return clock.elapsed() >= 1000; });
    ASSERT_TRUE(form.isVisible());
    const qint64 secondCall = clock.elapsed();
    form.Execute(300, 400, 100, 699, "Tweede", "melding", 2000);
    EXPECT_EQ(form.MessageMemo->lines(), QStringList({"Tweede", "melding"}));
    EXPECT_EQ(form.pos(), QPoint(400, 305));
    ASSERT_TRUE(closes());
    EXPECT_GE(clock.elapsed(), 1800) << "closed before its time (a coarse timer may fire a little early)";
    // A timer started again by the second call would close no earlier than its whole time later.
    EXPECT_LT(clock.elapsed(), secondCall + 1800) << "the second call started the time again";
}

TEST_F(MessageFormTest, LongTextWrapsAndIsCappedAtTheScreenHeightLess200)
{
    const int screenHeight = QGuiApplication::primaryScreen()->geometry().height();
    form.Execute(0, 0, screenHeight, 800, QString("woord ").repeated(3000), QString(), 200);
    EXPECT_GT(form.MessageMemo->shownLineCount(), screenHeight / 10);
    EXPECT_EQ(form.height(), screenHeight - 200 + 50);
}

TEST_F(MessageFormTest, CountedLinesAndCentringMatchWhatTheEditorShows)
{
    MemoWidget *memo = form.MessageMemo;
    form.Execute(0, 0, 600, 800, QString("tekst met woorden ").repeated(100), "kort", 2000);
    ASSERT_TRUE(waitUntil([&] { return memo->viewport()->width() > 0; }));
    int editorLines = 0;
    for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next()) {
        memo->document()->documentLayout()->blockBoundingRect(block);
        editorLines += block.layout()->lineCount();
    }
    EXPECT_GT(memo->shownLineCount(), 4);
    EXPECT_EQ(editorLines, memo->shownLineCount());

    // One short line: as much room above as below, and centred across the panel although
    // the scroll bar takes room at the right.
    form.Execute(0, 0, 600, 800, "Midden", QString(), 2000);
    const QRect viewport(memo->viewport()->mapTo(&form, QPoint(0, 0)), memo->viewport()->size());
    EXPECT_LE(std::abs(viewport.center().x() - form.rect().center().x()), 1);
    const int textTop = viewport.top() + int(memo->document()->documentMargin());
    const int textBottom = textTop + memo->fontMetrics().lineSpacing();
    const QRect box = memo->geometry();
    EXPECT_LE(std::abs((textTop - box.top()) - (box.top() + box.height() - textBottom)), 1);
}
