#pragma once
// Where the positions go when the session ends the program and "Regels.dat" cannot take them:
// "Regels.dat.unsaved" in the program's folder of the user's state folder ($XDG_STATE_HOME,
// default ~/.local/state), in the positions file's own format, so that it can be put in place
// of "Regels.dat" by hand.

#include <QString>
#include <QStringList>

// The state folder of the program, ending in "/".
QString StateFolder(const QString &programName);
QString UnsavedPositionsPath(const QString &programName);

// Writes the list to UnsavedPositionsPath, replacing an earlier copy in one step. On failure
// error receives the reason.
bool SaveUnsavedPositions(const QString &programName, const QStringList &lines, QString *error);
