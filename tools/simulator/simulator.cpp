#include "simulator.h"

#include "log.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#if defined(__linux__)
#include <pty.h>
#include <sys/inotify.h>
#elif defined(__APPLE__)
#include <util.h>
#else
#include <libutil.h>
#endif

namespace simulator {

namespace {

using namespace std::chrono_literals;

// Without inotify the only way to notice the PC opening the port is to look; the PC allows 200 ms for
// the answer, so look often enough to answer well within that.
constexpr auto probeWithoutInotify = 20ms;
constexpr auto probeWithInotify = 1000ms;
// Bytes leave the master at once but reach the slave's queue a moment later; don't trust an empty
// queue before then.
constexpr auto settleBeforeDrainCheck = 50ms;
constexpr auto drainCheckInterval = 10ms;
// The queue we can see holds 4 KiB; the rest waits in the terminal's own buffers and moves up only
// after the PC has read. While the PC is busy reading, the queue can look empty for an instant, so
// it must stay empty for several looks in a row.
constexpr int drainEmptyLooks = 4;

int signalPipe[2] = {-1, -1};

extern "C" void onSignal(int signal)
{
    // Only record it: the loop does the cleanup, outside the handler.
    const int saved = errno;
    const char byte = char(signal);
    [[maybe_unused]] const auto ignored = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

bool installSignalHandlers(QString *error)
{
    if (::pipe(signalPipe) != 0) {
        *error = QStringLiteral("pipe: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    for (const int fd : signalPipe) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
    // A reader of our stdout or stderr that went away must not kill us before we clean up.
    ::signal(SIGPIPE, SIG_IGN);
    return true;
}

QString signalName(int signal)
{
    switch (signal) {
    case SIGINT:
        return QStringLiteral("SIGINT");
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    case SIGHUP:
        return QStringLiteral("SIGHUP");
    default:
        return QStringLiteral("signal %1").arg(signal);
    }
}

// The receiver's line: 115200 baud 8N1, no flow control, raw bytes both ways.
bool configureLine(int fd)
{
    termios settings = {};
    if (::tcgetattr(fd, &settings) != 0)
        return false;
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B115200);
    ::cfsetospeed(&settings, B115200);
    settings.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CREAD | CLOCAL;
    settings.c_iflag &= ~(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    return ::tcsetattr(fd, TCSANOW, &settings) == 0;
}

QString ordinal(int n)
{
    const int lastTwo = n % 100;
    const char *suffix = (lastTwo >= 11 && lastTwo <= 13) ? "th"
                         : n % 10 == 1                    ? "st"
                         : n % 10 == 2                    ? "nd"
                         : n % 10 == 3                    ? "rd"
                                                          : "th";
    return QString::number(n) + QLatin1String(suffix);
}

const char *const interactiveHelp =
    "Commands (one per line; '#' starts a comment):\n"
    "  a 12             handset 12 presses A (class set: the first of --class-sets)\n"
    "  b 12 258         handset 12 of class set 258 presses B\n"
    "  c 1-30           handsets 1 to 30 press C\n"
    "  m d              the master handset presses D (A ends the countdown, B goes back a\n"
    "                   question, C pauses or resumes, D goes on); needs --master\n"
    "  12 1 A 500       handset 12 of class set 1 presses A 500 ms after the previous line\n"
    "  master B 200     like m, with a delay\n"
    "  wait-for-identification, close [DELAY_MS], status, help, quit\n";

} // namespace

Simulator::Simulator(const Options &options)
    : m_options(options)
    , m_seed(options.seed ? *options.seed
                          : (std::uint64_t(std::random_device()()) << 32 | std::random_device()()))
    , m_aux(m_seed ^ 0x9e3779b97f4a7c15ULL)
{
    setQuiet(options.quiet);
}

Simulator::~Simulator()
{
    for (const int fd : {m_drainFd, m_inotify, m_master}) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool Simulator::openPort(QString *error)
{
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        *error =
            QStringLiteral("cannot open a pseudo terminal: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    m_master = master;
    char name[256] = {};
    if (::ttyname_r(slave, name, sizeof name) != 0 || !configureLine(slave) || !configureLine(master)) {
        *error = QStringLiteral("cannot set up the pseudo terminal: %1")
                     .arg(QString::fromLocal8Bit(strerror(errno)));
        ::close(slave);
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    // Without a slave of our own the master reports a hang-up whenever the PC has the port closed,
    // which is how we tell a closed port from an open one; the settings stay with the terminal.
    ::close(slave);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);

#if defined(__linux__)
    m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify >= 0 && ::inotify_add_watch(m_inotify, name, IN_OPEN) < 0) {
        ::close(m_inotify);
        m_inotify = -1;
    }
#endif
    return installSignalHandlers(error);
}

int Simulator::run()
{
    m_now = Clock::now();
    m_start = m_now;
    m_lastProbe = m_now;
    m_lastWrite = m_now;
    m_actions.assign(m_options.actions.begin(), m_options.actions.end());
    m_burstPending = m_options.burst > 0;
    m_inputOpen = m_options.mode == Mode::Interactive || m_options.scriptFromStdin;

    logEvent(QStringLiteral("receiver of the %1 family on %2 (115200 8N1), waiting for the PC")
                 .arg(QLatin1String(familyName(m_options.family)), m_slavePath));
    if (m_inotify < 0)
        logEvent(QStringLiteral("no inotify here: checking for the PC every %1 ms")
                     .arg(probeWithoutInotify.count()));
    if (m_options.mode == Mode::Random || m_options.junkBits || m_options.splitFrames)
        logEvent(QStringLiteral("seed %1 (--seed %1 repeats this run)").arg(m_seed));
    const QString start =
        m_options.noWait ? QStringLiteral("at once") : QStringLiteral("after the first identification");
    switch (m_options.mode) {
    case Mode::Idle:
        logEvent(QStringLiteral("no presses to play: answering identifications until stopped"));
        break;
    case Mode::Script:
        if (m_options.scriptFromStdin)
            logEvent(QStringLiteral("script from stdin%1, starting %2")
                         .arg(m_actions.empty()
                                  ? QString()
                                  : QStringLiteral(" after %1 --press steps").arg(m_actions.size()),
                              start));
        else
            logEvent(QStringLiteral("script of %1 steps, starting %2").arg(m_actions.size()).arg(start));
        break;
    case Mode::Random:
        m_random.emplace(m_options.random, m_seed);
        logEvent(QStringLiteral("random presses of %1 handsets, %2 per second, starting %3")
                     .arg(m_random->handsetCount())
                     .arg(m_options.random.ratePerSecond)
                     .arg(start));
        break;
    case Mode::Interactive:
        logEvent(QStringLiteral("interactive: type 'help' for the commands"));
        break;
    }
    if (m_burstPending)
        logEvent(QStringLiteral("burst of %1 presses after the first identification").arg(m_options.burst));

    while (!m_exitCode) {
        m_now = Clock::now();
        advance(m_now);
        if (m_exitCode)
            break;

        pollfd fds[4] = {};
        nfds_t count = 0;
        fds[count++] = {signalPipe[0], POLLIN, 0};
        const int masterIndex = m_portOpen ? int(count) : -1;
        if (m_portOpen)
            fds[count++] = {m_master, short(POLLIN | (m_blocked ? POLLOUT : 0)), 0};
        const int inotifyIndex = !m_portOpen && m_inotify >= 0 ? int(count) : -1;
        if (inotifyIndex >= 0)
            fds[count++] = {m_inotify, POLLIN, 0};
        const int inputIndex = m_inputOpen ? int(count) : -1;
        if (m_inputOpen)
            fds[count++] = {STDIN_FILENO, POLLIN, 0};

        int timeout = -1;
        if (m_wake) {
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*m_wake - Clock::now()).count();
            timeout = int(std::clamp<long long>(wait, 0, INT_MAX));
        }
        const int ready = ::poll(fds, count, timeout);
        if (ready < 0 && errno != EINTR) {
            logEvent(QStringLiteral("poll failed: %1").arg(QString::fromLocal8Bit(strerror(errno))));
            return 1;
        }
        if (ready <= 0)
            continue;
        m_now = Clock::now();

        if (fds[0].revents & POLLIN) {
            char signal = 0;
            if (::read(signalPipe[0], &signal, 1) == 1) {
                logEvent(QStringLiteral("%1: stopping").arg(signalName(signal)));
                return 0;
            }
        }
        if (masterIndex >= 0) {
            const short revents = fds[masterIndex].revents;
            if (revents & POLLOUT)
                m_blocked = false;
            if (revents & (POLLIN | POLLHUP | POLLERR))
                readFromPc(m_now);
            if (revents & (POLLHUP | POLLERR))
                portClosed(m_now); // even if a read did not say so: polling again would spin
        }
        if (inotifyIndex >= 0 && (fds[inotifyIndex].revents & POLLIN)) {
            // Empty the queue before looking at the port, so an open that comes later wakes us again.
            char events[4096];
            while (::read(m_inotify, events, sizeof events) > 0) {
            }
            probePort(m_now);
        }
        if (inputIndex >= 0 && (fds[inputIndex].revents & (POLLIN | POLLHUP | POLLERR)))
            readInput();
    }
    return *m_exitCode;
}

void Simulator::wakeAt(TimePoint when)
{
    if (!m_wake || when < *m_wake)
        m_wake = when;
}

bool Simulator::passed(std::optional<TimePoint> gate)
{
    if (!gate)
        return false; // opened by the first identification, which wakes the loop by itself
    if (m_now < *gate) {
        wakeAt(*gate);
        return false;
    }
    return true;
}

std::optional<Simulator::TimePoint> Simulator::pressGate() const
{
    const auto delay = std::chrono::milliseconds(m_options.startDelayMs);
    if (m_options.mode == Mode::Interactive)
        return m_start; // the person typing decides when
    if (m_options.noWait)
        return m_start + delay;
    if (!m_firstIdentification)
        return std::nullopt;
    return *m_firstIdentification + delay;
}

void Simulator::advance(TimePoint now)
{
    m_wake.reset();
    if (!m_portOpen) {
        const auto interval = m_inotify >= 0 ? probeWithInotify : probeWithoutInotify;
        if (now >= m_lastProbe + interval)
            probePort(now);
        if (!m_portOpen)
            wakeAt(m_lastProbe + interval);
    }

    if (m_burstPending && m_firstIdentification &&
        passed(*m_firstIdentification + std::chrono::milliseconds(m_options.startDelayMs)))
        runBurst();
    if (!m_actions.empty())
        runActions(now);
    if (m_random)
        runRandom(now);
    flushOutput(now);
    if (!m_exitCode)
        checkFinished(now);
}

void Simulator::runBurst()
{
    m_burstPending = false;
    std::vector<Press> presses;
    for (int number = 1; number <= m_options.burst; ++number) {
        const Handset handset = handsetAt(number, m_options.classSets);
        if (m_options.master && m_options.master->number == handset.number &&
            m_options.master->classSet == handset.classSet)
            continue;
        presses.push_back(Press{handset, Button(m_aux.below(4))});
    }
    const QString note =
        QStringLiteral("burst of %1 presses from %2 handsets").arg(presses.size()).arg(m_options.burst);
    logEvent(note);
    if (m_options.splitFrames) {
        for (const Press &press : presses)
            queuePress(press, QStringLiteral("burst: "));
        return;
    }
    // One write, as a receiver passing on many presses at once would do.
    Chunk chunk;
    for (const Press &press : presses)
        chunk.bytes += encodeFrame(press, m_options.junkBits ? m_aux.byte() : 0);
    chunk.frames = int(presses.size());
    chunk.note =
        QStringLiteral("%1 frames back to back (%2 bytes)").arg(presses.size()).arg(chunk.bytes.size());
    m_output.push_back(chunk);
}

void Simulator::runActions(TimePoint now)
{
    if (!passed(pressGate()))
        return;
    while (!m_actions.empty() && !m_exitCode) {
        const Action action = m_actions.front();
        if (action.kind == Action::Kind::WaitForIdentification) {
            if (m_identifications == 0)
                return;
            m_actions.pop_front();
            m_chainBase = now;
            continue;
        }
        if (!m_headDue)
            m_headDue = m_chainBase.value_or(now) + std::chrono::milliseconds(action.delayMs);
        if (now < *m_headDue) {
            wakeAt(*m_headDue);
            return;
        }
        m_chainBase = *m_headDue;
        m_headDue.reset();
        m_actions.pop_front();
        if (action.kind == Action::Kind::Close) {
            logEvent(QStringLiteral("close: unplugging the receiver"));
            m_exitCode = 0;
            return;
        }
        queuePress(action.press, action.master ? QStringLiteral("master ") : QString());
    }
    m_chainBase.reset(); // a line typed later counts its delay from when it arrives
}

void Simulator::runRandom(TimePoint now)
{
    if (m_randomDone || !passed(pressGate()))
        return;
    if (!m_randomBase) {
        m_randomBase = now;
        if (m_options.durationSeconds)
            m_randomEnd = now + std::chrono::duration_cast<Clock::duration>(
                                    std::chrono::duration<double>(*m_options.durationSeconds));
    }
    while (!m_randomDone) {
        if (!m_draw) {
            m_draw = m_random->next();
            m_drawAt = *m_randomBase + std::chrono::duration_cast<Clock::duration>(
                                           std::chrono::duration<double, std::milli>(m_draw->gapMs));
        }
        if (m_randomEnd && m_drawAt >= *m_randomEnd) {
            if (now < *m_randomEnd) {
                wakeAt(*m_randomEnd);
                return;
            }
            logEvent(QStringLiteral("random run over: %1 presses in %2 s")
                         .arg(m_randomSent)
                         .arg(*m_options.durationSeconds));
            m_randomDone = true;
            return;
        }
        if (now < m_drawAt) {
            wakeAt(m_drawAt);
            return;
        }
        if (m_draw->round != m_round) {
            m_round = m_draw->round;
            logEvent(QStringLiteral("every handset has pressed: round %1").arg(m_round));
        }
        queuePress(m_draw->press, m_draw->changedMind ? QStringLiteral("changed mind: ") : QString());
        m_randomBase = m_drawAt;
        m_draw.reset();
        ++m_randomSent;
        if (m_options.count && m_randomSent >= *m_options.count) {
            logEvent(QStringLiteral("random run over: %1 presses").arg(m_randomSent));
            m_randomDone = true;
        }
    }
}

void Simulator::queuePress(const Press &press, const QString &prefix)
{
    const QByteArray frame = encodeFrame(press, m_options.junkBits ? m_aux.byte() : 0);
    const QString note = prefix + describe(press) + QStringLiteral(" [") + hexBytes(frame) + QLatin1Char(']');
    if (!m_options.splitFrames || (m_options.splitShare < 1 && m_aux.uniform() >= m_options.splitShare)) {
        Chunk chunk;
        chunk.bytes = frame;
        chunk.frames = 1;
        chunk.note = note;
        m_output.push_back(chunk);
    } else {
        const int cut = 1 + int(m_aux.below(frameSize - 1));
        Chunk head;
        head.bytes = frame.left(cut);
        Chunk tail;
        tail.bytes = frame.mid(cut);
        tail.gapMs = std::max(m_options.splitGapMs, 1);
        tail.frames = 1;
        tail.note = note + QStringLiteral(" split %1+%2").arg(cut).arg(frameSize - cut);
        m_output.push_back(head);
        m_output.push_back(tail);
    }
    if (m_options.strayProbability > 0 && m_aux.uniform() < m_options.strayProbability) {
        Chunk stray;
        stray.bytes = QByteArray(1, char(m_aux.byte()));
        stray.note = QStringLiteral("stray byte [") + hexBytes(stray.bytes) + QLatin1Char(']');
        m_output.push_back(stray);
    }
    flushOutput(m_now); // now, so the log shows it before whatever happens next
}

void Simulator::flushOutput(TimePoint now)
{
    while (!m_output.empty()) {
        Chunk &chunk = m_output.front();
        if (!m_portOpen) {
            // A receiver whose port nobody has open loses what it sends.
            if (chunk.kind == Chunk::Kind::Reply)
                logEvent(QStringLiteral("answer lost: the PC closed the port"));
            else if (!chunk.note.isEmpty())
                logDetail(QStringLiteral("lost (the port is not open): %1").arg(chunk.note));
            m_framesLost += chunk.frames;
            m_output.pop_front();
            continue;
        }
        if (chunk.written == 0 && chunk.gapMs > 0) {
            const TimePoint due = m_lastWrite + std::chrono::milliseconds(chunk.gapMs);
            if (now < due) {
                wakeAt(due);
                return;
            }
        }
        if (m_blocked)
            return;
        const ssize_t n = ::write(m_master, chunk.bytes.constData() + chunk.written,
                                  std::size_t(chunk.bytes.size() - chunk.written));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                m_blocked = true;
                return;
            }
            portClosed(now);
            continue;
        }
        chunk.written += n;
        m_lastWrite = now;
        if (chunk.written < chunk.bytes.size())
            continue;

        if (chunk.kind == Chunk::Kind::Reply) {
            ++m_identifications;
            if (!m_firstIdentification)
                m_firstIdentification = now;
            logEvent(QStringLiteral("identified: answered #INFO$ with %1 (%2 time)")
                         .arg(QString::fromLatin1(chunk.bytes), ordinal(m_identifications)));
            wakeAt(now); // presses waiting for the identification may go now

        } else {
            m_framesSent += chunk.frames;
            if (!chunk.note.isEmpty())
                logDetail(QStringLiteral("sent %1").arg(chunk.note));
        }
        m_output.pop_front();
    }
}

void Simulator::readFromPc(TimePoint now)
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            const QByteArray bytes(buffer, int(n));
            logDetail(QStringLiteral("received %1 bytes: %2")
                          .arg(n)
                          .arg(hexBytes(bytes.left(32)) + (n > 32 ? QStringLiteral(" ...") : QString())));
            for (int i = m_matcher.feed(bytes); i > 0; --i) {
                Chunk reply;
                reply.kind = Chunk::Kind::Reply;
                reply.bytes = identificationReply(m_options.family);
                m_output.push_back(reply);
            }
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        // EIO: nobody has the slave open any more.
        portClosed(now);
        return;
    }
}

void Simulator::probePort(TimePoint now)
{
    m_lastProbe = now;
    pollfd fd = {m_master, POLLIN, 0};
    if (::poll(&fd, 1, 0) < 0)
        return;
    if (fd.revents & POLLHUP) {
        // Opened and closed again before we looked: whatever it wrote is for nobody now.
        discardInput();
        return;
    }
    m_portOpen = true;
    m_matcher.reset();
    logEvent(QStringLiteral("the PC opened the port"));
}

void Simulator::portClosed(TimePoint now)
{
    if (!m_portOpen)
        return;
    m_portOpen = false;
    m_blocked = false;
    m_lastProbe = now;
    discardInput();
    // The terminal keeps what the PC left unread and would hand it out at the next open, whereas a
    // receiver's unread bytes are gone with the closed port. Only a flush from the slave side reaches
    // that queue; everything in it is stale, as nothing is written while the port is closed.
    const int slave =
        ::open(QFile::encodeName(m_slavePath).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave >= 0) {
        ::tcflush(slave, TCIFLUSH);
        ::close(slave);
    }
    logEvent(QStringLiteral("the PC closed the port"));
}

void Simulator::discardInput()
{
    char buffer[4096];
    while (::read(m_master, buffer, sizeof buffer) > 0) {
    }
    m_matcher.reset();
}

void Simulator::checkFinished(TimePoint now)
{
    if (!workDone())
        return;
    if (!m_lingerUntil)
        m_lingerUntil = now + std::chrono::milliseconds(m_options.lingerMs);
    if (m_output.empty() && drained(now)) {
        logEvent(QStringLiteral("done: %1 frames sent, %2 lost").arg(m_framesSent).arg(m_framesLost));
        m_exitCode = 0;
    } else if (now >= *m_lingerUntil) {
        logEvent(QStringLiteral("done, though the PC has not read everything: %1 frames sent, %2 lost")
                     .arg(m_framesSent)
                     .arg(m_framesLost));
        m_exitCode = 0;
    } else {
        wakeAt(std::min(now + drainCheckInterval, *m_lingerUntil));
    }
}

bool Simulator::workDone() const
{
    switch (m_options.mode) {
    case Mode::Idle:
        return false;
    case Mode::Script:
        return m_actions.empty() && !m_inputOpen && !m_burstPending;
    case Mode::Random:
        return m_randomDone && !m_burstPending;
    case Mode::Interactive:
        return m_actions.empty() && !m_inputOpen;
    }
    return false;
}

bool Simulator::drained(TimePoint now)
{
    if (!m_portOpen)
        return true;
    if (now < m_lastWrite + settleBeforeDrainCheck)
        return false;
    // Closing the master throws away what the PC has not read, so look at the slave's input queue
    // through a descriptor of our own. Where that is refused (a port opened exclusively by another
    // user) the settling time has to do.
    if (m_drainFd < 0)
        m_drainFd =
            ::open(QFile::encodeName(m_slavePath).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    int pending = 0;
    if (m_drainFd < 0 || ::ioctl(m_drainFd, TIOCINQ, &pending) != 0)
        return true;
    m_emptyLooks = pending == 0 ? m_emptyLooks + 1 : 0;
    return m_emptyLooks >= drainEmptyLooks;
}

void Simulator::readInput()
{
    char buffer[4096];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (n > 0)
        m_inputBuffer.append(buffer, int(n));
    for (qsizetype end = m_inputBuffer.indexOf('\n'); end >= 0 && m_inputOpen;
         end = m_inputBuffer.indexOf('\n')) {
        const QString line = QString::fromUtf8(m_inputBuffer.left(end));
        m_inputBuffer.remove(0, end + 1);
        handleLine(line);
    }
    if (n <= 0 && m_inputOpen) {
        if (!m_inputBuffer.isEmpty())
            handleLine(QString::fromUtf8(m_inputBuffer));
        m_inputBuffer.clear();
        m_inputOpen = false;
        logEvent(QStringLiteral("end of input"));
    }
}

void Simulator::handleLine(const QString &line)
{
    ++m_inputLine;
    const ParsedLine parsed = parseLine(line, m_options.syntax);
    if (!parsed.error.isEmpty()) {
        if (m_options.mode == Mode::Interactive) {
            std::fprintf(stderr, "%s (type 'help' for the commands)\n", qPrintable(parsed.error));
        } else {
            logEvent(QStringLiteral("script line %1: %2; stopping").arg(m_inputLine).arg(parsed.error));
            m_exitCode = 2;
            m_inputOpen = false;
        }
        return;
    }
    switch (parsed.kind) {
    case ParsedLine::Kind::Nothing:
        break;
    case ParsedLine::Kind::Actions:
        m_actions.insert(m_actions.end(), parsed.actions.begin(), parsed.actions.end());
        break;
    case ParsedLine::Kind::Help:
        std::fputs(interactiveHelp, stderr);
        break;
    case ParsedLine::Kind::Status:
        std::fprintf(stderr, "%s\n", qPrintable(status()));
        break;
    case ParsedLine::Kind::Quit:
        m_inputOpen = false;
        break;
    }
}

QString Simulator::status() const
{
    return QStringLiteral(
               "%1 family on %2; port %3; identifications: %4; %5 frames sent, %6 lost; %7 waiting")
        .arg(QLatin1String(familyName(m_options.family)), m_slavePath,
             m_portOpen ? QStringLiteral("open") : QStringLiteral("not open"))
        .arg(m_identifications)
        .arg(m_framesSent)
        .arg(m_framesLost)
        .arg(m_actions.size());
}

} // namespace simulator
