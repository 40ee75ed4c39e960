#include "update/minisign.h"

#include <QList>

#include <sodium.h>

namespace minisign {

namespace {

const QByteArray kUntrustedPrefix = "untrusted comment: ";
const QByteArray kTrustedPrefix = "trusted comment: ";
const QByteArray kTimestampPrefix = "timestamp:";
constexpr char kLegacyAlgorithm[] = "Ed";
constexpr char kPrehashedAlgorithm[] = "ED";
constexpr qsizetype kAlgorithmBytes = 2;
constexpr qsizetype kPrehashBytes = crypto_generichash_BYTES_MAX;  // BLAKE2b-512

bool sodiumReady()
{
    // Safe to call from any thread, and again; below 0 the library cannot be used at all.
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// The lines of a small text file, without their line ends; nothing for a file too long to be one.
std::optional<QList<QByteArray>> linesOf(QByteArrayView text)
{
    if (text.size() > kLongestFileBytes)
        return std::nullopt;
    QList<QByteArray> lines = text.toByteArray().split('\n');
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

// Base64 of exactly the expected length; nothing for anything else.
std::optional<QByteArray> decoded(const QByteArray &line, qsizetype bytes)
{
    const QByteArray::FromBase64Result result =
        QByteArray::fromBase64Encoding(line, QByteArray::AbortOnBase64DecodingErrors);
    if (!result || result.decoded.size() != bytes)
        return std::nullopt;
    return result.decoded;
}

bool verifyDetached(const QByteArray &signature, QByteArrayView message, const QByteArray &key)
{
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char *>(signature.constData()),
                                       reinterpret_cast<const unsigned char *>(message.data()),
                                       quint64(message.size()),
                                       reinterpret_cast<const unsigned char *>(key.constData())) == 0;
}

} // namespace

std::optional<PublicKey> parsePublicKey(QByteArrayView text)
{
    const std::optional<QList<QByteArray>> lines = linesOf(text);
    if (!lines || lines->isEmpty() || lines->size() > 2)
        return std::nullopt;
    if (lines->size() == 2 && !lines->constFirst().startsWith(kUntrustedPrefix))
        return std::nullopt;
    const std::optional<QByteArray> bytes =
        decoded(lines->constLast(), kAlgorithmBytes + kKeyIdBytes + kPublicKeyBytes);
    if (!bytes || !bytes->startsWith(kLegacyAlgorithm))
        return std::nullopt;
    return PublicKey{bytes->mid(kAlgorithmBytes, kKeyIdBytes),
                     bytes->mid(kAlgorithmBytes + kKeyIdBytes)};
}

std::optional<Signature> parseSignature(QByteArrayView text)
{
    const std::optional<QList<QByteArray>> lines = linesOf(text);
    if (!lines || lines->size() != 4 || !lines->at(0).startsWith(kUntrustedPrefix)
        || !lines->at(2).startsWith(kTrustedPrefix))
        return std::nullopt;
    const std::optional<QByteArray> first =
        decoded(lines->at(1), kAlgorithmBytes + kKeyIdBytes + kSignatureBytes);
    const std::optional<QByteArray> global = decoded(lines->at(3), kSignatureBytes);
    if (!first || !global)
        return std::nullopt;
    Signature signature;
    if (first->startsWith(kPrehashedAlgorithm))
        signature.prehashed = true;
    else if (!first->startsWith(kLegacyAlgorithm))
        return std::nullopt;
    signature.keyId = first->mid(kAlgorithmBytes, kKeyIdBytes);
    signature.signature = first->mid(kAlgorithmBytes + kKeyIdBytes);
    signature.trustedComment = lines->at(2).mid(kTrustedPrefix.size());
    signature.globalSignature = *global;
    return signature;
}

bool verify(const Signature &signature, const PublicKey &key, QByteArrayView message)
{
    if (!sodiumReady() || signature.keyId != key.id || key.key.size() != kPublicKeyBytes)
        return false;
    bool signedMessage = false;
    if (signature.prehashed) {
        unsigned char hash[kPrehashBytes];
        crypto_generichash(hash, sizeof hash, reinterpret_cast<const unsigned char *>(message.data()),
                           quint64(message.size()), nullptr, 0);
        signedMessage = verifyDetached(signature.signature,
                                       QByteArrayView(reinterpret_cast<const char *>(hash), sizeof hash),
                                       key.key);
    } else {
        signedMessage = verifyDetached(signature.signature, message, key.key);
    }
    return signedMessage
           && verifyDetached(signature.globalSignature, signature.signature + signature.trustedComment,
                             key.key);
}

std::optional<qint64> timestampOf(QByteArrayView trustedComment)
{
    if (!trustedComment.startsWith(kTimestampPrefix))
        return std::nullopt;
    QByteArrayView digits = trustedComment.sliced(kTimestampPrefix.size());
    qsizetype end = 0;
    while (end < digits.size() && digits.at(end) != '\t' && digits.at(end) != ' ')
        ++end;
    digits = digits.first(end);
    // Seconds since 1970 in plain digits: no sign, no blanks, nothing that overflows.
    constexpr qsizetype kLongestSeconds = 18;
    if (digits.isEmpty() || digits.size() > kLongestSeconds)
        return std::nullopt;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
    }
    return digits.toLongLong();
}

std::optional<qint64> verifiedTimestamp(QByteArrayView message, QByteArrayView signatureFile,
                                        const QList<PublicKey> &keys)
{
    const std::optional<Signature> signature = parseSignature(signatureFile);
    if (!signature)
        return std::nullopt;
    for (const PublicKey &key : keys) {
        if (verify(*signature, key, message))
            return timestampOf(signature->trustedComment);
    }
    return std::nullopt;
}

} // namespace minisign
