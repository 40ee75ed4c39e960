#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "entry/settings_values.h"
#include "entry/stored_settings.h"
#include "platform/registry_format.h"
#include "platform/user_registry.h"
#include "support/conversion_error.h"
#include "support/files.h"
#include "support/scoped_env.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <optional>
#include <utility>
#include <vector>

namespace {

const QByteArray kHeader = "Windows Registry Editor Version 5.00\n\n";
const QByteArray kKey = "[HKEY_CURRENT_USER\\Software\\Pelgrandix\\Defaults]\n";

using Applied = std::vector<std::pair<StoredValue, int>>;

// Every file is stored in a settings folder of its own: QSettings keeps what it last read or
// wrote of a path, so reading a file back means storing its bytes again at a new path.
class StoredSettingsTest : public ::testing::Test
{
protected:
    QString path() const { return m_folder + "/Pelgrandix/Pelgrandix.reg"; }
    void store(const QByteArray &bytes)
    {
        m_folder = m_dir.path() + QStringLiteral("/%1").arg(++m_stores);
        m_config.reset();  // it puts back what it found, so it goes first
        m_config.emplace("XDG_CONFIG_HOME", m_folder.toUtf8());
        ASSERT_TRUE(writeFile(path(), bytes));
    }
    QByteArray stored() const { return readFile(path()); }
    Applied readAll(Applied *partial = nullptr)
    {
        Applied applied;
        RegistryKey key("Pelgrandix");
        readStoredSettings(key, [&](StoredValue which, int value) {
            applied.emplace_back(which, value);
            if (partial)
                *partial = applied;
        });
        return applied;
    }
    static Applied valuesOf(const StoredSettings &settings)
    {
        Applied applied;
        for (StoredValue which : kStoredValues)
            applied.emplace_back(which, settings.value(which));
        return applied;
    }

    QTemporaryDir m_dir;
    std::optional<ScopedEnv> m_config{std::in_place, "XDG_CONFIG_HOME", m_dir.path().toUtf8()};
    QString m_folder = m_dir.path();
    int m_stores = 0;
};

TEST_F(StoredSettingsTest, MissingFileKeyOrValueGivesDefaultsAndCreatesNothing)
{
    EXPECT_EQ(readAll(), valuesOf(StoredSettings{}));
    EXPECT_FALSE(QFile::exists(path()));

    store(kHeader + "[HKEY_CURRENT_USER\\Software\\Pelgrandix]\n\"Top\"=dword:00000005\n\n"
          + kKey + "\"Other\"=dword:00000001\n");
    EXPECT_EQ(readAll(), valuesOf(StoredSettings{}));
}

TEST_F(StoredSettingsTest, FirstWriteStoresNumbersAsDwordAndSwitchesAsText)
{
    StoredSettings settings;
    settings.downloadTimer = false;
    {
        RegistryKey key("Pelgrandix");
        ASSERT_TRUE(writeStoredSettings(key, settings));
    }
    EXPECT_EQ(stored(), kHeader + kKey
              + "\"Aantal jaren\"=dword:00000001\n\"Aantal minuten\"=dword:0000000f\n"
                "\"DownloadTimer\"=\"0\"\n\"Height\"=dword:0000014a\n\"Left\"=dword:00000064\n"
                "\"Splitter\"=dword:000001cc\n\"Top\"=dword:00000064\n\"Updates Aan\"=\"1\"\n"
                "\"Width\"=dword:000002f8\n\n");
    store(stored());
    EXPECT_EQ(readAll(), valuesOf(settings));
}

TEST_F(StoredSettingsTest, IntegerReadFromTextAndWrittenBackAsText)
{
    struct Case { const char *text; int top; };
    const Case cases[] = {{"250", 250}, {"  -7", -7}, {"abc", 100}, {"", 100}, {"12 ", 100},
                          {"2147483648", 100}, {"$FA", 100}};
    for (const Case &c : cases) {
        store(kHeader + kKey + "\"Top\"=\"" + c.text + "\"\n");
        EXPECT_EQ(RegistryKey("Pelgrandix").readInteger("Top", 100), c.top) << c.text;
    }
    RegistryKey key("Pelgrandix");
    key.writeInteger("Top", 300);
    key.writeInteger("Left", 40);
    ASSERT_TRUE(key.sync());
    EXPECT_EQ(stored(), kHeader + kKey + "\"Left\"=dword:00000028\n\"Top\"=\"300\"\n\n");
}

TEST_F(StoredSettingsTest, ValueOfAnotherKindStopsTheReadingAfterTheValuesBeforeIt)
{
    store(kHeader + kKey + "\"Top\"=dword:00000032\n\"Left\"=\"70\"\n\"Height\"=hex:01,02\n"
          "\"Width\"=dword:00000400\n\"Farben\"=hex(7):41,00,00,00,\\\n  00,00\n");
    Applied partial;
    try {
        readAll(&partial);
        FAIL() << "no error";
    } catch (const ConversionError &error) {
        EXPECT_TRUE(error.message().contains("'Height'")) << error.what();
    }
    EXPECT_EQ(partial, (Applied{{StoredValue::Top, 50}, {StoredValue::Left, 70}}));

    // Writing replaces the unreadable value by a number and keeps what it does not write.
    RegistryKey key("Pelgrandix");
    key.writeInteger("Height", 330);
    ASSERT_TRUE(key.sync());
    const QByteArray file = stored();
    EXPECT_TRUE(file.contains("\"Farben\"=hex(7):41,00,00,00,\\\n  00,00\n")) << file.constData();
    EXPECT_TRUE(file.contains("\"Height\"=dword:0000014a\n"));
    EXPECT_EQ(key.readInteger("Width", 0), 1024);
}

TEST_F(StoredSettingsTest, FullDwordIsMinusOneAndCutToSixteenBits)
{
    store(kHeader + kKey + "\"Aantal jaren\"=dword:ffffffff\n\"Aantal minuten\"=dword:0001002d\n");
    RegistryKey key("Pelgrandix");
    EXPECT_EQ(key.readInteger("Aantal jaren", 1), -1);
    EXPECT_EQ(cutToWord(key.readInteger("Aantal jaren", 1)), 65535);
    EXPECT_EQ(cutToWord(key.readInteger("Aantal minuten", 15)), 45);
    key.writeInteger("Aantal jaren", -1);
    key.writeInteger("Top", -2147483647 - 1);
    ASSERT_TRUE(key.sync());
    EXPECT_TRUE(stored().contains("\"Aantal jaren\"=dword:ffffffff\n\"Aantal minuten\"=dword:0001002d\n"
                                  "\"Top\"=dword:80000000\n"));
    store(stored());
    EXPECT_EQ(RegistryKey("Pelgrandix").readInteger("Top", 0), -2147483647 - 1);
}

TEST_F(StoredSettingsTest, ReadsTheForeignFormsOfTheFile)
{
    const QByteArray body = "[hkey_current_user\\SOFTWARE\\pelgrandix\\DEFAULTS]\r\n"
                            "; written by hand\r\n\"TOP\" = dword:7\r\n\"Left\"=hex(4):2c,01,00,00\r\n"
                            "\"DownloadTimer\"=hex(1):30,00,00,00\r\n\"Updates Aan\"=dword:2\r\n";
    QByteArray utf16 = "\xff\xfe";
    for (QChar c : QString::fromLatin1(kHeader + body))
        utf16 += QByteArray(reinterpret_cast<const char *>(&c), 2);
    for (const QByteArray &bytes : {kHeader + body, "\xef\xbb\xbf" + kHeader + body, utf16,
                                    "REGEDIT4\n\n" + body}) {
        store(bytes);
        RegistryKey key("Pelgrandix");
        EXPECT_EQ(key.readInteger("Top", 100), 7) << bytes.toHex().constData();
        EXPECT_EQ(key.readInteger("Left", 100), 300);
        EXPECT_FALSE(key.readBool("DownloadTimer", true));
        EXPECT_TRUE(key.readBool("Updates Aan", false));
    }
    // A value found under another case is written in place, not beside it.
    RegistryKey key("Pelgrandix");
    key.writeInteger("Top", 8);
    ASSERT_TRUE(key.sync());
    EXPECT_TRUE(stored().endsWith("[HKEY_CURRENT_USER\\SOFTWARE\\pelgrandix\\DEFAULTS]\n"
                                  "\"DownloadTimer\"=\"0\"\n\"Left\"=dword:0000012c\n\"TOP\"=dword:00000008\n"
                                  "\"Updates Aan\"=dword:00000002\n\n"))
        << stored().constData();
}

TEST_F(StoredSettingsTest, NamesAndTextsRoundTripWithEscapes)
{
    const QString file = m_dir.path() + "/written.reg";
    const QString key = "Software/A%2Fb/" + platform::registryNameToKey("Pad \"x\" 100%/y");
    const QString value = "C:\\Temp\\ \"q\" \\\"";
    {
        QSettings settings(file, platform::registryFormat());
        settings.setValue(key, value);
        settings.setValue("Software/Lines/" + platform::registryNameToKey(""),
                          "een\ntwee\r\ndrie vier vijf");
        settings.setValue("Software/Lines/" + platform::registryNameToKey("@"), QVariant::fromValue(7u));
    }
    store(readFile(file));
    EXPECT_TRUE(stored().contains("[HKEY_CURRENT_USER\\Software\\A/b]\n"
                                  "\"Pad \\\"x\\\" 100%/y\"=\"C:\\\\Temp\\\\ \\\"q\\\" \\\\\\\"\"\n"));
    QSettings settings(path(), platform::registryFormat());
    EXPECT_EQ(settings.status(), QSettings::NoError);
    EXPECT_EQ(settings.value(key).toString(), value);
    EXPECT_EQ(settings.value("Software/Lines/@").toString(), "een\ntwee\r\ndrie vier vijf");
    EXPECT_EQ(settings.value("Software/Lines/%40").toUInt(), 7u);
}

TEST_F(StoredSettingsTest, UnreadableFileIsSetAsideAndDefaultsApply)
{
    const QByteArray bad = kHeader + "\"Top\"=dword:00000005\n";
    store(bad);
    {
        RegistryKey key("Pelgrandix");
        EXPECT_EQ(key.readInteger("Top", 100), 100);
        key.writeBool("Updates Aan", false);
        EXPECT_TRUE(key.sync());
    }
    EXPECT_EQ(stored(), kHeader + kKey + "\"Updates Aan\"=\"0\"\n\n");
    EXPECT_EQ(readFile(path() + ".unreadable"), bad);
}

TEST(RegistryFormat, RejectsWhatIsNoRegistryFile)
{
    const char *const texts[] = {
        "[HKEY_CURRENT_USER\\Software]\n",                       // no header
        "Windows Registry Editor Version 5.00\n\"Top\"=dword:1\n", // value outside a key
        "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Software]\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\Software\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\\\Software]\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER]\nTop=dword:1\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER]\n\"Top\" dword:1\n",
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER]\n\"T\xff\"=\"1\"\n",
    };
    for (const char *text : texts) {
        QBuffer buffer;
        buffer.setData(text);
        buffer.open(QIODevice::ReadOnly);
        QSettings::SettingsMap map;
        EXPECT_FALSE(platform::readRegistryFile(buffer, map)) << text;
    }
}

QVariant readData(const QByteArray &data)
{
    QBuffer buffer;
    buffer.setData("REGEDIT4\n[HKEY_CURRENT_USER]\n\"v\"=" + data + "\n");
    buffer.open(QIODevice::ReadOnly);
    QSettings::SettingsMap map;
    EXPECT_TRUE(platform::readRegistryFile(buffer, map)) << data.constData();
    return map.value("v");
}

TEST(RegistryFormat, EachKindOfDataKeepsItsKind)
{
    const auto other = [](const char *data) { return QVariant::fromValue(RegistryOtherValue{data}); };
    const std::pair<const char *, QVariant> cases[] = {
        {"dword:7", QVariant::fromValue(7u)}, {"DWORD:FFFFFFFF ", QVariant::fromValue(0xffffffffu)},
        {"dword:123456789", other("dword:123456789")}, {"dword:0x1", other("dword:0x1")},
        {"dword:", other("dword:")}, {"\"a\\\"b\\\\\"", QString("a\"b\\")},
        {"\"\"", QString()}, {"\"abc", other("\"abc")}, {"\"a\"b\"", other("\"a\"b\"")},
        {"hex(1):41,00,42,00,00,00", QString("AB")}, {"hex(1):41", other("hex(1):41")},
        {"hex(4):01,02,00,00", QVariant::fromValue(0x201u)}, {"hex(4):01,02,00", other("hex(4):01,02,00")},
        {"hex:01,02", other("hex:01,02")}, {"hex(2):25,00,00,00", other("hex(2):25,00,00,00")},
        {"-", other("-")},
    };
    for (const auto &[data, value] : cases)
        EXPECT_EQ(readData(data), value) << data;
}

TEST(RegistryFormat, WritesOnlyWhatTheRegistryCanHold)
{
    const std::pair<QVariant, const char *> cases[] = {
        {QVariant::fromValue(qint64(-2147483647) - 1), "dword:80000000"},
        {QVariant::fromValue(quint64(0xffffffffu)), "dword:ffffffff"}, {QVariant(-1), "dword:ffffffff"},
        {QVariant::fromValue(qint64(-2147483647) - 2), nullptr},
        {QVariant::fromValue(quint64(0x100000000)), nullptr}, {QVariant(0.5), nullptr},
        {QVariant(true), nullptr}, {QVariant(QByteArray("1")), nullptr},
    };
    for (const auto &[value, data] : cases) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        EXPECT_EQ(platform::writeRegistryFile(buffer, {{"v", value}}), data != nullptr) << value.typeName();
        if (data) {
            EXPECT_TRUE(buffer.data().contains(QByteArray("\n\"v\"=") + data + "\n")) << data;
        }
    }
}

TEST_F(StoredSettingsTest, FailedWriteLeavesTheOldFileWhole)
{
    store(kHeader + kKey + "\"Top\"=dword:00000005\n");
    const QByteArray before = stored();
    QSettings settings(path(), platform::registryFormat());
    settings.setValue("Software/Pelgrandix/Defaults/Ratio", 0.5); // no registry kind holds it
    settings.sync();
    EXPECT_EQ(settings.status(), QSettings::AccessError);
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(QDir(m_folder + "/Pelgrandix").entryList(QDir::Files), QStringList{"Pelgrandix.reg"});
}

TEST_F(StoredSettingsTest, FileLivesInTheUsersSettingsFolder)
{
    EXPECT_EQ(platform::userRegistryFile("Pelgrandix"), path());
    ScopedEnv home("HOME", m_dir.path().toUtf8());
    ScopedEnv noConfig("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(platform::userRegistryFile("Pelgrandix"), m_dir.path() + "/.config/Pelgrandix/Pelgrandix.reg");
}

} // namespace

TEST_F(StoredSettingsTest, PortfolioValuesBesideTheNineKeepTheirDefaultsWhenUnreadable)
{
    struct Case {
        QByteArray rente;
        double rate;
    };
    const Case cases[] = {
        {"\"4,5\"", 4.5}, {"\"1.25\"", 1.25}, {"\" 3,333 \"", 3.33}, {"\"25\"", 20}, {"\"-1\"", 0},
        {"\"veel\"", 2.0}, {"\"\"", 2.0}, {"dword:00000004", 4}, {"hex:01,02", 2.0},
    };
    for (const Case &c : cases) {
        store(kHeader + kKey + "\"Rente\"=" + c.rente + "\n\"Dividendrendement\"=hex:00\n\"Marginpercentage\"=\"150\"\n"
              "\"Overzicht Top\"=dword:00000032\n\"Overzicht Width\"=\"breed\"\n\"Top\"=dword:00000007\n");
        const RegistryKey key("Pelgrandix");
        const PortfolioSettings read = readPortfolioSettings(key);
        EXPECT_EQ(read.ratePercent, c.rate) << c.rente.constData();
        EXPECT_EQ(read.dividendYieldPercent, 3.0);
        EXPECT_EQ(read.marginPercent, 100) << "a bound of its own";
        EXPECT_EQ(readOverviewPlace(key).top, 50);
        EXPECT_EQ(readOverviewPlace(key).width, kOverviewDefaultPlace.width);
        EXPECT_EQ(readAll().front(), std::make_pair(StoredValue::Top, 7)) << "the nine read as before";
    }
}

TEST_F(StoredSettingsTest, SitesAndTheListTimeBesideTheNineAreTextsAndAnUnreadableOneIsTheDefault)
{
    store(kHeader + kKey + "\"Optiesite\"=hex:01\n\"Indexsite\"=\"ftp://index.example\"\n"
          "\"Makersite\"=\"https://maker.example\"\n\"Versielijst Tijd\"=\"gisteren\"\n");
    RegistryKey key("Pelgrandix");
    EXPECT_EQ(readSiteSettings(key), SiteSettings({"", "", "https://maker.example"}));
    EXPECT_EQ(readListTime(key), 0);
    putListTime(key, 1796840804);
    ASSERT_TRUE(key.sync());
    EXPECT_TRUE(stored().contains("\"Versielijst Tijd\"=\"1796840804\"\n"));
}
