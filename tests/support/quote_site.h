#pragma once
// The quote sites on loopback for tests of downloads: the call and put pages and the mobile
// index page, at the paths the program asks for. While it lives, PELGRANDIX_QUOTE_HOST,
// PELGRANDIX_INDEX_HOST and PELGRANDIX_MAKER_HOST name it (the maker's host for the probe). By
// default it serves the sample pages of tests/fixtures; a test can give any page its own answer
// at any time. Requests are counted per page.

#include <QByteArray>
#include <QMutex>

#include <functional>
#include <optional>
#include <string>

#include "support/local_http_server.h"
#include "support/scoped_env.h"
#include "support/server_answers.h"

class QuoteSite
{
public:
    enum Page { Calls, Puts, Index };

    QuoteSite();

    // The page's answer from now on (see server_answers.h).
    void answer(Page page, Handler answer);
    void serve(Page page, const QByteArray &body, int status = 200) { answer(page, ::page(body.toStdString(), status)); }
    int requests(Page page) const;
    // "127.0.0.1:<port>".
    QByteArray host() const;

private:
    void handle(Page page, const httplib::Request &request, httplib::Response &response);

    mutable QMutex m_mutex;
    Handler m_answers[3];
    int m_requests[3] = {0, 0, 0};
    LocalHttpServer m_site;  // after what its handlers use, so that it stops first
    std::optional<ScopedEnv> m_quoteHost, m_indexHost, m_makerHost;
};
