#pragma once

#include "core/identification.h"
#include "core/randompresses.h"
#include "options.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <deque>
#include <optional>

namespace simulator {

// The receiver: owns the pseudo terminal's master side and runs the single-threaded poll() loop that
// answers the PC, plays the presses and notices the PC opening and closing the port.
class Simulator final
{
public:
    explicit Simulator(const Options &options);
    ~Simulator();
    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;

    bool openPort(QString *error);
    QString slavePath() const { return m_slavePath; }

    // Returns the exit code: after the script or random run, a `close`, the end of typed input or
    // SIGINT/SIGTERM/SIGHUP.
    int run();

private:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    struct Chunk
    {
        enum class Kind { Reply, Frames };

        Kind kind = Kind::Frames;
        QByteArray bytes;
        qsizetype written = 0;
        int gapMs = 0;  // pause after the previous chunk: the middle of a split frame
        int frames = 0; // frames completed by this chunk
        QString note;   // what the log says once the chunk is out, or lost
    };

    void advance(TimePoint now);
    void wakeAt(TimePoint when);
    bool passed(std::optional<TimePoint> gate);
    std::optional<TimePoint> pressGate() const;

    void runBurst();
    void runActions(TimePoint now);
    void runRandom(TimePoint now);
    void checkFinished(TimePoint now);
    bool workDone() const;
    bool drained(TimePoint now);

    void queuePress(const Press &press, const QString &prefix);
    void flushOutput(TimePoint now);

    void readFromPc(TimePoint now);
    void probePort(TimePoint now);
    void portClosed(TimePoint now);
    void discardInput();

    void readInput();
    void handleLine(const QString &line);
    QString status() const;

    Options m_options;
    std::uint64_t m_seed = 0;
    Rng m_aux; // junk bits and split points, apart from the presses so they don't change the votes
    TimePoint m_now;
    TimePoint m_start;
    std::optional<TimePoint> m_wake;
    std::optional<int> m_exitCode;

    int m_master = -1;
    int m_inotify = -1; // tells us when the PC opens the port, which poll() on the master cannot
    QString m_slavePath;
    bool m_portOpen = false;
    TimePoint m_lastProbe;

    IdentificationMatcher m_matcher;
    int m_identifications = 0;
    std::optional<TimePoint> m_firstIdentification;

    std::deque<Chunk> m_output;
    bool m_blocked = false; // the PC does not read; wait for POLLOUT
    TimePoint m_lastWrite;
    long long m_framesSent = 0;
    long long m_framesLost = 0;

    std::deque<Action> m_actions;
    std::optional<TimePoint> m_headDue;
    std::optional<TimePoint> m_chainBase; // when the previous action ran, so delays don't drift
    bool m_inputOpen = false;
    QByteArray m_inputBuffer;
    int m_inputLine = 0;

    bool m_burstPending = false;

    std::optional<RandomPresses> m_random;
    std::optional<RandomPresses::Draw> m_draw;
    TimePoint m_drawAt;
    std::optional<TimePoint> m_randomBase;
    std::optional<TimePoint> m_randomEnd;
    long long m_randomSent = 0;
    int m_round = 1;
    bool m_randomDone = false;

    std::optional<TimePoint> m_lingerUntil;
    int m_drainFd = -1;
    int m_emptyLooks = 0;
};

} // namespace simulator
