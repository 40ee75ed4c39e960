#include "support/quote_site.h"

#include "support/files.h"

QuoteSite::QuoteSite()
{
    m_answers[Calls] = withBody(ReadFixture("calls_sample.html").toStdString());
    m_answers[Puts] = withBody(ReadFixture("puts_sample.html").toStdString());
    m_answers[Index] = withBody(ReadFixture("index_sample.html").toStdString());
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

void QuoteSite::answer(Page page, Answer answer)
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
    return "127.0.0.1:" + QByteArray::number(m_site.port());
}

void QuoteSite::handle(Page page, const httplib::Request &request, httplib::Response &response)
{
    Answer answer;
    {
        QMutexLocker lock(&m_mutex);
        ++m_requests[page];
        answer = m_answers[page];
    }
    answer(request, response);
}

QuoteSite::Answer QuoteSite::withBody(std::string body, int status)
{
    return [bytes = std::move(body), status](const httplib::Request &, httplib::Response &response) {
        response.status = status;
        response.set_content(bytes, "text/html");
    };
}

QuoteSite::Answer QuoteSite::brokenOff(std::string body, size_t sent)
{
    return [bytes = std::move(body), sent](const httplib::Request &, httplib::Response &response) {
        response.set_content_provider(bytes.size(), "text/html",
                                      [bytes, sent](size_t offset, size_t, httplib::DataSink &sink) {
                                          return offset < sent && sink.write(bytes.data() + offset, sent - offset);
                                      });
    };
}
