#include "entry/stored_settings.h"

#include "platform/private_files.h"
#include "platform/registry_format.h"
#include "platform/user_registry.h"
#include "support/conversion_error.h"
#include "support/text_routines.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

const QString kUnreadableSuffix = QStringLiteral(".unreadable");

QStringList childNames(QSettings &settings, const QString &group, bool groups)
{
    if (!group.isEmpty())
        settings.beginGroup(group);
    const QStringList names = groups ? settings.childGroups() : settings.childKeys();
    if (!group.isEmpty())
        settings.endGroup();
    return names;
}

// The spelling that a name already has among names, matched as the registry matches names:
// whatever their case. Empty when it is not there.
QString existingName(const QStringList &names, const QString &name)
{
    if (names.contains(name))
        return name;
    for (const QString &candidate : names) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return candidate;
    }
    return QString();
}

struct Entry
{
    const char *name;
    int StoredSettings::*number;
    bool StoredSettings::*toggle;
};

const Entry &entryOf(StoredValue which)
{
    static const Entry entries[] = {
        {"Top", &StoredSettings::top, nullptr},
        {"Left", &StoredSettings::left, nullptr},
        {"Height", &StoredSettings::height, nullptr},
        {"Width", &StoredSettings::width, nullptr},
        {"Splitter", &StoredSettings::splitter, nullptr},
        {"Aantal jaren", &StoredSettings::numberOfYears, nullptr},
        {"DownloadTimer", nullptr, &StoredSettings::downloadTimer},
        {"Aantal minuten", &StoredSettings::numberOfMinutes, nullptr},
        {"Updates Aan", nullptr, &StoredSettings::updatesOn},
    };
    static_assert(std::size(entries) == kStoredValues.size());
    return entries[static_cast<int>(which)];
}

ConversionError wrongKind(const QString &name)
{
    return ConversionError(QStringLiteral("Ongeldig gegevenstype voor '%1'").arg(name));
}

// Each value is a percentage (up to its highest) or a switch.
struct PortfolioEntry
{
    const char *name;
    double PortfolioSettings::*percent;
    bool PortfolioSettings::*toggle;
    double highest = kHighestPercent;
};

const PortfolioEntry kPortfolioEntries[] = {
    {"Rente", &PortfolioSettings::ratePercent, nullptr},
    {"Dividendrendement", &PortfolioSettings::dividendYieldPercent, nullptr},
    {"Meldingen", nullptr, &PortfolioSettings::notifications},
    {"Marginpercentage", &PortfolioSettings::marginPercent, nullptr, kHighestMarginPercent},
};

struct PlaceEntry
{
    const char *name;
    int WindowPlace::*value;
};

const PlaceEntry kOverviewPlaceEntries[] = {
    {"Overzicht Top", &WindowPlace::top},
    {"Overzicht Left", &WindowPlace::left},
    {"Overzicht Height", &WindowPlace::height},
    {"Overzicht Width", &WindowPlace::width},
};

const QString kListTimeName = QStringLiteral("Versielijst Tijd");

struct SiteEntry
{
    const char *name;
    QString SiteSettings::*site;
};

const SiteEntry kSiteEntries[] = {
    {"Optiesite", &SiteSettings::optionSite},
    {"Indexsite", &SiteSettings::indexSite},
    {"Makersite", &SiteSettings::makerSite},
};

// A text value as it stands; nothing for one that is missing or of another kind.
std::optional<QString> textOrNothing(const RegistryKey &key, const QString &name)
{
    try {
        return key.readText(name);
    } catch (const ConversionError &) {
        return std::nullopt;
    }
}

} // namespace

RegistryKey::RegistryKey(const QString &programName, Access access)
    : m_settings(platform::openUserRegistry(programName))
{
    if (m_settings->status() == QSettings::FormatError && access == ReadWrite) {
        const QString file = m_settings->fileName();
        m_settings.reset();
        QFile::remove(file + kUnreadableSuffix);
        QFile::rename(file, file + kUnreadableSuffix);
        m_settings = platform::openUserRegistry(programName);
    }
    for (const QString &part : {QStringLiteral("Software"), programName, QStringLiteral("Defaults")}) {
        const QString key = platform::registryNameToKey(part);
        const QString existing = existingName(childNames(*m_settings, m_group, true), key);
        const QString spelled = existing.isEmpty() ? key : existing;
        m_group = m_group.isEmpty() ? spelled : m_group + u'/' + spelled;
    }
}

RegistryKey::~RegistryKey() = default;

QString RegistryKey::keyOf(const QString &name) const
{
    const QString key = platform::registryNameToKey(name);
    const QString existing = existingName(childNames(*m_settings, m_group, false), key);
    return m_group + u'/' + (existing.isEmpty() ? key : existing);
}

int RegistryKey::readInteger(const QString &name, int defaultValue) const
{
    const std::optional<QString> text = readText(name);
    int number = 0;
    return text && ParseDecimalInt(*text, &number) ? number : defaultValue;
}

std::optional<QString> RegistryKey::readText(const QString &name) const
{
    const QVariant value = m_settings->value(keyOf(name));
    if (!value.isValid())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::UInt:
        return QString::number(static_cast<int>(value.toUInt()));
    case QMetaType::Int:
        return QString::number(value.toInt());
    default:
        throw wrongKind(name);
    }
}

bool RegistryKey::readBool(const QString &name, bool defaultValue) const
{
    return readInteger(name, defaultValue ? 1 : 0) != 0;
}

void RegistryKey::writeInteger(const QString &name, int value)
{
    const QString key = keyOf(name);
    if (m_settings->value(key).typeId() == QMetaType::QString)
        m_settings->setValue(key, QString::number(value));
    else
        m_settings->setValue(key, QVariant::fromValue(static_cast<quint32>(value)));
}

void RegistryKey::writeBool(const QString &name, bool value)
{
    m_settings->setValue(keyOf(name), value ? QStringLiteral("1") : QStringLiteral("0"));
}

void RegistryKey::writeText(const QString &name, const QString &text)
{
    m_settings->setValue(keyOf(name), text);
}

bool RegistryKey::sync()
{
    // The settings name the user's sites and the window's place: the user's alone. The folder
    // is closed first, so that the file is never open to others, not even for a moment.
    const QString file = m_settings->fileName();
    platform::makePrivateFolder(QFileInfo(file).absolutePath());
    m_settings->sync();
    platform::makePrivate(file);
    return m_settings->status() == QSettings::NoError;
}

QString RegistryKey::fileName() const
{
    return m_settings->fileName();
}

QString storedValueName(StoredValue which)
{
    return QString::fromLatin1(entryOf(which).name);
}

bool isStoredSwitch(StoredValue which)
{
    return entryOf(which).toggle != nullptr;
}

int StoredSettings::value(StoredValue which) const
{
    const Entry &entry = entryOf(which);
    return entry.number ? this->*entry.number : (this->*entry.toggle ? 1 : 0);
}

void StoredSettings::setValue(StoredValue which, int value)
{
    const Entry &entry = entryOf(which);
    if (entry.number)
        this->*entry.number = value;
    else
        this->*entry.toggle = value != 0;
}

void readStoredSettings(const RegistryKey &key, const ApplyStoredValue &apply)
{
    const StoredSettings defaults;
    for (StoredValue which : kStoredValues) {
        const QString name = storedValueName(which);
        const int fallback = defaults.value(which);
        apply(which, isStoredSwitch(which) ? int(key.readBool(name, fallback != 0))
                                           : key.readInteger(name, fallback));
    }
}

void putStoredSettings(RegistryKey &key, const StoredSettings &settings)
{
    for (StoredValue which : kStoredValues) {
        const QString name = storedValueName(which);
        if (isStoredSwitch(which))
            key.writeBool(name, settings.value(which) != 0);
        else
            key.writeInteger(name, settings.value(which));
    }
}

bool writeStoredSettings(RegistryKey &key, const StoredSettings &settings)
{
    putStoredSettings(key, settings);
    return key.sync();
}

QString percentText(double percent)
{
    return FixedText(percent, kPercentDecimals);
}

std::optional<double> percentFromText(const QString &text, double highest)
{
    QString number = UnSpace(text);
    const qsizetype comma = number.indexOf(QLatin1Char(','));
    if (comma >= 0)
        number[comma] = QLatin1Char('.');
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double scale = std::pow(10.0, kPercentDecimals);
    return std::round(std::clamp(value, kLowestPercent, highest) * scale) / scale;
}

PortfolioSettings readPortfolioSettings(const RegistryKey &key)
{
    PortfolioSettings settings;
    for (const PortfolioEntry &entry : kPortfolioEntries) {
        const QString name = QString::fromLatin1(entry.name);
        try {
            if (entry.toggle) {
                settings.*entry.toggle = key.readBool(name, settings.*entry.toggle);
            } else if (const std::optional<QString> text = key.readText(name)) {
                settings.*entry.percent = percentFromText(*text, entry.highest).value_or(settings.*entry.percent);
            }
        } catch (const ConversionError &) {
            // A value of another kind keeps its default, as a missing one does.
        }
    }
    return settings;
}

void putPortfolioSettings(RegistryKey &key, const PortfolioSettings &settings)
{
    for (const PortfolioEntry &entry : kPortfolioEntries) {
        const QString name = QString::fromLatin1(entry.name);
        if (entry.toggle)
            key.writeBool(name, settings.*entry.toggle);
        else
            key.writeText(name, percentText(settings.*entry.percent));
    }
}

WindowPlace readOverviewPlace(const RegistryKey &key)
{
    WindowPlace place = kOverviewDefaultPlace;
    for (const PlaceEntry &entry : kOverviewPlaceEntries) {
        try {
            place.*entry.value = key.readInteger(QString::fromLatin1(entry.name), place.*entry.value);
        } catch (const ConversionError &) {
            // As above: its default.
        }
    }
    return place;
}

void putOverviewPlace(RegistryKey &key, const WindowPlace &place)
{
    for (const PlaceEntry &entry : kOverviewPlaceEntries)
        key.writeInteger(QString::fromLatin1(entry.name), place.*entry.value);
}

SiteSettings readSiteSettings(const RegistryKey &key)
{
    SiteSettings sites;
    for (const SiteEntry &entry : kSiteEntries) {
        const std::optional<QString> text = textOrNothing(key, QString::fromLatin1(entry.name));
        sites.*entry.site = SiteFromText(text.value_or(QString())).value_or(QString());
    }
    return sites;
}

void putSiteSettings(RegistryKey &key, const SiteSettings &sites)
{
    for (const SiteEntry &entry : kSiteEntries)
        key.writeText(QString::fromLatin1(entry.name), sites.*entry.site);
}

qint64 readListTime(const RegistryKey &key)
{
    bool ok = false;
    const qint64 seconds = textOrNothing(key, kListTimeName).value_or(QString()).toLongLong(&ok);
    return ok && seconds > 0 ? seconds : 0;
}

void putListTime(RegistryKey &key, qint64 seconds)
{
    key.writeText(kListTimeName, QString::number(seconds));
}
