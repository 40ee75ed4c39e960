#include "positions/unsaved_positions.h"

#include <QDir>
#include <QSaveFile>

#include "platform/private_files.h"
#include "positions/positions_file.h"

QString StateFolder(const QString &programName)
{
    // A relative path in the variable is to be ignored, as for every XDG base folder.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(base) + QLatin1Char('/') + programName + QLatin1Char('/');
}

QString UnsavedPositionsPath(const QString &programName)
{
    return StateFolder(programName) + QStringLiteral("Regels.dat.unsaved");
}

bool SaveUnsavedPositions(const QString &programName, const QStringList &lines, QString *error)
{
    const QString folder = StateFolder(programName);
    if (!platform::makePrivateFolder(folder)) {
        *error = QStringLiteral("map %1 niet aangemaakt").arg(folder);
        return false;
    }
    QSaveFile file(UnsavedPositionsPath(programName));
    if (!file.open(QIODevice::WriteOnly) || !platform::makePrivate(file)
        || file.write(positions_file::encode(lines)) < 0 || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
