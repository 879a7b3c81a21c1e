#include "platform/TerminationSignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int SignalPipe[2] = {-1, -1};
const int Handled[] = {SIGTERM, SIGINT, SIGHUP};

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(SignalPipe[0], &byte, 1);
}

} // namespace

TTerminationSignals::TTerminationSignals(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, SignalPipe) != 0)
        return;
    FNotifier = new QSocketNotifier(SignalPipe[1], QSocketNotifier::Read, this);
    FNotifier->setEnabled(false);
    connect(FNotifier, &QSocketNotifier::activated, this, &TTerminationSignals::Drain);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : Handled)
        ::sigaction(signal, &action, nullptr);
}

TTerminationSignals::~TTerminationSignals()
{
    if (!FNotifier)
        return;
    for (const int signal : Handled)
        ::signal(signal, SIG_DFL);
    ::close(SignalPipe[0]);
    ::close(SignalPipe[1]);
    SignalPipe[0] = SignalPipe[1] = -1;
}

void TTerminationSignals::Start()
{
    if (FNotifier)
        FNotifier->setEnabled(true);
}

void TTerminationSignals::Drain()
{
    char bytes[16];
    [[maybe_unused]] const auto read = ::read(SignalPipe[1], bytes, sizeof bytes);
    Q_EMIT Received();
}

#else

TTerminationSignals::TTerminationSignals(QObject* parent) : QObject(parent) {}
TTerminationSignals::~TTerminationSignals() = default;
void TTerminationSignals::Start() {}
void TTerminationSignals::Drain() {}

#endif
