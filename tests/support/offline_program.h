#pragma once
// Starting the real program in a test: on the offscreen platform, with its home in a
// temporary folder, and every site pointed at a port where nothing answers, so that a download
// it starts fails at once instead of reaching a quote site that happens to run here.

#include <QProcessEnvironment>
#include <QString>

QProcessEnvironment OfflineProgramEnvironment(const QString &home);
QString ProgramPath();
