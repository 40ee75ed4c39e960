#include "positions/positions_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/file_commit.h"
#include "platform/private_files.h"
#include "support/code_page.h"

namespace positions_file {

QString fileName(const QString &dataDir) { return dataDir + QStringLiteral("Regels.dat"); }
QString backupName(const QString &dataDir) { return dataDir + QStringLiteral("Regels!.dat"); }
QString olderBackupName(const QString &dataDir) { return dataDir + QStringLiteral("Regels!!.dat"); }

QByteArray encode(const QStringList &lines)
{
    return Windows1252Bytes(lines, "\r\n");
}

FileLines decode(QByteArray bytes)
{
    // The lines are only marked in the file's bytes, which the result keeps: a text of its own
    // for each of many thousands of lines would cost many times the reading of the file, and is
    // made only for the lines that are asked for.
    QList<FileLines::Range> ranges;
    // Room for as many lines as a file of positions holds (a line is some 50 bytes), so that the
    // list is not copied again and again as it grows; a file of shorter lines grows it further.
    ranges.reserve(bytes.size() / 48);
    const char *const begin = bytes.constData();
    const char *const end = begin + bytes.size();
    // An editor that saved the file as UTF-8 may have put a byte order mark before the first
    // line (and files joined together, before others): read as part of a line, it would make
    // its series "ï»¿AEX", a weekly series. Passed over wherever a line starts, so that no line
    // read starts with one, and each line is read back as it is written.
    constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");
    for (const char *start = begin; start < end;) {
        // Compared in place, as this is done for every line of a long file.
        while (end - start >= kByteOrderMark.size()
               && std::memcmp(start, kByteOrderMark.data(), kByteOrderMark.size()) == 0)
            start += kByteOrderMark.size();
        const auto *newline = static_cast<const char *>(std::memchr(start, '\n', size_t(end - start)));
        const char *lineEnd = newline ? newline : end;
        qsizetype length = lineEnd - start;
        if (length > 0 && start[length - 1] == '\r')
            --length;
        if (length > 0 && *start != ';')
            ranges.append({qint32(start - begin), qint32(length)});
        start = lineEnd + 1;
    }
    return FileLines(std::move(bytes), std::move(ranges));
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
    result.lines = decode(std::move(bytes));
    return result;
}

namespace {

// The file that a path names after following its links; the path itself when it is no link or
// its link leads nowhere (a new file is then made in its place).
QString filePathBehindLinks(const QString &path)
{
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.canonicalFilePath() : QString();
    return target.isEmpty() ? path : target;
}

} // namespace

SaveResult save(const QString &dataDir, const QStringList &lines, bool allowEmpty)
{
    SaveResult result;
    if (lines.isEmpty() && !allowEmpty) {
        result.skipped = true;
        return result;
    }

    // A positions file that is a link to one kept elsewhere (in a folder that is synchronised,
    // say) is replaced where it lies, so that the link stays and that file gets the new list.
    const QString existing = filePathBehindLinks(fileName(dataDir));
    QTemporaryFile temp(QFileInfo(existing).absolutePath() + QStringLiteral("/Regels.XXXXXX.tmp"));
    if (!temp.open()) {
        result.error = temp.errorString();
        return result;
    }
    // The positions are the user's alone: the new file gets the rights the user had on the old
    // one (read and write for a new one), and none for group and others, whatever an older
    // release gave them.
    constexpr QFileDevice::Permissions kOwnerRights = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    temp.setPermissions(QFile::exists(existing) ? QFile::permissions(existing) & kOwnerRights
                                                : platform::kPrivateFile);
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
    // The backups hold the same positions.
    platform::makePrivate(backup);
    platform::makePrivate(older);
    platform::syncFolder(dataDir);
    const QString fileFolder = QFileInfo(existing).absolutePath() + QLatin1Char('/');
    if (fileFolder != dataDir)
        platform::syncFolder(fileFolder);
    result.saved = true;
    return result;
}

} // namespace positions_file
