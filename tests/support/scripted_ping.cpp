#include "support/scripted_ping.h"

#include <QFile>

#include "support/files.h"

namespace {

QByteArray quoted(const QString &path)
{
    return "'" + QFile::encodeName(path) + "'";
}

} // namespace

ScriptedPing::ScriptedPing(Answer answer)
    : m_ping("PELGRANDIX_PING", QFile::encodeName(m_dir.filePath(QStringLiteral("ping")))),
      m_noComSpec("COMSPEC", std::nullopt)
{
    this->answer(answer);
}

void ScriptedPing::answer(Answer answer)
{
    const QByteArray third = answer == Reply ? "Reply from 127.0.0.1: bytes=32 time<1ms TTL=64"
                                             : "Time-out bij opdracht.";
    runs("printf '\\nPinging %s with 32 bytes of data:\\n" + third + "\\n' \"$1\"\n");
}

void ScriptedPing::prints(const QByteArray &output)
{
    const QString canned = m_dir.filePath(QStringLiteral("output"));
    writeFile(canned, output);
    runs("cat " + quoted(canned) + "\n");
}

void ScriptedPing::runs(const QByteArray &shellText)
{
    writeFile(path(),
              "#!/bin/sh\necho x >> " + quoted(m_dir.filePath(QStringLiteral("runs")))
                  + "\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > "
                  + quoted(m_dir.filePath(QStringLiteral("arguments"))) + "\n" + shellText,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QString ScriptedPing::path() const
{
    return m_dir.filePath(QStringLiteral("ping"));
}

int ScriptedPing::runCount() const
{
    return int(readFile(m_dir.filePath(QStringLiteral("runs"))).count('\n'));
}

QByteArray ScriptedPing::lastArguments() const
{
    return readFile(m_dir.filePath(QStringLiteral("arguments")));
}
