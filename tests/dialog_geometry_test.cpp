#include <gtest/gtest.h>

#include "app/dialog_geometry.h"

namespace {

const ScreenRect kAround {100, 200, 301, 500};

} // namespace

TEST(MessageGeometry, MemoHeightFollowsLinesUpToTheScreenCap)
{
    struct Case {
        int lines, pointSize, screenHeight, memoHeight;
    };
    const Case cases[] = {
        {0, 10, 1024, 20},   // no text: room for two lines
        {2, 10, 1024, 40},
        {2, 12, 1024, 48},
        {79, 10, 1010, 810}, // exactly the cap is not above it
        {80, 10, 1010, 810}, // above: capped at screen height - 200
        {500, 10, 600, 400},
    };
    for (const Case &c : cases) {
        const MessageGeometry g = messageGeometry(c.lines, c.pointSize, c.screenHeight, 699, kAround);
        EXPECT_EQ(g.memoHeight, c.memoHeight) << c.lines << " lines";
        EXPECT_EQ(g.windowHeight, c.memoHeight + 50) << c.lines << " lines";
    }
}

TEST(MessageGeometry, MemoInsetAndWindowWidthFromThePanel)
{
    const MessageGeometry g = messageGeometry(1, 10, 1024, 699, kAround);
    EXPECT_EQ(g.memoLeft, 20);
    EXPECT_EQ(g.memoWidth, 659);
    EXPECT_EQ(g.memoTop, 25);
    EXPECT_EQ(g.memoTop * 2 + g.memoHeight, g.windowHeight) << "memo centred vertically";
    EXPECT_EQ(g.windowWidth, 699);
}

TEST(MessageGeometry, CentredWithHalvingsTruncatedTowardZero)
{
    // 1 line at 10 pt: window 699 x 80 on a 500 x 301 rectangle at (200, 100).
    const MessageGeometry g = messageGeometry(1, 10, 1024, 699, kAround);
    EXPECT_EQ(g.windowTop, 100 + 110);  // (301 - 80) / 2 = 110.5 -> 110
    EXPECT_EQ(g.windowLeft, 200 - 99);  // (500 - 699) / 2 = -99.5 -> -99, not -100
}

TEST(CentreOn, OddAndNegativeDifferences)
{
    struct Case {
        ScreenRect around;
        int height, width, top, left;
    };
    const Case cases[] = {
        {{0, 0, 100, 100}, 50, 50, 25, 25},
        {{10, 20, 101, 103}, 50, 50, 10 + 25, 20 + 26},
        {{10, 20, 50, 50}, 101, 103, 10 - 25, 20 - 26},
        {{-300, -400, 50, 50}, 51, 51, -300, -400},  // -1 / 2 is 0
    };
    for (const Case &c : cases) {
        const WindowPos pos = CentreOn(c.around, c.height, c.width);
        EXPECT_EQ(pos.top, c.top);
        EXPECT_EQ(pos.left, c.left);
    }
}

TEST(YesNoWidth, ShortQuestionKeepsRoomForTheFirstTwoButtons)
{
    // Design: second button at 227, 65 wide; panel at 16.
    const YesNoWidthLayout l = yesNoWidthLayout(100, 227 + 65, {});
    EXPECT_EQ(l.panelLeft, 16);
    EXPECT_EQ(l.panelWidth, 276);
    EXPECT_EQ(l.clientWidth, 308);
    EXPECT_EQ(l.memoLeft, 8);
    EXPECT_EQ(l.memoWidth, 260);
    EXPECT_EQ(l.firstLeft, 16);
    EXPECT_EQ(l.secondLeft, 227);
    EXPECT_EQ(l.thirdLeft, 101);
}

TEST(YesNoWidth, LongQuestionWidensWithTheSquareRootRounded)
{
    struct Case {
        int textWidth, panelWidth;
    };
    const Case cases[] = {
        {2000, 447},  // 447.21
        {1010, 318},  // 317.80 rounds up
        {10000, 1000},
    };
    for (const Case &c : cases) {
        const YesNoWidthLayout l = yesNoWidthLayout(c.textWidth, 292, {});
        EXPECT_EQ(l.panelWidth, c.panelWidth) << c.textWidth;
        EXPECT_EQ(l.clientWidth, c.panelWidth + 32) << c.textWidth;
        EXPECT_EQ(l.secondLeft, l.clientWidth - 65 - 16) << c.textWidth;
        EXPECT_EQ(l.thirdLeft, (l.clientWidth - 106) / 2) << c.textWidth;
    }
    // 479 wide: the third button's room 373 halves to 186.
    EXPECT_EQ(yesNoWidthLayout(2000, 292, {}).thirdLeft, 186);
}

TEST(YesNoWidth, NeverNarrowerThanThePreviousQuestion)
{
    const YesNoButtonWidths widths {};
    const YesNoWidthLayout wide = yesNoWidthLayout(2000, 292, widths);
    const YesNoWidthLayout next = yesNoWidthLayout(100, wide.secondLeft + widths.second, widths);
    EXPECT_EQ(next.panelWidth, wide.panelWidth);
    EXPECT_EQ(next.clientWidth, wide.clientWidth);
    EXPECT_EQ(next.secondLeft, wide.secondLeft);
    // A still longer one widens again.
    const YesNoWidthLayout wider = yesNoWidthLayout(4000, next.secondLeft + widths.second, widths);
    EXPECT_EQ(wider.panelWidth, 632);
}

TEST(YesNoHeight, GrowsWithTheLinesShown)
{
    struct Case {
        int lines, pointSize, memoHeight, clientHeight;
    };
    const Case cases[] = {
        {1, 9, 28, 112},   // line height 14.4 -> 14
        {3, 9, 56, 140},
        {0, 8, 13, 97},    // 12.8 -> 13
        {2, 10, 48, 132},
    };
    for (const Case &c : cases) {
        const YesNoHeightLayout l = yesNoHeightLayout(c.lines, c.pointSize, 27);
        EXPECT_EQ(l.memoHeight, c.memoHeight) << c.lines << " lines";
        EXPECT_EQ(l.panelHeight, c.memoHeight + 15);
        EXPECT_EQ(l.buttonTop, c.memoHeight + 15 + 27);
        EXPECT_EQ(l.clientHeight, c.clientHeight) << c.lines << " lines";
        EXPECT_EQ(l.panelTop + l.panelHeight + 15, l.buttonTop) << "gap above the buttons";
        EXPECT_EQ(l.memoTop, 7);
    }
}

TEST(AboutLayout, EqualMarginsMirroredHomeAndCentredOk)
{
    struct Case {
        int bevelLeft, bevelWidth, mailLeft, homeWidth, okWidth;
        int clientWidth, homeLeft, okLeft;
    };
    const Case cases[] = {
        {16, 500, 16, 80, 80, 532, 436, 226},
        {16, 501, 12, 75, 80, 533, 446, 226},  // 453 / 2 truncates
        {8, 300, 20, 90, 75, 316, 206, 120},
    };
    for (const Case &c : cases) {
        const AboutLayout l = aboutLayout(c.bevelLeft, c.bevelWidth, c.mailLeft, c.homeWidth, c.okWidth);
        EXPECT_EQ(l.clientWidth, c.clientWidth);
        EXPECT_EQ(l.homeLeft, c.homeLeft);
        EXPECT_EQ(l.okLeft, c.okLeft);
        EXPECT_EQ(l.ok1Left, c.okLeft);
    }
}
