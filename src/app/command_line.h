#pragma once
// The program's command line. Started from the desktop menu, the program is in the home folder;
// --in-data-folder makes it take its data folder as current folder instead, so that the files
// it keeps in the current folder (the probe's output, the copy of the last page) do not land
// among the user's own.

#include <QString>
#include <QStringList>

struct CommandLine
{
    bool inDataFolder = false;
    // Empty when every argument was understood; else what to tell the user.
    QString error;
};

// The arguments as the application holds them, the program's own name first.
CommandLine ParseCommandLine(const QStringList &arguments);

// Makes the program's data folder, created when missing, the current folder; false when it
// cannot, and the current folder is then as it was.
bool EnterDataFolder(const QString &programName);
