#include "randompresses.h"

#include <cmath>

namespace simulator {

double Rng::uniform()
{
    return double(m_engine() >> 11) * 0x1.0p-53;
}

std::size_t Rng::below(std::size_t n)
{
    return std::min(n - 1, std::size_t(uniform() * double(n)));
}

double Rng::exponential(double mean)
{
    return -std::log(1.0 - uniform()) * mean;
}

int Rng::weighted(const std::array<double, 4> &weights)
{
    double total = 0;
    for (const double w : weights)
        total += w;
    if (total <= 0)
        return -1;
    double pick = uniform() * total;
    int last = -1;
    for (int i = 0; i < 4; ++i) {
        if (weights[i] <= 0)
            continue;
        last = i;
        if (pick < weights[i])
            return i;
        pick -= weights[i];
    }
    return last; // rounding left a sliver past the end
}

RandomPresses::RandomPresses(const RandomSettings &settings, std::uint64_t seed)
    : m_settings(settings)
    , m_rng(seed)
{
    for (int number = 1; number <= settings.handsets; ++number) {
        const Handset handset = handsetAt(number, settings.classSets);
        if (settings.excluded && settings.excluded->number == handset.number &&
            settings.excluded->classSet == handset.classSet)
            continue;
        m_handsets.push_back(handset);
    }
    m_answer.resize(m_handsets.size());
    for (std::size_t i = 0; i < m_handsets.size(); ++i)
        m_waiting.push_back(i);
}

RandomPresses::Draw RandomPresses::next()
{
    Draw draw;
    draw.gapMs = m_rng.exponential(1000.0 / m_settings.ratePerSecond);

    if (m_waiting.empty()) {
        // Everyone has answered: the next question begins.
        ++m_round;
        m_answered.clear();
        for (std::size_t i = 0; i < m_handsets.size(); ++i) {
            m_waiting.push_back(i);
            m_answer[i].reset();
        }
    }
    draw.round = m_round;

    const bool repeat = !m_answered.empty() && m_rng.uniform() < m_settings.repeatProbability;
    std::size_t index = 0;
    auto weights = m_settings.weights;
    if (repeat) {
        index = m_answered[m_rng.below(m_answered.size())];
        // Changing one's mind means another button, unless no other one is ever chosen.
        auto others = weights;
        others[std::size_t(*m_answer[index])] = 0;
        if (others[0] + others[1] + others[2] + others[3] > 0)
            weights = others;
        draw.changedMind = true;
    } else {
        const std::size_t slot = m_rng.below(m_waiting.size());
        index = m_waiting[slot];
        m_waiting[slot] = m_waiting.back();
        m_waiting.pop_back();
        m_answered.push_back(index);
    }
    const Button button = Button(m_rng.weighted(weights));
    m_answer[index] = button;
    draw.press = Press{m_handsets[index], button};
    return draw;
}

} // namespace simulator
