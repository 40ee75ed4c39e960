#pragma once
// File operations that a safe save is built from: writing a file's bytes out, flushing to the
// disk itself, a second name for a file, and replacing a file in one step.

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace platform {

// Writes all bytes to the open file at its descriptor's position, past Qt's buffer (whose
// position it does not move: meant for writing a new file's whole content at once). On failure
// error receives the system's reason; the file may then hold part of the bytes.
bool writeAll(QFileDevice &file, const QByteArray &bytes, QString *error);
// Flushes the file's data to the disk (not only to the system's cache).
bool syncToDisk(QFileDevice &file);
// Makes the folder's entries (renames, new names) durable.
void syncFolder(const QString &folder);
// Gives the file a second name: a hard link where the file system has them, else a copy.
bool linkOrCopy(const QString &from, const QString &to);
// Moves from onto to, replacing to in one step. On failure error receives the reason.
bool replaceFile(const QString &from, const QString &to, QString *error);

// For tests: makes writeAll behave as on a disk with this many bytes free, counted over all
// calls from now on: the bytes that fit are stored, then the write fails as on a full disk
// (ENOSPC). A negative value lifts the limit (the default).
void setWriteLimitForTesting(qint64 bytesBeforeFailure);

} // namespace platform
