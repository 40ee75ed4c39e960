#pragma once
// Guards for tests that change process-wide state: an environment variable and the current
// folder are given back as they were when the guard goes out of scope.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtGlobal>

#include <optional>

class ScopedEnv
{
public:
    // Sets name to value, or removes it when value is absent.
    ScopedEnv(const char *name, std::optional<QByteArray> value) : m_name(name)
    {
        if (qEnvironmentVariableIsSet(name))
            m_old = qgetenv(name);
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            qputenv(m_name, *m_old);
        else
            qunsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    const char *m_name;
    std::optional<QByteArray> m_old;
};

class ScopedCurrentDir
{
public:
    explicit ScopedCurrentDir(const QString &folder) : m_old(QDir::currentPath())
    {
        QDir::setCurrent(folder);
    }
    ~ScopedCurrentDir() { QDir::setCurrent(m_old); }
    ScopedCurrentDir(const ScopedCurrentDir &) = delete;
    ScopedCurrentDir &operator=(const ScopedCurrentDir &) = delete;

private:
    QString m_old;
};
