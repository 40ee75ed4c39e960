#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QProcess>
#include <QTemporaryDir>

#include "support/files.h"
#include "update/minisign.h"

// Lists signed by minisign itself, as the maker signs them, and the changes made to a signature
// afterwards that the window's tests of a hostile site do not make.

namespace {

bool runMinisign(const QStringList &arguments)
{
    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start("minisign", arguments);
    return run.waitForFinished() && run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0;
}

const QByteArray kList = "Pelgrandix,Pelgrandix121.exe,b,5,sha256=00,nieuw,new\r\n";

} // namespace

TEST(Minisign, ListsThatMinisignSignedAreVerifiedAndEveryChangeToTheSignatureRefused)
{
    QTemporaryDir dir;
    ASSERT_TRUE(runMinisign({"-G", "-W", "-p", dir.filePath("k.pub"), "-s", dir.filePath("k.key")}))
        << "minisign is installed by scripts/install-deps.sh";
    const minisign::PublicKey key = *minisign::parsePublicKey(readFile(dir.filePath("k.pub")));
    ASSERT_TRUE(writeFile(dir.filePath("versions.dat"), kList));
    QByteArray signature;
    // Pre-hashed (minisign's default) and as it is (its legacy form).
    for (const QStringList &form : {QStringList(), QStringList{"-l"}}) {
        ASSERT_TRUE(runMinisign(QStringList{"-S", "-W", "-s", dir.filePath("k.key"), "-m", dir.filePath("versions.dat"),
                                         "-t", "timestamp:1796840804\tfile:versions.dat"} + form));
        signature = readFile(dir.filePath("versions.dat.minisig"));
        EXPECT_EQ(minisign::verifiedTimestamp(kList, signature, {key}), 1796840804) << form.join("").toStdString();
    }

    const QList<QByteArray> lines = signature.split('\n');
    QByteArray flipped = QByteArray::fromBase64(lines[1]);
    flipped[20] = char(flipped[20] ^ 1);
    QByteArray otherForm = QByteArray::fromBase64(lines[1]);
    otherForm[1] = 'D';  // "Ed" read as "ED": its hash was not what was signed
    const auto with = [&](int line, const QByteArray &text) {
        QList<QByteArray> changed = lines;
        changed[line] = text;
        return changed.join('\n');
    };
    for (const QByteArray &changed : {with(1, flipped.toBase64()), with(1, otherForm.toBase64()),
                                      with(3, lines[3].left(40)), with(0, "comment: from the maker"),
                                      with(2, "trusted comment: timestamp:1796840999\tfile:versions.dat"),
                                      signature + QByteArray(8000, 'A'), QByteArray("<html>404</html>")})
        EXPECT_FALSE(minisign::verifiedTimestamp(kList, changed, {key})) << changed.left(200).toStdString();
}

TEST(Minisign, TimeStampOfTheTrustedComment)
{
    EXPECT_EQ(minisign::timestampOf("timestamp:1796840804\tfile:versions.dat\thashed"), 1796840804);
    EXPECT_EQ(minisign::timestampOf("timestamp:17 file:x"), 17);
    for (const char *none : {"file:x\ttimestamp:5", "timestamp:", "timestamp:-1", "timestamp:12x",
                             "timestamp:9999999999999999999999"})
        EXPECT_FALSE(minisign::timestampOf(none)) << none;
}
