#pragma once
// A fresh temporary folder that stands in for the user's home folder for one test: HOME and the
// XDG folders point into it, and the current folder and environment are put back afterwards.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class TempHome
{
public:
    TempHome();
    ~TempHome();

    QString path() const { return m_dir.path(); }
    // The program's data folder inside this home, ending in "/".
    QString dataDir() const { return m_dir.path() + QStringLiteral("/UserData/Pelgrandix/"); }
    void writeFile(const QString &relativePath, const QByteArray &bytes) const;
    QByteArray readFile(const QString &relativePath) const;

private:
    QTemporaryDir m_dir;
    QString m_oldCurrent;
    QByteArray m_oldHome, m_oldConfig, m_oldData;
};
