#include "connect_any.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

// A name may resolve to any number of addresses; this many are tried.
constexpr int kMostAddresses = 16;

} // namespace

const addrinfo *FirstToConnect(const addrinfo *addresses, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    const addrinfo *made = nullptr;
    // The connections under way, and the address of each.
    std::vector<pollfd> waiting;
    std::vector<const addrinfo *> waitingFor;
    int tried = 0;
    for (const addrinfo *address = addresses; address && !made && tried < kMostAddresses;
         address = address->ai_next, ++tried) {
        const int fd = socket(address->ai_family,
                              address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                              address->ai_protocol);
        if (fd < 0)
            continue;
        if (connect(fd, address->ai_addr, address->ai_addrlen) == 0) {
            made = address;
            close(fd);
        } else if (errno == EINPROGRESS) {
            waiting.push_back({fd, POLLOUT, 0});
            waitingFor.push_back(address);
        } else {
            close(fd);  // refused at once, or no route
        }
    }

    while (!made && !waiting.empty()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const int ready = poll(waiting.data(), waiting.size(),
                               static_cast<int>(std::max<long long>(0, left.count())));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        // An attempt that has come to an end is either made or failed; a failed one leaves
        // the others waiting.
        for (size_t i = waiting.size(); i-- > 0;) {
            if (waiting[i].revents == 0)
                continue;
            int error = 0;
            socklen_t length = sizeof error;
            if (!made && getsockopt(waiting[i].fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0
                && error == 0)
                made = waitingFor[i];
            close(waiting[i].fd);
            waiting.erase(waiting.begin() + std::ptrdiff_t(i));
            waitingFor.erase(waitingFor.begin() + std::ptrdiff_t(i));
        }
    }
    for (const pollfd &left : waiting)
        close(left.fd);
    return made;
}
