#pragma once
// What the tests against misbehaving servers serve, and the time-outs they run under.

#include <httplib.h>

#include <chrono>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "market/internet.h"

// size bytes of noise, the same for the same seed.
inline std::string noise(size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char &byte : bytes)
        byte = static_cast<char>(random() & 0xff);
    return bytes;
}

// A price table in the quote site's layout: 19-04-13 series with strikes 300 to 399, priced at
// a hundredth of their strike except the one at 380, which carries the given price.
inline std::string priceTable(const char *price380)
{
    std::string page = "<html><body><table class=\"option-table\">\n<tr><th>Expiratie</th>"
                       "<th class=\"col-strike\">Uitoef. prijs</th><th>Laatst</th></tr>\n";
    for (int strike = 300; strike < 400; ++strike) {
        const std::string price = strike == 380 ? std::string(price380)
            : std::to_string(strike / 100) + "," + std::to_string(strike % 100 / 10) + std::to_string(strike % 10);
        page += "<tr class=\"row\"><td class=\"date\">19-04-13</td><td class=\"fBold price\">"
            + std::to_string(strike) + ",00</td><td class=\"fBold price\">" + price
            + "</td><td class=\"vol\">12</td></tr>\n";
    }
    return page + "</table></body></html>\n";
}

// Sets the receive time-out, and the fetch deadline when given, for the life of the guard.
class TimeoutGuard
{
public:
    explicit TimeoutGuard(int receiveMs, int deadlineMs = FetchDeadline())
        : m_receive(ReceiveTimeout()), m_deadline(FetchDeadline())
    {
        SetReceiveTimeout(receiveMs);
        SetFetchDeadline(deadlineMs);
    }
    ~TimeoutGuard()
    {
        SetReceiveTimeout(m_receive);
        SetFetchDeadline(m_deadline);
    }
    TimeoutGuard(const TimeoutGuard &) = delete;
    TimeoutGuard &operator=(const TimeoutGuard &) = delete;

private:
    int m_receive, m_deadline;
};

// How a misbehaving server answers a request.
using Handler = std::function<void(const httplib::Request &, httplib::Response &)>;

inline Handler page(std::string body, int status = 200)
{
    return [body, status](const httplib::Request &, httplib::Response &res) {
        res.status = status;
        res.set_content(body, "text/html");
    };
}

// The body without a length given beforehand; it ends when the connection does.
inline Handler unannounced(std::string body)
{
    return [body](const httplib::Request &, httplib::Response &res) {
        res.set_chunked_content_provider("text/html", [body](size_t offset, httplib::DataSink &sink) {
            if (offset < body.size())
                return sink.write(body.data() + offset, body.size() - offset);
            sink.done();
            return true;
        });
    };
}

// Announces the whole body, sends the first `sent` bytes and closes the connection.
inline Handler brokenOff(std::string body, size_t sent)
{
    return [body, sent](const httplib::Request &, httplib::Response &res) {
        res.set_content_provider(body.size(), "text/html",
                                 [body, sent](size_t offset, size_t, httplib::DataSink &sink) {
                                     if (offset >= sent)
                                         return false;
                                     return sink.write(body.data() + offset, sent - offset);
                                 });
    };
}

// Answers at once, then sends a byte now and then, without end: never silent long enough for
// the receive time-out.
inline Handler trickle()
{
    return [](const httplib::Request &, httplib::Response &res) {
        res.set_chunked_content_provider("text/html", [](size_t, httplib::DataSink &sink) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            return sink.write(" ", 1);
        });
    };
}

// Sends as fast as it can, without end.
inline Handler endless()
{
    return [](const httplib::Request &, httplib::Response &res) {
        res.set_chunked_content_provider("text/html", [](size_t, httplib::DataSink &sink) {
            static const std::string block(64 * 1024, 'x');
            return sink.write(block.data(), block.size());
        });
    };
}
