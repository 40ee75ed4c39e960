#include "support/offline_program.h"

QProcessEnvironment OfflineProgramEnvironment(const QString &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("PELGRANDIX_PING"), QStringLiteral("/bin/false"));
    for (const char *site : {"PELGRANDIX_MAKER_HOST", "PELGRANDIX_INDEX_HOST", "PELGRANDIX_QUOTE_HOST"})
        env.insert(QLatin1String(site), QStringLiteral("127.0.0.1:9"));
    return env;
}

QString ProgramPath()
{
    return QStringLiteral(PELGRANDIX_BIN_DIR "/pelgrandix");
}
