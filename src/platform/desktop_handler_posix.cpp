#include "platform/desktop_handler.h"

#include <QProcess>

namespace platform {

namespace {

constexpr int kQueryTimeLimitMs = 3000;
// A desktop file's name; anything longer is no answer.
constexpr qint64 kMaxAnswer = 4096;

} // namespace

bool desktopHandlesScheme(const QString &scheme)
{
    QProcess query;
    query.setStandardInputFile(QProcess::nullDevice());
    query.setStandardErrorFile(QProcess::nullDevice());
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"),
                 QStringLiteral("x-scheme-handler/") + scheme});
    if (!query.waitForFinished(kQueryTimeLimitMs)) {
        query.kill();
        query.waitForFinished();
        return false;
    }
    const QByteArray answer = query.read(kMaxAnswer).trimmed();
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0
           && !answer.isEmpty();
}

} // namespace platform
