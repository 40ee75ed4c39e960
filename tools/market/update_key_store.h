#pragma once
// Where the demo site keeps the key pair that signs its version list: a secret key file given on
// the command line, or the one in its state folder ($XDG_STATE_HOME/pelgrandix-market/, by
// default ~/.local/state/...), made there at the first start. The folder is the user's alone
// (0700) and so is the secret key (0600).

#include <QString>

#include <optional>

#include "update_signing.h"

QString updateKeyFolder();

// The key pair of the secret key file, or of the state folder's, made when it has none. Nothing,
// with the reason in error, when the file cannot be read or made, or holds no key without a
// password.
std::optional<UpdateKeyPair> loadUpdateKey(const QString &secretKeyFile, QString &error);
