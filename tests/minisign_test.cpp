#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>
#include <optional>

#include "support/files.h"
#include "update/minisign.h"

// Signatures as minisign itself makes them, checked by the program, and every way of changing a
// list, its signature or its time stamp afterwards.

namespace {

// minisign in a folder of its own: a key pair made for the test, and files signed with it.
class Minisign : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable("minisign").isEmpty())
            GTEST_FAIL() << "minisign is not installed (scripts/install-deps.sh)";
        ASSERT_TRUE(run({"-G", "-W", "-p", path("key.pub"), "-s", path("key.secret")}));
        key = minisign::parsePublicKey(readFile(path("key.pub")));
        ASSERT_TRUE(key);
    }

    QString path(const QString &name) const { return dir.filePath(name); }
    bool run(const QStringList &arguments) const
    {
        QProcess minisign;
        minisign.setProcessChannelMode(QProcess::MergedChannels);
        minisign.start("minisign", arguments);
        return minisign.waitForFinished() && minisign.exitCode() == 0;
    }
    // The signature file minisign writes for the bytes, in its pre-hashed or its legacy form.
    QByteArray sign(const QByteArray &bytes, const QString &trustedComment, bool legacy = false) const
    {
        writeFile(path("versions.dat"), bytes);
        QStringList arguments{"-S", "-W", "-s", path("key.secret"), "-m", path("versions.dat"),
                              "-t", trustedComment};
        if (legacy)
            arguments << "-l";
        EXPECT_TRUE(run(arguments));
        return readFile(path("versions.dat.minisig"));
    }

    QTemporaryDir dir;
    std::optional<minisign::PublicKey> key;
};

const QByteArray kList = "Pelgrandix,Pelgrandix121.exe,b,5,sha256=00,nieuw,new\r\n";

} // namespace

TEST_F(Minisign, ListSignedByMinisignIsVerifiedInEitherFormWithItsTimeStamp)
{
    for (const bool legacy : {false, true}) {
        const QByteArray signature = sign(kList, "timestamp:1796840804\tfile:versions.dat", legacy);
        EXPECT_EQ(minisign::parseSignature(signature)->prehashed, !legacy);
        EXPECT_EQ(minisign::verifiedTimestamp(kList, signature, {*key}), 1796840804) << legacy;
    }
}

TEST_F(Minisign, AnythingChangedAfterSigningIsRefused)
{
    const QByteArray signature = sign(kList, "timestamp:1796840804");
    QTemporaryDir other;
    QProcess::execute("minisign", {"-G", "-W", "-p", other.filePath("k.pub"), "-s", other.filePath("k.secret")});
    const std::optional<minisign::PublicKey> otherKey = minisign::parsePublicKey(readFile(other.filePath("k.pub")));
    ASSERT_TRUE(otherKey);
    const QList<QByteArray> lines = signature.split('\n');
    const auto line = [&](int index, const QByteArray &replacement) {
        QList<QByteArray> changed = lines;
        changed[index] = replacement;
        return changed.join('\n');
    };
    QByteArray flipped = QByteArray::fromBase64(lines[1]);
    flipped[20] = char(flipped[20] ^ 1);
    QByteArray legacyAlgorithm = QByteArray::fromBase64(lines[1]);
    legacyAlgorithm[1] = 'd';  // "ED" read as "Ed": the file itself was not what was signed
    struct Case { const char *name; QByteArray list, signature; QList<minisign::PublicKey> keys; };
    const Case cases[] = {
        {"a byte of the list", QByteArray(kList).replace("121", "122"), signature, {*key}},
        {"a line added to the list", kList + "Ander,x,a,1,x\r\n", signature, {*key}},
        {"the time stamp", kList, line(2, "trusted comment: timestamp:1796840805"), {*key}},
        {"a comment that is not trusted", kList, line(0, "comment: from the maker"), {*key}},
        {"a bit of the signature", kList, line(1, flipped.toBase64()), {*key}},
        {"the form of the signature", kList, line(1, legacyAlgorithm.toBase64()), {*key}},
        {"the global signature cut", kList, line(3, lines[3].left(40)), {*key}},
        {"the global signature gone", kList, lines.mid(0, 3).join('\n'), {*key}},
        {"a key that did not sign it", kList, signature, {*otherKey}},
        {"no key at all", kList, signature, {}},
        {"base64 that is not", kList, line(1, "RUQ!" + lines[1].mid(4)), {*key}},
        {"a page instead of a signature", kList, "<html>404</html>", {*key}},
        {"megabytes of signature", kList, signature + QByteArray(1 << 20, 'A'), {*key}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(minisign::verifiedTimestamp(c.list, c.signature, c.keys));
    }
    EXPECT_EQ(minisign::verifiedTimestamp(kList, signature, {*otherKey, *key}), 1796840804)
        << "any trusted key may have signed it";
}

TEST(MinisignFormats, TimeStampOfTheTrustedComment)
{
    struct Case { const char *comment; std::optional<qint64> seconds; };
    const Case cases[] = {
        {"timestamp:1796840804", 1796840804},
        {"timestamp:1796840804\tfile:versions.dat\thashed", 1796840804},
        {"timestamp:17 file:versions.dat", 17},
        {"file:versions.dat\ttimestamp:1796840804", std::nullopt},
        {"timestamp:", std::nullopt},
        {"timestamp:-1", std::nullopt},
        {"timestamp:+5", std::nullopt},
        {"timestamp:12x", std::nullopt},
        {"timestamp:9999999999999999999999", std::nullopt},
        {"Timestamp:5", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(minisign::timestampOf(c.comment), c.seconds) << c.comment;
}

TEST(MinisignFormats, PublicKeyFileOrItsKeyLineAlone)
{
    const QByteArray line = "RWQEWSksr6OY6mdFvfWD/5eh2uZDTwcc57a7Tz4O1QKPCbFWEZNGjs/e";
    struct Case { const char *name; QByteArray text; bool read; };
    const Case cases[] = {
        {"a key file", "untrusted comment: minisign public key EA98A3AF2C295904\n" + line + "\n", true},
        {"with CR LF", "untrusted comment: x\r\n" + line + "\r\n", true},
        {"the key line alone", line, true},
        {"no comment before the key", "minisign public key\n" + line + "\n", false},
        {"a secret key", "untrusted comment: minisign secret key\nRWQAAEIy" + QByteArray(204, 'A') + "\n", false},
        {"cut short", line.chopped(4), false},
        {"three lines", "untrusted comment: x\n" + line + "\n" + line + "\n", false},
    };
    for (const Case &c : cases) {
        const std::optional<minisign::PublicKey> key = minisign::parsePublicKey(c.text);
        EXPECT_EQ(key.has_value(), c.read) << c.name;
        if (key) {
            EXPECT_EQ(key->id.toHex(), "0459292cafa398ea") << c.name;
        }
    }
}
