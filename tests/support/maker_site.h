#pragma once
// The maker's site on loopback for the update tests: PELGRANDIX_MAKER_HOST names it while it
// lives. Files can be (re)placed at any time; every request is counted with its path, and the
// last one's headers are kept. Bodies go out in pieces with a short pause in between, so the
// receiver sees them split as a slow network would.

#include <QMutex>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <string>

#include "support/local_http_server.h"
#include "support/scoped_env.h"
#include "support/update_keys.h"

class MakerSite
{
public:
    MakerSite();

    // Serves body at path with the given status, in pieces of at most piece bytes.
    void serve(const std::string &path, const std::string &body, size_t piece = 1 << 20,
               int status = 200);
    // Serves list as versions.dat (in pieces of piece bytes) with its signature beside it, signed
    // by the site's key at the given time, and has the program trust that key (in the home in
    // force now).
    void serveList(const std::string &list, qint64 timestamp = QDateTime::currentSecsSinceEpoch(),
                   size_t piece = 1 << 20);
    const TestUpdateKey &key() const { return m_key; }
    int requests();
    // The paths asked for, in order.
    QStringList paths();
    std::string header(const char *name);
    // "127.0.0.1:<port>".
    QString host() const;

private:
    struct File {
        std::string body;
        size_t piece;
        int status;
    };

    TestUpdateKey m_key;
    QMutex m_mutex;
    std::map<std::string, File> m_files;
    QStringList m_paths;
    httplib::Headers m_headers;
    LocalHttpServer m_site;
    std::optional<ScopedEnv> m_host;
};
