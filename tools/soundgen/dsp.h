#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace soundgen {

constexpr int kSampleRate = 44100;
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

// Mono, floating point, kSampleRate; scaled to 16 bit only at the very end.
using Signal = std::vector<double>;

inline std::size_t samplesFor(double seconds)
{
    return static_cast<std::size_t>(seconds * kSampleRate + 0.5);
}

inline double timeOf(std::size_t index)
{
    return static_cast<double>(index) / kSampleRate;
}

// Own generator rather than <random>: the standard distributions are implementation-defined, and
// regenerating the files must give the same bytes with any standard library.
class Noise final
{
public:
    explicit Noise(std::uint64_t seed)
        : m_state(seed)
    {
    }

    // White noise, uniform in [-1, 1).
    double next();

private:
    std::uint64_t m_state = 0;
};

// Second-order section with the usual audio-cookbook coefficients.
class Biquad final
{
public:
    static Biquad lowPass(double freq, double q);
    static Biquad highPass(double freq, double q);
    // Peak gain 0 dB at freq, so q only changes the width.
    static Biquad bandPass(double freq, double q);

    double process(double x);
    void apply(Signal &signal);

private:
    Biquad(double b0, double b1, double b2, double a0, double a1, double a2);

    double m_b0 = 1.0;
    double m_b1 = 0.0;
    double m_b2 = 0.0;
    double m_a1 = 0.0;
    double m_a2 = 0.0;
    double m_x1 = 0.0;
    double m_x2 = 0.0;
    double m_y1 = 0.0;
    double m_y2 = 0.0;
};

// Running phase for oscillators whose frequency changes while they play; integrating the
// frequency keeps sweeps free of phase jumps.
class Phase final
{
public:
    explicit Phase(double start = 0.0)
        : m_phase(start)
    {
    }

    // Returns the phase for the current sample and moves on by one sample at freq.
    double advance(double freq);

private:
    double m_phase = 0.0;
};

// Sum of harmonics up to a ceiling well below Nyquist: naive saws and squares alias audibly at
// the pitches used here.
double bandLimitedSaw(double phase, double freq);
double bandLimitedSquare(double phase, double freq);

// A sine starting at zero crossing and decaying exponentially: one mode of a struck object.
void addDecayingSine(Signal &signal, double start, double freq, double amp, double tau);

// Noise with an exponential envelope, shaped by filter; the filter runs on to the end so its
// ringing is kept.
void addNoiseBurst(Signal &signal, double start, Biquad filter, double amp, double tau, Noise &noise);

// Half-cosine fade to zero over the last seconds, for sounds whose decay is still audible at the end.
void taper(Signal &signal, double seconds);

// Removes DC, applies the click-guard fades and scales to the common peak level.
std::vector<std::int16_t> finish(Signal signal);

constexpr double kFadeSeconds = 0.005;
constexpr double kPeakDbfs = -3.0;

} // namespace soundgen
