#include "update/update_state.h"

QString HomeDir;
QString DownloadName;
qint32 InstallerSizeKB = 0;
QByteArray InstallerSha256;
bool DownloadedB = false;
quint32 ReceivedKB = 0;
