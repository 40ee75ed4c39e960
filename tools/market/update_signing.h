#pragma once
// Signing the version list as minisign signs a file, with libsodium: the demo site signs the list
// it serves, and the tests sign the lists they serve, with key pairs in minisign's own files, so
// that `minisign -V` verifies what they sign and `minisign -G -W` makes keys they can use.

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

struct UpdateKeyPair {
    QByteArray keyId;      // 8 bytes
    QByteArray publicKey;  // 32 bytes
    QByteArray secretKey;  // 64 bytes, the public key in its second half
};

// A new key pair with a random key id.
UpdateKeyPair makeUpdateKeyPair();

// minisign's public key file: an untrusted comment naming the key id, and the key in base64.
QByteArray publicKeyFile(const UpdateKeyPair &keys);
// minisign's secret key file without a password (as `minisign -G -W` writes it).
QByteArray secretKeyFile(const UpdateKeyPair &keys);
// The key pair of a secret key file without a password; nothing for any other text, for a key
// protected by a password, or for one whose checksum does not hold (minisign's zero checksum of
// a key without a password holds).
std::optional<UpdateKeyPair> readSecretKeyFile(QByteArrayView text);

// minisign's signature file of message: signed pre-hashed (BLAKE2b-512, as minisign does by
// default) or as it is (the legacy form), with the trusted comment signed beside it.
QByteArray signatureFile(const UpdateKeyPair &keys, QByteArrayView message,
                         QByteArrayView trustedComment, bool prehashed = true);
