#include "update/update_state.h"

QString HomeDir;
QString DownloadName;
qint32 InstallerSizeKB = 0;
bool DownloadedB = false;
quint32 ReceivedKB = 0;
