#include "core/frame.h"
#include "core/identification.h"
#include "core/randompresses.h"
#include "core/script.h"

#include <QTest>

#include <map>

using namespace simulator;

class TestSimulatorCore final : public QObject
{
    Q_OBJECT

private slots:
    void frameBytes_data();
    void frameBytes();
    void buttons();

    void scriptLines();
    void scriptErrors_data();
    void scriptErrors();
    void interactiveLines();
    void pressArguments();

    void identificationAcrossReads();
    void identificationNearMisses();

    void randomDistribution();
    void randomRoundsAndClassSets();
    void randomChangesOfMind();
};

void TestSimulatorCore::frameBytes_data()
{
    QTest::addColumn<int>("classSet");
    QTest::addColumn<int>("handset");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("junk");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("class set 0") << 0 << 1 << 0 << 0 << QByteArray::fromHex("00000100");
    QTest::newRow("class set 258 is big endian") << 258 << 5 << 1 << 0 << QByteArray::fromHex("01020501");
    QTest::newRow("class set 65535") << 65535 << 2 << 2 << 0 << QByteArray::fromHex("ffff0202");
    QTest::newRow("handset 128") << 1 << 128 << 0 << 0 << QByteArray::fromHex("00018000");
    QTest::newRow("handset 255") << 1 << 255 << 3 << 0 << QByteArray::fromHex("0001ff03");
    QTest::newRow("D with all junk bits") << 1 << 7 << 3 << 0xff << QByteArray::fromHex("000107ff");
    QTest::newRow("junk never touches the button") << 1 << 7 << 0 << 0x03 << QByteArray::fromHex("00010700");
    QTest::newRow("C under junk") << 9 << 60 << 2 << 0xa5 << QByteArray::fromHex("00093ca6");
}

void TestSimulatorCore::frameBytes()
{
    QFETCH(int, classSet);
    QFETCH(int, handset);
    QFETCH(int, button);
    QFETCH(int, junk);
    QFETCH(QByteArray, expected);

    const Press press{Handset{std::uint16_t(classSet), std::uint8_t(handset)}, Button(button)};
    const QByteArray frame = encodeFrame(press, std::uint8_t(junk));
    QCOMPARE(frame.toHex(' '), expected.toHex(' '));
    QCOMPARE(frame.size(), frameSize);
}

void TestSimulatorCore::buttons()
{
    const std::map<QString, Button> accepted = {
        {QStringLiteral("A"), Button::A}, {QStringLiteral("b"), Button::B}, {QStringLiteral("C"), Button::C},
        {QStringLiteral("d"), Button::D}, {QStringLiteral("1"), Button::A}, {QStringLiteral("4"), Button::D},
    };
    for (const auto &[text, button] : accepted) {
        const auto parsed = parseButton(text);
        QVERIFY2(parsed, qPrintable(text));
        QCOMPARE(int(*parsed), int(button));
    }
    for (const QString text : {"E", "0", "5", "", "AB", "a "})
        QVERIFY2(!parseButton(text), qPrintable(text));
}

void TestSimulatorCore::scriptLines()
{
    LineSyntax syntax;
    syntax.master = Handset{258, 7};
    const QString text = QStringLiteral("# a lesson\n"
                                        "\n"
                                        "wait-for-identification\n"
                                        "12 1 A 0\n"
                                        "  127\t65535 d 1500   # trailing comment\r\n"
                                        "3 0 2\n"
                                        "master C 250\n"
                                        "close 100\n");
    const Script script = parseScript(text, syntax);
    QVERIFY2(script.errors.isEmpty(), qPrintable(script.errors.join(QLatin1Char('\n'))));
    QCOMPARE(script.actions.size(), std::size_t(6));

    QCOMPARE(script.actions[0].kind, Action::Kind::WaitForIdentification);

    const Action &first = script.actions[1];
    QCOMPARE(first.kind, Action::Kind::Press);
    QCOMPARE(first.press.handset.number, 12);
    QCOMPARE(first.press.handset.classSet, 1);
    QCOMPARE(first.press.button, Button::A);

    const Action &edges = script.actions[2];
    QCOMPARE(edges.press.handset.number, 127);
    QCOMPARE(edges.press.handset.classSet, 65535);
    QCOMPARE(edges.press.button, Button::D);
    QCOMPARE(edges.delayMs, 1500);

    QCOMPARE(script.actions[3].press.button, Button::B);
    QCOMPARE(script.actions[3].delayMs, 0);

    const Action &master = script.actions[4];
    QVERIFY(master.master);
    QCOMPARE(master.press.handset.number, 7);
    QCOMPARE(master.press.handset.classSet, 258);
    QCOMPARE(master.press.button, Button::C);
    QCOMPARE(master.delayMs, 250);

    QCOMPARE(script.actions[5].kind, Action::Kind::Close);
    QCOMPARE(script.actions[5].delayMs, 100);
}

void TestSimulatorCore::scriptErrors_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("message");

    QTest::newRow("handset 0") << "0 1 A"
                               << "handset";
    QTest::newRow("handset 128") << "128 1 A"
                                 << "handset";
    QTest::newRow("class set too big") << "1 65536 A"
                                       << "class set";
    QTest::newRow("button E") << "1 1 E"
                              << "button";
    QTest::newRow("button 5") << "1 1 5"
                              << "button";
    QTest::newRow("negative delay") << "1 1 A -5"
                                    << "delay";
    QTest::newRow("fractional delay") << "1 1 A 2.5"
                                      << "delay";
    QTest::newRow("signed handset") << "+1 1 A"
                                    << "handset";
    QTest::newRow("too few fields") << "1 1"
                                    << "fields";
    QTest::newRow("too many fields") << "1 1 A 0 9"
                                     << "fields";
    QTest::newRow("master without --master") << "master A"
                                             << "--master";
    QTest::newRow("shortcut in a script") << "a 12"
                                          << "unknown command";
    QTest::newRow("arguments to wait") << "wait-for-identification 5"
                                       << "no arguments";
    QTest::newRow("unknown word") << "press 1 1 A"
                                  << "unknown command";
}

void TestSimulatorCore::scriptErrors()
{
    QFETCH(QString, line);
    QFETCH(QString, message);

    const ParsedLine parsed = parseLine(line, LineSyntax());
    QVERIFY2(parsed.error.contains(message), qPrintable(parsed.error));
    QVERIFY(parsed.actions.empty());

    // In a whole script the error carries its line number and the good lines are still read.
    const Script script =
        parseScript(QStringLiteral("1 1 A\n# fine\n") + line + QStringLiteral("\n2 1 B\n"), LineSyntax());
    QCOMPARE(script.errors.size(), 1);
    QVERIFY2(script.errors.first().startsWith(QLatin1String("line 3: ")), qPrintable(script.errors.first()));
    QCOMPARE(script.actions.size(), std::size_t(2));
}

void TestSimulatorCore::interactiveLines()
{
    LineSyntax syntax;
    syntax.interactive = true;
    syntax.defaultClassSet = 4;
    syntax.master = Handset{1, 99};

    ParsedLine single = parseLine(u"a 12", syntax);
    QCOMPARE(single.kind, ParsedLine::Kind::Actions);
    QCOMPARE(single.actions.size(), std::size_t(1));
    QCOMPARE(single.actions[0].press.handset.number, 12);
    QCOMPARE(single.actions[0].press.handset.classSet, 4);
    QCOMPARE(single.actions[0].press.button, Button::A);

    ParsedLine range = parseLine(u"C 3-5 258", syntax);
    QCOMPARE(range.actions.size(), std::size_t(3));
    for (std::size_t i = 0; i < 3; ++i) {
        QCOMPARE(range.actions[i].press.handset.number, 3 + int(i));
        QCOMPARE(range.actions[i].press.handset.classSet, 258);
        QCOMPARE(range.actions[i].press.button, Button::C);
    }

    ParsedLine master = parseLine(u"m d", syntax);
    QCOMPARE(master.actions.size(), std::size_t(1));
    QVERIFY(master.actions[0].master);
    QCOMPARE(master.actions[0].press.handset.number, 99);
    QCOMPARE(master.actions[0].press.button, Button::D);

    QCOMPARE(parseLine(u"quit", syntax).kind, ParsedLine::Kind::Quit);
    QCOMPARE(parseLine(u"help", syntax).kind, ParsedLine::Kind::Help);
    QCOMPARE(parseLine(u"status", syntax).kind, ParsedLine::Kind::Status);
    QCOMPARE(parseLine(u"   # nothing", syntax).kind, ParsedLine::Kind::Nothing);
    QVERIFY(!parseLine(u"a 5-3", syntax).error.isEmpty());
    QVERIFY(!parseLine(u"e 5", syntax).error.isEmpty());
    QVERIFY(!parseLine(u"a 0", syntax).error.isEmpty());
}

void TestSimulatorCore::pressArguments()
{
    LineSyntax syntax;
    const ParsedLine press = parsePressArgument(u"12,1,A,500", syntax);
    QVERIFY2(press.error.isEmpty(), qPrintable(press.error));
    QCOMPARE(press.actions[0].press.handset.number, 12);
    QCOMPARE(press.actions[0].delayMs, 500);

    QVERIFY(parsePressArgument(u"master,B", syntax).error.contains(QLatin1String("--master")));
    syntax.master = Handset{3, 1};
    QVERIFY(parsePressArgument(u"master,B", syntax).actions[0].master);
    QVERIFY(!parsePressArgument(u"close", syntax).error.isEmpty());
    QVERIFY(!parsePressArgument(u"12,1", syntax).error.isEmpty());
}

void TestSimulatorCore::identificationAcrossReads()
{
    // Noise around and between two requests, cut at every possible pair of places.
    const QByteArray stream = QByteArrayLiteral("\x00\xff#IN#INFO$junk##INFO$#") + QByteArray("\x01\x02", 2);
    for (int first = 0; first <= stream.size(); ++first) {
        for (int second = first; second <= stream.size(); ++second) {
            IdentificationMatcher matcher;
            const int found = matcher.feed(stream.left(first)) +
                              matcher.feed(stream.mid(first, second - first)) +
                              matcher.feed(stream.mid(second));
            QVERIFY2(found == 2,
                     qPrintable(QStringLiteral("cut at %1 and %2: %3").arg(first).arg(second).arg(found)));
        }
    }

    // One byte per read, as a slow line delivers it.
    IdentificationMatcher matcher;
    int found = 0;
    for (const char c : QByteArrayLiteral("#INFO$#INFO$#INFO$"))
        found += matcher.feed(QByteArrayView(&c, 1));
    QCOMPARE(found, 3);
}

void TestSimulatorCore::identificationNearMisses()
{
    for (const char *text : {"#info$", "#INFO", "INFO$", "#INF O$", "#INFOO$", "#I#NFO$"}) {
        IdentificationMatcher matcher;
        QVERIFY2(matcher.feed(text) == 0, text);
    }
    // An interrupted request followed by a complete one still counts once.
    IdentificationMatcher matcher;
    QCOMPARE(matcher.feed("#INF"), 0);
    QCOMPARE(matcher.feed("#INFO$"), 1);
    // reset() drops a half-seen request, as when the PC closes the port in the middle of it.
    QCOMPARE(matcher.feed("#IN"), 0);
    matcher.reset();
    QCOMPARE(matcher.feed("FO$"), 0);

    QCOMPARE(identificationReply(Family::Morvane), QByteArray("#PLENARO$"));
    QCOMPARE(identificationReply(Family::Tandrivelle), QByteArray("#PLENARO_TANDRIVELLE$"));
}

void TestSimulatorCore::randomDistribution()
{
    RandomSettings settings;
    settings.handsets = 200;
    settings.weights = {1, 2, 3, 4};
    settings.ratePerSecond = 8;
    RandomPresses presses(settings, 42);

    const int draws = 40000;
    std::array<int, 4> counts{};
    double totalGapMs = 0;
    for (int i = 0; i < draws; ++i) {
        const auto draw = presses.next();
        ++counts[std::size_t(draw.press.button)];
        totalGapMs += draw.gapMs;
    }
    for (std::size_t b = 0; b < 4; ++b) {
        const double share = double(counts[b]) / draws;
        const double wanted = settings.weights[b] / 10.0;
        QVERIFY2(qAbs(share - wanted) < 0.015, qPrintable(QStringLiteral("%1: %2 instead of %3")
                                                              .arg(QLatin1Char(buttonLetter(Button(b))))
                                                              .arg(share)
                                                              .arg(wanted)));
    }
    const double meanGap = totalGapMs / draws;
    QVERIFY2(qAbs(meanGap - 125.0) < 5.0, qPrintable(QString::number(meanGap)));

    // A button of weight 0 never comes up, and a seed gives the same run again.
    settings.weights = {0, 1, 0, 1};
    RandomPresses once(settings, 7);
    RandomPresses again(settings, 7);
    RandomPresses other(settings, 8);
    int differences = 0;
    for (int i = 0; i < 2000; ++i) {
        const auto a = once.next();
        const auto b = again.next();
        const auto c = other.next();
        QVERIFY(a.press.button == Button::B || a.press.button == Button::D);
        QCOMPARE(a.press.handset.number, b.press.handset.number);
        QCOMPARE(a.press.button, b.press.button);
        QCOMPARE(a.gapMs, b.gapMs);
        differences += a.press.handset.number != c.press.handset.number;
    }
    QVERIFY(differences > 1000);
}

void TestSimulatorCore::randomRoundsAndClassSets()
{
    RandomSettings settings;
    settings.handsets = 30;
    settings.classSets = {1, 258, 7};
    settings.excluded = Handset{258, 5}; // the master: the 14th handset, the fifth of class set 258
    RandomPresses presses(settings, 3);
    QCOMPARE(presses.handsetCount(), 29);

    for (int round = 1; round <= 3; ++round) {
        QSet<int> seen;
        for (int i = 0; i < 29; ++i) {
            const auto draw = presses.next();
            QCOMPARE(draw.round, round);
            QVERIFY(!draw.changedMind);
            const Handset h = draw.press.handset;
            // Ten handsets to a class set, each numbered from 1.
            QVERIFY(h.number >= 1 && h.number <= 10);
            QVERIFY(h.classSet == 1 || h.classSet == 258 || h.classSet == 7);
            QVERIFY(!(h.classSet == 258 && h.number == 5));
            const int key = h.classSet * 1000 + h.number;
            QVERIFY2(!seen.contains(key), "a handset pressed twice in one round");
            seen.insert(key);
        }
    }
    QCOMPARE(presses.next().round, 4);
}

void TestSimulatorCore::randomChangesOfMind()
{
    RandomSettings settings;
    settings.handsets = 100;
    settings.repeatProbability = 0.25;
    RandomPresses presses(settings, 11);

    std::map<int, Button> answer; // this round's answer per handset
    int round = 1;
    int repeats = 0;
    const int draws = 20000;
    for (int i = 0; i < draws; ++i) {
        const auto draw = presses.next();
        if (draw.round != round) {
            round = draw.round;
            answer.clear();
        }
        const int number = draw.press.handset.number;
        if (draw.changedMind) {
            ++repeats;
            QVERIFY2(answer.count(number), "only a handset that has answered can change its mind");
            QVERIFY(answer[number] != draw.press.button);
        } else {
            QVERIFY2(!answer.count(number), "a fresh answer from a handset that had answered");
        }
        answer[number] = draw.press.button;
    }
    const double share = double(repeats) / draws;
    QVERIFY2(qAbs(share - 0.25) < 0.02, qPrintable(QString::number(share)));

    // With a single button in use there is nothing else to change to: the same one comes again.
    settings.weights = {0, 0, 1, 0};
    RandomPresses stubborn(settings, 5);
    for (int i = 0; i < 500; ++i)
        QCOMPARE(stubborn.next().press.button, Button::C);
}

QTEST_APPLESS_MAIN(TestSimulatorCore)
#include "tst_simulatorcore.moc"
