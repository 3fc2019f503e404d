#pragma once

#include "frame.h"

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace simulator {

// mt19937_64's output is fixed by the C++ standard, and the conversions below are our own, so a
// seed gives the same run with every compiler and library (std's distributions give no such promise).
class Rng final
{
public:
    explicit Rng(std::uint64_t seed)
        : m_engine(seed)
    {
    }

    double uniform(); // [0, 1)
    std::size_t below(std::size_t n);
    double exponential(double mean);
    std::uint8_t byte() { return std::uint8_t(m_engine() >> 56); }
    // Index drawn with the given relative weights; -1 when they add up to nothing.
    int weighted(const std::array<double, 4> &weights);

private:
    std::mt19937_64 m_engine;
};

struct RandomSettings
{
    int handsets = 30;
    std::vector<std::uint16_t> classSets{1};
    std::array<double, 4> weights{1, 1, 1, 1}; // relative weights of A-D
    double ratePerSecond = 5;
    double repeatProbability = 0;
    std::optional<Handset> excluded; // the presenter's master handset does not vote
};

// An audience answering: every handset presses once per round, in random order, with gaps of a
// Poisson process; now and then one that has already answered changes its mind.
class RandomPresses final
{
public:
    struct Draw
    {
        Press press;
        double gapMs = 0; // since the previous press
        bool changedMind = false;
        int round = 1;
    };

    RandomPresses(const RandomSettings &settings, std::uint64_t seed);

    Draw next();
    int handsetCount() const { return int(m_handsets.size()); }

private:
    RandomSettings m_settings;
    Rng m_rng;
    std::vector<Handset> m_handsets;
    std::vector<std::optional<Button>> m_answer; // per handset, this round
    std::vector<std::size_t> m_waiting;          // handsets that have not pressed this round
    std::vector<std::size_t> m_answered;
    int m_round = 1;
};

} // namespace simulator
