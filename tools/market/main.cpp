// pelgrandix-market: the demo quote site on loopback. It serves the option price pages, the
// mobile index page and the maker's files that Pelgrandix asks for, with an index level that
// moves with the clock. Its version list carries a signature by a key of its own, which a user
// of the demo trusts by putting its public key (--print-update-key) in Pelgrandix's key folder.

#include "market_model.h"
#include "market_pages.h"
#include "update_key_store.h"
#include "update_signing.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QRandomGenerator>

#include <httplib.h>

#include <pthread.h>
#include <sys/socket.h>
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

constexpr int kDefaultPort = 8470;
constexpr int kDefaultInstallerDelayMs = 60;
constexpr size_t kInstallerPiece = 4096;
const char kHtml[] = "text/html; charset=windows-1252";

void sendHtml(httplib::Response &res, const QByteArray &page)
{
    res.set_header("Cache-Control", "no-cache");
    res.set_content(page.constData(), size_t(page.size()), kHtml);
}

struct Options
{
    int port = kDefaultPort;
    quint64 seed = 0;
    int installerDelayMs = kDefaultInstallerDelayMs;
    QString updateKeyFile;  // empty: the one in the state folder
    bool printUpdateKey = false;
};

Options readOptions(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Demo quote site for Pelgrandix, listening on 127.0.0.1 only."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Port to listen on; 0 takes any free port."),
                                  QStringLiteral("N"), QString::number(kDefaultPort));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed of the index walk (default: random)."),
                                  QStringLiteral("N"));
    const QCommandLineOption delay(
        QStringLiteral("installer-delay"),
        QStringLiteral("Pause in milliseconds after every 4 KiB of the installer."),
        QStringLiteral("MS"), QString::number(kDefaultInstallerDelayMs));
    const QCommandLineOption updateKey(
        QStringLiteral("update-key"),
        QStringLiteral("Secret key that signs the version list: a minisign secret key file "
                       "without a password (default: made at the first start in %1).")
            .arg(updateKeyFolder()),
        QStringLiteral("FILE"));
    const QCommandLineOption printUpdateKey(
        QStringLiteral("print-update-key"),
        QStringLiteral("Print the public key file of the key that signs the version list, and end."));
    parser.addOptions({port, seed, delay, updateKey, printUpdateKey});
    parser.process(app);

    Options options;
    bool ok = false;
    options.port = parser.value(port).toInt(&ok);
    if (!ok || options.port < 0 || options.port > 65535) {
        std::fprintf(stderr, "pelgrandix-market: invalid port '%s'\n",
                     qPrintable(parser.value(port)));
        std::exit(2);
    }
    if (parser.isSet(seed)) {
        options.seed = parser.value(seed).toULongLong(&ok);
        if (!ok) {
            std::fprintf(stderr, "pelgrandix-market: invalid seed '%s'\n",
                         qPrintable(parser.value(seed)));
            std::exit(2);
        }
    } else {
        options.seed = QRandomGenerator::global()->generate64();
    }
    options.installerDelayMs = parser.value(delay).toInt(&ok);
    if (!ok || options.installerDelayMs < 0) {
        std::fprintf(stderr, "pelgrandix-market: invalid installer delay '%s'\n",
                     qPrintable(parser.value(delay)));
        std::exit(2);
    }
    options.updateKeyFile = parser.value(updateKey);
    options.printUpdateKey = parser.isSet(printUpdateKey);
    return options;
}

void addRoutes(httplib::Server &server, IndexWalk &walk, const Options &options,
               const QByteArray &installer, const UpdateKeyPair &updateKey)
{
    const quint64 seed = options.seed;
    server.Get("/derivaten/opties/", [&walk, seed](const httplib::Request &req,
                                                   httplib::Response &res) {
        const std::string series = "AEX.AEX/O";
        OptionKind kind;
        if (req.get_param_value("call") == series)
            kind = OptionKind::Call;
        else if (req.get_param_value("put") == series)
            kind = OptionKind::Put;
        else {
            res.status = 404;
            return;
        }
        const QDateTime now = QDateTime::currentDateTime();
        const double index = walk.levelAt(now);
        const QList<OptionQuote> chain = optionChain(kind, index, walk.startLevel(), now, seed);
        sendHtml(res, optionPage(kind, chain, index, now));
    });

    server.Get("/index.php", [&walk](const httplib::Request &req, httplib::Response &res) {
        if (req.get_param_value("type") != "main") {
            res.status = 404;
            return;
        }
        const QDateTime now = QDateTime::currentDateTime();
        sendHtml(res, indexPage({now, walk.levelAt(now), walk.previousCloseAt(now)}));
    });

    const QByteArray versions = versionList(installer);
    server.Get("/versions.dat", [versions](const httplib::Request &, httplib::Response &res) {
        res.set_header("Cache-Control", "no-cache");
        res.set_content(versions.constData(), size_t(versions.size()), "text/plain");
    });
    // Signed as the maker signs it, with the time of the start: the program uses no list signed
    // before the newest one it has seen.
    const QByteArray signature = signatureFile(
        updateKey, versions,
        "timestamp:" + QByteArray::number(QDateTime::currentSecsSinceEpoch()) + "\tfile:versions.dat");
    server.Get("/versions.dat.minisig", [signature](const httplib::Request &, httplib::Response &res) {
        res.set_header("Cache-Control", "no-cache");
        res.set_content(signature.constData(), size_t(signature.size()), "text/plain");
    });

    const QByteArray downloads = downloadPage(installer.size());
    server.Get("/downloads_n.html", [downloads](const httplib::Request &, httplib::Response &res) {
        sendHtml(res, downloads);
    });

    // The installer goes out in pieces with a pause after each, so that a progress gauge on
    // the receiving side has something to show.
    const int delayMs = options.installerDelayMs;
    const std::string installerPath = "/" + installerFileName().toStdString();
    server.Get(installerPath, [&installer, delayMs](const httplib::Request &,
                                                    httplib::Response &res) {
        res.set_content_provider(
            size_t(installer.size()), "application/octet-stream",
            [&installer, delayMs](size_t offset, size_t length, httplib::DataSink &sink) {
                const size_t piece = std::min(length, kInstallerPiece);
                if (!sink.write(installer.constData() + offset, piece))
                    return false;
                if (delayMs > 0 && offset + piece < size_t(installer.size()))
                    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
                return true;
            });
    });

    server.set_error_handler([](const httplib::Request &, httplib::Response &res) {
        if (!res.body.empty())
            return;
        const std::string text = res.status == 404
            ? "<html><body><h1>404</h1><p>Pagina niet gevonden.</p></body></html>\n"
            : "<html><body><h1>" + std::to_string(res.status) + "</h1></body></html>\n";
        res.set_content(text, kHtml);
    });
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pelgrandix-market"));
    const Options options = readOptions(app);
    QString keyError;
    const std::optional<UpdateKeyPair> updateKey = loadUpdateKey(options.updateKeyFile, keyError);
    if (!updateKey) {
        std::fprintf(stderr, "pelgrandix-market: %s\n", qPrintable(keyError));
        return 1;
    }
    if (options.printUpdateKey) {
        const QByteArray file = publicKeyFile(*updateKey);
        std::fwrite(file.constData(), 1, size_t(file.size()), stdout);
        return 0;
    }

    // Termination requests are taken by one thread that waits for them; every other thread,
    // the server's workers included, keeps them blocked.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    const QByteArray installer = installerScript();
    IndexWalk walk(options.seed, QDateTime::currentDateTime());
    httplib::Server server;
    // Only one site may own the port: a second copy started by mistake must fail, not share it.
    server.set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    });
    addRoutes(server, walk, options, installer, *updateKey);

    int port = options.port;
    if (port == 0) {
        port = server.bind_to_any_port("127.0.0.1");
        if (port <= 0) {
            std::fprintf(stderr, "pelgrandix-market: cannot listen on 127.0.0.1\n");
            return 1;
        }
    } else if (!server.bind_to_port("127.0.0.1", port)) {
        std::fprintf(stderr, "pelgrandix-market: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }

    std::atomic<bool> finished{false};
    std::thread stopper([&server, &finished, stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        // A request that comes before the server has started would otherwise be lost.
        while (!finished && !server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        server.stop();
    });

    std::printf("listening on 127.0.0.1:%d\n", port);
    std::fflush(stdout);
    const bool served = server.listen_after_bind();
    finished = true;

    // When the server ended on its own, wake the waiting thread so it can be joined.
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return served ? 0 : 1;
}
