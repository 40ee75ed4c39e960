#include "support/x_windows.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "support/offline_program.h"
#include "support/wait_until.h"

namespace {

constexpr int kEnlarged = 3;

} // namespace

QByteArray QuietSettings(const QByteArray &moreLines)
{
    return "Windows Registry Editor Version 5.00\r\n\r\n"
           "[HKEY_CURRENT_USER\\Software\\Pelgrandix\\Defaults]\r\n"
           "\"Updates Aan\"=\"0\"\r\n\"DownloadTimer\"=\"0\"\r\n"
           + moreLines;
}

QString StartOnDisplay(OfflineProgram &program, const QByteArray &siteHost)
{
    program.environment().insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    program.environment().insert(QStringLiteral("LANG"), QStringLiteral("nl_NL.UTF-8"));
    program.pointSitesAt(siteHost);
    program.ping().answer(ScriptedPing::Reply);
    program.process().setProcessChannelMode(QProcess::ForwardedChannels);
    if (!program.start())
        return QString();
    return WaitForWindow(QStringLiteral("^Pelgrandix, versie"));
}

QString OpenOverview(const QString &mainWindow)
{
    return ClickUntilWindow(mainWindow, {{670, 26}}, QStringLiteral("^Pelgrandix - Overzicht$"));
}

QString RunCommand(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList VisibleWindows(const QString &namePattern)
{
    return RunCommand(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", namePattern})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString WaitForWindow(const QString &namePattern)
{
    QStringList ids;
    waitUntil([&] { return !(ids = VisibleWindows(namePattern)).isEmpty(); });
    return ids.value(0);
}

QStringList Captions(const QString &window)
{
    const QString output = RunCommand(QStringLiteral("xprop"), {"-id", window, "WM_NAME", "_NET_WM_NAME"});
    static const QRegularExpression property(QStringLiteral("^\\S+\\(\\S+\\) = \"(.*)\"$"),
                                             QRegularExpression::MultilineOption);
    QStringList names;
    for (auto match = property.globalMatch(output); match.hasNext();)
        names << match.next().captured(1);
    return names;
}

void Click(const QString &window, int x, int y, int button)
{
    RunCommand(QStringLiteral("xdotool"), {"mousemove", "--window", window, QString::number(x),
                                           QString::number(y), "click", QString::number(button)});
}

QString ClickUntilWindow(const QString &window, const QList<QPoint> &points, const QString &namePattern)
{
    QStringList ids;
    waitUntil([&] {
        for (const QPoint &point : points)
            Click(window, point.x(), point.y());
        return waitUntil([&] { return !(ids = VisibleWindows(namePattern)).isEmpty(); }, 2000);
    });
    return ids.value(0);
}

void PressKeys(const QString &window, const QString &keys)
{
    // Typed as a keyboard types them (xdotool's --window would send made-up events instead,
    // which a modal dialog and a menu do not take as the user's), into the window given focus
    // first; without a window into what has the keyboard (an open menu, which focusing would
    // close).
    if (!window.isEmpty())
        RunCommand(QStringLiteral("xdotool"), {"windowfocus", "--sync", window});
    RunCommand(QStringLiteral("xdotool"),
               QStringList{"key", "--delay", "50"} + keys.split(QLatin1Char(' '), Qt::SkipEmptyParts));
}

bool TakePicture(const QString &window, const QString &path, int enlarged)
{
    // On the X display, whatever platform the test itself was given.
    QProcess shot;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    shot.setProcessEnvironment(environment);
    shot.start(QStringLiteral(PELGRANDIX_BIN_DIR "/pelgrandix-shot"), {window, path, QString::number(enlarged)});
    return shot.waitForFinished(10000) && shot.exitStatus() == QProcess::NormalExit && shot.exitCode() == 0;
}

QList<SeenWord> WordsInWindow(const QString &window)
{
    QTemporaryDir folder;
    const QString picture = folder.filePath(QStringLiteral("window.png"));
    if (!TakePicture(window, picture, kEnlarged))
        return {};
    // Tab-separated: level, page, block, paragraph, line, word, left, top, width, height,
    // confidence, text.
    const QString table = RunCommand(QStringLiteral("tesseract"), {picture, QStringLiteral("stdout"),
                                                                   QStringLiteral("--psm"), QStringLiteral("11"),
                                                                   QStringLiteral("tsv")});
    QList<SeenWord> words;
    for (const QString &line : table.split(QLatin1Char('\n'))) {
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (cells.size() != 12 || cells[0] != QLatin1String("5") || cells[11].trimmed().isEmpty())
            continue;
        const QRect place(cells[6].toInt(), cells[7].toInt(), cells[8].toInt(), cells[9].toInt());
        words.append({cells[11].trimmed(), QRect(place.topLeft() / kEnlarged, place.size() / kEnlarged)});
    }
    return words;
}

std::optional<SeenWord> FindWord(const QString &window, const std::function<bool(const QString &)> &wanted)
{
    std::optional<SeenWord> found;
    waitUntil([&] {
        for (const SeenWord &word : WordsInWindow(window)) {
            if (wanted(word.text))
                return (found = word).has_value();
        }
        return false;
    });
    return found;
}

void ClickWord(const QString &window, const SeenWord &word, int button)
{
    Click(window, word.place.center().x(), word.place.center().y(), button);
}

QString TextInWindow(const QString &window)
{
    QStringList texts;
    for (const SeenWord &word : WordsInWindow(window))
        texts << word.text;
    return texts.join(QLatin1Char(' '));
}
