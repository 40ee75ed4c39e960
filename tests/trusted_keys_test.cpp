#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

#include "support/files.h"
#include "support/program_state.h"
#include "support/scoped_env.h"
#include "support/update_keys.h"
#include "update/trusted_keys.h"

// Only a key that nobody but the user can have put in the key folder is trusted: another user
// who may write a file or a folder there must not be able to make the program run his installer.

namespace {

void setMode(const QString &path, mode_t mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0) << path.toStdString();
}

} // namespace

TEST(TrustedKeys, OnlyKeysThatNobodyButTheUserCanHaveWrittenCount)
{
    const TestUpdateKey good;
    const QByteArray goodFile = publicKeyFile(good.keys());
    constexpr uid_t kNobody = 65534;
    struct Case {
        const char *name;
        std::function<void(const QString &folder)> change;
        bool trusted;
    };
    const Case cases[] = {
        {"the user's own file", [](const QString &) {}, true},
        {"a file group may write", [](const QString &f) { setMode(f + "maker.pub", 0620); }, false},
        {"a file others may write", [](const QString &f) { setMode(f + "maker.pub", 0602); }, false},
        {"a file others may read", [](const QString &f) { setMode(f + "maker.pub", 0644); }, true},
        {"a folder group may write", [](const QString &f) { setMode(f, 0770); }, false},
        {"a folder above it others may write", [](const QString &f) { setMode(f + "..", 0777); }, false},
        {"a link to the user's key", [&](const QString &f) {
             ASSERT_TRUE(writeFile(f + "../elsewhere.pub", goodFile, QFile::ReadOwner | QFile::WriteOwner));
             QFile::remove(f + "maker.pub");
             ASSERT_TRUE(QFile::link(f + "../elsewhere.pub", f + "maker.pub"));
         }, false},
        {"a pipe at the name", [](const QString &f) {
             QFile::remove(f + "maker.pub");
             ASSERT_EQ(::mkfifo(QFile::encodeName(f + "maker.pub").constData(), 0600), 0);
         }, false},
        {"a name without .pub", [](const QString &f) { QFile::rename(f + "maker.pub", f + "maker.key"); }, false},
        {"more than a key file holds", [&](const QString &f) {
             ASSERT_TRUE(writeFile(f + "maker.pub", goodFile + QByteArray(5000, '\n')));
         }, false},
        {"another user's file", [&](const QString &f) {
             if (::geteuid() != 0)
                 GTEST_SKIP() << "only root can give a file away";
             ASSERT_EQ(::chown(QFile::encodeName(f + "maker.pub").constData(), kNobody, kNobody), 0);
         }, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString folder = dir.filePath("Pelgrandix/update-keys/");
        ASSERT_TRUE(writeFile(folder + "maker.pub", goodFile, QFile::ReadOwner | QFile::WriteOwner));
        ASSERT_TRUE(writeFile(folder + "notes.pub", "geen sleutel\n", QFile::ReadOwner | QFile::WriteOwner));
        setMode(folder, 0700);
        setMode(folder + "..", 0700);
        c.change(folder);
        QElapsedTimer clock;
        clock.start();
        const QList<minisign::PublicKey> keys = UserUpdateKeys(folder);
        EXPECT_LT(clock.elapsed(), 2000);
        EXPECT_EQ(keys.size(), c.trusted ? 1 : 0);
        if (c.trusted && !keys.isEmpty()) {
            EXPECT_EQ(keys.first().key, good.keys().publicKey);
        }
    }
}

TEST(TrustedKeys, TheUsersFolderIsInTheSettingsFolder)
{
    const ProgramState state;
    QTemporaryDir dir;
    const ScopedEnv config("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    EXPECT_EQ(UserUpdateKeyFolder(), dir.path() + "/Pelgrandix/update-keys/");
    const TestUpdateKey key;
    const int builtIn = int(TrustedUpdateKeys().size());
    key.trust("maker.pub");
    EXPECT_EQ(TrustedUpdateKeys().size(), builtIn + 1);
    EXPECT_EQ(TrustedUpdateKeys().constLast().key, key.keys().publicKey);
}
