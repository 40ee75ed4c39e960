#pragma once
// The real program's windows on the X display that a real-window test runs on (CTest starts
// each such test under xvfb-run, with no window manager): found by their captions with xdotool,
// read with xprop, clicked and typed at with xdotool, and read as a person would, from a picture
// of the window (pelgrandix-shot) read back as text by tesseract.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class OfflineProgram;

// The settings of a program under test on the display: no timed download, no update check,
// and these lines ("\"Name\"=\"value\"\r\n") after them.
QByteArray QuietSettings(const QByteArray &moreLines = {});
// Starts the program with its windows on the X display, in Dutch, against the site (a host as
// RunningMarketSite gives it), with a ping that answers and its output in the test's; the main
// window's id once it shows, empty when it did not.
QString StartOnDisplay(OfflineProgram &program, const QByteArray &siteHost);
// Clicks "Overzicht" in the main window's top bar until the overview shows (the button is usable
// once the first download is in); its id, empty when it did not show.
QString OpenOverview(const QString &mainWindow);

// Runs a command and gives what it printed; empty when it did not end within ten seconds.
QString RunCommand(const QString &program, const QStringList &arguments);

// Ids of the mapped windows whose name matches the pattern (an extended regular expression).
QStringList VisibleWindows(const QString &namePattern);
// The first such window once one shows; empty when none did within the patience of a test.
QString WaitForWindow(const QString &namePattern);

// The caption in both forms that the X server keeps: WM_NAME (Latin-1) and _NET_WM_NAME (UTF-8).
QStringList Captions(const QString &window);

// A click at x, y inside the window's client area; button 1 is the left one, 3 the right one.
void Click(const QString &window, int x, int y, int button = 1);
// Clicks at each of the points in turn, over and over, until a window of that name shows (a
// button may be usable only after a while, or behind a tab that a lost click did not open); its
// id, or empty when none showed within the patience of a test.
QString ClickUntilWindow(const QString &window, const QList<QPoint> &points, const QString &namePattern);
// Keys as xdotool names them, one after the other ("ctrl+Tab", "Tab Down Return"), sent to the
// window, or without one to what has the keyboard (an open menu).
void PressKeys(const QString &window, const QString &keys);

// Saves a PNG of the window as the screen shows it, enlarged this many times; false when none
// was saved.
bool TakePicture(const QString &window, const QString &path, int enlarged = 1);

// The words in a picture of the window, each with where it stands in the window. The picture is
// enlarged before it is read, so that the small type of a dialog reads reliably.
struct SeenWord {
    QString text;
    QRect place;
};
QList<SeenWord> WordsInWindow(const QString &window);
// The first word read in the window that the test accepts, once one is read; none when none was
// within the patience of a test.
std::optional<SeenWord> FindWord(const QString &window, const std::function<bool(const QString &)> &wanted);
// A click in the middle of the word.
void ClickWord(const QString &window, const SeenWord &word, int button = 1);
// All of them as one text, separated by blanks.
QString TextInWindow(const QString &window);
