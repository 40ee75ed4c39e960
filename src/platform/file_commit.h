#pragma once
// File operations that a safe save is built from: flushing to the disk itself, a second name
// for a file, and replacing a file in one step.

#include <QFileDevice>
#include <QString>

namespace platform {

// Flushes the file's data to the disk (not only to the system's cache).
bool syncToDisk(QFileDevice &file);
// Makes the folder's entries (renames, new names) durable.
void syncFolder(const QString &folder);
// Gives the file a second name: a hard link where the file system has them, else a copy.
bool linkOrCopy(const QString &from, const QString &to);
// Moves from onto to, replacing to in one step. On failure error receives the reason.
bool replaceFile(const QString &from, const QString &to, QString *error);

} // namespace platform
