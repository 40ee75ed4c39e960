#pragma once
// Guards for tests that change process-wide state: an environment variable and the current
// folder are given back as they were when the guard goes out of scope.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtGlobal>

#include <optional>

// An environment variable's value; none when it is not set.
inline std::optional<QByteArray> EnvValue(const char *name)
{
    return qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
}
// Sets the variable to value, or removes it when value is absent.
inline void SetEnv(const char *name, const std::optional<QByteArray> &value)
{
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

class ScopedEnv
{
public:
    // Sets name to value, or removes it when value is absent.
    ScopedEnv(const char *name, const std::optional<QByteArray> &value) : m_name(name), m_old(EnvValue(name))
    {
        SetEnv(name, value);
    }
    ~ScopedEnv() { SetEnv(m_name, m_old); }
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
