#include "app/command_line.h"

#include "support/system_info.h"

#include <QCommandLineParser>
#include <QDir>

CommandLine ParseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption inDataFolder(
        QStringLiteral("in-data-folder"),
        QStringLiteral("Run in the data folder, so that page copies stay out of the current folder."));
    parser.addOption(inDataFolder);

    CommandLine result;
    if (!parser.parse(arguments))
        result.error = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        result.error = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
    else
        result.inDataFolder = parser.isSet(inDataFolder);
    return result;
}

bool EnterDataFolder(const QString &programName)
{
    return QDir::setCurrent(GetDataDir(programName));
}
