#include "support/x_display.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include "support/wait_until.h"

namespace x_display {

namespace {

// The tool's output; "" when it did not end within ten seconds.
QString run(const QString &program, const QStringList &arguments, int *exitCode = nullptr)
{
    QProcess process;
    // The picture taker is a Qt program: on the X display, whatever platform the tests use.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return QString();
    }
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

QStringList visibleWindows(const QString &namePattern)
{
    return run(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", namePattern})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString waitForWindow(const QString &namePattern)
{
    QStringList ids;
    waitUntil([&] { return !(ids = visibleWindows(namePattern)).isEmpty(); });
    return ids.value(0);
}

QStringList captions(const QString &window)
{
    const QString output = run(QStringLiteral("xprop"), {"-id", window, "WM_NAME", "_NET_WM_NAME"});
    static const QRegularExpression property(QStringLiteral("^\\S+\\(\\S+\\) = \"(.*)\"$"),
                                             QRegularExpression::MultilineOption);
    QStringList names;
    for (auto match = property.globalMatch(output); match.hasNext();)
        names << match.next().captured(1);
    return names;
}

void click(const QString &window, int x, int y)
{
    run(QStringLiteral("xdotool"), {"mousemove", "--window", window, QString::number(x),
                                    QString::number(y), "click", "1"});
}

QString clickUntilWindow(const QString &window, const QList<QPoint> &points, const QString &namePattern)
{
    QStringList ids;
    waitUntil([&] {
        for (const QPoint &point : points)
            click(window, point.x(), point.y());
        return waitUntil([&] { return !(ids = visibleWindows(namePattern)).isEmpty(); }, 2000);
    });
    return ids.value(0);
}

void pressKeys(const QString &window, const QString &keys)
{
    run(QStringLiteral("xdotool"), {"windowfocus", "--sync", window, "key", keys});
}

bool takePicture(const QString &window, const QString &path)
{
    int exitCode = -1;
    run(QStringLiteral(PELGRANDIX_BIN_DIR "/pelgrandix-shot"), {window, path}, &exitCode);
    return exitCode == 0;
}

} // namespace x_display
