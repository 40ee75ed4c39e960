#pragma once
// The user's files are the user's alone: the folders the program keeps them in are open to the
// user only (0700) and its files readable and writable by the user only (0600), whatever the
// umask, and a looser file is tightened when the program next writes it. And files the program
// trusts (the keys that vouch for an update) count only when nobody but the user can have
// written them.

#include <QByteArray>
#include <QFileDevice>
#include <QList>
#include <QString>

namespace platform {

// Makes the folder with any missing parents, and closes it to everyone but its owner when it is
// the user's own (a folder of another owner is left as it is). False when it cannot be made.
bool makePrivateFolder(const QString &path);

// Takes every right of group and others away from the open file (or the file at path) when it
// is the user's own; false when that cannot be done.
bool makePrivate(QFileDevice &file);
bool makePrivate(const QString &path);

// The rights a file the program writes gets: read and write for the user.
inline constexpr QFileDevice::Permissions kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

struct OwnFile {
    QString name;
    QByteArray bytes;
};

// The files of the folder whose names end in suffix, in the order of their names, that only the
// user can have written: the folder and the one above it belong to the user and neither group
// nor others may write them; each file is a plain file (no link) of the user's that neither
// group nor others may write, of at most maxBytes. Every other file is passed over, as is the
// whole folder when it does not pass; at most maxFiles are read.
QList<OwnFile> readOwnFiles(const QString &folder, const QString &suffix, qsizetype maxBytes,
                            int maxFiles);

} // namespace platform
