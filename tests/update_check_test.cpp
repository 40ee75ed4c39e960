#include <gtest/gtest.h>

#include <httplib.h>

#include <QMutex>
#include <QMutexLocker>

#include <atomic>
#include <chrono>
#include <thread>

#include "support/system_info.h"
#include "update/update_check.h"
#include "update/update_http.h"
#include "update/update_state.h"
#include "update/version_list.h"

namespace {

// The maker's site on loopback: counts the requests and keeps the headers of the last one.
class MakerSite
{
public:
    MakerSite()
    {
        m_server.set_pre_routing_handler([this](const httplib::Request &request, httplib::Response &) {
            QMutexLocker lock(&m_mutex);
            ++m_requests;
            m_agent = request.get_header_value("User-Agent");
            m_cacheControl = request.get_header_value("Cache-Control");
            return httplib::Server::HandlerResponse::Unhandled;
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        qputenv("PELGRANDIX_MAKER_HOST", host().toUtf8());
    }
    ~MakerSite()
    {
        m_server.stop();
        m_thread.join();
        qunsetenv("PELGRANDIX_MAKER_HOST");
    }

    void serve(const std::string &path, const std::string &body)
    {
        m_server.Get(path, [body](const httplib::Request &, httplib::Response &response) {
            response.set_content(body, "text/plain");
        });
    }
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    int requests() { QMutexLocker lock(&m_mutex); return m_requests; }
    std::string agent() { QMutexLocker lock(&m_mutex); return m_agent; }
    std::string cacheControl() { QMutexLocker lock(&m_mutex); return m_cacheControl; }

private:
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    QMutex m_mutex;
    int m_requests = 0;
    std::string m_agent, m_cacheControl;
};

const std::string kList = "Koersbord,Koersbord300.exe,c,900,x,oud,old\r\n"
                          "Pelgrandix,Pelgrandix121.exe,b,2048,x,nieuw,new\r\n";

PingThirdLine reply() { return [] { return QStringLiteral("Antwoord van 127.0.0.1: bytes=32 tijd<1ms TTL=128"); }; }

struct Check {
    int result = -1;
    QString programStr = QStringLiteral("Pelgrandix");
    QString newVersion, remark;
};

Check runCheck(const PingThirdLine &probe)
{
    Check c;
    c.result = GetDownloadName(c.programStr, c.newVersion, c.remark, "versie 1.20a", probe);
    return c;
}

class UpdateCheck : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sLanguage = QStringLiteral("NLD");
        InstallerSizeKB = 0;
        DownloadedB = true;
    }
    MakerSite site;
};

} // namespace

TEST_F(UpdateCheck, ReadsTheListFreshAsTheDownloadAgentAndAdvises)
{
    site.serve("/versions.dat", kList);
    const Check c = runCheck(reply());
    EXPECT_EQ(c.result, UpdateAdvised);
    EXPECT_EQ(c.programStr, "Pelgrandix121.exe");
    EXPECT_EQ(c.newVersion, "1.21b");
    EXPECT_EQ(c.remark, "nieuw");
    EXPECT_EQ(InstallerSizeKB, 2048);
    EXPECT_EQ(site.requests(), 1);
    EXPECT_EQ(site.agent(), "Rondel Function: Download");
    EXPECT_EQ(site.cacheControl(), "no-cache");
    EXPECT_EQ(VersionListUrl(), "http://" + site.host() + "/versions.dat");
}

TEST_F(UpdateCheck, TimedOutProbeEndsTheCheckWithoutARequest)
{
    site.serve("/versions.dat", kList);
    const Check c = runCheck([] { return QStringLiteral("Time-out bij opdracht."); });
    EXPECT_EQ(c.result, ProbeFailed);
    EXPECT_EQ(c.programStr, "Pelgrandix");
    EXPECT_EQ(site.requests(), 0);
}

TEST_F(UpdateCheck, MissingReplyLineIsNoReasonToSkip)
{
    site.serve("/versions.dat", kList);
    EXPECT_EQ(runCheck([] { return QString(); }).result, UpdateAdvised);
    EXPECT_EQ(site.requests(), 1);
}

TEST_F(UpdateCheck, UnreachableOrDefaultPageCountsAsNotReceived)
{
    site.serve("/versions.dat", "Default.htm");
    EXPECT_EQ(runCheck(reply()).result, ListNotReceived);

    // A port that nobody listens on any more.
    QString closedHost;
    {
        MakerSite gone;
        closedHost = gone.host();
    }
    qputenv("PELGRANDIX_MAKER_HOST", closedHost.toUtf8());
    EXPECT_EQ(runCheck(reply()).result, ListNotReceived);
    EXPECT_TRUE(DownloadedB);
}

TEST_F(UpdateCheck, UnlistedProgramClearsDownloaded)
{
    site.serve("/versions.dat", "Koersbord,Koersbord300.exe,c,900,x,oud,old\r\n"
                                "Kasboek,Kasboek100.exe,a,300,x,oud,old\r\n");
    EXPECT_EQ(runCheck(reply()).result, ProgramNotListed);
    EXPECT_FALSE(DownloadedB);
}

TEST(UpdateHttp, TextIsReadAsWindows1252)
{
    MakerSite site;
    site.serve("/page", std::string("Prijs \x80 12,50 caf\xe9"));
    EXPECT_EQ(update_http::fetchText("http://" + site.host() + "/page"),
              QString::fromUtf8("Prijs € 12,50 café"));
}
