#include "fixture_file.h"

#include <QFile>

#include <stdexcept>
#include <string>

QByteArray ReadFixture(const char *name)
{
    QFile file(QStringLiteral(PELGRANDIX_FIXTURES "/") + QString::fromUtf8(name));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(std::string("missing fixture ") + name);
    return file.readAll();
}
