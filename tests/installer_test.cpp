#include <gtest/gtest.h>

#include <httplib.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QTemporaryDir>
#include <QThread>

#include <chrono>
#include <csignal>
#include <sys/resource.h>
#include <thread>
#include <utility>
#include <vector>

#include "support/system_info.h"
#include "update/installer.h"
#include "update/update_error.h"
#include "update/update_http.h"
#include "update/update_state.h"

namespace {

// The maker's site on loopback. Files are sent in pieces of the given size with a pause in
// between, so the receiving side sees them split as a slow network would.
class MakerSite
{
public:
    MakerSite()
    {
        m_server.set_pre_routing_handler([this](const httplib::Request &, httplib::Response &) {
            QMutexLocker lock(&m_mutex);
            ++m_requests;
            return httplib::Server::HandlerResponse::Unhandled;
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~MakerSite()
    {
        m_server.stop();
        m_thread.join();
    }

    void serveInPieces(const std::string &path, const std::string &body, size_t piece)
    {
        m_server.Get(path, [body, piece](const httplib::Request &, httplib::Response &response) {
            response.set_content_provider(
                body.size(), "application/octet-stream",
                [body, piece](size_t offset, size_t length, httplib::DataSink &sink) {
                    sink.write(body.data() + offset, std::min(piece, length));
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                    return true;
                });
        });
    }
    void serveNotFoundPage(const std::string &path)
    {
        m_server.Get(path, [](const httplib::Request &, httplib::Response &response) {
            response.status = 404;
            response.set_content("<html>" + std::string(3000, ' ') + "Niet gevonden</html>",
                                 "text/html");
        });
    }
    QString versionListUrl() const
    {
        return QStringLiteral("http://127.0.0.1:%1/versions.dat").arg(m_port);
    }
    int requests() { QMutexLocker lock(&m_mutex); return m_requests; }

private:
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    QMutex m_mutex;
    int m_requests = 0;
};

std::string bytes(size_t count)
{
    std::string body(count, '\0');
    for (size_t i = 0; i < count; ++i)
        body[i] = char(i * 7 + i / 251);
    return body;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

class InstallerDownload : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        DataDir = dir.path() + QLatin1Char('/');
        ReceivedKB = 99;
    }

    bool download(const QString &name)
    {
        return DownloadNewVersion(name, site.versionListUrl(), "Pelgrandix", "versie 1.20a",
                                  [this](quint32 kb, quint32 gauge) {
                                      progress.emplace_back(kb, gauge);
                                  });
    }

    QTemporaryDir dir;
    MakerSite site;
    std::vector<std::pair<quint32, quint32>> progress;
};

} // namespace

TEST_F(InstallerDownload, CountsWholeKiBPerFullBlockWhateverTheNetworkSplit)
{
    const std::string installer = bytes(5000);
    site.serveInPieces("/Pelgrandix121.exe", installer, 1000);
    writeFile(DataDir + "Temp/Pelgrandix120.exe", "old release");
    writeFile(DataDir + "Temp/Pelgrandix121.exe", QByteArray(9000, 'x'));

    ASSERT_TRUE(download("Pelgrandix121.exe"));
    EXPECT_EQ(ReceivedKB, 4u);
    EXPECT_EQ(progress, (std::vector<std::pair<quint32, quint32>>{{4, 5}, {4, 5}}));
    EXPECT_EQ(readAll(DataDir + "Temp/Pelgrandix121.exe"), QByteArray::fromStdString(installer));
    EXPECT_FALSE(QFileInfo::exists(DataDir + "Temp/Pelgrandix120.exe"));
}

TEST_F(InstallerDownload, LessThanOneKiBIsNotReceivedAndDeleted)
{
    site.serveInPieces("/Pelgrandix121.exe", bytes(1023), 300);
    EXPECT_FALSE(download("Pelgrandix121.exe"));
    EXPECT_EQ(ReceivedKB, 0u);
    EXPECT_FALSE(QFileInfo::exists(DataDir + "Temp/Pelgrandix121.exe"));
    // The folder was made for it all the same.
    EXPECT_TRUE(QFileInfo(DataDir + "Temp").isDir());
}

TEST_F(InstallerDownload, MissingInstallerOrSiteGivesNothing)
{
    // The site answers with its error page, which is no installer.
    site.serveNotFoundPage("/Pelgrandix121.exe");
    EXPECT_FALSE(download("Pelgrandix121.exe"));
    EXPECT_EQ(site.requests(), 1);
    EXPECT_FALSE(QFileInfo::exists(DataDir + "Temp/Pelgrandix121.exe"));

    QString closedUrl;
    {
        MakerSite gone;
        closedUrl = gone.versionListUrl();
    }
    EXPECT_FALSE(DownloadNewVersion("Pelgrandix121.exe", closedUrl, "Pelgrandix", "versie 1.20a",
                                    {}));
    EXPECT_FALSE(QFileInfo::exists(DataDir + "Temp/Pelgrandix121.exe"));
}

TEST_F(InstallerDownload, NamesReachingOutsideTheFolderAreRefusedWithoutARequest)
{
    writeFile(DataDir + "Temp/Pelgrandix120.exe", "old release");
    const QString names[] = {"../x.exe", "a/b.exe", "  ", "..", "", ".", "a\\b.exe",
                             "/etc/passwd", QString(QChar(0)), "x\n.exe"};
    for (const QString &name : names) {
        EXPECT_FALSE(IsSafeDownloadName(name)) << name.toStdString();
        EXPECT_FALSE(download(name)) << name.toStdString();
    }
    EXPECT_EQ(site.requests(), 0);
    EXPECT_TRUE(QFileInfo::exists(DataDir + "Temp/Pelgrandix120.exe"));
    EXPECT_TRUE(progress.empty());

    for (const char *name : {"Pelgrandix121.exe", "setup 1.21b.exe", "x"})
        EXPECT_TRUE(IsSafeDownloadName(name)) << name;

    EXPECT_EQ(UnsafeDownloadNameText("../x.exe", "NLD"), "Ongeldige downloadnaam: \"../x.exe\"");
    EXPECT_EQ(UnsafeDownloadNameText("../x.exe", "ENU"), "Invalid download name: \"../x.exe\"");
}

TEST_F(InstallerDownload, FullDiskEndsWithAnErrorAndLeavesNoFile)
{
    site.serveInPieces("/Pelgrandix121.exe", bytes(20000), 4096);
    // A file size limit makes the disk "full" after 6000 bytes for this process only.
    rlimit original{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &original), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = original;
    limited.rlim_cur = 6000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    bool threw = false;
    try {
        download("Pelgrandix121.exe");
    } catch (const UpdateError &error) {
        threw = true;
        EXPECT_TRUE(error.message().contains("Pelgrandix121.exe"));
    }
    setrlimit(RLIMIT_FSIZE, &original);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_TRUE(threw);
    EXPECT_FALSE(QFileInfo::exists(DataDir + "Temp/Pelgrandix121.exe"));
}

TEST(InstallerAddress, BesideTheVersionList)
{
    EXPECT_EQ(InstallerUrl("http://maker.example:8470/pelgrandix/versions.dat", "Pelgrandix121.exe"),
              "http://maker.example:8470/pelgrandix/Pelgrandix121.exe");
    DataDir = "/data/";
    EXPECT_EQ(OlderInstallerPath("Pelgrandix", "versie 1.20a"), "/data/Temp/Pelgrandix120.exe");
}

TEST(UpdateHttp, BlocksAreFullWhateverTheNetworkSplit)
{
    MakerSite site;
    site.serveInPieces("/file", bytes(10000), 700);
    std::vector<qsizetype> sizes;
    QByteArray received;
    const QString url = site.versionListUrl().replace("versions.dat", "file");
    EXPECT_TRUE(update_http::download(url, [&](const QByteArray &block) {
        sizes.push_back(block.size());
        received += block;
    }));
    EXPECT_EQ(sizes, (std::vector<qsizetype>{4096, 4096, 1808}));
    EXPECT_EQ(received, QByteArray::fromStdString(bytes(10000)));
}

TEST(InstallDisplayNameTest, NameBeforeThePointWithoutDigitsCapitalised)
{
    struct Case { const char *downloadName, *displayName; };
    const Case cases[] = {
        {"Pelgrandix121.exe", "Pelgrandix"}, {"pelgrandix121.exe", "Pelgrandix"},
        {"Rdscan2.exe", "rdSCAN"},           {"rdscan2.exe", "rdSCAN"},
        {"Rd-tool3.exe", "rd-TOOL"},         {"RDscan2.exe", "RDscan"},
        {"2pelgrandix.exe", "Pelgrandix"},   {"noext", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(InstallDisplayName(c.downloadName), QLatin1String(c.displayName)) << c.downloadName;
}

TEST(StartInstallerTest, RunsTheDownloadedFileSilentlyEvenWithoutExecuteBit)
{
    QTemporaryDir dir;
    const QString installer = dir.filePath("Pelgrandix121.exe");
    const QString argsFile = dir.filePath("args.txt");
    writeFile(installer, "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/args.txt\"\n");
    QFile::setPermissions(installer, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    ASSERT_TRUE(StartInstaller(installer));
    QDeadlineTimer deadline(10000);
    while (readAll(argsFile).isEmpty() && !deadline.hasExpired())
        QThread::msleep(10);
    EXPECT_EQ(readAll(argsFile), "/SP- /silent /noicons\n");

    EXPECT_FALSE(StartInstaller(dir.filePath("missing.exe")));
}
