#include "platform/registry_format.h"

#include <QMap>
#include <QStringConverter>
#include <QStringList>

#include <algorithm>
#include <limits>

namespace platform {

namespace {

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");
const QString kOldHeader = QStringLiteral("REGEDIT4");
const QString kRoot = QStringLiteral("HKEY_CURRENT_USER");
const QString kDefaultValueKey = QStringLiteral("@");
// Bytes per line of a hex value, about the width at which the registry editor wraps.
constexpr int kHexBytesPerLine = 25;

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

QString quoted(const QString &text)
{
    QString escaped = text;
    escaped.replace(u'\\', QLatin1String("\\\\")).replace(u'"', QLatin1String("\\\""));
    return u'"' + escaped + u'"';
}

// Reads a quoted text that starts at *pos; *pos ends just after its closing quote. The only
// escapes are a doubled backslash and a backslash before a quote; any other backslash stands
// for itself.
bool readQuoted(QStringView line, qsizetype *pos, QString *text)
{
    text->clear();
    for (qsizetype i = *pos + 1; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == u'\\' && i + 1 < line.size() && (line.at(i + 1) == u'\\' || line.at(i + 1) == u'"')) {
            text->append(line.at(++i));
        } else if (c == u'"') {
            *pos = i + 1;
            return true;
        } else {
            text->append(c);
        }
    }
    return false;
}

// The bytes of a hex value's data ("01,02,\\\n  03"), continuation lines included.
bool readHexBytes(const QString &data, QByteArray *bytes)
{
    QString joined;
    const QStringList lines = data.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString part = lines.at(i).trimmed();
        if (i + 1 < lines.size()) {
            if (!part.endsWith(u'\\'))
                return false;
            part.chop(1);
        }
        joined += part.trimmed();
    }
    bytes->clear();
    if (joined.isEmpty())
        return true;
    for (const QString &item : joined.split(u',')) {
        if (item.size() != 2 || !isHexDigit(item.at(0)) || !isHexDigit(item.at(1)))
            return false;
        bytes->append(char(item.toUInt(nullptr, 16)));
    }
    return true;
}

QString hexData(const QString &kind, const QByteArray &bytes)
{
    QString out = kind;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            out += (i % kHexBytesPerLine == 0) ? QStringLiteral(",\\\n  ") : QStringLiteral(",");
        out += QStringLiteral("%1").arg(uchar(bytes.at(i)), 2, 16, QLatin1Char('0'));
    }
    return out;
}

// The value that the data after a value's '=' stands for. Data that is no well-formed
// number or text keeps its exact form as another kind.
QVariant valueFromData(const QString &data)
{
    const QString trimmed = data.trimmed();
    if (trimmed.startsWith(u'"')) {
        qsizetype end = 0;
        QString text;
        if (readQuoted(trimmed, &end, &text) && end == trimmed.size())
            return text;
    } else if (trimmed.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const QString digits = trimmed.mid(6);
        if (!digits.isEmpty() && digits.size() <= 8 && std::all_of(digits.begin(), digits.end(), isHexDigit))
            return QVariant::fromValue(quint32(digits.toUInt(nullptr, 16)));
    } else if (trimmed.startsWith(QLatin1String("hex(1):"), Qt::CaseInsensitive)) {
        // A text in its hex form: UTF-16LE code units ending in a NUL.
        QByteArray bytes;
        if (readHexBytes(trimmed.mid(7), &bytes) && bytes.size() % 2 == 0) {
            QString text;
            for (qsizetype i = 0; i < bytes.size(); i += 2)
                text += QChar(char16_t(uchar(bytes.at(i)) | (uchar(bytes.at(i + 1)) << 8)));
            if (text.endsWith(QChar(u'\0')))
                text.chop(1);
            return text;
        }
    } else if (trimmed.startsWith(QLatin1String("hex(4):"), Qt::CaseInsensitive)) {
        // A number in its hex form: four bytes, least significant first.
        QByteArray bytes;
        if (readHexBytes(trimmed.mid(7), &bytes) && bytes.size() == 4) {
            quint32 n = 0;
            for (int i = 3; i >= 0; --i)
                n = (n << 8) | uchar(bytes.at(i));
            return QVariant::fromValue(n);
        }
    }
    return QVariant::fromValue(RegistryOtherValue{data});
}

bool needsHexForm(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x20 && c != u'\t'; });
}

// The data written after a value's '=', or false for a value the registry cannot hold.
bool dataOfValue(const QVariant &value, QString *data)
{
    qint64 number = 0;
    switch (value.typeId()) {
    case QMetaType::QString: {
        const QString text = value.toString();
        if (!needsHexForm(text)) {
            *data = quoted(text);
            return true;
        }
        // Line breaks cannot stand inside a quoted text: the hex form keeps the kind.
        QByteArray bytes;
        for (QChar c : text + QChar(u'\0')) {
            bytes.append(char(c.unicode() & 0xff));
            bytes.append(char(c.unicode() >> 8));
        }
        *data = hexData(QStringLiteral("hex(1):"), bytes);
        return true;
    }
    case QMetaType::Int: case QMetaType::Short: case QMetaType::Long: case QMetaType::LongLong:
    case QMetaType::SChar: case QMetaType::Char:
        number = value.toLongLong();
        break;
    case QMetaType::UInt: case QMetaType::UShort: case QMetaType::ULong: case QMetaType::UChar:
    case QMetaType::ULongLong:
        if (value.toULongLong() > std::numeric_limits<quint32>::max())
            return false;
        number = qint64(value.toULongLong());
        break;
    default:
        if (value.metaType() == QMetaType::fromType<RegistryOtherValue>()) {
            *data = value.value<RegistryOtherValue>().data;
            return true;
        }
        return false;
    }
    // A negative number is stored as its 32-bit two's complement, as the registry does.
    if (number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<quint32>::max())
        return false;
    *data = QStringLiteral("dword:%1").arg(quint32(number), 8, 16, QLatin1Char('0'));
    return true;
}

bool decodeFile(const QByteArray &bytes, QString *text)
{
    QStringDecoder decoder(QStringConverter::encodingForData(bytes).value_or(QStringConverter::Utf8));
    *text = decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace

QString registryNameToKey(const QString &name)
{
    if (name.isEmpty())
        return kDefaultValueKey;
    if (name == kDefaultValueKey)
        return QStringLiteral("%40");
    QString key = name;
    return key.replace(u'%', QLatin1String("%25")).replace(u'/', QLatin1String("%2F"));
}

QString registryNameFromKey(const QString &keyPart)
{
    if (keyPart == kDefaultValueKey)
        return QString();
    QString name;
    for (qsizetype i = 0; i < keyPart.size(); ++i) {
        const QStringView code = QStringView(keyPart).mid(i, 3);
        if (code == u"%25" || code == u"%2F" || code == u"%40") {
            name += code == u"%25" ? u'%' : code == u"%2F" ? u'/' : u'@';
            i += 2;
        } else {
            name += keyPart.at(i);
        }
    }
    return name;
}

bool readRegistryFile(QIODevice &device, QSettings::SettingsMap &map)
{
    QString text;
    if (!decodeFile(device.readAll(), &text))
        return false;
    QStringList lines = text.split(u'\n');
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }

    bool headerSeen = false;
    bool inKey = false;
    QString group;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines.at(i).trimmed();
        if (trimmed.isEmpty())
            continue;
        if (!headerSeen) {
            if (trimmed != kHeader && trimmed != kOldHeader)
                return false;
            headerSeen = true;
        } else if (trimmed.startsWith(u';')) {
            continue;
        } else if (trimmed.startsWith(u'[')) {
            if (!trimmed.endsWith(u']'))
                return false;
            const QStringList parts = trimmed.mid(1, trimmed.size() - 2).split(u'\\');
            if (parts.first().compare(kRoot, Qt::CaseInsensitive) != 0)
                return false;
            QStringList keyParts;
            for (qsizetype p = 1; p < parts.size(); ++p) {
                if (parts.at(p).isEmpty())
                    return false;
                keyParts << registryNameToKey(parts.at(p));
            }
            group = keyParts.join(u'/');
            inKey = true;
        } else if (trimmed.startsWith(u'"') || trimmed.startsWith(u'@')) {
            if (!inKey)
                return false;
            QString name;
            qsizetype pos = 1; // just after an '@', the unnamed default value
            if (trimmed.startsWith(u'"')) {
                pos = 0;
                if (!readQuoted(trimmed, &pos, &name))
                    return false;
            }
            while (pos < trimmed.size() && trimmed.at(pos).isSpace())
                ++pos;
            if (pos >= trimmed.size() || trimmed.at(pos) != u'=')
                return false;
            QString data = trimmed.mid(pos + 1);
            // Hex data goes on over the next lines as long as a line ends in a backslash.
            if (!data.trimmed().startsWith(u'"')) {
                while (data.trimmed().endsWith(u'\\') && i + 1 < lines.size())
                    data += u'\n' + lines.at(++i);
            }
            const QString key = registryNameToKey(name);
            map.insert(group.isEmpty() ? key : group + u'/' + key, valueFromData(data));
        } else {
            return false;
        }
    }
    return true;
}

bool writeRegistryFile(QIODevice &device, const QSettings::SettingsMap &map)
{
    QMap<QString, QStringList> linesOfKey;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const qsizetype slash = it.key().lastIndexOf(u'/');
        const QString name = registryNameFromKey(it.key().mid(slash + 1));
        QString data;
        if (!dataOfValue(it.value(), &data))
            return false;
        linesOfKey[slash < 0 ? QString() : it.key().left(slash)]
            << (name.isEmpty() ? QStringLiteral("@") : quoted(name)) + u'=' + data;
    }

    QString out = kHeader + QStringLiteral("\n\n");
    for (auto it = linesOfKey.cbegin(); it != linesOfKey.cend(); ++it) {
        QString path = kRoot;
        for (const QString &part : it.key().split(u'/', Qt::SkipEmptyParts)) {
            const QString keyName = registryNameFromKey(part);
            // A key's name can hold neither a backslash (it separates keys) nor nothing.
            if (keyName.isEmpty() || keyName.contains(u'\\'))
                return false;
            path += u'\\' + keyName;
        }
        out += u'[' + path + QStringLiteral("]\n") + it.value().join(u'\n') + QStringLiteral("\n\n");
    }
    const QByteArray bytes = out.toUtf8();
    return device.write(bytes) == bytes.size();
}

QSettings::Format registryFormat()
{
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("reg"), readRegistryFile, writeRegistryFile);
    return format;
}

} // namespace platform
