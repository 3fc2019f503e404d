#pragma once

#include <QPair>

#include <algorithm>
#include <vector>

// Lost and invented items of a received sequence: what is left of either side beyond their
// longest common run, in order.
template<typename Liste>
QPair<int, int> verlorenErfunden(const Liste &gesendet, const Liste &empfangen)
{
    const auto n = gesendet.size();
    const auto m = empfangen.size();
    std::vector<int> zeile(std::size_t(m + 1), 0);
    std::vector<int> vorige(std::size_t(m + 1), 0);
    for (decltype(gesendet.size()) i = 1; i <= n; ++i) {
        std::swap(zeile, vorige);
        for (decltype(empfangen.size()) j = 1; j <= m; ++j)
            zeile[std::size_t(j)] = gesendet.at(i - 1) == empfangen.at(j - 1)
                                        ? vorige[std::size_t(j - 1)] + 1
                                        : std::max(vorige[std::size_t(j)], zeile[std::size_t(j - 1)]);
    }
    const int gemeinsam = zeile[std::size_t(m)];
    return {int(n) - gemeinsam, int(m) - gemeinsam};
}
