// pelgrandix-ping HOST[:PORT] [-n COUNT] [-w MS]
//
// Prints what the classic ping prints for one echo request, in its layout: an empty line, the
// "Pinging" line, then a reply line or "Time-out bij opdracht.", an empty line and the
// statistics. Instead of an echo request it opens a TCP connection to PORT (default 80) of each
// address the name resolves to: a connection made to any of them within MS milliseconds is a
// reply, from that address. A host that cannot be resolved gives a
// single line after the empty one. Exit code 0 on a reply, 1 otherwise.

#include "connect_any.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netdb.h>
#include <string>
#include <sys/socket.h>

namespace {

struct Target {
    std::string host;
    std::string port = "80";
};

bool parseNumber(const char *text, long low, long high, long &value)
{
    char *end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

// HOST, HOST:PORT, [IPv6] or [IPv6]:PORT; a bare IPv6 address has no port.
bool parseTarget(const std::string &text, Target &target)
{
    std::string port;
    if (!text.empty() && text.front() == '[') {
        const size_t close = text.find(']');
        if (close == std::string::npos)
            return false;
        target.host = text.substr(1, close - 1);
        const std::string rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':')
                return false;
            port = rest.substr(1);
        }
    } else {
        const size_t colon = text.find(':');
        if (colon != std::string::npos && text.find(':', colon + 1) == std::string::npos) {
            target.host = text.substr(0, colon);
            port = text.substr(colon + 1);
        } else {
            target.host = text;
        }
    }
    if (target.host.empty())
        return false;
    if (!port.empty() || text.back() == ':') {
        long number = 0;
        if (!parseNumber(port.c_str(), 1, 65535, number))
            return false;
        target.port = std::to_string(number);
    }
    return true;
}

std::string numericAddress(const addrinfo *address)
{
    char text[NI_MAXHOST] = {};
    if (getnameinfo(address->ai_addr, address->ai_addrlen, text, sizeof text, nullptr, 0,
                    NI_NUMERICHOST) != 0)
        return "?";
    return text;
}

int usage()
{
    std::fprintf(stderr, "Usage: pelgrandix-ping HOST[:PORT] [-n COUNT] [-w MS]\n");
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    std::string targetText;
    long timeoutMs = 4000;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        long number = 0;
        if (argument == "-n" || argument == "-w") {
            if (i + 1 >= argc || !parseNumber(argv[i + 1], 1, 24L * 3600 * 1000, number))
                return usage();
            if (argument == "-w")
                timeoutMs = number;
            ++i;  // one request is sent whatever count is asked for
        } else if (targetText.empty() && !argument.empty() && argument.front() != '-') {
            targetText = argument;
        } else {
            return usage();
        }
    }
    Target target;
    if (targetText.empty() || !parseTarget(targetText, target))
        return usage();

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(target.host.c_str(), target.port.c_str(), &hints, &found) != 0 || !found) {
        std::printf("\nPing-aanvraag kan host %s niet vinden. Controleer de naam en probeer het "
                    "opnieuw.\n", target.host.c_str());
        return 1;
    }
    const std::string address = numericAddress(found);
    std::printf("\nPinging %s [%s] with 32 bytes of data:\n", target.host.c_str(), address.c_str());
    std::fflush(stdout);

    const auto start = std::chrono::steady_clock::now();
    const addrinfo *answered = FirstToConnect(found, static_cast<int>(timeoutMs));
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start).count();
    const bool reply = answered != nullptr;
    const std::string replied = reply ? numericAddress(answered) : address;
    freeaddrinfo(found);

    if (reply)
        std::printf("Reply from %s: bytes=32 time=%lldms TTL=64\n", replied.c_str(),
                    static_cast<long long>(elapsed));
    else
        std::printf("Time-out bij opdracht.\n");
    std::printf("\nPing statistics for %s: Sent = 1, Received = %d, Lost = %d (%d%% loss)\n",
                address.c_str(), reply ? 1 : 0, reply ? 0 : 1, reply ? 0 : 100);
    return reply ? 0 : 1;
}
