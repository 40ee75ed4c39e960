#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QDateTime>
#include <QFile>

#include <functional>

#include <sys/stat.h>

#include "entry/stored_settings.h"
#include "portfolio/history_file.h"
#include "positions/unsaved_positions.h"
#include "positions/window_lock.h"
#include "support/files.h"
#include "support/maker_site.h"
#include "support/program_state.h"
#include "support/system_info.h"
#include "support/temp_home.h"
#include "update/installer.h"
#include "update/update_state.h"

// Whatever the umask, and whatever an older release left, each file the program writes about the
// user is the user's alone once it has been written, and so is the folder it lies in.

namespace {

mode_t modeOf(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
}

} // namespace

TEST(PrivateFiles, EveryFileAboutTheUserIsTheUsersAloneWhateverTheUmask)
{
    const ProgramState state;
    const mode_t umaskWas = ::umask(0);
    const TempHome home;
    const QString data = GetDataDir("Pelgrandix");
    DataDir = data;
    platform::FileLock lock(WindowLockPath(data));
    MakerSite site;
    site.serve("/Pelgrandix121.exe", std::string(5000, '#'));
    struct Case {
        const char *name;
        QString file;
        std::function<bool()> write;
    };
    const Case cases[] = {
        {"the history", data + "Historie.csv", [&] {
             return history_file::appendDownload(data, {"AEX; Put; mrt; 2013; 380; 12,34; 12,34; 1; 0,00; 0"},
                                                 std::nullopt, QDateTime::currentDateTime());
         }},
        {"the unsaved positions", UnsavedPositionsPath("Pelgrandix"), [&] {
             QString error;
             return SaveUnsavedPositions("Pelgrandix", {"AEX"}, &error);
         }},
        {"the settings", home.settingsFile(), [] {
             RegistryKey key("Pelgrandix");
             key.writeInteger("Top", 1);
             return key.sync();
         }},
        {"the lock of the open window", WindowLockPath(data), [&] { return TakeWindowLock(lock); }},
        {"the installer", InstallerPath("Pelgrandix121.exe"), [&] {
             return DownloadNewVersion("Pelgrandix121.exe", "http://" + site.host() + "/versions.dat",
                                       "Pelgrandix", "versie 1.20a", {}, {}) == InstallerDownload::Received;
         }},
    };
    EXPECT_EQ(modeOf(data), 0700u) << "the data folder";
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        // As an older release left it, where there was one: open to all.
        ASSERT_TRUE(writeFile(c.file, "", QFile::Permissions(0x7777)));
        ASSERT_TRUE(c.write());
        ASSERT_TRUE(QFile::exists(c.file));
        EXPECT_EQ(modeOf(c.file) & 077, 0u) << std::oct << modeOf(c.file);
        EXPECT_EQ(modeOf(QFileInfo(c.file).absolutePath()) & 077, 0u) << "its folder";
    }
    ::umask(umaskWas);
}
