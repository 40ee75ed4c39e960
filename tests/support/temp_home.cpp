#include "support/temp_home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

void restore(const char *name, const QByteArray &value)
{
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}

} // namespace

TempHome::TempHome()
    : m_oldCurrent(QDir::currentPath()), m_oldHome(qgetenv("HOME")),
      m_oldConfig(qgetenv("XDG_CONFIG_HOME")), m_oldData(qgetenv("XDG_DATA_HOME"))
{
    if (!qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
        m_oldConfig = QByteArray();
    if (!qEnvironmentVariableIsSet("XDG_DATA_HOME"))
        m_oldData = QByteArray();
    qputenv("HOME", QFile::encodeName(m_dir.path()));
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
    QDir::setCurrent(m_dir.path());
}

TempHome::~TempHome()
{
    QDir::setCurrent(m_oldCurrent);
    restore("HOME", m_oldHome);
    restore("XDG_CONFIG_HOME", m_oldConfig);
    restore("XDG_DATA_HOME", m_oldData);
}

void TempHome::writeFile(const QString &relativePath, const QByteArray &bytes) const
{
    const QString full = m_dir.filePath(relativePath);
    QDir().mkpath(QFileInfo(full).path());
    QFile file(full);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray TempHome::readFile(const QString &relativePath) const
{
    QFile file(m_dir.filePath(relativePath));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
