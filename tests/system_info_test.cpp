#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/vector_state.h"
#include "support/default_locale.h"
#include "support/month_names.h"
#include "support/program_state.h"
#include "support/system_info.h"
#include "support/temp_home.h"

TEST(LanguageCode, DutchOfNetherlandsOrBelgiumAndAfrikaans)
{
    EXPECT_EQ(LanguageCodeFor(QLocale(QLocale::Dutch, QLocale::Netherlands)), "NLD");
    EXPECT_EQ(LanguageCodeFor(QLocale(QLocale::Dutch, QLocale::Belgium)), "NLD");
    EXPECT_EQ(LanguageCodeFor(QLocale(QLocale::Afrikaans, QLocale::SouthAfrica)), "NLD");
    EXPECT_EQ(LanguageCodeFor(QLocale(QLocale::Dutch, QLocale::Suriname)), "");
    EXPECT_EQ(LanguageCodeFor(QLocale(QLocale::English, QLocale::UnitedStates)), "");
}

TEST(PlatformName, FirstMatchingRowOfTheTable)
{
    struct Case { int id, major, minor; const char *service; const char *name; bool multiUser; };
    const Case cases[] = {
        {1, 4, 0, "B", "95 OSR2", false}, {1, 4, 0, "", "95", false},
        {1, 4, 10, "A", "98 SE", false},  {1, 4, 10, " A", "98", false},
        {1, 4, 90, "", "ME", false},      {1, 4, 20, "", "", false},
        {1, 5, 0, "", "9x version (unknown)", false},
        {2, 3, 51, "", "NT", true},       {2, 5, 0, "", "2000", true},
        {2, 5, 1, "Service Pack 3", "XP", true}, {2, 5, 2, "", "Server 2003", true},
        {2, 5, 3, "", "", false},         {2, 6, 0, "", "Vista", true},
        {2, 6, 1, "", "Windows 7", true}, {2, 6, 2, "", "Future Windows version (unknown)", true},
        {2, 10, 0, "", "Future Windows version (unknown)", true}, {3, 10, 0, "", "", false},
    };
    for (const Case &c : cases) {
        const QString name = PlatformNameFor(c.id, c.major, c.minor, c.service);
        EXPECT_EQ(name, c.name) << c.id << " " << c.major << "." << c.minor;
        EXPECT_EQ(IsMultiUserPlatform(name), c.multiUser) << c.name;
    }
    os::VersionInfo xp{2, 5, 1, 2600, "Service Pack 3"};
    EXPECT_EQ(WindowsVersionText("XP", xp), "Microsoft Windows XP Version 5.1 Build 2600 Service Pack 3");
}

namespace {

// Working out the folders sets the program-wide ones; the base puts them back.
class DataFolder : public ProgramStateTest
{
};

} // namespace

TEST_F(DataFolder, ParentOfTheDesktopFolderButNeverOutsideHome)
{
    struct Case { const char *desktop; const char *dataDir; };
    const Case cases[] = {
        {"/home/ann/Desktop/", "/home/ann/UserData/Pelgrandix/"},
        {"/home/ann/Desktop", "/home/ann/UserData/Pelgrandix/"},
        {"/home/ann/Bureaublad/Werk", "/home/ann/Bureaublad/UserData/Pelgrandix/"},
        // The desktop is the home folder itself where there is no Desktop folder.
        {"/home/ann/", "/home/ann/UserData/Pelgrandix/"},
        {"/home/ann", "/home/ann/UserData/Pelgrandix/"},
        {"/home/annabel/Desktop", "/home/ann/UserData/Pelgrandix/"},
        {"/home/ann/../bob/Desktop", "/home/ann/UserData/Pelgrandix/"},
        {"/srv/Desktop", "/home/ann/UserData/Pelgrandix/"},
        {"/", "/home/ann/UserData/Pelgrandix/"},
        {"", "/home/ann/UserData/Pelgrandix/"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DataDirFor(c.desktop, "Pelgrandix", "/home/ann/"), c.dataDir) << c.desktop;
    EXPECT_EQ(DataDirFor("/Desktop", "Pelgrandix", "/"), "/UserData/Pelgrandix/");
}

TEST_F(DataFolder, DesktopThatIsTheHomeFolderStillGivesAFolderInsideHome)
{
    TempHome home;
    home.writeFile(".config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/\"\n");
    InitSupport();
    ASSERT_EQ(QDir::cleanPath(Desktop), home.path());
    const QString dir = GetDataDir("Pelgrandix");
    EXPECT_EQ(dir, home.path() + "/UserData/Pelgrandix/");
    EXPECT_TRUE(QFileInfo(dir).isDir());
}

TEST_F(DataFolder, CreatedUnderHomeAndCurrentFolderKept)
{
    TempHome home;
    InitSupport();
    ASSERT_TRUE(WinNTB) << "a POSIX desktop counts as multi-user";
    const QString before = QDir::currentPath();
    const QString dir = GetDataDir("Pelgrandix");
    EXPECT_EQ(dir, home.path() + "/UserData/Pelgrandix/");
    EXPECT_TRUE(QFileInfo(dir).isDir());
    EXPECT_EQ(QDir::currentPath(), before);

    WinNTB = false;
    EXPECT_EQ(GetDataDir("Other"), before + "/");
    EXPECT_FALSE(QFileInfo::exists(home.path() + "/UserData/Other"));
}

TEST(ChMkDir, TrueOnlyForTheFolderTextWithItsSeparator)
{
    TempHome home;
    const QString folder = home.path() + "/A/B/";
    EXPECT_TRUE(ChMkDir(folder));
    EXPECT_EQ(QDir::currentPath() + "/", folder);
    QDir::setCurrent(home.path());
    EXPECT_FALSE(ChMkDir(home.path() + "/A/C"));
    EXPECT_EQ(QDir::currentPath(), home.path() + "/A/C");
    EXPECT_FALSE(ChMkDir(""));
}

TEST(DeleteFileStr, FileAndLinkToFolderGoRealFolderStays)
{
    TempHome home;
    home.writeFile("f.txt", "x");
    QDir(home.path()).mkdir("real");
    home.writeFile("real/inside.txt", "y");
    QFile::link(home.path() + "/real", home.path() + "/junction");
    DeleteFileStr(home.path() + "/f.txt");
    DeleteFileStr(home.path() + "/junction");
    DeleteFileStr(home.path() + "/real");
    DeleteFileStr(home.path() + "/missing.txt");
    EXPECT_FALSE(QFileInfo::exists(home.path() + "/f.txt"));
    EXPECT_FALSE(QFileInfo(home.path() + "/junction").isSymLink());
    EXPECT_TRUE(QFileInfo::exists(home.path() + "/real/inside.txt"));
}

TEST(DaylightInfo, NorthAmericanSettingsIgnoreDaylightSaving)
{
    os::TimeZoneRecord zone;
    zone.hasDaylightSaving = true;
    zone.daylightStart = QDateTime(QDate(2026, 3, 29), QTime(2, 0));
    zone.standardStart = QDateTime(QDate(2026, 10, 25), QTime(3, 0));
    zone.daylightOffsetMinutes = 60;
    const QDateTime summer(QDate(2026, 7, 1), QTime(12, 0));
    const DaylightInfo us = DaylightInfoFor(1, zone, summer);
    EXPECT_FALSE(us.zomertijd);
    EXPECT_EQ(us.daylightCorrection, 0);
    EXPECT_FALSE(us.datesSet);

    const DaylightInfo nl = DaylightInfoFor(31, zone, summer);
    EXPECT_TRUE(nl.zomertijd);
    EXPECT_DOUBLE_EQ(nl.zwCorrection, 1.0 / 24);
    EXPECT_DOUBLE_EQ(nl.daylightCorrection, 1.0 / 24);
    const DaylightInfo winter = DaylightInfoFor(31, zone, QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
    EXPECT_FALSE(winter.zomertijd);
    EXPECT_EQ(winter.daylightCorrection, 0);
}

TEST(MonthNames, DutchShortNamesWithoutPointAndReadBothForms)
{
    EXPECT_EQ(ShortMonthName(3), "mrt");
    EXPECT_EQ(ShortMonthName(5), "mei");
    EXPECT_EQ(LongMonthName(3), "maart");
    EXPECT_EQ(MonthNumber(u"mrt"), 3);
    EXPECT_EQ(MonthNumber(u"mrt."), 3);
    EXPECT_EQ(MonthNumber(u"jan"), 1);
    EXPECT_EQ(MonthNumber(u"Mrt"), 12) << "case-sensitive; no match counts as December";
    EXPECT_EQ(MonthNumber(u"xyz"), 12);
}

TEST(MonthNames, DutchNamesAreReadUnderAnotherLocaleToo)
{
    const DefaultLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    struct Case { const char16_t *name; int month; };
    for (const Case &c : {Case{u"Mar", 3}, Case{u"mrt", 3}, Case{u"mei", 5}, Case{u"okt.", 10},
                          Case{u"May", 5}, Case{u"Mrt", 12}, Case{u"xyz", 12}})
        EXPECT_EQ(MonthNumber(c.name), c.month) << QString::fromUtf16(c.name).toStdString();
}

TEST(MonthNames, EnglishNamesAreReadUnderAnotherLocaleToo)
{
    // Written on an English desktop, read by a report started under Dutch or German.
    for (const QLocale &locale : {QLocale(QLocale::Dutch, QLocale::Netherlands), QLocale(QLocale::German, QLocale::Germany)}) {
        const DefaultLocale users(locale);
        struct Case { const char16_t *name; int month; };
        for (const Case &c : {Case{u"Jan", 1}, Case{u"Mar", 3}, Case{u"Oct", 10}, Case{u"jan", 1}, Case{u"xyz", 12}})
            EXPECT_EQ(MonthNumber(c.name), c.month) << QString::fromUtf16(c.name).toStdString() << " " << locale.name().toStdString();
    }
}

TEST(MonthNames, PositionLinesGetANameTheFileCanHoldAndReadBack)
{
    struct Case { QLocale locale; int month; const char *name; };
    const Case cases[] = {
        {QLocale(QLocale::French, QLocale::France), 12, "d\u00e9c"},  // the locale's own, in the code page
        {QLocale(QLocale::Polish, QLocale::Poland), 10, "okt"},  // "pa\u017a" is not
    };
    for (const Case &c : cases) {
        const DefaultLocale locale(c.locale);
        EXPECT_EQ(PositionMonthName(c.month), QString::fromUtf8(c.name)) << c.locale.name().toStdString();
        EXPECT_EQ(MonthNumber(PositionMonthName(c.month)), c.month) << c.locale.name().toStdString();
    }
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
TEST(WideVectorRegisters, AgreeWithTheCompilersOwnCheck)
{
    EXPECT_EQ(platform::hasWideVectorRegisters(), bool(__builtin_cpu_supports("avx")));
}
#endif
