#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QTemporaryDir>

#include "support/files.h"
#include "update/package_install.h"

TEST(PackageInstall, OnlyAFileThePackageItselfListsCounts)
{
    QTemporaryDir dpkg;
    ASSERT_TRUE(writeFile(dpkg.filePath("info/pelgrandix.list"), "/.\n/usr/libexec/pelgrandix/pelgrandix\n"));
    ASSERT_TRUE(writeFile(dpkg.filePath("info/other.list"), "/usr/bin/pelgrandix\n"));
    EXPECT_TRUE(PackageListsFile(dpkg.path(), "/usr/libexec/pelgrandix/pelgrandix"));
    for (const char *file : {"/usr/libexec/pelgrandix/pelgr", "/usr/bin/pelgrandix", ""})
        EXPECT_FALSE(PackageListsFile(dpkg.path(), file)) << file;
}
