#pragma once
// The critical message box for a failure whose text may hold what came from outside (a field of
// the version list, a cell of a page). It is shown as plain text and cut short: read as markup,
// an image tag in it would make the box load the file it names (a device without end, a pipe
// that never answers), and megabytes of it would hold the window while they are laid out.

#include <QString>

class QWidget;

void ShowCriticalText(QWidget *parent, const QString &title, const QString &text);
