#include "app/dialog_geometry.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace {

// C++ division truncates toward zero for negative differences too, as the layout wants.
int half(int difference)
{
    return difference / 2;
}

// A corner of a window this large on a screen is enough to drag the rest of it into sight.
constexpr int kVisibleEnough = 80;

constexpr int kMessageMemoLeft = 20;
constexpr int kMessageMemoTop = 25;
constexpr int kMessageScreenReserve = 200;

constexpr int kYesNoPanelLeft = 16;
constexpr int kYesNoPanelTop = 12;
constexpr int kYesNoMemoLeft = 8;
constexpr int kYesNoPanelExtra = 15;
constexpr int kYesNoButtonGap = 27;
constexpr int kYesNoBottomMargin = 15;

} // namespace

bool ShowsOnAScreen(const QRect &frame, const QList<QRect> &screens)
{
    const int wide = std::min(kVisibleEnough, frame.width());
    const int high = std::min(kVisibleEnough, frame.height());
    return std::any_of(screens.begin(), screens.end(), [&](const QRect &screen) {
        const QRect shown = screen.intersected(frame);
        return !shown.isEmpty() && shown.width() >= wide && shown.height() >= high;
    });
}

WindowPos CentreOn(const ScreenRect &around, int height, int width)
{
    return {around.top + half(around.height - height), around.left + half(around.width - width)};
}

MessageGeometry messageGeometry(int lines, int fontPointSize, int screenHeight, int panelWidth,
                                const ScreenRect &around)
{
    MessageGeometry g;
    const int wanted = (lines + 2) * fontPointSize;
    const int cap = screenHeight - kMessageScreenReserve;
    g.memoHeight = wanted > cap ? cap : wanted;
    g.memoTop = kMessageMemoTop;
    g.memoLeft = kMessageMemoLeft;
    g.memoWidth = panelWidth - 2 * kMessageMemoLeft;
    g.windowHeight = g.memoHeight + 2 * kMessageMemoTop;
    g.windowWidth = panelWidth;
    const WindowPos pos = CentreOn(around, g.windowHeight, g.windowWidth);
    g.windowTop = pos.top;
    g.windowLeft = pos.left;
    return g;
}

YesNoWidthLayout yesNoWidthLayout(int textWidth, int secondRight, const YesNoButtonWidths &widths)
{
    YesNoWidthLayout l;
    l.panelLeft = kYesNoPanelLeft;
    l.panelWidth = int(std::lround(10.0 * std::sqrt(double(qMax(textWidth, 0)))));
    // Kept as a 16-bit quantity, as the button positions it is taken from.
    const int minimum = quint16(secondRight - l.panelLeft);
    if (minimum > l.panelWidth)
        l.panelWidth = minimum;
    l.memoLeft = kYesNoMemoLeft;
    l.memoWidth = l.panelWidth - 2 * l.memoLeft;
    l.clientWidth = l.panelWidth + 2 * l.panelLeft;
    l.firstLeft = l.panelLeft;
    l.secondLeft = l.clientWidth - widths.second - l.panelLeft;
    l.thirdLeft = half(l.clientWidth - widths.third);
    return l;
}

YesNoHeightLayout yesNoHeightLayout(int lines, int fontPointSize, int buttonHeight)
{
    YesNoHeightLayout l;
    const int lineHeight = int(std::lround(fontPointSize * 1.6));
    l.memoHeight = (lines + 1) * lineHeight;
    l.panelTop = kYesNoPanelTop;
    l.panelHeight = l.memoHeight + kYesNoPanelExtra;
    l.memoTop = half(l.panelHeight - l.memoHeight);
    l.buttonTop = l.panelHeight + kYesNoButtonGap;
    l.clientHeight = l.buttonTop + buttonHeight + kYesNoBottomMargin;
    return l;
}

AboutLayout aboutLayout(int bevelLeft, int bevelWidth, int mailLeft, int homeWidth, int okWidth)
{
    AboutLayout l;
    l.clientWidth = bevelLeft + bevelWidth + bevelLeft;
    l.homeLeft = l.clientWidth - homeWidth - mailLeft;
    l.okLeft = half(l.clientWidth - okWidth);
    l.ok1Left = l.okLeft;
    return l;
}
