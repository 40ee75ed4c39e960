#include "app/command_line.h"

#include "report/report.h"
#include "support/system_info.h"

#include <QCommandLineParser>
#include <QDir>

namespace {

// The options that Qt's window toolkit reads from the command line and removes before the
// program sees it; those given a value take the next argument.
const char *const kToolkitOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
    "qwindowtitle", "session", "display", "geometry", "name", "style", "stylesheet",
    "qmljsdebugger", "dialogs", "fontengine",
};
const char *const kToolkitSwitches[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

QCommandLineOption hidden(QCommandLineOption option)
{
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

} // namespace

CommandLine ParseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    // The toolkit's options are words behind a single dash (-platform offscreen).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption inDataFolder(QStringLiteral("in-data-folder"));
    const QCommandLineOption report(QStringLiteral("report"));
    const QCommandLineOption csv(QStringLiteral("csv"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption save(QStringLiteral("save"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({inDataFolder, report, csv, json, save, help, version});
    for (const char *name : kToolkitOptionsWithValue)
        parser.addOption(hidden(QCommandLineOption(QLatin1String(name), QString(), QStringLiteral("value"))));
    for (const char *name : kToolkitSwitches)
        parser.addOption(hidden(QCommandLineOption(QLatin1String(name))));

    CommandLine result;
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
        return result;
    }
    if (parser.isSet(csv) && parser.isSet(json)) {
        result.error = QStringLiteral("--csv and --json cannot be given together.");
        return result;
    }
    if (!parser.isSet(report)) {
        for (const QCommandLineOption *reportOnly : {&csv, &json, &save}) {
            if (parser.isSet(*reportOnly)) {
                result.error = QStringLiteral("--%1 needs --report.").arg(reportOnly->names().first());
                return result;
            }
        }
    }

    result.inDataFolder = parser.isSet(inDataFolder);
    result.report.save = parser.isSet(save);
    result.report.format = parser.isSet(csv) ? ReportOptions::Csv
        : parser.isSet(json)                 ? ReportOptions::Json
                                             : ReportOptions::Table;
    result.action = parser.isSet(help)  ? CommandLine::Action::Help
        : parser.isSet(version)         ? CommandLine::Action::Version
        : parser.isSet(report)          ? CommandLine::Action::Report
                                        : CommandLine::Action::Window;
    return result;
}

QString UsageText()
{
    return QStringLiteral(
        "Usage: pelgrandix [--in-data-folder]\n"
        "       pelgrandix --report [--csv | --json] [--save] [--in-data-folder]\n"
        "       pelgrandix --help | --version\n");
}

QString HelpText()
{
    return UsageText() + QStringLiteral(
        "\n"
        "Without --report the program opens its window.\n"
        "\n"
        "  --in-data-folder  work in the data folder, so that the page copy and the probe's\n"
        "                    output stay out of the current folder\n"
        "  --report          download the prices once without a window, print every position\n"
        "                    and the totals, and end; needs no display\n"
        "  --csv             print the report as ';'-separated lines, as Historie.csv is written\n"
        "  --json            print the report as JSON\n"
        "  --save            save the updated positions to Regels.dat when a price changed, and\n"
        "                    add them to Historie.csv; nothing while the window is open\n"
        "  -h, --help        show this text\n"
        "  --version         show the release\n"
        "\n"
        "Exit status of --report: %1 when the download ran to its end, %2 when there was no\n"
        "connection or a page failed, %3 when the positions file cannot be read, a file cannot be\n"
        "written with --save or the window is open, or the report cannot be written; %4 for a\n"
        "wrong argument.\n"
        "Exit status of the window: 0 when it was closed, %5 when one is already open on the same\n"
        "data folder or no display can be reached.\n")
        .arg(kReportDone).arg(kReportDownloadFailed).arg(kReportFileFailed).arg(kUsageExitStatus)
        .arg(kWindowNotOpenedExitStatus);
}

bool EnterDataFolder(const QString &programName)
{
    return QDir::setCurrent(GetDataDir(programName));
}
