#include "support/scripted_ping.h"

#include <QFile>

ScriptedPing::ScriptedPing(Answer answer)
    : m_ping("PELGRANDIX_PING", QFile::encodeName(m_dir.filePath(QStringLiteral("ping")))),
      m_noComSpec("COMSPEC", std::nullopt)
{
    this->answer(answer);
}

void ScriptedPing::answer(Answer answer)
{
    QByteArray third;
    switch (answer) {
    case Reply:
        third = "Reply from 127.0.0.1: bytes=32 time<1ms TTL=64";
        break;
    case TimeOut:
        third = "Time-out bij opdracht.";
        break;
    }
    QFile script(m_dir.filePath(QStringLiteral("ping")));
    if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    script.write("#!/bin/sh\necho x >> '" + QFile::encodeName(m_dir.filePath(QStringLiteral("runs")))
                 + "'\nprintf '\\nPinging %s with 32 bytes of data:\\n' \"$1\"\necho \"" + third + "\"\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
}

int ScriptedPing::runs() const
{
    QFile file(m_dir.filePath(QStringLiteral("runs")));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return int(file.readAll().count('\n'));
}
