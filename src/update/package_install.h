#pragma once
// Whether the running program was installed by the system's package manager, which then also
// installs its new releases: the program starts no installer of its own over the package's
// files. Known from dpkg's database, which lists every file of each installed package: it is
// found where DPKG_ADMINDIR says, as for dpkg itself, else in /var/lib/dpkg.

#include <QString>

// Whether the database in adminDir lists filePath among the files of the program's package.
bool PackageListsFile(const QString &adminDir, const QString &filePath);

// Whether the running program's file belongs to the program's installed package.
bool InstalledByPackageManager();
