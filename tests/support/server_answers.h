#pragma once
// How a test's HTTP server answers a request: a whole page, or the ways a misbehaving site
// answers (no length announced, broken off, a byte now and then, without end). Give them to
// QuoteSite::answer or to a LocalHttpServer's handlers.

#include <httplib.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

using Handler = std::function<void(const httplib::Request &, httplib::Response &)>;

// The whole body with the status.
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
