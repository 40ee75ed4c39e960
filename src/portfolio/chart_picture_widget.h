#pragma once
// A chart of the overview saved as a PNG file, its title written above it so that the picture
// says what it shows.

#include <QString>

class QWidget;

// The chart's view with the title above it, in the bold type of the view's window; false when
// the file could not be written.
bool SaveChartPicture(QWidget &view, const QString &title, const QString &path);
// Asks where to save it, in a file dialog of this caption (a PNG file of this name in the home
// folder to begin with), saves it there, and says so over the window when it could not.
void SaveChartPictureAs(QWidget &view, const QString &title, const QString &caption, const QString &defaultFileName);
