#pragma once
// What the update check and the installer download share for the life of the program: one
// instance each, read and written on the GUI thread only.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The folder that was current when the update window was created, ending in "/".
extern QString HomeDir;
// The installer's file name of the last release that the check advised.
extern QString DownloadName;
// The advised installer's size as the version list gives it; the download gauge's maximum.
extern qint32 InstallerSizeKB;
// The advised installer's SHA-256 as the version list gives it, in small hexadecimal digits;
// empty when the list gives none.
extern QByteArray InstallerSha256;
// True once an installer has been downloaded: the update window's exit button then installs.
extern bool DownloadedB;
// Whole KiB received of the installer, counted per block.
extern quint32 ReceivedKB;
