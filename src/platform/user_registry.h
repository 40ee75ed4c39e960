#pragma once
// The current user's part of the registry, where the program keeps its settings under
// "Software\<program name>". Here that is one file per user in the settings folder
// ($XDG_CONFIG_HOME, by default ~/.config): <program name>/<program name>.reg, in the
// registry's export syntax (see registry_format.h). QSettings keys are paths below
// HKEY_CURRENT_USER: "Software/Pelgrandix/Defaults/Top".

#include <QSettings>
#include <QString>

#include <memory>

namespace platform {

QString userRegistryFile(const QString &programName);

// Opens the store; nothing is created until something is written. QSettings writes the
// whole file anew through a temporary file that replaces the old one in one step.
std::unique_ptr<QSettings> openUserRegistry(const QString &programName);

} // namespace platform
