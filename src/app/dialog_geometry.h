#pragma once
// Sizes and places of the small dialogs, worked out from the numbers the windows measure (line
// counts, font sizes, text widths, the caller's rectangle), so the rules hold without a window.
// Every halving truncates toward zero, also when the difference is negative (a dialog larger
// than the rectangle it is centred on sticks out equally on both sides, give or take a pixel).

#include <QList>
#include <QRect>

// A window's outer rectangle in screen pixels, in the order the callers pass it.
struct ScreenRect {
    int top = 0;
    int left = 0;
    int height = 0;
    int width = 0;
};

struct WindowPos {
    int top = 0;
    int left = 0;
};

// Top-left corner that centres a window of the given outer size on a rectangle.
WindowPos CentreOn(const ScreenRect &around, int height, int width);

// Whether enough of a window's rectangle lies on one of the screens (the areas of them that
// windows may take) for the user to see it and take hold of it. A place stored while another
// screen was attached would otherwise open the window out of sight.
bool ShowsOnAScreen(const QRect &frame, const QList<QRect> &screens);

// The timed message window: its panel fills the window, the memo sits in it with a margin of
// 20 px at the sides and 25 px above and below.
struct MessageGeometry {
    int memoLeft = 0, memoTop = 0, memoWidth = 0, memoHeight = 0;
    int windowTop = 0, windowLeft = 0, windowWidth = 0, windowHeight = 0;
};

// lines: the lines the memo shows (wrapped lines count; no text is 0 lines). The memo gets two
// lines' worth of room more than it shows, measured in the font's point size, but never more
// than the screen height less 200; beyond that it scrolls.
MessageGeometry messageGeometry(int lines, int fontPointSize, int screenHeight, int panelWidth,
                                const ScreenRect &around);

// The confirmation dialog's row of buttons, in the order of their roles: the first (yes), the
// second (no) and the optional third (cancel).
struct YesNoButtonWidths {
    int first = 65;
    int second = 65;
    int third = 106;
};

struct YesNoWidthLayout {
    int panelLeft = 0, panelWidth = 0;
    int memoLeft = 0, memoWidth = 0;
    int clientWidth = 0;
    int firstLeft = 0, secondLeft = 0, thirdLeft = 0;
};

// Width of the dialog for a question whose text measures textWidth pixels: the panel is ten
// times the square root of that width, but never narrower than the room the previous layout
// gave the first two buttons (secondRight: the second button's right edge as it stands), so
// the dialog only grows from one question to the next.
YesNoWidthLayout yesNoWidthLayout(int textWidth, int secondRight, const YesNoButtonWidths &widths);

struct YesNoHeightLayout {
    int panelTop = 0, panelHeight = 0;
    int memoTop = 0, memoHeight = 0;  // memoTop inside the panel
    int buttonTop = 0;
    int clientHeight = 0;
};

// Heights once the memo has wrapped its text: one spare line, each line 1.6 times the font's
// point size.
YesNoHeightLayout yesNoHeightLayout(int lines, int fontPointSize, int buttonHeight);

// The information window's width and button row: equal margins around the copyright frame,
// the home button mirrored to the mail button, the OK buttons of both views centred.
struct AboutLayout {
    int clientWidth = 0;
    int homeLeft = 0;
    int okLeft = 0;
    int ok1Left = 0;
};

AboutLayout aboutLayout(int bevelLeft, int bevelWidth, int mailLeft, int homeWidth, int okWidth);
