#include "platform/termination_signals.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A signal handler may do almost nothing safely; it writes the signal number into a socket
// pair whose other end the event loop watches.
int g_signalSockets[2] = {-1, -1};

// Lock-free, so that the handler may set it and any thread may read it.
std::atomic<bool> g_terminationRequested = false;
static_assert(std::atomic<bool>::is_always_lock_free);
std::atomic<bool> g_programEnding = false;

void onSignal(int signalNumber)
{
    // The code the signal interrupted may still read errno.
    const int savedErrno = errno;
    g_terminationRequested = true;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(g_signalSockets[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalSockets) != 0)
        return;
    ::fcntl(g_signalSockets[0], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(g_signalSockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signalNumber, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        ::signal(signalNumber, SIG_DFL);
    for (int &fd : g_signalSockets) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void TerminationSignals::readSignal()
{
    unsigned char byte = 0;
    if (::read(g_signalSockets[1], &byte, 1) == 1)
        emit terminationRequested(byte);
}

bool TerminationRequested()
{
    return g_terminationRequested;
}

void SetProgramEnding(bool ending)
{
    g_programEnding = ending;
}

bool ProgramEnding()
{
    return g_programEnding;
}

bool WaitsMustEnd()
{
    return g_terminationRequested || g_programEnding;
}
