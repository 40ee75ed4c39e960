#include "platform/user_registry.h"

#include "platform/registry_format.h"

#include <QStandardPaths>

namespace platform {

QString userRegistryFile(const QString &programName)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/'
        + programName + u'/' + programName + QStringLiteral(".reg");
}

std::unique_ptr<QSettings> openUserRegistry(const QString &programName)
{
    return std::make_unique<QSettings>(userRegistryFile(programName), registryFormat());
}

} // namespace platform
