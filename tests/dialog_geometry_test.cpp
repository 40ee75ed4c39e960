#include <gtest/gtest.h>

#include <vector>

#include "app/dialog_geometry.h"

TEST(MessageGeometry, MemoHeightFollowsLinesUpToTheScreenCap)
{
    struct Case {
        int lines, pointSize, screenHeight, memoHeight;
    } const cases[] = {
        {0, 10, 1024, 20},  // no text: room for two lines
        {2, 12, 1024, 48},
        {79, 10, 1010, 810},
        {500, 10, 600, 400},  // capped at the screen height - 200
    };
    for (const Case &c : cases) {
        const MessageGeometry g = messageGeometry(c.lines, c.pointSize, c.screenHeight, 699, {});
        EXPECT_EQ(g.memoHeight, c.memoHeight) << c.lines << " lines";
        EXPECT_EQ(g.windowHeight, c.memoHeight + 50) << c.lines << " lines";
        EXPECT_EQ(std::vector<int>({g.memoLeft, g.memoTop, g.memoWidth, g.windowWidth}),
                  std::vector<int>({20, 25, 659, 699}));
    }
}

TEST(CentreOn, OddAndNegativeDifferencesTruncateTowardZero)
{
    struct Case {
        ScreenRect around;
        int height, width, top, left;
    } const cases[] = {
        {{10, 20, 101, 103}, 50, 50, 10 + 25, 20 + 26},
        {{10, 20, 50, 50}, 101, 103, 10 - 25, 20 - 26},  // floor would give -26, -27
        {{-300, -400, 50, 50}, 51, 51, -300, -400},
    };
    for (const Case &c : cases) {
        const WindowPos pos = CentreOn(c.around, c.height, c.width);
        EXPECT_EQ(pos.top, c.top);
        EXPECT_EQ(pos.left, c.left);
    }
    const MessageGeometry g = messageGeometry(1, 10, 1024, 699, {100, 200, 301, 500});
    EXPECT_EQ(g.windowTop, 100 + 110);  // (301 - 80) / 2
    EXPECT_EQ(g.windowLeft, 200 - 99);  // (500 - 699) / 2
}

TEST(ShowsOnAScreen, EnoughOfTheWindowToTakeHoldOfOnOneScreen)
{
    const QList<QRect> twoScreens = {QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 1024)};
    const struct {
        QRect frame;
        QList<QRect> screens;
        bool shows;
    } cases[] = {
        {QRect(2500, 300, 760, 330), twoScreens, true},  // on the second screen
        {QRect(2500, 300, 760, 330), {twoScreens.first()}, false},  // that screen is gone
        {QRect(1900, 100, 760, 330), {twoScreens.first()}, false},  // a 20 px strip
        {QRect(1840, 960, 760, 330), {twoScreens.first()}, true},   // an 80 px corner
        {QRect(10, 10, 40, 30), {twoScreens.first()}, true},  // a small window, whole
        {QRect(100, 100, 760, 330), {}, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ShowsOnAScreen(c.frame, c.screens), c.shows) << c.frame.x() << "," << c.frame.y();
}

TEST(YesNoWidth, ShortQuestionKeepsRoomForTheFirstTwoButtons)
{
    // The second button's design right edge is 227 + 65.
    const YesNoWidthLayout l = yesNoWidthLayout(100, 292, {});
    EXPECT_EQ(std::vector<int>({l.panelLeft, l.panelWidth, l.memoLeft, l.memoWidth, l.clientWidth}),
              std::vector<int>({16, 276, 8, 260, 308}));
    EXPECT_EQ(std::vector<int>({l.firstLeft, l.secondLeft, l.thirdLeft}), std::vector<int>({16, 227, 101}));
}

TEST(YesNoWidth, LongQuestionWidensWithTheRoundedSquareRootAndNeverShrinks)
{
    struct Case {
        int textWidth, panelWidth, thirdLeft;
    } const cases[] = {{2000, 447, 186}, {1010, 318, 122}, {10000, 1000, 463}};
    for (const Case &c : cases) {
        const YesNoWidthLayout l = yesNoWidthLayout(c.textWidth, 292, {});
        EXPECT_EQ(l.panelWidth, c.panelWidth) << c.textWidth;
        EXPECT_EQ(l.clientWidth, c.panelWidth + 32) << c.textWidth;
        EXPECT_EQ(l.secondLeft, l.clientWidth - 65 - 16) << c.textWidth;
        EXPECT_EQ(l.thirdLeft, c.thirdLeft) << c.textWidth;
    }
    const YesNoWidthLayout wide = yesNoWidthLayout(2000, 292, {});
    const YesNoWidthLayout next = yesNoWidthLayout(100, wide.secondLeft + 65, {});
    EXPECT_EQ(next.clientWidth, wide.clientWidth);
    EXPECT_EQ(next.secondLeft, wide.secondLeft);
    EXPECT_EQ(yesNoWidthLayout(4000, next.secondLeft + 65, {}).panelWidth, 632);
}

TEST(YesNoHeight, GrowsWithTheLinesShown)
{
    struct Case {
        int lines, pointSize, memoHeight, clientHeight;
    } const cases[] = {
        {1, 9, 28, 112},  // line height 14.4 -> 14
        {3, 9, 56, 140},
        {0, 8, 13, 97},   // 12.8 -> 13
    };
    for (const Case &c : cases) {
        const YesNoHeightLayout l = yesNoHeightLayout(c.lines, c.pointSize, 27);
        EXPECT_EQ(l.memoHeight, c.memoHeight) << c.lines << " lines";
        EXPECT_EQ(l.panelHeight, c.memoHeight + 15);
        EXPECT_EQ(l.buttonTop, c.memoHeight + 15 + 27);
        EXPECT_EQ(l.clientHeight, c.clientHeight);
        EXPECT_EQ(l.memoTop, 7);
    }
}

TEST(AboutLayout, EqualMarginsMirroredHomeAndCentredOk)
{
    struct Case {
        int bevelLeft, bevelWidth, mailLeft, homeWidth, okWidth, clientWidth, homeLeft, okLeft;
    } const cases[] = {
        {16, 500, 16, 80, 80, 532, 436, 226},
        {16, 501, 12, 75, 80, 533, 446, 226},  // 453 / 2 truncates
    };
    for (const Case &c : cases) {
        const AboutLayout l = aboutLayout(c.bevelLeft, c.bevelWidth, c.mailLeft, c.homeWidth, c.okWidth);
        EXPECT_EQ(std::vector<int>({l.clientWidth, l.homeLeft, l.okLeft, l.ok1Left}),
                  std::vector<int>({c.clientWidth, c.homeLeft, c.okLeft, c.okLeft}));
    }
}
