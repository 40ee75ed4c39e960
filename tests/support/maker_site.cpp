#include "support/maker_site.h"

#include <chrono>
#include <thread>

MakerSite::MakerSite()
{
    httplib::Server &server = m_site.server();
    server.Get(".*", [this](const httplib::Request &request, httplib::Response &response) {
        File file;
        {
            QMutexLocker lock(&m_mutex);
            m_paths << QString::fromStdString(request.path);
            m_headers = request.headers;
            const auto it = m_files.find(request.path);
            if (it == m_files.end()) {
                response.status = 404;
                return;
            }
            file = it->second;
        }
        response.status = file.status;
        response.set_content_provider(
            file.body.size(), "application/octet-stream",
            [file](size_t offset, size_t length, httplib::DataSink &sink) {
                sink.write(file.body.data() + offset, std::min(file.piece, length));
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                return true;
            });
    });
    m_site.start();
    m_host.emplace("PELGRANDIX_MAKER_HOST", host().toUtf8());
}

void MakerSite::serve(const std::string &path, const std::string &body, size_t piece, int status)
{
    QMutexLocker lock(&m_mutex);
    m_files[path] = File{body, piece, status};
}

void MakerSite::serveList(const std::string &list, qint64 timestamp, size_t piece)
{
    m_key.trust();
    serve("/versions.dat", list, piece);
    serve("/versions.dat.minisig", m_key.sign(QByteArray::fromStdString(list), timestamp).toStdString());
}

int MakerSite::requests()
{
    QMutexLocker lock(&m_mutex);
    return int(m_paths.size());
}

QStringList MakerSite::paths()
{
    QMutexLocker lock(&m_mutex);
    return m_paths;
}

std::string MakerSite::header(const char *name)
{
    QMutexLocker lock(&m_mutex);
    const auto it = m_headers.find(name);
    return it == m_headers.end() ? std::string() : it->second;
}

QString MakerSite::host() const
{
    return QString::fromLatin1(m_site.host());
}
