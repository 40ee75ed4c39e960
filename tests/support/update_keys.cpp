#include "support/update_keys.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include "support/files.h"
#include "update/trusted_keys.h"

void TestUpdateKey::trust(const QString &fileName) const
{
    const QString folder = UserUpdateKeyFolder();
    QDir().mkpath(folder);
    for (const QString &own : {folder, folder + QStringLiteral("..")})
        QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeFile(folder + fileName, publicKeyFile(m_keys), QFile::ReadOwner | QFile::WriteOwner);
}

QByteArray TestUpdateKey::sign(QByteArrayView list, qint64 timestamp, bool prehashed) const
{
    return signatureFile(m_keys, list, "timestamp:" + QByteArray::number(timestamp) + "\tfile:versions.dat",
                         prehashed);
}

std::string Sha256Field(const std::string &installer)
{
    return "sha256="
           + QCryptographicHash::hash(QByteArray::fromStdString(installer), QCryptographicHash::Sha256)
                 .toHex()
                 .toStdString();
}
