#include "update_signing.h"

#include <QList>

#include <sodium.h>

#include <cstdlib>

namespace {

constexpr qsizetype kKeyIdBytes = 8;
constexpr qsizetype kSaltBytes = 32;
constexpr qsizetype kLimitBytes = 8;
constexpr qsizetype kChecksumBytes = crypto_generichash_BYTES;
const QByteArray kSignatureAlgorithm = "Ed";
const QByteArray kPrehashedAlgorithm = "ED";
const QByteArray kChecksumAlgorithm = "B2";
// A secret key file without a password names no key derivation.
const QByteArray kNoDerivation(2, '\0');

void needSodium()
{
    if (sodium_init() < 0)
        std::abort();  // no randomness for keys, and nothing to sign with
}

const unsigned char *bytes(QByteArrayView view)
{
    return reinterpret_cast<const unsigned char *>(view.data());
}

QByteArray sign(const UpdateKeyPair &keys, QByteArrayView message)
{
    QByteArray signature(crypto_sign_BYTES, Qt::Uninitialized);
    crypto_sign_detached(reinterpret_cast<unsigned char *>(signature.data()), nullptr,
                         bytes(message), quint64(message.size()), bytes(keys.secretKey));
    return signature;
}

// The secret key's checksum: BLAKE2b-256 of the algorithm, the key id and the key.
QByteArray checksum(const UpdateKeyPair &keys)
{
    QByteArray sum(kChecksumBytes, Qt::Uninitialized);
    crypto_generichash_state state;
    crypto_generichash_init(&state, nullptr, 0, size_t(sum.size()));
    const QByteArray covered = kSignatureAlgorithm + keys.keyId + keys.secretKey;
    crypto_generichash_update(&state, bytes(covered), quint64(covered.size()));
    crypto_generichash_final(&state, reinterpret_cast<unsigned char *>(sum.data()), size_t(sum.size()));
    return sum;
}

// minisign names a key by its id read as a little-endian number, in hexadecimal capitals.
QByteArray keyIdText(const QByteArray &keyId)
{
    QByteArray reversed;
    for (auto byte = keyId.crbegin(); byte != keyId.crend(); ++byte)
        reversed += *byte;
    return reversed.toHex().toUpper();
}

} // namespace

UpdateKeyPair makeUpdateKeyPair()
{
    needSodium();
    UpdateKeyPair keys;
    keys.keyId.resize(kKeyIdBytes);
    keys.publicKey.resize(crypto_sign_PUBLICKEYBYTES);
    keys.secretKey.resize(crypto_sign_SECRETKEYBYTES);
    randombytes_buf(keys.keyId.data(), size_t(keys.keyId.size()));
    crypto_sign_keypair(reinterpret_cast<unsigned char *>(keys.publicKey.data()),
                        reinterpret_cast<unsigned char *>(keys.secretKey.data()));
    return keys;
}

QByteArray publicKeyFile(const UpdateKeyPair &keys)
{
    return "untrusted comment: minisign public key " + keyIdText(keys.keyId) + "\n"
           + (kSignatureAlgorithm + keys.keyId + keys.publicKey).toBase64() + "\n";
}

QByteArray secretKeyFile(const UpdateKeyPair &keys)
{
    const QByteArray unused(kSaltBytes + 2 * kLimitBytes, '\0');
    return "untrusted comment: minisign secret key " + keyIdText(keys.keyId) + "\n"
           + (kSignatureAlgorithm + kNoDerivation + kChecksumAlgorithm + unused + keys.keyId
              + keys.secretKey + checksum(keys))
                 .toBase64()
           + "\n";
}

std::optional<UpdateKeyPair> readSecretKeyFile(QByteArrayView text)
{
    needSodium();
    const QList<QByteArray> lines = text.toByteArray().trimmed().split('\n');
    if (lines.size() != 2 || !lines.at(0).startsWith("untrusted comment: "))
        return std::nullopt;
    const auto decoded = QByteArray::fromBase64Encoding(lines.at(1).trimmed(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    constexpr qsizetype kHead = 6 + kSaltBytes + 2 * kLimitBytes;
    const QByteArray file = decoded.decoded;
    if (!decoded || file.size() != kHead + kKeyIdBytes + crypto_sign_SECRETKEYBYTES + kChecksumBytes
        || file.first(2) != kSignatureAlgorithm || file.sliced(2, 2) != kNoDerivation
        || file.sliced(4, 2) != kChecksumAlgorithm)
        return std::nullopt;
    UpdateKeyPair keys;
    keys.keyId = file.sliced(kHead, kKeyIdBytes);
    keys.secretKey = file.sliced(kHead + kKeyIdBytes, crypto_sign_SECRETKEYBYTES);
    keys.publicKey = keys.secretKey.sliced(crypto_sign_SECRETKEYBYTES - crypto_sign_PUBLICKEYBYTES);
    // minisign itself leaves the checksum of a key without a password at zero.
    const QByteArray sum = file.last(kChecksumBytes);
    if (sum != checksum(keys) && sum != QByteArray(kChecksumBytes, '\0'))
        return std::nullopt;
    return keys;
}

QByteArray signatureFile(const UpdateKeyPair &keys, QByteArrayView message,
                         QByteArrayView trustedComment, bool prehashed)
{
    needSodium();
    QByteArray signature;
    if (prehashed) {
        QByteArray hash(crypto_generichash_BYTES_MAX, Qt::Uninitialized);
        crypto_generichash(reinterpret_cast<unsigned char *>(hash.data()), size_t(hash.size()),
                           bytes(message), quint64(message.size()), nullptr, 0);
        signature = sign(keys, hash);
    } else {
        signature = sign(keys, message);
    }
    const QByteArray global = sign(keys, signature + trustedComment.toByteArray());
    return "untrusted comment: signature from minisign secret key\n"
           + ((prehashed ? kPrehashedAlgorithm : kSignatureAlgorithm) + keys.keyId + signature).toBase64()
           + "\ntrusted comment: " + trustedComment.toByteArray() + "\n" + global.toBase64() + "\n";
}
