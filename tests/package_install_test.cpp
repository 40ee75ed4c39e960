#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QTemporaryDir>

#include "support/files.h"
#include "update/package_install.h"

TEST(PackageInstall, OnlyAFileThePackageListsCounts)
{
    QTemporaryDir dpkg;
    ASSERT_TRUE(writeFile(dpkg.filePath("info/pelgrandix.list"),
                          "/.\n/usr\n/usr/libexec/pelgrandix\n/usr/libexec/pelgrandix/pelgrandix\n"));
    ASSERT_TRUE(writeFile(dpkg.filePath("info/other.list"), "/usr/local/bin/pelgrandix\n"));
    struct Case { const char *file; bool listed; };
    const Case cases[] = {
        {"/usr/libexec/pelgrandix/pelgrandix", true},
        {"/usr/libexec/pelgrandix", true},
        {"/usr/libexec/pelgrandix/pelgrandix-ping2", false},
        {"/usr/libexec/pelgrandix/pelgr", false},
        {"/usr/local/bin/pelgrandix", false},  // another package's file
        {"", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PackageListsFile(dpkg.path(), c.file), c.listed) << c.file;
    EXPECT_FALSE(PackageListsFile(dpkg.filePath("none"), "/usr/libexec/pelgrandix/pelgrandix"));
}
