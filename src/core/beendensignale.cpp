#include "beendensignale.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <sys/socket.h>
#include <unistd.h>
#endif

#ifdef Q_OS_UNIX
namespace {

constexpr int Signale[] = {SIGTERM, SIGINT, SIGHUP};
// [0] written by the handler, [1] read in the event loop.
int s_paar[2] = {-1, -1};
struct sigaction s_vorher[std::size(Signale)];

// Only what a handler may do: one write, errno left as it was.
void melden(int signal)
{
    const int fehler = errno;
    const char zeichen = char(signal);
    [[maybe_unused]] const auto n = ::write(s_paar[0], &zeichen, 1);
    errno = fehler;
}

} // namespace
#endif

BeendenSignale::BeendenSignale(QObject *eltern)
    : QObject(eltern)
{
#ifdef Q_OS_UNIX
    if (s_paar[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, s_paar) != 0)
        return;
    for (const int ende : s_paar)
        ::fcntl(ende, F_SETFD, FD_CLOEXEC);
    // A handler never blocks, however many requests come.
    ::fcntl(s_paar[0], F_SETFL, ::fcntl(s_paar[0], F_GETFL) | O_NONBLOCK);
    m_melder = new QSocketNotifier(s_paar[1], QSocketNotifier::Read, this);
    connect(m_melder, &QSocketNotifier::activated, this, [this]() {
        char zeichen = 0;
        if (::read(s_paar[1], &zeichen, 1) == 1)
            emit beendenVerlangt(int(zeichen));
    });
    for (std::size_t i = 0; i < std::size(Signale); ++i) {
        struct sigaction aktion = {};
        aktion.sa_handler = melden;
        sigemptyset(&aktion.sa_mask);
        aktion.sa_flags = SA_RESTART | SA_RESETHAND;
        ::sigaction(Signale[i], &aktion, &s_vorher[i]);
    }
#endif
}

BeendenSignale::~BeendenSignale()
{
#ifdef Q_OS_UNIX
    if (!m_melder)
        return;
    for (std::size_t i = 0; i < std::size(Signale); ++i)
        ::sigaction(Signale[i], &s_vorher[i], nullptr);
    delete m_melder;
    ::close(s_paar[0]);
    ::close(s_paar[1]);
    s_paar[0] = s_paar[1] = -1;
#endif
}
