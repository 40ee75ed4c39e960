#pragma once
// A fresh temporary folder that stands in for the user's home folder for one test: HOME points
// into it, the XDG folders are unset (so they fall back to their places inside it), and it is the
// current folder. All of it is put back afterwards.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "support/scoped_env.h"

class TempHome
{
public:

    QString path() const { return m_dir.path(); }
    // The program's data folder (ending in "/") and its settings file, relative to the home.
    static inline const QString kDataFolder = QStringLiteral("UserData/Pelgrandix/");
    static inline const QString kSettingsFile = QStringLiteral(".config/Pelgrandix/Pelgrandix.reg");
    // The same inside this home.
    QString dataDir() const { return m_dir.path() + QLatin1Char('/') + kDataFolder; }
    QString settingsFile() const { return m_dir.path() + QLatin1Char('/') + kSettingsFile; }
    // A file inside this home, by its path relative to it.
    void writeFile(const QString &relativePath, const QByteArray &bytes) const;
    QByteArray readFile(const QString &relativePath) const;
    // A file of the data folder, by its name.
    void writeDataFile(const QString &name, const QByteArray &bytes) const { writeFile(kDataFolder + name, bytes); }
    QByteArray readDataFile(const QString &name) const { return readFile(kDataFolder + name); }

private:
    QTemporaryDir m_dir;
    ScopedEnv m_home{"HOME", QFile::encodeName(m_dir.path())};
    ScopedEnv m_config{"XDG_CONFIG_HOME", std::nullopt};
    ScopedEnv m_data{"XDG_DATA_HOME", std::nullopt};
    ScopedEnv m_state{"XDG_STATE_HOME", std::nullopt};
    ScopedCurrentDir m_current{m_dir.path()};
};
