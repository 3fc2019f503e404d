#pragma once

#include "core/frame.h"
#include "core/identification.h"
#include "core/randompresses.h"
#include "core/script.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace simulator {

enum class Mode {
    Idle,        // only answers identifications (and sends a burst if asked)
    Script,      // --script and/or --press
    Random,      // --random
    Interactive, // lines typed on stdin
};

struct Options
{
    Mode mode = Mode::Idle;
    Family family = Family::Tandrivelle;
    bool announce = true;
    bool quiet = false;

    std::vector<Action> actions; // --press arguments, then the script file
    bool scriptFromStdin = false;
    LineSyntax syntax; // for lines read while running (stdin)
    bool noWait = false;

    RandomSettings random;
    std::optional<double> durationSeconds;
    std::optional<long long> count;

    std::optional<std::uint64_t> seed;
    std::optional<Handset> master;
    std::vector<std::uint16_t> classSets{1};
    int burst = 0;
    bool splitFrames = false;
    bool junkBits = false;
    int splitGapMs = 5;
    double splitShare = 1; // with splitFrames: the share of frames torn in two
    // Chance that a press is followed by one stray byte (radio noise), right inside the stream.
    double strayProbability = 0;
    int startDelayMs = 0;
    int lingerMs = 2000;
};

struct ParsedOptions
{
    enum class Outcome { Run, Help, Version, Error };

    Outcome outcome = Outcome::Run;
    Options options;
    QString text; // the help or version text, or the reason the arguments were refused
};

// `stdinIsTerminal` decides the default mode, so it is passed in rather than looked up here.
ParsedOptions parseOptions(const QStringList &arguments, bool stdinIsTerminal);

} // namespace simulator
