#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

#include "support/files.h"
#include "support/update_keys.h"
#include "update/trusted_keys.h"

// Only a key that nobody but the user can have put in the key folder is trusted: another user
// who may write a file or a folder there must not be able to make the program run his installer.

TEST(TrustedKeys, OnlyKeysThatNobodyButTheUserCanHaveWrittenCount)
{
    const TestUpdateKey good;
    const auto mode = [](const QString &path, mode_t bits) { ::chmod(QFile::encodeName(path).constData(), bits); };
    struct Case {
        const char *name;
        std::function<void(const QString &folder)> change;
        bool trusted;
    };
    const Case cases[] = {
        {"the user's own file", [](const QString &) {}, true},
        {"a file group may write", [&](const QString &f) { mode(f + "maker.pub", 0620); }, false},
        {"a file others may write", [&](const QString &f) { mode(f + "maker.pub", 0602); }, false},
        {"a folder group may write", [&](const QString &f) { mode(f, 0770); }, false},
        {"a folder above it others may write", [&](const QString &f) { mode(f + "..", 0777); }, false},
        {"a link to the user's key", [](const QString &f) {
             QFile::rename(f + "maker.pub", f + "../elsewhere.pub");
             QFile::link(f + "../elsewhere.pub", f + "maker.pub");
         }, false},
        {"a pipe at the name", [](const QString &f) {
             QFile::remove(f + "maker.pub");
             ::mkfifo(QFile::encodeName(f + "maker.pub").constData(), 0600);
         }, false},
        {"another user's file", [](const QString &f) {
             if (::chown(QFile::encodeName(f + "maker.pub").constData(), 65534, 65534) != 0)
                 GTEST_SKIP() << "only root can give a file away";
         }, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString folder = dir.filePath("Pelgrandix/update-keys/");
        ASSERT_TRUE(writeFile(folder + "maker.pub", publicKeyFile(good.keys()), QFile::ReadOwner | QFile::WriteOwner));
        ASSERT_TRUE(writeFile(folder + "notes.pub", "geen sleutel\n", QFile::ReadOwner | QFile::WriteOwner));
        mode(folder, 0700);
        mode(folder + "..", 0700);
        c.change(folder);
        const QList<minisign::PublicKey> keys = UserUpdateKeys(folder);
        ASSERT_EQ(keys.size(), c.trusted ? 1 : 0);
        if (c.trusted) {
            EXPECT_EQ(keys.first().key, good.keys().publicKey);
        }
    }
}
