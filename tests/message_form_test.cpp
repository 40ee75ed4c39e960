#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBlock>

#include "app/dialog_geometry.h"
#include "app/message_form.h"
#include "support/wait_until.h"

namespace {

class MessageFormTest : public ::testing::Test
{
protected:
    TMessageForm form;
};

// Lines the editor itself shows, from its own layout of the document.
int editorLineCount(MemoWidget *memo)
{
    int count = 0;
    for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next()) {
        memo->document()->documentLayout()->blockBoundingRect(block);
        count += block.layout()->lineCount();
    }
    return count;
}

} // namespace

TEST_F(MessageFormTest, ShowsBothLinesCentredAndClosesItselfAfterTheTime)
{
    EXPECT_EQ(MessageForm, &form);
    QElapsedTimer clock;
    clock.start();
    form.Execute(100, 200, 301, 500, "Eerste regel", "Tweede regel", 200);
    EXPECT_LT(clock.elapsed(), 150) << "returns at once";
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.MessageMemo->lines(), QStringList({"Eerste regel", "Tweede regel"}));
    // Two lines at 10 pt: memo (2 + 2) x 10, window 50 higher.
    EXPECT_EQ(form.MessageMemo->geometry(), QRect(20, 25, 659, 40));
    EXPECT_EQ(form.geometry(), QRect(200 - 99, 100 + 105, 699, 90));
    EXPECT_EQ(form.MessagePanel->geometry(), QRect(0, 0, 699, 90));

    ASSERT_TRUE(waitUntil([&] { return !form.isVisible(); }, 3000));
    EXPECT_GE(clock.elapsed(), 180);
    EXPECT_FALSE(form.Timer->isEnabled());
}

TEST_F(MessageFormTest, BothTextsEmptyGiveTheTwoLineMinimumAndStillClose)
{
    form.Execute(0, 0, 600, 800, QString(), QString(), 200);
    EXPECT_TRUE(form.MessageMemo->lines().isEmpty());
    EXPECT_EQ(form.MessageMemo->height(), 20);
    EXPECT_EQ(form.height(), 70);
    EXPECT_TRUE(waitUntil([&] { return !form.isVisible(); }, 3000));
}

TEST_F(MessageFormTest, OnlyTheSecondTextGivesOneLine)
{
    form.Execute(0, 0, 600, 800, QString(), "Alleen de tweede", 200);
    EXPECT_EQ(form.MessageMemo->lines(), QStringList({"Alleen de tweede"}));
    EXPECT_EQ(form.MessageMemo->height(), 30);
}

TEST_F(MessageFormTest, SecondCallReplacesTextAndPlaceButNotTheRunningTime)
{
    QElapsedTimer clock;
    clock.start();
    form.Execute(0, 0, 600, 800, "Eerste", QString(), 500);
    ASSERT_TRUE(waitUntil([&] { return clock.elapsed() >= 300; }, 2000));
    ASSERT_TRUE(form.isVisible());
    form.Execute(300, 400, 100, 699, "Tweede", "melding", 500);
    EXPECT_EQ(form.MessageMemo->lines(), QStringList({"Tweede", "melding"}));
    EXPECT_EQ(form.pos(), QPoint(400, 300 + 5));
    ASSERT_TRUE(waitUntil([&] { return !form.isVisible(); }, 3000));
    EXPECT_LT(clock.elapsed(), 750) << "a restarted timer would close it 300 ms later";
    EXPECT_GE(clock.elapsed(), 450) << "coarse timers may fire 5% early";

    // Once closed, a new message gets its full time again.
    clock.restart();
    form.Execute(0, 0, 600, 800, "Derde", QString(), 200);
    ASSERT_TRUE(waitUntil([&] { return !form.isVisible(); }, 3000));
    EXPECT_GE(clock.elapsed(), 180);
}

TEST_F(MessageFormTest, LongTextWrapsAndIsCappedAtTheScreenHeightLess200)
{
    const int screenHeight = QGuiApplication::primaryScreen()->geometry().height();
    const QString longText = QString("woord ").repeated(3000);
    form.Execute(0, 0, screenHeight, 800, longText, QString(), 200);
    EXPECT_GT(form.MessageMemo->shownLineCount(), screenHeight / 10);
    EXPECT_EQ(form.MessageMemo->height(), screenHeight - 200);
    EXPECT_EQ(form.height(), screenHeight - 150);
}

TEST_F(MessageFormTest, CountedLinesMatchWhatTheEditorShows)
{
    const QString text = QString("tekst met woorden ").repeated(100);
    form.Execute(0, 0, 600, 800, text, "kort", 2000);
    ASSERT_TRUE(waitUntil([&] { return form.MessageMemo->viewport()->width() > 0; }, 1000));
    const int counted = form.MessageMemo->shownLineCount();
    EXPECT_GT(counted, 4);
    EXPECT_EQ(editorLineCount(form.MessageMemo), counted);
}
