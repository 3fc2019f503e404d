#include "sounds.h"

#include <algorithm>
#include <cmath>

namespace soundgen {

namespace {

struct Mode
{
    double ratio = 1.0;
    double amp = 1.0;
    double tau = 0.1;
};

void strike(Signal &s, double start, double freq, const std::vector<Mode> &modes, double level = 1.0)
{
    for (const Mode &m : modes)
        addDecayingSine(s, start, freq * m.ratio, level * m.amp, m.tau);
}

// Exponential glide from a to b with time constant tau.
double glide(double a, double b, double t, double tau)
{
    return b + (a - b) * std::exp(-t / tau);
}

// ---- bells ----------------------------------------------------------------------------------

Signal bell()
{
    // Heard up to thirty times in a few seconds: a mid-high pitch, a quick but not abrupt decay
    // and almost no strike noise keep it from turning into a clatter.
    Signal s(samplesFor(0.45));
    // Small-bell mode ratios; the near-unison pair beats slowly and gives the metallic shimmer.
    strike(
        s, 0.0, 1318.5,
        {{1.0, 1.0, 0.13}, {1.0045, 0.3, 0.12}, {2.32, 0.32, 0.07}, {4.25, 0.12, 0.035}, {6.63, 0.05, 0.02}});
    Noise noise(0xB311);
    addNoiseBurst(s, 0.0, Biquad::bandPass(5000.0, 1.0), 0.08, 0.0015, noise);
    taper(s, 0.12);
    return s;
}

Signal ring()
{
    // Ding-dong, falling a major third: reads as "finished" rather than as another answer.
    Signal s(samplesFor(1.2));
    const std::vector<Mode> modes = {{1.0, 1.0, 0.38},  {1.003, 0.45, 0.36}, {2.01, 0.5, 0.22},
                                     {2.76, 0.3, 0.14}, {5.4, 0.16, 0.06},   {8.9, 0.06, 0.03}};
    strike(s, 0.0, 1568.0, modes);
    // The second stroke lands on the first one's tail; a softer hit keeps the two even.
    strike(s, 0.36, 1318.5, modes, 0.7);
    Noise noise(0x5196);
    addNoiseBurst(s, 0.0, Biquad::bandPass(6000.0, 1.2), 0.1, 0.0015, noise);
    addNoiseBurst(s, 0.36, Biquad::bandPass(6000.0, 1.2), 0.07, 0.0015, noise);
    taper(s, 0.3);
    return s;
}

// ---- drums and mechanics --------------------------------------------------------------------

Signal bumm()
{
    Signal s(samplesFor(0.5));
    Phase phase;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        // The pitch drop of a loosening drum skin; the slow attack keeps it soft.
        const double f = glide(105.0, 52.0, t, 0.045);
        const double env = (1.0 - std::exp(-t / 0.004)) * std::exp(-t / 0.13);
        s[i] = env * std::sin(phase.advance(f));
    }
    Noise noise(0xB0B0);
    addNoiseBurst(s, 0.0, Biquad::lowPass(350.0, 0.7), 0.6, 0.012, noise);
    taper(s, 0.1);
    return s;
}

Signal camera()
{
    // Shutter opening, then closing a little later and a little duller.
    Signal s(samplesFor(0.22));
    Noise noise(0xCA3E);
    addNoiseBurst(s, 0.0, Biquad::bandPass(3200.0, 1.3), 1.0, 0.006, noise);
    addNoiseBurst(s, 0.0, Biquad::highPass(7000.0, 0.7), 0.5, 0.0015, noise);
    addDecayingSine(s, 0.0, 170.0, 0.25, 0.012);
    addNoiseBurst(s, 0.085, Biquad::bandPass(2500.0, 1.3), 0.8, 0.007, noise);
    addNoiseBurst(s, 0.085, Biquad::highPass(6000.0, 0.7), 0.35, 0.0015, noise);
    addDecayingSine(s, 0.085, 140.0, 0.25, 0.014);
    return s;
}

Signal woodBlock()
{
    Signal s(samplesFor(0.15));
    strike(s, 0.0, 820.0, {{1.0, 1.0, 0.03}, {2.4, 0.4, 0.015}, {3.78, 0.15, 0.008}});
    Noise noise(0xC1);
    addNoiseBurst(s, 0.0, Biquad::bandPass(2000.0, 1.0), 0.5, 0.0015, noise);
    return s;
}

Signal tick()
{
    Signal s(samplesFor(0.05));
    strike(s, 0.0, 4200.0, {{1.0, 1.0, 0.006}, {1.64, 0.5, 0.003}});
    Noise noise(0xC2);
    addNoiseBurst(s, 0.0, Biquad::highPass(5000.0, 0.7), 0.6, 0.0015, noise);
    return s;
}

Signal tock()
{
    Signal s(samplesFor(0.1));
    strike(s, 0.0, 520.0, {{1.0, 1.0, 0.018}, {2.6, 0.4, 0.008}});
    Noise noise(0xC3);
    addNoiseBurst(s, 0.0, Biquad::bandPass(1200.0, 1.0), 0.5, 0.002, noise);
    return s;
}

Signal keyClick()
{
    // Key top striking, then the key bottoming out.
    Signal s(samplesFor(0.09));
    Noise noise(0xC4);
    addNoiseBurst(s, 0.0, Biquad::bandPass(4500.0, 2.0), 1.0, 0.003, noise);
    addDecayingSine(s, 0.0, 2600.0, 0.3, 0.005);
    addNoiseBurst(s, 0.032, Biquad::bandPass(2200.0, 1.5), 0.6, 0.004, noise);
    addDecayingSine(s, 0.032, 180.0, 0.2, 0.008);
    return s;
}

Signal switchClick()
{
    // A toggle's snap is two contacts a few milliseconds apart.
    Signal s(samplesFor(0.08));
    Noise noise(0xC5);
    for (const auto &[start, level] : {std::pair{0.0, 1.0}, std::pair{0.011, 0.55}}) {
        strike(s, start, 1800.0, {{1.0, level, 0.006}, {2.39, 0.6 * level, 0.004}});
        addNoiseBurst(s, start, Biquad::highPass(6000.0, 0.7), 0.8 * level, 0.001, noise);
    }
    return s;
}

Signal popClick()
{
    Signal s(samplesFor(0.06));
    Phase phase;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        s[i] = std::exp(-t / 0.012) * std::sin(phase.advance(glide(1600.0, 250.0, t, 0.004)));
    }
    return s;
}

Signal metalClick()
{
    Signal s(samplesFor(0.2));
    // Widely spread, unrelated partials with long-ish decays read as a small piece of metal.
    strike(s, 0.0, 2630.0,
           {{1.0, 1.0, 0.06},
            {1.502, 0.7, 0.045},
            {2.171, 0.5, 0.035},
            {2.973, 0.35, 0.025},
            {3.536, 0.25, 0.02}});
    Noise noise(0xC7);
    addNoiseBurst(s, 0.0, Biquad::highPass(6000.0, 0.7), 0.8, 0.001, noise);
    taper(s, 0.05);
    return s;
}

// ---- cartoon ------------------------------------------------------------------------------------

Signal boing(double base, double seconds, double wobbleRate)
{
    Signal s(samplesFor(seconds));
    Phase phase;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        // A quick upward bend into the note, then a wide vibrato that dies away like a spring.
        const double bend = glide(0.7, 1.0, t, 0.03);
        const double wobble = 1.0 + 0.28 * std::exp(-t / (0.5 * seconds)) * std::sin(kTwoPi * wobbleRate * t);
        const double p = phase.advance(base * bend * wobble);
        // A little second and third harmonic make it twang instead of whistle.
        const double tone = std::sin(p) + 0.35 * std::sin(2.0 * p) + 0.15 * std::sin(3.0 * p);
        s[i] = std::exp(-t / (0.3 * seconds)) * tone;
    }
    taper(s, 0.25 * seconds);
    return s;
}

Signal boing1()
{
    return boing(260.0, 0.45, 14.0);
}
Signal boing2()
{
    return boing(420.0, 0.32, 18.0);
}
Signal boing3()
{
    return boing(170.0, 0.58, 11.0);
}

// ---- electronic -------------------------------------------------------------------------------

Signal ebeep()
{
    Signal s(samplesFor(0.15));
    Phase phase;
    for (double &x : s) {
        // Only up to the ninth harmonic: square enough to sound electronic, soft enough not to buzz.
        const double p = phase.advance(880.0);
        x = std::sin(p) + std::sin(3.0 * p) / 3.0 + std::sin(5.0 * p) / 5.0 + std::sin(7.0 * p) / 7.0 +
            std::sin(9.0 * p) / 9.0;
    }
    return s;
}

Signal ehorn(double freq, double seconds)
{
    Signal s(samplesFor(seconds));
    // Three saws a few cents apart for the thick, chorused horn; fixed start phases keep the
    // beating pattern the same on every run.
    const double detune[] = {0.9935, 1.0, 1.0068};
    Phase phases[] = {Phase(0.0), Phase(2.1), Phase(4.2)};
    Phase sub(1.0);
    const double release = 0.05;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        double x = 0.0;
        for (int v = 0; v < 3; ++v) {
            const double f = freq * detune[v];
            x += bandLimitedSaw(phases[v].advance(f), f);
        }
        x += 0.5 * bandLimitedSaw(sub.advance(0.5 * freq), 0.5 * freq);
        const double attack = std::min(1.0, t / 0.012);
        const double tail = std::clamp((seconds - t) / release, 0.0, 1.0);
        s[i] = attack * tail * x;
    }
    Biquad::lowPass(2800.0, 0.8).apply(s);
    return s;
}

Signal ehorn1()
{
    return ehorn(220.0, 0.42);
}
Signal ehorn2()
{
    return ehorn(330.0, 0.32);
}

Signal elektro()
{
    Signal s(samplesFor(0.35));
    Phase carrier;
    Phase modulator;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        const double f = glide(3000.0, 110.0, t, 0.07);
        // Inharmonic FM gives the buzzing, "electric" edge; tanh adds grit without hard clipping.
        const double m = std::sin(modulator.advance(1.41 * f));
        const double x = std::sin(carrier.advance(f) + 2.2 * m);
        s[i] = std::exp(-t / 0.11) * std::tanh(2.5 * x);
    }
    Biquad::lowPass(9000.0, 0.7).apply(s);
    taper(s, 0.06);
    return s;
}

Signal hihat()
{
    Signal s(samplesFor(0.12));
    // Six detuned square oscillators: the classic metallic cluster, mixed with noise.
    const double freqs[] = {348.0, 517.0, 628.0, 888.0, 918.0, 1360.0};
    Noise noise(0x4114);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        double metal = 0.0;
        for (double f : freqs)
            metal += std::sin(kTwoPi * f * t) >= 0.0 ? 1.0 : -1.0;
        s[i] = std::exp(-t / 0.022) * (0.08 * metal + 0.6 * noise.next());
    }
    Biquad::bandPass(10000.0, 0.8).apply(s);
    Biquad::highPass(7000.0, 0.7).apply(s);
    return s;
}

Signal horn()
{
    const double seconds = 0.55;
    const double base = 233.08;
    Signal s(samplesFor(seconds));
    Phase phase;
    const int harmonics = static_cast<int>(15000.0 / base);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        // Brass opens up: the upper harmonics arrive after the fundamental, and the note is
        // lipped up into pitch.
        const double brightness = 0.8 + 4.2 * (1.0 - std::exp(-t / 0.05));
        const double vibrato = 1.0 + 0.004 * std::min(1.0, t / 0.25) * std::sin(kTwoPi * 5.5 * t);
        const double f = base * glide(0.97, 1.0, t, 0.025) * vibrato;
        const double p = phase.advance(f);
        double x = 0.0;
        for (int k = 1; k <= harmonics; ++k)
            x += std::exp(-(k - 1) / brightness) * std::sin(k * p);
        const double attack = 1.0 - std::exp(-t / 0.02);
        const double tail = std::clamp((seconds - t) / 0.08, 0.0, 1.0);
        s[i] = attack * tail * (1.0 - 0.25 * t / seconds) * x;
    }
    return s;
}

Signal plop(double from, double to, double seconds)
{
    Signal s(samplesFor(seconds));
    Phase phase;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        const double env = (1.0 - std::exp(-t / 0.002)) * std::exp(-t / (0.25 * seconds));
        s[i] = env * std::sin(phase.advance(glide(from, to, t, 0.018)));
    }
    taper(s, 0.3 * seconds);
    return s;
}

Signal plop1()
{
    return plop(1300.0, 380.0, 0.16);
}
Signal plop2()
{
    return plop(1900.0, 600.0, 0.12);
}
Signal plop3()
{
    return plop(900.0, 230.0, 0.2);
}

} // namespace

const std::vector<SoundDef> &catalogue()
{
    static const std::vector<SoundDef> sounds = {
        {"bell", 0.6, bell},       {"ring", 1.3, ring},         {"bumm", 0.6, bumm},
        {"camera", 0.6, camera},   {"click1", 0.6, woodBlock},  {"click2", 0.6, tick},
        {"click3", 0.6, tock},     {"click4", 0.6, keyClick},   {"click5", 0.6, switchClick},
        {"click6", 0.6, popClick}, {"click7", 0.6, metalClick}, {"boing1", 0.6, boing1},
        {"boing2", 0.6, boing2},   {"boing3", 0.6, boing3},     {"ebeep", 0.6, ebeep},
        {"ehorn1", 0.6, ehorn1},   {"ehorn2", 0.6, ehorn2},     {"elektro", 0.6, elektro},
        {"hihat", 0.6, hihat},     {"horn", 0.6, horn},         {"plop1", 0.6, plop1},
        {"plop2", 0.6, plop2},     {"plop3", 0.6, plop3},
    };
    return sounds;
}

} // namespace soundgen
