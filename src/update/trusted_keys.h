#pragma once
// The public keys whose signature makes a version list count: those the program was built with
// (packaging/update-keys/*.pub, compiled in) and those the user put in the settings folder's
// Pelgrandix/update-keys/ (minisign's public key files, *.pub). Nothing that is downloaded can
// add a key.

#include <QByteArray>
#include <QList>
#include <QString>

#include "update/minisign.h"

// The key files' texts that the build compiled in.
const QList<QByteArray> &BuiltInUpdateKeyFiles();

// $XDG_CONFIG_HOME/Pelgrandix/update-keys/ (by default under ~/.config).
QString UserUpdateKeyFolder();

// The keys of the folder's *.pub files that nobody but the user can have written (see
// platform::readOwnFiles); a file that holds no key is passed over.
QList<minisign::PublicKey> UserUpdateKeys(const QString &folder);

// The built-in keys, then the user's own.
QList<minisign::PublicKey> TrustedUpdateKeys();
