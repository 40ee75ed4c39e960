#include "support/scripted_ping.h"

#include <QFile>

ScriptedPing::ScriptedPing(const QStringList &lines)
{
    const QString path = m_dir.filePath(QStringLiteral("ping"));
    QFile script(path);
    if (script.open(QIODevice::WriteOnly)) {
        script.write("#!/bin/sh\n");
        for (const QString &line : lines)
            script.write("printf '%s\\n' '" + line.toUtf8() + "'\n");
    }
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_env = std::make_unique<ScopedEnv>("PELGRANDIX_PING", QFile::encodeName(path));
}

QStringList ScriptedPing::reply()
{
    return {QString(), QStringLiteral("Pinging 127.0.0.1 [127.0.0.1] with 32 bytes of data:"),
            QStringLiteral("Reply from 127.0.0.1: bytes=32 time<1ms TTL=64")};
}

QStringList ScriptedPing::timeOut()
{
    return {QString(), QStringLiteral("Pinging 127.0.0.1 [127.0.0.1] with 32 bytes of data:"),
            QStringLiteral("Time-out bij opdracht.")};
}
