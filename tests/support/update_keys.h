#pragma once
// The maker's signing key for a test: a key pair made at test time (no key of any real maker),
// whose public key the program trusts once trust() has put it in the user's key folder of the
// home in force. The lists a test serves are signed with it as the maker signs them.

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <string>

#include "update_signing.h"

class TestUpdateKey
{
public:
    TestUpdateKey() : m_keys(makeUpdateKeyPair()) {}

    // Writes the public key file into the user's key folder (both the user's alone), under the
    // given name.
    void trust(const QString &fileName = QStringLiteral("test.pub")) const;
    // The signature file of list, its trusted comment giving the time stamp.
    QByteArray sign(QByteArrayView list, qint64 timestamp = QDateTime::currentSecsSinceEpoch(),
                    bool prehashed = true) const;
    const UpdateKeyPair &keys() const { return m_keys; }

private:
    UpdateKeyPair m_keys;
};

// The checksum field of a program line for this installer: "sha256=" and 64 hexadecimal digits.
std::string Sha256Field(const std::string &installer);
