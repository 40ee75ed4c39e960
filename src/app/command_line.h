#pragma once
// The program's command line, read before anything else is started. Without arguments the
// program opens its window. Started from the desktop menu it is in the home folder;
// --in-data-folder makes it take its data folder as current folder instead, so that the files
// it keeps in the current folder (the probe's output, the copy of the last page) do not land
// among the user's own. --report runs one download without a window and prints the positions.

#include <QString>
#include <QStringList>

#include "report/report.h"

struct CommandLine
{
    enum class Action { Window, Report, Help, Version };
    Action action = Action::Window;
    bool inDataFolder = false;
    ReportOptions report;
    // Empty when every argument was understood; else what to tell the user.
    QString error;
};

// The arguments as the program was given them, its own name first. The toolkit's own options
// (-platform, -style, ...) are passed over here: the window's toolkit takes them itself.
CommandLine ParseCommandLine(const QStringList &arguments);

// The ways to call the program, shown after the message about a wrong argument; and all that
// --help prints: those and what each option does.
QString UsageText();
QString HelpText();

// The exit status for a wrong argument (EX_USAGE of sysexits.h).
inline constexpr int kUsageExitStatus = 64;
// The exit status of a window that did not open: another one is open on the same data folder,
// or there is no display to show it on.
inline constexpr int kWindowNotOpenedExitStatus = 1;

// Makes the program's data folder, created when missing, the current folder; false when it
// cannot, and the current folder is then as it was.
bool EnterDataFolder(const QString &programName);
