#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMutex>
#include <QTemporaryDir>

#include <atomic>

#include "market/connectivity_probe.h"
#include "market/internet.h"
#include "support/conversion_error.h"
#include "support/hostile_inputs.h"
#include "support/local_http_server.h"
#include "support/loopback_listener.h"
#include "support/program_state.h"
#include "support/scoped_env.h"
#include "support/scripted_ping.h"
#include "support/system_info.h"
#include "support/server_answers.h"
#include "support/temp_home.h"
#include "support/timeout_guard.h"
#include "support/update_keys.h"
#include "update/installer.h"
#include "update/update_check.h"
#include "update/update_state.h"
#include "update/version_list.h"

// A maker's site that serves a broken version list: binary bytes, megabytes of garbage, error
// pages, a list that breaks off, or nothing at all. The check must end within the time-outs,
// never advise an update that the list does not name, and leave what it reports alone when it
// cannot read the list.

namespace {

// Far more than any check may take, even in the sanitizer build on a busy machine.
constexpr qint64 kGenerousMs = 15000;
// The outcome of a check whose list could not be read (a conversion error).
constexpr int kUnreadable = -1;

const std::string kList = "Ander,Ander300.exe,a,100,x,ander programma,other program\r\n"
                          "Pelgrandix,Pelgrandix121.exe,b,2048," + Sha256Field("new release") + ",nieuw,new\r\n";

// The probe's verdict in whichever form the check asks for it: the third line of the ping
// output, or the whole probe result.
struct ProbeAnswer {
    ProbeResult result;
    operator ProbeResult() const { return result; }
    operator QString() const { return result.thirdLine; }
};

struct Outcome {
    int result = kUnreadable;
    QString programStr, newVersion;
    qint64 elapsedMs = 0;
};

class HostileMakerSite : public ProgramStateTest
{
protected:
    HostileMakerSite()
    {
        site.server().Get("/versions.dat", [this](const httplib::Request &req, httplib::Response &res) {
            ++requests;
            list(req, res);
        });
        // Whatever the site serves is signed by the maker: these lists are to be read, however
        // broken they are.
        site.server().Get("/versions.dat.minisig", [this](const httplib::Request &, httplib::Response &res) {
            const QMutexLocker lock(&mutex);
            res.set_content(key.sign(body).toStdString(), "text/plain");
        });
        site.server().Get("/Pelgrandix121.exe", [this](const httplib::Request &req, httplib::Response &res) {
            installer(req, res);
        });
        site.start();
        pointAt(site.port());
        sLanguage = QStringLiteral("NLD");
        DataDir = folder.path() + QLatin1Char('/');
        key.trust();
    }

    void serve(std::string text, int code = 200)
    {
        const QMutexLocker lock(&mutex);
        body = QByteArray::fromStdString(text);
        list = page(std::move(text), code);
    }

    void pointAt(int port)
    {
        host = QString::fromLatin1(LoopbackHost(port));
        makerHost.reset();  // it puts back what it found, so it goes first
        makerHost = std::make_unique<ScopedEnv>("PELGRANDIX_MAKER_HOST", host.toLatin1());
    }

    Outcome check()
    {
        Outcome outcome;
        outcome.programStr = QStringLiteral("Pelgrandix");
        QString remark;
        const QString probeHost = host;
        QElapsedTimer clock;
        clock.start();
        try {
            outcome.result = GetDownloadName(outcome.programStr, outcome.newVersion, remark,
                                             QStringLiteral("versie 1.20a"),
                                             [probeHost] { return ProbeAnswer{RunConnectivityProbe(probeHost)}; });
        } catch (const ConversionError &) {
            outcome.result = kUnreadable;
        }
        outcome.elapsedMs = clock.elapsed();
        return outcome;
    }

    TempHome home;  // the settings and the trusted keys
    TestUpdateKey key;
    QMutex mutex;
    QByteArray body;
    QTemporaryDir folder;
    ScopedCurrentDir cwd{folder.path()};
    ScriptedPing ping;
    QString host;
    std::unique_ptr<ScopedEnv> makerHost;
    std::atomic<int> requests = 0;
    Handler list = page(""), installer;
    LocalHttpServer site;  // last, so that it stops before what its handler uses goes
};

} // namespace

TEST_F(HostileMakerSite, GoodListAdvisesTheUpdate)
{
    serve(kList);
    InstallerSizeKB = 0;
    const Outcome got = check();
    EXPECT_EQ(got.result, UpdateAdvised);
    EXPECT_EQ(got.programStr, "Pelgrandix121.exe");
    EXPECT_EQ(got.newVersion, "1.21b");
    EXPECT_EQ(InstallerSizeKB, 2048);
}

TEST_F(HostileMakerSite, UnreadableListsAdviseNothing)
{
    struct Case { const char *name; std::string body; int status; int result; };
    const Case cases[] = {
        {"binary bytes", noise(4096, 3), 200, ProgramNotListed},
        {"10 MB of garbage", noise(10 * 1024 * 1024, 5), 200, ProgramNotListed},
        // The name followed by bytes in which no size can be read.
        {"binary around the name", noise(300, 9) + "Pelgrandix," + noise(300, 10), 200, kUnreadable},
        {"name then binary", "Pelgrandix,\x01\x02\x03,\xff,\x80\x81,\r\n" + std::string(60, '\0'), 200, kUnreadable},
        // An error page long enough to be a list is read as one, and names no program.
        {"not found page", "<html><head><title>404 Not Found</title></head><body>Niet gevonden</body></html>",
         404, ProgramNotListed},
        {"short server error", "Interne fout", 500, ListNotReceived},
        {"empty", "", 200, ListNotReceived},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        serve(c.body, c.status);
        InstallerSizeKB = 777;
        DownloadedB = true;
        const Outcome got = check();
        EXPECT_LT(got.elapsedMs, kGenerousMs);
        EXPECT_EQ(got.result, c.result);
        EXPECT_EQ(got.programStr, "Pelgrandix");
        EXPECT_EQ(InstallerSizeKB, 777);
        EXPECT_EQ(DownloadedB, c.result != ProgramNotListed);
    }
}

TEST_F(HostileMakerSite, ListThatBreaksOffNeverNamesAnotherInstaller)
{
    // Cut after every length of the list, the whole length announced: a list that broke off is
    // not read at all, however much of the program's line it holds.
    for (size_t cut = 1; cut < kList.size(); ++cut) {
        SCOPED_TRACE(kList.substr(0, cut));
        list = brokenOff(kList, cut);
        InstallerSizeKB = 777;
        const Outcome got = check();
        ASSERT_EQ(got.result, ListNotReceived);
        EXPECT_LT(got.elapsedMs, kGenerousMs);
        EXPECT_EQ(got.programStr, "Pelgrandix");
        EXPECT_EQ(InstallerSizeKB, 777);
    }
}

TEST_F(HostileMakerSite, SiteThatNeverAnswersEndsTheCheck)
{
    // The version list is read like every page, so the receive time-out in force ends the wait;
    // a short one keeps the test short.
    constexpr int kTimeoutMs = 2000;
    TimeoutGuard timeout(kTimeoutMs);
    LoopbackListener silent(LoopbackListener::Silent);
    pointAt(silent.port());
    InstallerSizeKB = 777;
    const Outcome got = check();
    EXPECT_EQ(got.result, ListNotReceived);
    EXPECT_EQ(got.programStr, "Pelgrandix");
    EXPECT_EQ(InstallerSizeKB, 777);
    EXPECT_GE(got.elapsedMs, kTimeoutMs * 95 / 100);
    EXPECT_LT(got.elapsedMs, 2 * kTimeoutMs) << "waited more than one time-out";
}

TEST_F(HostileMakerSite, NoConnectionAsksNothing)
{
    serve(kList);
    ping.answer(ScriptedPing::TimeOut);
    EXPECT_EQ(check().result, ProbeFailed);
    EXPECT_EQ(requests, 0);
}

TEST_F(HostileMakerSite, ListThatTricklesOrStreamsWithoutEndIsGivenUp)
{
    const TimeoutGuard deadline(2000, 1500);
    for (const Handler &hostile : {trickle(), endless()}) {
        list = hostile;
        InstallerSizeKB = 777;
        const Outcome got = check();
        EXPECT_EQ(got.result, ListNotReceived);
        EXPECT_EQ(InstallerSizeKB, 777);
        EXPECT_LT(got.elapsedMs, kGenerousMs);
    }
}

TEST_F(HostileMakerSite, InstallerIsKeptOnlyWhenWholeAndAsListed)
{
    const TimeoutGuard deadline(2000, 1500);  // also the least an installer may take
    const std::string file = noise(20000, 21);  // 19.5 KiB: listed as 20, or as 19
    const QByteArray sha256 =
        QCryptographicHash::hash(QByteArray::fromStdString(file), QCryptographicHash::Sha256).toHex();
    std::string changed = file;
    changed[12345] ^= 1;
    using enum InstallerDownload;
    struct Case { const char *name; Handler answer; ListedInstaller listed; InstallerDownload outcome; };
    const Case cases[] = {
        {"as listed", page(file), {20, sha256}, Received},
        {"size rounded down", page(file), {19, sha256}, Received},
        {"neither size nor checksum listed", page(file), {}, Received},
        {"one bit changed", page(changed), {20, sha256}, Damaged},
        {"breaks off", brokenOff(file, 15000), {20, sha256}, Incomplete},
        {"ends short without a length", unannounced(file.substr(0, 15000)), {20, {}}, Incomplete},
        {"server says a shorter length", page(file.substr(0, 15000)), {20, {}}, WrongLength},
        {"server says a longer length", page(file + file), {20, {}}, WrongLength},
        {"streams without end", endless(), {20, {}}, WrongLength},
        {"trickles without end", trickle(), {20, {}}, Incomplete},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        installer = c.answer;
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(DownloadNewVersion("Pelgrandix121.exe", VersionListUrl(), "Pelgrandix", "versie 1.20a",
                                     c.listed, {}), c.outcome);
        EXPECT_LT(clock.elapsed(), kGenerousMs);
        EXPECT_EQ(QFileInfo::exists(InstallerPath("Pelgrandix121.exe")), c.outcome == Received);
    }
    EXPECT_EQ(InstallerDownloadText(Damaged, 20, "NLD"), "Het gedownloade bestand is beschadigd.");
}
