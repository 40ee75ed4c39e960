#include "positions/positions_file.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>

#include "platform/file_commit.h"

namespace positions_file {

QString fileName(const QString &dataDir) { return dataDir + QStringLiteral("Regels.dat"); }
QString backupName(const QString &dataDir) { return dataDir + QStringLiteral("Regels!.dat"); }
QString olderBackupName(const QString &dataDir) { return dataDir + QStringLiteral("Regels!!.dat"); }

QByteArray encode(const QStringList &lines)
{
    QStringEncoder encoder("Windows-1252");
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += encoder.encode(line);
        bytes += "\r\n";
    }
    return bytes;
}

QStringList decode(const QByteArray &bytes)
{
    QStringDecoder decoder("Windows-1252");
    const QString text = decoder.decode(bytes);
    QStringList lines;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        lines << line.toString();
    }
    return lines;
}

LoadResult load(const QString &dataDir)
{
    LoadResult result;
    QFile file(fileName(dataDir));
    if (!file.exists())
        return result;
    if (!file.open(QIODevice::ReadOnly)) {
        result.complete = false;
        result.error = file.errorString();
        return result;
    }
    QByteArray bytes;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 n = file.read(buffer, sizeof buffer);
        if (n == 0)
            break;
        const bool tooLarge = n > 0 && bytes.size() + n > kMaxFileBytes;
        if (n < 0 || tooLarge) {
            result.complete = false;
            result.error = tooLarge ? QStringLiteral("het bestand is groter dan %1 MiB")
                                          .arg(kMaxFileBytes >> 20)
                                    : file.errorString();
            if (tooLarge)
                bytes.append(buffer, kMaxFileBytes - bytes.size());
            // The last line read may be cut off in the middle; keep only whole lines.
            bytes.truncate(bytes.lastIndexOf('\n') + 1);
            break;
        }
        bytes.append(buffer, n);
    }
    result.lines = decode(bytes);
    return result;
}

SaveResult save(const QString &dataDir, const QStringList &lines, bool allowEmpty)
{
    SaveResult result;
    if (lines.isEmpty() && !allowEmpty) {
        result.skipped = true;
        return result;
    }

    QTemporaryFile temp(dataDir + QStringLiteral("Regels.XXXXXX.tmp"));
    if (!temp.open()) {
        result.error = temp.errorString();
        return result;
    }
    // A temporary file is private to its owner; the positions file keeps the permissions it had.
    const QString existing = fileName(dataDir);
    temp.setPermissions(QFile::exists(existing)
                            ? QFile::permissions(existing)
                            : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (!platform::writeAll(temp, encode(lines), &result.error))
        return result;
    if (!platform::syncToDisk(temp)) {
        result.error = QString::fromLocal8Bit(std::strerror(errno));
        return result;
    }

    // Rotate the backups. The current file becomes "Regels!.dat" by a second name (a link or a
    // copy), so "Regels.dat" itself is never missing; the new text then replaces it in one step.
    // The oldest backup is only set aside until that step succeeded, so a failure can put all
    // three files back as they were.
    const QString &current = existing;
    const QString backup = backupName(dataDir);
    const QString older = olderBackupName(dataDir);
    const QString setAside = older + QStringLiteral(".old");
    QFile::remove(setAside);
    const bool hadOlder = QFile::rename(older, setAside);
    const bool hadBackup = QFile::rename(backup, older);
    if (QFile::exists(current))
        platform::linkOrCopy(current, backup);

    QString error;
    if (!platform::replaceFile(temp.fileName(), current, &error)) {
        QFile::remove(backup);
        if (hadBackup)
            QFile::rename(older, backup);
        if (hadOlder)
            QFile::rename(setAside, older);
        result.error = error;
        return result;
    }
    QFile::remove(setAside);
    temp.setAutoRemove(false);
    platform::syncFolder(dataDir);
    result.saved = true;
    return result;
}

} // namespace positions_file
