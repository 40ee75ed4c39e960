#pragma once
// The real program's windows on the X display a real-window test runs on (CTest starts those
// under xvfb-run, with no window manager): found by name and typed at with xdotool, their
// captions read with xprop, their pictures taken with pelgrandix-shot.

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

namespace x_display {

// Ids of the mapped windows whose name matches the pattern (an extended regular expression).
QStringList visibleWindows(const QString &namePattern);
// The first of them once one shows; "" when none did within a test's patience.
QString waitForWindow(const QString &namePattern);
// The caption in both forms that the X server keeps: WM_NAME (Latin-1) and _NET_WM_NAME (UTF-8).
QStringList captions(const QString &window);
// A left click at x, y inside the window's client area.
void click(const QString &window, int x, int y);
// Clicks at each of the points in turn, over and over, until a window of that name shows (a
// button may be usable only after a while, or behind a tab that a lost click did not open); its
// id, or "" when none showed within a test's patience.
QString clickUntilWindow(const QString &window, const QList<QPoint> &points, const QString &namePattern);
// Gives the window the keyboard and presses the keys ("ctrl+Tab", "Return").
void pressKeys(const QString &window, const QString &keys);
// Saves a PNG of the window as the screen shows it; false when none was saved.
bool takePicture(const QString &window, const QString &path);

} // namespace x_display
