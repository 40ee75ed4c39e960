#include "support/temp_home.h"

#include "support/files.h"

void TempHome::writeFile(const QString &relativePath, const QByteArray &bytes) const
{
    ::writeFile(m_dir.filePath(relativePath), bytes);
}

QByteArray TempHome::readFile(const QString &relativePath) const
{
    return ::readFile(m_dir.filePath(relativePath));
}
