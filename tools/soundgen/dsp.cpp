#include "dsp.h"

#include <algorithm>
#include <cmath>

namespace soundgen {

double Noise::next()
{
    // splitmix64: tiny, well mixed, and identical on every platform.
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * (2.0 / 9007199254740992.0) - 1.0;
}

Biquad::Biquad(double b0, double b1, double b2, double a0, double a1, double a2)
    : m_b0(b0 / a0)
    , m_b1(b1 / a0)
    , m_b2(b2 / a0)
    , m_a1(a1 / a0)
    , m_a2(a2 / a0)
{
}

Biquad Biquad::lowPass(double freq, double q)
{
    const double w = kTwoPi * freq / kSampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return Biquad((1.0 - c) / 2.0, 1.0 - c, (1.0 - c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

Biquad Biquad::highPass(double freq, double q)
{
    const double w = kTwoPi * freq / kSampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return Biquad((1.0 + c) / 2.0, -(1.0 + c), (1.0 + c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

Biquad Biquad::bandPass(double freq, double q)
{
    const double w = kTwoPi * freq / kSampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return Biquad(alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

double Biquad::process(double x)
{
    const double y = m_b0 * x + m_b1 * m_x1 + m_b2 * m_x2 - m_a1 * m_y1 - m_a2 * m_y2;
    m_x2 = m_x1;
    m_x1 = x;
    m_y2 = m_y1;
    m_y1 = y;
    return y;
}

void Biquad::apply(Signal &signal)
{
    for (double &x : signal)
        x = process(x);
}

double Phase::advance(double freq)
{
    const double current = m_phase;
    m_phase += kTwoPi * freq / kSampleRate;
    // Wrapping keeps sin() accurate on long tones.
    if (m_phase >= kTwoPi)
        m_phase -= kTwoPi * std::floor(m_phase / kTwoPi);
    return current;
}

namespace {
constexpr double kHarmonicCeiling = 16000.0;

int harmonicCount(double freq)
{
    return std::max(1, static_cast<int>(kHarmonicCeiling / freq));
}
} // namespace

double bandLimitedSaw(double phase, double freq)
{
    const int n = harmonicCount(freq);
    double sum = 0.0;
    for (int k = 1; k <= n; ++k)
        sum += std::sin(k * phase) / k;
    return sum * (2.0 / kPi);
}

double bandLimitedSquare(double phase, double freq)
{
    const int n = harmonicCount(freq);
    double sum = 0.0;
    for (int k = 1; k <= n; k += 2)
        sum += std::sin(k * phase) / k;
    return sum * (4.0 / kPi);
}

void addDecayingSine(Signal &signal, double start, double freq, double amp, double tau)
{
    const std::size_t first = samplesFor(start);
    for (std::size_t i = first; i < signal.size(); ++i) {
        const double t = timeOf(i - first);
        signal[i] += amp * std::exp(-t / tau) * std::sin(kTwoPi * freq * t);
    }
}

void addNoiseBurst(Signal &signal, double start, Biquad filter, double amp, double tau, Noise &noise)
{
    const std::size_t first = samplesFor(start);
    // Past ten time constants the burst is below -80 dB; only the filter ring-out remains.
    const std::size_t burstEnd = first + samplesFor(10.0 * tau);
    for (std::size_t i = first; i < signal.size(); ++i) {
        double x = 0.0;
        if (i < burstEnd)
            x = amp * std::exp(-timeOf(i - first) / tau) * noise.next();
        signal[i] += filter.process(x);
    }
}

void taper(Signal &signal, double seconds)
{
    const std::size_t n = std::min(samplesFor(seconds), signal.size());
    if (n == 0)
        return;
    const std::size_t first = signal.size() - n;
    for (std::size_t i = 0; i < n; ++i)
        signal[first + i] *= 0.5 * (1.0 + std::cos(kPi * static_cast<double>(i + 1) / n));
}

std::vector<std::int16_t> finish(Signal signal)
{
    // A 10 Hz DC blocker: some transients are one-sided, and an offset would eat headroom and
    // thump when playback starts.
    const double r = 1.0 - kTwoPi * 10.0 / kSampleRate;
    double prevIn = 0.0;
    double prevOut = 0.0;
    for (double &x : signal) {
        const double y = x - prevIn + r * prevOut;
        prevIn = x;
        prevOut = y;
        x = y;
    }

    // Quarter-sine fades: both ends land exactly on zero, yet percussive attacks keep more bite
    // than with a raised cosine of the same length.
    const std::size_t fade = std::min(samplesFor(kFadeSeconds), signal.size() / 2);
    for (std::size_t i = 0; i < fade; ++i) {
        const double gain = std::sin(0.5 * kPi * static_cast<double>(i) / fade);
        signal[i] *= gain;
        signal[signal.size() - 1 - i] *= gain;
    }

    double peak = 0.0;
    for (double x : signal)
        peak = std::max(peak, std::fabs(x));
    const double target = std::pow(10.0, kPeakDbfs / 20.0) * 32767.0;
    const double scale = peak > 0.0 ? target / peak : 0.0;

    std::vector<std::int16_t> pcm(signal.size());
    for (std::size_t i = 0; i < signal.size(); ++i)
        pcm[i] = static_cast<std::int16_t>(std::lround(signal[i] * scale));
    return pcm;
}

} // namespace soundgen
