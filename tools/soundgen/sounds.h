#pragma once

#include "dsp.h"

#include <string>
#include <vector>

namespace soundgen {

struct SoundDef
{
    std::string name;
    // What the check accepts; the options list offers these sounds for quick feedback, so
    // anything long would overlap itself when many handsets answer at once.
    double maxSeconds = 0.6;
    Signal (*make)() = nullptr;
};

// Every sound the program offers, in the order of the options list.
const std::vector<SoundDef> &catalogue();

} // namespace soundgen
