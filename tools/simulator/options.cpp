#include "options.h"

#include <QCommandLineParser>
#include <QFile>

namespace simulator {

namespace {

const char *const description =
    "Behaves like Plenaro's USB handset receiver on a pseudo terminal, so the program and its tests\n"
    "can be run without hardware. Prints \"PTY <path>\" on stdout, answers \"#INFO$\" on that port\n"
    "and sends 4-byte button frames; events are logged on stderr.\n"
    "\n"
    "Modes: --script/--press play a script, --random plays an audience, and with neither the\n"
    "simulator reads commands typed on stdin (when stdin is a terminal, or with --interactive);\n"
    "otherwise it only answers identifications until it is stopped (SIGINT, SIGTERM, SIGHUP).";

const char *const epilogue =
    "\n"
    "Script lines (also typed in interactive mode; '#' starts a comment):\n"
    "  HANDSET CLASSSET BUTTON [DELAY_MS]  handset 1-127 of class set 0-65535 presses BUTTON\n"
    "                                      (A-D or 1-4) DELAY_MS after the previous line\n"
    "  master BUTTON [DELAY_MS]            the --master handset presses BUTTON\n"
    "  wait-for-identification             wait until the PC has sent #INFO$ and got its answer\n"
    "  close [DELAY_MS]                    unplug the receiver: the port goes away, the run ends\n"
    "Script presses start after the PC's first identification (unless --no-wait); at the end of\n"
    "the script the simulator waits until the PC has read everything (at most --linger) and exits.\n"
    "\n"
    "Interactive shortcuts:\n"
    "  a 12        handset 12 presses A (class set: the first of --class-sets)\n"
    "  c 1-30 2    handsets 1 to 30 of class set 2 press C\n"
    "  m d         the master handset presses D (A ends the countdown, B goes back a question,\n"
    "              C pauses, D goes on)\n"
    "  status, help, quit\n"
    "\n"
    "The master handset takes no part in --random or --burst.\n"
    "\n"
    "Examples:\n"
    "  plenaro-simulator\n"
    "      interactive; type \"a 12\" once the program has found the receiver\n"
    "  plenaro-simulator --family morvane --press 1,1,A --press 2,1,C,500\n"
    "  plenaro-simulator --script votes.txt --split-frames --junk-bits\n"
    "  plenaro-simulator --random --handsets 60 --class-sets 1,2 --distribution 1,3,1,1 \\\n"
    "      --rate 10 --duration 30 --repeat-probability 0.1 --seed 7\n"
    "  plenaro-simulator --no-announce --burst 200 < /dev/null\n"
    "      for tests: the 200 presses arrive back to back after the first identification\n"
    "  printf 'wait-for-identification\\n5 1 B 100\\nclose 500\\n' | plenaro-simulator --script -\n"
    "\n"
    "Unless --no-announce is given, the port is also announced in\n"
    "$XDG_RUNTIME_DIR/plenaro-simulator/<pid>.pty, where the program finds it.\n"
    "Exit codes: 0 normal end, 1 failure while running, 2 bad arguments or script.\n";

ParsedOptions refuse(const QString &reason)
{
    ParsedOptions result;
    result.outcome = ParsedOptions::Outcome::Error;
    result.text = reason;
    return result;
}

std::optional<double> parseReal(const QString &text, double min, double max)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !(value >= min && value <= max))
        return std::nullopt;
    return value;
}

std::optional<std::vector<std::uint16_t>> parseClassSets(const QString &text)
{
    std::vector<std::uint16_t> sets;
    for (const QString &part : text.split(QLatin1Char(','))) {
        const auto value = parseNumber(part.trimmed(), 0, maxClassSet);
        if (!value)
            return std::nullopt;
        sets.push_back(std::uint16_t(*value));
    }
    return sets;
}

std::optional<Handset> parseHandset(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 2)
        return std::nullopt;
    const auto number = parseNumber(parts.at(0).trimmed(), 1, maxHandset);
    const auto classSet = parseNumber(parts.at(1).trimmed(), 0, maxClassSet);
    if (!number || !classSet)
        return std::nullopt;
    return Handset{std::uint16_t(*classSet), std::uint8_t(*number)};
}

} // namespace

ParsedOptions parseOptions(const QStringList &arguments, bool stdinIsTerminal)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(description));

    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption family({QStringLiteral("f"), QStringLiteral("family")},
                                    QStringLiteral("Receiver family: morvane or tandrivelle (default)."),
                                    QStringLiteral("FAMILY"));
    const QCommandLineOption noAnnounce(QStringLiteral("no-announce"),
                                        QStringLiteral("Do not write the announcement file."));
    const QCommandLineOption script(
        {QStringLiteral("s"), QStringLiteral("script")},
        QStringLiteral("Play the script FILE ('-' reads it from stdin as it comes)."),
        QStringLiteral("FILE"));
    const QCommandLineOption press(
        {QStringLiteral("p"), QStringLiteral("press")},
        QStringLiteral("A press HANDSET,CLASSSET,BUTTON[,DELAY_MS] or master,BUTTON[,DELAY_MS], played "
                       "before the script; repeatable."),
        QStringLiteral("PRESS"));
    const QCommandLineOption noWait(
        QStringLiteral("no-wait"),
        QStringLiteral("Start script and random presses at once instead of after the first identification."));
    const QCommandLineOption interactive(
        {QStringLiteral("i"), QStringLiteral("interactive")},
        QStringLiteral("Read commands from stdin even when it is not a terminal (no prompt)."));
    const QCommandLineOption random({QStringLiteral("r"), QStringLiteral("random")},
                                    QStringLiteral("Simulate an audience pressing at random."));
    const QCommandLineOption handsets(
        QStringLiteral("handsets"),
        QStringLiteral("Random mode: N handsets take part (default 30), dealt to the class sets; each class "
                       "set numbers its handsets 1-127."),
        QStringLiteral("N"));
    const QCommandLineOption classSets(
        QStringLiteral("class-sets"),
        QStringLiteral("Class sets, comma-separated (default 1); random and burst handsets are spread over "
                       "them round-robin, interactive shortcuts use the first."),
        QStringLiteral("LIST"));
    const QCommandLineOption distribution(
        QStringLiteral("distribution"),
        QStringLiteral("Random mode: relative weights of A,B,C,D (default 1,1,1,1)."),
        QStringLiteral("a,b,c,d"));
    const QCommandLineOption rate(QStringLiteral("rate"),
                                  QStringLiteral("Random mode: mean presses per second (default 5)."),
                                  QStringLiteral("PRESSES_PER_SECOND"));
    const QCommandLineOption duration(QStringLiteral("duration"),
                                      QStringLiteral("Random mode: stop after this many seconds."),
                                      QStringLiteral("SECONDS"));
    const QCommandLineOption count(QStringLiteral("count"),
                                   QStringLiteral("Random mode: stop after N presses."), QStringLiteral("N"));
    const QCommandLineOption repeatProbability(
        QStringLiteral("repeat-probability"),
        QStringLiteral("Random mode: chance that a press is a handset changing its mind (default 0)."),
        QStringLiteral("P"));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed of the random presses, junk bits and split points "
                                                 "(default: a new one, logged)."),
                                  QStringLiteral("N"));
    const QCommandLineOption master(
        QStringLiteral("master"),
        QStringLiteral("The presenter's master handset, for 'master' lines and 'm'."),
        QStringLiteral("HANDSET,CLASSSET"));
    const QCommandLineOption burst(QStringLiteral("burst"),
                                   QStringLiteral("After the first identification send one press from each "
                                                  "of N handsets back to back, then go on."),
                                   QStringLiteral("N"));
    const QCommandLineOption splitFrames(
        QStringLiteral("split-frames"),
        QStringLiteral("Write every frame in two pieces a few milliseconds apart."));
    const QCommandLineOption splitGap(
        QStringLiteral("split-gap"),
        QStringLiteral("With --split-frames: milliseconds between the two pieces (default 5)."),
        QStringLiteral("MS"));
    const QCommandLineOption splitShare(
        QStringLiteral("split-share"),
        QStringLiteral("With --split-frames: the chance P that a frame is torn in two (default 1)."),
        QStringLiteral("P"));
    const QCommandLineOption strayBytes(
        QStringLiteral("stray-bytes"),
        QStringLiteral("Chance P that a press is followed by one stray byte, with no pause around it "
                       "(default 0)."),
        QStringLiteral("P"));
    const QCommandLineOption junkBits(QStringLiteral("junk-bits"),
                                      QStringLiteral("Put random values into bits 2-7 of the button byte."));
    const QCommandLineOption startDelay(
        QStringLiteral("start-delay"),
        QStringLiteral(
            "Wait MS after the first identification before the burst and the presses (default 0)."),
        QStringLiteral("MS"));
    const QCommandLineOption linger(
        QStringLiteral("linger"),
        QStringLiteral("At the end, wait at most MS for the PC to read what was sent (default 2000)."),
        QStringLiteral("MS"));
    const QCommandLineOption quiet({QStringLiteral("q"), QStringLiteral("quiet")},
                                   QStringLiteral("Log no single presses or received bytes."));

    parser.addOptions({help,     version,     family,    noAnnounce,        script,    press,
                       noWait,   interactive, random,    handsets,          classSets, distribution,
                       rate,     duration,    count,     repeatProbability, seed,      master,
                       burst,    splitFrames, junkBits,  startDelay,        linger,    quiet,
                       splitGap, splitShare,  strayBytes});

    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (parser.isSet(help)) {
        ParsedOptions result;
        result.outcome = ParsedOptions::Outcome::Help;
        result.text = parser.helpText() + QString::fromLatin1(epilogue);
        return result;
    }
    if (parser.isSet(version)) {
        ParsedOptions result;
        result.outcome = ParsedOptions::Outcome::Version;
        result.text = QStringLiteral("plenaro-simulator " PLENARO_VERSION "\n");
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));

    ParsedOptions result;
    Options &o = result.options;
    o.announce = !parser.isSet(noAnnounce);
    o.quiet = parser.isSet(quiet);
    o.noWait = parser.isSet(noWait);
    o.splitFrames = parser.isSet(splitFrames);
    o.junkBits = parser.isSet(junkBits);

    if (parser.isSet(family)) {
        const QString name = parser.value(family).toLower();
        if (name == QLatin1String("morvane"))
            o.family = Family::Morvane;
        else if (name == QLatin1String("tandrivelle"))
            o.family = Family::Tandrivelle;
        else
            return refuse(QStringLiteral("--family must be morvane or tandrivelle, got '%1'")
                              .arg(parser.value(family)));
    }
    if (parser.isSet(classSets)) {
        const auto sets = parseClassSets(parser.value(classSets));
        if (!sets)
            return refuse(QStringLiteral("--class-sets must be numbers 0-65535 separated by commas, got '%1'")
                              .arg(parser.value(classSets)));
        o.classSets = *sets;
    }
    if (parser.isSet(master)) {
        o.master = parseHandset(parser.value(master));
        if (!o.master)
            return refuse(QStringLiteral("--master must be HANDSET,CLASSSET (1-127, 0-65535), got '%1'")
                              .arg(parser.value(master)));
    }
    if (parser.isSet(seed)) {
        bool ok = false;
        o.seed = parser.value(seed).toULongLong(&ok);
        if (!ok)
            return refuse(QStringLiteral("--seed must be a whole number, got '%1'").arg(parser.value(seed)));
    }
    if (parser.isSet(burst)) {
        const int most = maxHandset * int(o.classSets.size());
        const auto value = parseNumber(parser.value(burst), 1, most);
        if (!value)
            return refuse(
                QStringLiteral("--burst must be 1-%1, got '%2'").arg(most).arg(parser.value(burst)));
        o.burst = int(*value);
    }
    if (parser.isSet(startDelay)) {
        const auto value = parseNumber(parser.value(startDelay), 0, 3600 * 1000);
        if (!value)
            return refuse(
                QStringLiteral("--start-delay must be milliseconds, got '%1'").arg(parser.value(startDelay)));
        o.startDelayMs = int(*value);
    }
    if (parser.isSet(splitGap)) {
        const auto value = parseNumber(parser.value(splitGap), 0, 10'000);
        if (!value)
            return refuse(
                QStringLiteral("--split-gap must be milliseconds, got '%1'").arg(parser.value(splitGap)));
        o.splitGapMs = int(*value);
    }
    if (parser.isSet(splitShare)) {
        const auto value = parseReal(parser.value(splitShare), 0, 1);
        if (!value)
            return refuse(
                QStringLiteral("--split-share must be 0-1, got '%1'").arg(parser.value(splitShare)));
        o.splitShare = *value;
    }
    if (parser.isSet(strayBytes)) {
        const auto value = parseReal(parser.value(strayBytes), 0, 1);
        if (!value)
            return refuse(
                QStringLiteral("--stray-bytes must be 0-1, got '%1'").arg(parser.value(strayBytes)));
        o.strayProbability = *value;
    }
    if (parser.isSet(linger)) {
        const auto value = parseNumber(parser.value(linger), 0, 3600 * 1000);
        if (!value)
            return refuse(
                QStringLiteral("--linger must be milliseconds, got '%1'").arg(parser.value(linger)));
        o.lingerMs = int(*value);
    }

    o.syntax.master = o.master;
    o.syntax.defaultClassSet = o.classSets.front();

    // Options that only mean something to the audience simulation are refused elsewhere, so a
    // forgotten --random does not silently run something else.
    const bool randomMode = parser.isSet(random);
    for (const QCommandLineOption *option :
         {&handsets, &distribution, &rate, &duration, &count, &repeatProbability}) {
        if (!randomMode && parser.isSet(*option))
            return refuse(QStringLiteral("--%1 needs --random").arg(option->names().constLast()));
    }
    const bool scripted = parser.isSet(script) || parser.isSet(press);
    if (randomMode && scripted)
        return refuse(QStringLiteral("--random cannot be combined with --script or --press"));
    if (parser.isSet(interactive) && (randomMode || scripted))
        return refuse(QStringLiteral("--interactive cannot be combined with --random, --script or --press"));

    if (randomMode) {
        o.mode = Mode::Random;
        RandomSettings &r = o.random;
        r.classSets = o.classSets;
        r.excluded = o.master;
        if (parser.isSet(handsets)) {
            const int most = maxHandset * int(o.classSets.size());
            const auto value = parseNumber(parser.value(handsets), 1, most);
            if (!value)
                return refuse(QStringLiteral("--handsets must be 1-%1, got '%2'")
                                  .arg(most)
                                  .arg(parser.value(handsets)));
            r.handsets = int(*value);
        }
        if (parser.isSet(distribution)) {
            const QStringList parts = parser.value(distribution).split(QLatin1Char(','));
            double total = 0;
            bool valid = parts.size() == 4;
            for (int i = 0; valid && i < 4; ++i) {
                const auto weight = parseReal(parts.at(i).trimmed(), 0, 1e9);
                valid = weight.has_value();
                if (valid) {
                    r.weights[std::size_t(i)] = *weight;
                    total += *weight;
                }
            }
            if (!valid || total <= 0)
                return refuse(
                    QStringLiteral("--distribution must be four weights a,b,c,d (not all 0), got '%1'")
                        .arg(parser.value(distribution)));
        }
        if (parser.isSet(rate)) {
            const auto value = parseReal(parser.value(rate), 0.001, 10000);
            if (!value)
                return refuse(QStringLiteral("--rate must be 0.001-10000 presses per second, got '%1'")
                                  .arg(parser.value(rate)));
            r.ratePerSecond = *value;
        }
        if (parser.isSet(repeatProbability)) {
            const auto value = parseReal(parser.value(repeatProbability), 0, 1);
            if (!value)
                return refuse(QStringLiteral("--repeat-probability must be 0-1, got '%1'")
                                  .arg(parser.value(repeatProbability)));
            r.repeatProbability = *value;
        }
        if (parser.isSet(duration)) {
            o.durationSeconds = parseReal(parser.value(duration), 0.001, 1e7);
            if (!o.durationSeconds)
                return refuse(
                    QStringLiteral("--duration must be seconds > 0, got '%1'").arg(parser.value(duration)));
        }
        if (parser.isSet(count)) {
            o.count = parseNumber(parser.value(count), 1, 1000000000);
            if (!o.count)
                return refuse(QStringLiteral("--count must be 1 or more, got '%1'").arg(parser.value(count)));
        }
        if (RandomPresses(r, 0).handsetCount() == 0)
            return refuse(QStringLiteral("no handset is left to press: the only one is the master handset"));
    } else if (scripted) {
        o.mode = Mode::Script;
        for (const QString &argument : parser.values(press)) {
            const ParsedLine parsed = parsePressArgument(argument, o.syntax);
            if (!parsed.error.isEmpty())
                return refuse(QStringLiteral("--press %1: %2").arg(argument, parsed.error));
            o.actions.insert(o.actions.end(), parsed.actions.begin(), parsed.actions.end());
        }
        if (parser.isSet(script)) {
            const QString path = parser.value(script);
            if (path == QLatin1String("-")) {
                o.scriptFromStdin = true;
            } else {
                QFile file(path);
                if (!file.open(QIODevice::ReadOnly))
                    return refuse(QStringLiteral("cannot read script %1: %2").arg(path, file.errorString()));
                const Script parsed = parseScript(QString::fromUtf8(file.readAll()), o.syntax);
                if (!parsed.errors.isEmpty())
                    return refuse(path + QStringLiteral(":\n  ") +
                                  parsed.errors.join(QStringLiteral("\n  ")));
                o.actions.insert(o.actions.end(), parsed.actions.begin(), parsed.actions.end());
            }
        }
    } else if (parser.isSet(interactive) || stdinIsTerminal) {
        o.mode = Mode::Interactive;
        o.syntax.interactive = true;
    }
    return result;
}

} // namespace simulator
