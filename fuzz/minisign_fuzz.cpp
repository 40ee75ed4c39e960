// The version list's signature file and the user's public key files on arbitrary bytes: they are
// read before anything is known of them. Reading must never fail in any other way than by giving
// nothing, and what is read must be what the formats allow.

#include "fuzz_support.h"

#include "update/minisign.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<minisign::Signature> signature = minisign::parseSignature(bytes)) {
        FUZZ_CHECK(signature->keyId.size() == minisign::kKeyIdBytes
                       && signature->signature.size() == minisign::kSignatureBytes
                       && signature->globalSignature.size() == minisign::kSignatureBytes
                       && !signature->trustedComment.contains('\n'),
                   QString::fromLatin1(bytes.first(qMin(bytes.size(), qsizetype(80)))));
        const std::optional<qint64> seconds = minisign::timestampOf(signature->trustedComment);
        FUZZ_CHECK(!seconds || *seconds >= 0, QString::number(seconds.value_or(0)));
    }
    if (const std::optional<minisign::PublicKey> key = minisign::parsePublicKey(bytes)) {
        FUZZ_CHECK(key->id.size() == minisign::kKeyIdBytes && key->key.size() == minisign::kPublicKeyBytes,
                   QString::fromLatin1(bytes.first(qMin(bytes.size(), qsizetype(80)))));
    }
    return 0;
}
