#include "support/untrusted_tls_site.h"

#include <QProcess>

#include <httplib.h>

#include <chrono>
#include <stdexcept>

UntrustedTlsSite::UntrustedTlsSite()
{
    const QString key = m_dir.filePath("key.pem");
    const QString certificate = m_dir.filePath("certificate.pem");
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                              "-nodes", "-days", "1", "-subj", "/CN=127.0.0.1", "-addext",
                              "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out", certificate});
    if (!openssl.waitForFinished() || openssl.exitCode() != 0)
        throw std::runtime_error("openssl could not make a certificate: " + openssl.readAll().toStdString());
    m_server = std::make_unique<httplib::SSLServer>(certificate.toLocal8Bit().constData(),
                                                    key.toLocal8Bit().constData());
    m_server->Get(".*", [this](const httplib::Request &, httplib::Response &response) {
        ++m_requests;
        response.set_content("Pelgrandix,Pelgrandix121.exe,b,5,x,nieuw,new\r\n" + std::string(100, '#'),
                             "text/plain");
    });
    m_port = m_server->bind_to_any_port("127.0.0.1");
    if (m_port <= 0)
        throw std::runtime_error("no free port on 127.0.0.1");
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    while (!m_server->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

UntrustedTlsSite::~UntrustedTlsSite()
{
    m_server->stop();
    m_thread.join();
}

QByteArray UntrustedTlsSite::address() const
{
    return "https://127.0.0.1:" + QByteArray::number(m_port);
}
