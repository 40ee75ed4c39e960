#include "support/quote_site.h"

#include "support/files.h"

QuoteSite::QuoteSite()
{
    m_answers[Calls] = page(ReadFixture("calls_sample.html").toStdString());
    m_answers[Puts] = page(ReadFixture("puts_sample.html").toStdString());
    m_answers[Index] = page(ReadFixture("index_sample.html").toStdString());
    m_site.server().Get("/derivaten/opties/", [this](const httplib::Request &request, httplib::Response &response) {
        handle(request.has_param("call") ? Calls : Puts, request, response);
    });
    m_site.server().Get("/index.php", [this](const httplib::Request &request, httplib::Response &response) {
        handle(Index, request, response);
    });
    m_site.start();
    m_quoteHost.emplace("PELGRANDIX_QUOTE_HOST", host());
    m_indexHost.emplace("PELGRANDIX_INDEX_HOST", host());
    m_makerHost.emplace("PELGRANDIX_MAKER_HOST", host());
}

void QuoteSite::answer(Page page, Handler answer)
{
    QMutexLocker lock(&m_mutex);
    m_answers[page] = std::move(answer);
}

int QuoteSite::requests(Page page) const
{
    QMutexLocker lock(&m_mutex);
    return m_requests[page];
}

QByteArray QuoteSite::host() const
{
    return m_site.host();
}

void QuoteSite::handle(Page page, const httplib::Request &request, httplib::Response &response)
{
    Handler answer;
    {
        QMutexLocker lock(&m_mutex);
        ++m_requests[page];
        answer = m_answers[page];
    }
    answer(request, response);
}
