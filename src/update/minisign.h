#pragma once
// Detached signatures in minisign's formats, checked with libsodium: the maker signs the version
// list with `minisign -S`, and the program trusts a list only when its signature verifies with a
// public key it holds. Both forms minisign writes are read: the plain one ("Ed", the file itself
// signed) and the pre-hashed one ("ED", its BLAKE2b-512 signed). The trusted comment is signed
// too (the global signature), so that its time stamp cannot be changed either.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

namespace minisign {

inline constexpr qsizetype kKeyIdBytes = 8;
inline constexpr qsizetype kPublicKeyBytes = 32;
inline constexpr qsizetype kSecretKeyBytes = 64;
inline constexpr qsizetype kSignatureBytes = 64;
// Far beyond any key or signature file: the two base64 lines and two comment lines.
inline constexpr qsizetype kLongestFileBytes = 4096;

struct PublicKey {
    QByteArray id;   // 8 bytes, as in the file
    QByteArray key;  // 32 bytes of Ed25519
};

struct Signature {
    bool prehashed = false;  // "ED": the signature is of the file's BLAKE2b-512
    QByteArray keyId;
    QByteArray signature;       // of the file (or its hash)
    QByteArray trustedComment;  // the text after "trusted comment: "
    QByteArray globalSignature; // of signature followed by the trusted comment
};

// A public key file ("untrusted comment: ..." and the base64 line) or the base64 line alone.
// Nothing for any other text.
std::optional<PublicKey> parsePublicKey(QByteArrayView text);
// A signature file: its untrusted comment, the base64 signature, the trusted comment and the
// base64 global signature, one a line. Nothing for any other text.
std::optional<Signature> parseSignature(QByteArrayView text);

// Whether signature is the key's signature of message, trusted comment included.
bool verify(const Signature &signature, const PublicKey &key, QByteArrayView message);

// The time stamp a trusted comment carries as "timestamp:<seconds since 1970>", alone or
// followed by a tab or blank and more; nothing when it carries none.
std::optional<qint64> timestampOf(QByteArrayView trustedComment);

// The time stamp of the signature file when one of keys verifies it as the signature of message;
// nothing when the file is no signature, no key verifies it, or its trusted comment holds no time
// stamp.
std::optional<qint64> verifiedTimestamp(QByteArrayView message, QByteArrayView signatureFile,
                                        const QList<PublicKey> &keys);

} // namespace minisign
