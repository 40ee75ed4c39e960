#pragma once
// The settings kept between runs: the main window's placement and the user's options, as
// values of the current user's key "Software\<program name>\Defaults". A whole number is
// stored as a number value, or as decimal text when the value is already a text (its kind
// never changes); a switch is stored as the text "1" or "0".

#include <QSettings>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "entry/settings_values.h"
#include "market/market_hosts.h"

class RegistryKey
{
public:
    // Opens "Software\<programName>\Defaults". Names of keys and values match whatever their
    // case. A store that is not in the registry's syntax at all is moved aside to
    // "<file>.unreadable" and the key counts as missing: defaults apply, and the next write
    // starts a good store without destroying what the person had written. Opened ReadOnly, for
    // a reader that writes nothing, such a store is left where it is.
    enum Access { ReadWrite, ReadOnly };
    explicit RegistryKey(const QString &programName, Access access = ReadWrite);
    ~RegistryKey();
    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;

    // A number value is taken unchanged (its 32 bits as a signed number), a text is read as a
    // decimal whole number, and a text that is none or a missing value gives defaultValue.
    // A value of any other kind throws ConversionError naming the value.
    int readInteger(const QString &name, int defaultValue) const;
    // Read as a whole number: true when it is not 0.
    bool readBool(const QString &name, bool defaultValue) const;
    // A text value as it stands, a number value as decimal text; nothing for a missing value.
    // A value of any other kind throws ConversionError naming the value.
    std::optional<QString> readText(const QString &name) const;

    void writeInteger(const QString &name, int value);
    void writeBool(const QString &name, bool value);
    void writeText(const QString &name, const QString &text);

    // Stores what was written; false when it could not be stored.
    bool sync();
    QString fileName() const;

private:
    QString keyOf(const QString &name) const;

    std::unique_ptr<QSettings> m_settings;
    QString m_group;
};

// The stored values, in the order in which they are read and written.
enum class StoredValue {
    Top, Left, Height, Width, Splitter, NumberOfYears, DownloadTimer, NumberOfMinutes, UpdatesOn,
};
inline constexpr std::array<StoredValue, 9> kStoredValues = {
    StoredValue::Top, StoredValue::Left, StoredValue::Height, StoredValue::Width,
    StoredValue::Splitter, StoredValue::NumberOfYears, StoredValue::DownloadTimer,
    StoredValue::NumberOfMinutes, StoredValue::UpdatesOn,
};

// The name under which a value is stored: "Top", ..., "Aantal jaren", "Updates Aan".
QString storedValueName(StoredValue which);
// DownloadTimer and UpdatesOn are switches, the others whole numbers.
bool isStoredSwitch(StoredValue which);

// All nine values; a default-constructed one holds the defaults.
struct StoredSettings
{
    int top = 100;
    int left = 100;
    int height = 330;
    int width = 760;
    int splitter = 460;      // width of the main window's position list
    int numberOfYears = 1;
    bool downloadTimer = true;
    int numberOfMinutes = 15;
    bool updatesOn = true;

    // A switch as 1 or 0; set turns any value but 0 into true.
    int value(StoredValue which) const;
    void setValue(StoredValue which, int value);
};

// Receives each value as soon as it is read; a switch comes as 1 or 0.
using ApplyStoredValue = std::function<void(StoredValue which, int value)>;

// Reads the nine values in their order and hands each to apply. A value that cannot be read
// throws ConversionError: the values before it have been applied, the later ones are not read.
void readStoredSettings(const RegistryKey &key, const ApplyStoredValue &apply);

// Sets the nine values in their order, to be stored with the key's sync().
void putStoredSettings(RegistryKey &key, const StoredSettings &settings);
// Sets the nine values and stores them; false when they could not be stored.
bool writeStoredSettings(RegistryKey &key, const StoredSettings &settings);

// The portfolio's values, stored beside the nine and read and written after them: "Rente",
// "Dividendrendement" and "Marginpercentage" as texts in the user's notation ("2,00") and the
// switch "Meldingen" as the text "1" or "0"; then the overview's place, "Overzicht Top",
// "Overzicht Left", "Overzicht Height" and "Overzicht Width", as whole numbers. Each value that
// is missing or cannot be read keeps its default, without touching the nine or the others.
PortfolioSettings readPortfolioSettings(const RegistryKey &key);
void putPortfolioSettings(RegistryKey &key, const PortfolioSettings &settings);
WindowPlace readOverviewPlace(const RegistryKey &key);
void putOverviewPlace(RegistryKey &key, const WindowPlace &place);

// The three sites of the group " Websites ", stored beside the nine as the texts "Optiesite",
// "Indexsite" and "Makersite". A value that is missing, of another kind or no site address
// stays empty: the default site.
SiteSettings readSiteSettings(const RegistryKey &key);
void putSiteSettings(RegistryKey &key, const SiteSettings &sites);

// The time stamp (seconds since 1970) of the newest signed version list seen, stored beside the
// nine as the text "Versielijst Tijd": an older list is not used. 0 when it is missing or cannot
// be read.
qint64 readListTime(const RegistryKey &key);
void putListTime(RegistryKey &key, qint64 seconds);

// A percentage as stored, and as read back: a number with a comma or a point, brought within
// 0 to highest; nothing for a text that is no number.
QString percentText(double percent);
std::optional<double> percentFromText(const QString &text, double highest = kHighestPercent);
