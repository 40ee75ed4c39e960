#pragma once
// The settings file in the Windows registry's own export syntax, as a QSettings format:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Pelgrandix\Defaults]
//   "Top"=dword:00000064
//   "DownloadTimer"="1"
//
// so that a person can read and edit it and every value keeps its kind. A number value
// (dword:) is a quint32, a text value (a quoted text, or hex(1): for a text holding line
// breaks) is a QString, and any other kind (hex:, hex(2):, hex(7):, ...) is a
// RegistryOtherValue that carries its data exactly as it stood, so that it is written back
// unchanged. QSettings keys are the key path below HKEY_CURRENT_USER with '/' between the
// parts, then the value name: "Software/Pelgrandix/Defaults/Top".
//
// Files are written in UTF-8 with LF line ends, the native form of a configuration file
// here; files with CR LF line ends, a byte-order mark or UTF-16 (as the registry editor
// exports them) are read as well.

#include <QIODevice>
#include <QMetaType>
#include <QSettings>
#include <QString>

// A stored value of a kind that is neither a number nor a text, e.g. "hex:01,02" or
// "hex(2):25,00,...": the data after the '=' as it stood in the file (continuation lines
// joined by "\n").
struct RegistryOtherValue
{
    QString data;
    friend bool operator==(const RegistryOtherValue &a, const RegistryOtherValue &b)
    {
        return a.data == b.data;
    }
};
Q_DECLARE_METATYPE(RegistryOtherValue)

namespace platform {

// The format, registered with QSettings on first use (extension "reg").
QSettings::Format registryFormat();

// The read and write functions of that format. Reading fails (false) for a text that is no
// registry file: no header line, a value outside a key, a key outside HKEY_CURRENT_USER, a
// line that is neither a key, a value nor a ";" comment, or bytes that are no valid text.
// Writing fails for a value that the registry cannot hold (anything but a 32-bit whole
// number, a text or a RegistryOtherValue).
bool readRegistryFile(QIODevice &device, QSettings::SettingsMap &map);
bool writeRegistryFile(QIODevice &device, const QSettings::SettingsMap &map);

// A registry name may hold characters that QSettings gives a meaning ('/' separates groups)
// or none at all (the unnamed default value "@"). These turn a key or value name into one
// part of a QSettings key and back; the default value's name is the empty text.
QString registryNameToKey(const QString &name);
QString registryNameFromKey(const QString &keyPart);

} // namespace platform
