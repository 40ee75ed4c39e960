#include "update/trusted_keys.h"

#include <QStandardPaths>

#include "platform/private_files.h"
#include "support/product.h"

namespace {

// More keys than a user trusts: a folder filled with files cannot make every check read them all.
constexpr int kMostUserKeys = 64;

} // namespace

QString UserUpdateKeyFolder()
{
    const QString program = QLatin1String(kProgramName);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + program
           + QStringLiteral("/update-keys/");
}

QList<minisign::PublicKey> UserUpdateKeys(const QString &folder)
{
    QList<minisign::PublicKey> keys;
    for (const platform::OwnFile &file : platform::readOwnFiles(folder, QStringLiteral(".pub"),
                                                                minisign::kLongestFileBytes,
                                                                kMostUserKeys)) {
        if (const std::optional<minisign::PublicKey> key = minisign::parsePublicKey(file.bytes))
            keys.append(*key);
    }
    return keys;
}

QList<minisign::PublicKey> TrustedUpdateKeys()
{
    QList<minisign::PublicKey> keys;
    for (const QByteArray &file : BuiltInUpdateKeyFiles()) {
        if (const std::optional<minisign::PublicKey> key = minisign::parsePublicKey(file))
            keys.append(*key);
    }
    return keys + UserUpdateKeys(UserUpdateKeyFolder());
}
