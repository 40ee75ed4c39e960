#pragma once
// The positions file "Regels.dat" in the data folder, with the two backups "Regels!.dat" (the
// file before the last save) and "Regels!!.dat" (the one before that). Text in Windows-1252, one
// position line per line, CR LF when written, CR LF or LF when read.

#include <QString>
#include <QStringList>

#include "positions/file_lines.h"

namespace positions_file {

QString fileName(const QString &dataDir);         // Regels.dat
QString backupName(const QString &dataDir);       // Regels!.dat
QString olderBackupName(const QString &dataDir);  // Regels!!.dat

// More than any list of positions needs; a file beyond it is read up to it, in whole lines.
inline constexpr qsizetype kMaxFileBytes = 16 << 20;

struct LoadResult {
    FileLines lines;     // position lines in file order; comments and empty lines skipped
    bool complete = true;  // false when the file exists but could not be read to its end
    QString error;
    // What the user is told of an incomplete read.
    QString failureText() const { return QStringLiteral("Regels.dat kon niet volledig worden gelezen: ") + error; }
};
// A missing file gives an empty, complete result.
LoadResult load(const QString &dataDir);

struct SaveResult {
    bool saved = false;    // false: nothing was written and all three files are unchanged
    bool skipped = false;  // an empty list that was not asked to be written
    QString error;
    bool failed() const { return !saved && !skipped; }
};
// What the user is told when the positions could not be saved, for this reason.
inline QString saveFailureText(const QString &reason)
{
    return QStringLiteral("Posities niet opgeslagen: ") + reason;
}
// Writes the list: the new text goes to a temporary file in the data folder and is flushed to
// disk first; only then are the backups rotated and the new file moved into place, so that at
// every moment "Regels.dat" holds either the old list or the new one. An empty list is written
// only when allowEmpty is set (the user deleted the last position).
SaveResult save(const QString &dataDir, const QStringList &lines, bool allowEmpty = false);

// The bytes of the file for a list: Windows-1252, every line ended by CR LF.
QByteArray encode(const QStringList &lines);
// The position lines of the file's bytes.
FileLines decode(QByteArray bytes);

} // namespace positions_file
