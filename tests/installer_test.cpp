#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryDir>

#include <climits>
#include <csignal>
#include <sys/resource.h>
#include <vector>

#include "support/files.h"
#include "support/loopback_listener.h"
#include "support/maker_site.h"
#include "support/program_state.h"
#include "support/scoped_env.h"
#include "support/system_info.h"
#include "support/temp_home.h"
#include "support/update_keys.h"
#include "support/wait_until.h"
#include "market/page_text.h"
#include "update/installer.h"
#include "update/update_check.h"
#include "update/update_error.h"
#include "update/update_http.h"
#include "update/update_state.h"
#include "update/version_list.h"

namespace {

std::string bytes(size_t count)
{
    std::string body(count, '\0');
    for (size_t i = 0; i < count; ++i)
        body[i] = char(i * 7 + i / 251);
    return body;
}

// The update state and the data folder are program-wide; the base puts them back.
class Update : public ProgramStateTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        DataDir = dir.path() + QLatin1Char('/');
        sLanguage = QStringLiteral("NLD");
        ReceivedKB = 99;
        DownloadedB = true;
    }

    int check(const UpdateProbe &probe = [] { return ProbeResult{"Antwoord van 127.0.0.1"}; })
    {
        programStr = QStringLiteral("Pelgrandix");
        return GetDownloadName(programStr, newVersion, remark, "versie 1.20a", probe);
    }

    InstallerDownload download(const QString &name, const ListedInstaller &listed = {})
    {
        return DownloadNewVersion(name, VersionListUrl(), "Pelgrandix", "versie 1.20a", listed,
                                  [this](quint32 kb, quint32 gauge) { progress.push_back({kb, gauge}); });
    }

    // The settings and the trusted keys of the check.
    TempHome home;
    QTemporaryDir dir;
    MakerSite site;
    QString programStr, newVersion, remark;
    std::vector<std::pair<quint32, quint32>> progress;
};

const std::string kList = "Koersbord,Koersbord300.exe,c,900,x,oud,old\r\n"
                          "Pelgrandix,Pelgrandix121.exe,b,2048," + Sha256Field("new release") + ",nieuw,new\r\n";

} // namespace

TEST_F(Update, CheckReadsAFreshListAsTheDownloadAgent)
{
    site.serveList(kList, QDateTime::currentSecsSinceEpoch(), 10);
    EXPECT_EQ(check(), UpdateAdvised);
    EXPECT_EQ(programStr, "Pelgrandix121.exe");
    EXPECT_EQ(newVersion, "1.21b");
    EXPECT_EQ(InstallerSizeKB, 2048);
    EXPECT_EQ(site.paths(), QStringList({"/versions.dat", "/versions.dat.minisig"}));
    EXPECT_EQ(site.header("User-Agent"), "Rondel Function: Download");
    EXPECT_EQ(site.header("Cache-Control"), "no-cache");
    // Only a time-out fails the probe; a missing reply line does not.
    EXPECT_EQ(check([] { return ProbeResult{}; }), UpdateAdvised);
    EXPECT_EQ(site.requests(), 4);
}

TEST_F(Update, CheckWithTimedOutProbeAsksNothing)
{
    site.serveList(kList);
    EXPECT_EQ(check([] { return ProbeResult{"Time-out bij opdracht."}; }), ProbeFailed);
    EXPECT_EQ(programStr, "Pelgrandix");
    // A ping that hung and had to be stopped counts as a time-out.
    EXPECT_EQ(check([] { return ProbeResult{QString(), true}; }), ProbeFailed);
    EXPECT_EQ(site.requests(), 0);
}

TEST_F(Update, CheckOfAnUnreachableSiteOrItsDefaultPageFindsNoList)
{
    site.serve("/versions.dat", "Default.htm");
    EXPECT_EQ(check(), ListNotReceived);
    const LoopbackListener closed(LoopbackListener::Refusing);
    ScopedEnv makerHost("PELGRANDIX_MAKER_HOST", closed.host());
    EXPECT_EQ(check(), ListNotReceived);
    EXPECT_TRUE(DownloadedB);
}

TEST_F(Update, ListIsReadAsWindows1252)
{
    site.serve("/page", "Prijs \x80 12,50 caf\xe9");
    EXPECT_EQ(PageText(update_http::fetchBytes(VersionListUrl().replace("versions.dat", "page"))),
              QString::fromUtf8("Prijs € 12,50 café"));
}

TEST_F(Update, DownloadCountsWholeKiBPerFullBlockWhateverTheNetworkSplit)
{
    const std::string installer = bytes(5000);
    site.serve("/Pelgrandix121.exe", installer, 1000);
    ASSERT_TRUE(writeFile(DataDir + "Temp/Pelgrandix120.exe", "old release"));
    ASSERT_TRUE(writeFile(DataDir + "Temp/Pelgrandix121.exe", QByteArray(9000, 'x')));

    ASSERT_EQ(download("Pelgrandix121.exe"), InstallerDownload::Received);
    EXPECT_EQ(ReceivedKB, 4u);
    EXPECT_EQ(progress, (std::vector<std::pair<quint32, quint32>>{{4, 5}, {4, 5}}));
    EXPECT_EQ(readFile(DataDir + "Temp/Pelgrandix121.exe"), QByteArray::fromStdString(installer));
    EXPECT_FALSE(QFileInfo::exists(DataDir + "Temp/Pelgrandix120.exe"));
    EXPECT_EQ(site.header("Cache-Control"), "");
}

TEST_F(Update, DownloadOfLessThanOneKiBOrAnErrorPageIsDeleted)
{
    site.serve("/Pelgrandix121.exe", bytes(1023), 300);
    EXPECT_EQ(download("Pelgrandix121.exe"), InstallerDownload::NotReceived);
    EXPECT_EQ(ReceivedKB, 0u);
    EXPECT_FALSE(QFileInfo::exists(DataDir + "Temp/Pelgrandix121.exe"));

    site.serve("/Pelgrandix122.exe", "<html>" + std::string(3000, ' ') + "</html>", 4096, 404);
    EXPECT_EQ(download("Pelgrandix122.exe"), InstallerDownload::NotReceived);
    EXPECT_FALSE(QFileInfo::exists(DataDir + "Temp/Pelgrandix122.exe"));

    const LoopbackListener closed(LoopbackListener::Refusing);
    ScopedEnv makerHost("PELGRANDIX_MAKER_HOST", closed.host());
    EXPECT_EQ(download("Pelgrandix121.exe"), InstallerDownload::NotReceived);
}

TEST_F(Update, DownloadNameIsAskedForAsItStandsWhateverCharactersItHolds)
{
    // A blank makes no address at all unless written as %20; "#" and "?" would cut the name off,
    // and a "%" would be read as the start of an escape.
    for (const std::string name : {"Pelgrandix Setup 121.exe", "Pelgrandix#121.exe",
                                   "Pelgrandix?121.exe", "Pelgrandix%41.exe"}) {
        SCOPED_TRACE(name);
        const std::string installer = bytes(3000);
        site.serve("/" + name, installer);
        site.serve("/Pelgrandix", bytes(2000));
        ASSERT_EQ(download(QString::fromStdString(name)), InstallerDownload::Received);
        EXPECT_EQ(readFile(DataDir + "Temp/" + QString::fromStdString(name)),
                  QByteArray::fromStdString(installer));
        EXPECT_EQ(site.paths().constLast(), QString::fromStdString("/" + name));
    }
}

TEST_F(Update, DownloadNamesReachingOutsideTheFolderAreRefusedWithoutARequest)
{
    ASSERT_TRUE(writeFile(DataDir + "Temp/Pelgrandix120.exe", "old release"));
    for (const QString &name : {QString("../x.exe"), QString("a/b.exe"), QString("  "),
                                QString(".."), QString("."), QString("a\\b.exe"),
                                QString(QChar(0)), QString("x\n.exe")}) {
        EXPECT_FALSE(IsSafeDownloadName(name)) << name.toStdString();
        EXPECT_EQ(download(name), InstallerDownload::NotReceived) << name.toStdString();
    }
    EXPECT_EQ(site.requests(), 0);
    EXPECT_TRUE(QFileInfo::exists(DataDir + "Temp/Pelgrandix120.exe"));
    EXPECT_TRUE(IsSafeDownloadName("setup 1.21b.exe"));
    EXPECT_EQ(UnsafeDownloadNameText("../x.exe", "NLD"), "Ongeldige downloadnaam: \"../x.exe\"");
    EXPECT_EQ(UnsafeDownloadNameText("../x.exe", "ENU"), "Invalid download name: \"../x.exe\"");
}

TEST_F(Update, DownloadOntoAFullDiskRaisesAndLeavesNoFile)
{
    site.serve("/Pelgrandix121.exe", bytes(20000), 4096);
    // A file size limit makes the disk "full" after 6000 bytes for this process only.
    rlimit original{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &original), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = original;
    limited.rlim_cur = 6000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    EXPECT_THROW(download("Pelgrandix121.exe"), UpdateError);
    setrlimit(RLIMIT_FSIZE, &original);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(QFileInfo::exists(DataDir + "Temp/Pelgrandix121.exe"));
}

TEST(Installer, ListedSizeSetsTheLimitsWithinFixedBounds)
{
    struct Case { qint32 sizeKB; qint64 bytes; int ms; };
    const Case cases[] = {
        {16 * 3600, (16 * 3600 + 1) * 1024 - 1, 3600000},  // an hour at a slow line
        {INT_MAX, 1 << 30, 2 * 3600000},                 // a list that names terabytes
    };
    for (const Case &c : cases) {
        EXPECT_EQ(InstallerByteLimit(c.sizeKB), c.bytes) << c.sizeKB;
        EXPECT_EQ(InstallerDeadlineMs(c.sizeKB), c.ms) << c.sizeKB;
    }
}

TEST(Installer, AddressDisplayNameAndSilentStart)
{
    EXPECT_EQ(InstallerUrl("http://maker.example/pelgrandix/versions.dat", "Pelgrandix121.exe"),
              "http://maker.example/pelgrandix/Pelgrandix121.exe");
    for (const auto &[name, shown] : {std::pair{"Pelgrandix121.exe", "Pelgrandix"},
                                      {"pelgrandix121.exe", "Pelgrandix"},
                                      {"Rdscan2.exe", "rdSCAN"}, {"rd-tool3.exe", "rd-TOOL"},
                                      {"RDscan2.exe", "RDscan"}, {"noext", ""}})
        EXPECT_EQ(InstallDisplayName(name), QLatin1String(shown)) << name;

    // A downloaded file has no execute permission; it is started all the same.
    QTemporaryDir dir;
    const QString installer = dir.filePath("Pelgrandix121.exe");
    ASSERT_TRUE(writeFile(installer, "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/args.txt\"\n",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    ASSERT_TRUE(StartInstaller(installer));
    waitUntil([&dir] { return !readFile(dir.filePath("args.txt")).isEmpty(); });
    EXPECT_EQ(readFile(dir.filePath("args.txt")), "/SP- /silent /noicons\n");
    EXPECT_FALSE(StartInstaller(dir.filePath("missing.exe")));
}
