#include "positions/positions_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/file_commit.h"
#include "support/code_page.h"

namespace positions_file {

QString fileName(const QString &dataDir) { return dataDir + QStringLiteral("Regels.dat"); }
QString backupName(const QString &dataDir) { return dataDir + QStringLiteral("Regels!.dat"); }
QString olderBackupName(const QString &dataDir) { return dataDir + QStringLiteral("Regels!!.dat"); }

QByteArray encode(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += Windows1252Bytes(line);
        bytes += "\r\n";
    }
    return bytes;
}

QStringList decode(const QByteArray &bytes)
{
    // Each line is decoded from the file's bytes straight into a text of its own, rather than
    // the whole file into one text that is then cut up and copied line by line.
    QStringList lines;
    QByteArrayView rest(bytes);
    while (!rest.isEmpty()) {
        const qsizetype newline = rest.indexOf('\n');
        QByteArrayView line = newline < 0 ? rest : rest.first(newline);
        rest = newline < 0 ? QByteArrayView() : rest.sliced(newline + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        lines << Windows1252Text(line);
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
    // The bytes are read into their place: room for the whole file, up to the limit, and one
    // byte more, in which the next read finds the end, or that the file goes past the limit. A
    // file that has grown since it was measured is read on in steps.
    QByteArray bytes(std::min<qint64>(file.size(), kMaxFileBytes) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(std::min(filled + 64 * 1024, kMaxFileBytes + 1));
        const qint64 n = file.read(bytes.data() + filled, bytes.size() - filled);
        if (n == 0)
            break;
        if (n > 0)
            filled += n;
        const bool tooLarge = filled > kMaxFileBytes;
        if (n < 0 || tooLarge) {
            result.complete = false;
            result.error = tooLarge ? QStringLiteral("het bestand is groter dan %1 MiB")
                                          .arg(kMaxFileBytes >> 20)
                                    : file.errorString();
            // The last line read may be cut off in the middle; keep only whole lines.
            filled = QByteArrayView(bytes).first(std::min(filled, kMaxFileBytes)).lastIndexOf('\n') + 1;
            break;
        }
    }
    bytes.truncate(filled);
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
