#include "component/filter_taps.h"

#include <algorithm>
#include <cmath>

namespace {

// Weights in floating point for one output, turned into fixed point that adds up exactly.
void appendQuantised(std::vector<FilterTap>& taps, std::vector<std::pair<int, double>> weights)
{
    double total = 0;
    for (const auto& w : weights)
        total += w.second;
    int32_t sum = 0;
    size_t largest = taps.size();
    for (const auto& w : weights) {
        const int32_t weight = static_cast<int32_t>(std::lround(w.second / total * weightOne));
        if (weight == 0)
            continue;
        if (largest == taps.size() || weight > taps[largest].weight)
            largest = taps.size();
        taps.push_back(FilterTap{w.first, weight});
        sum += weight;
    }
    taps[largest].weight += weightOne - sum;
}

}  // namespace

FilterTaps filterTaps(double start, double length, int outputs, int firstIndex, int lastIndex)
{
    FilterTaps result;
    if (outputs <= 0 || lastIndex < firstIndex)
        return result;
    const double step = length / outputs;
    auto clampIndex = [&](long long i) { return static_cast<int>(std::clamp<long long>(i, firstIndex, lastIndex)); };
    for (int i = 0; i < outputs; ++i) {
        result.begin.push_back(static_cast<int>(result.taps.size()));
        std::vector<std::pair<int, double>> weights;
        if (step <= 1) {
            // The output's centre between the centres of two source samples.
            const double centre = start + (i + 0.5) * step - 0.5;
            const double below = std::floor(centre);
            const double fraction = centre - below;
            weights.push_back({clampIndex(static_cast<long long>(below)), 1 - fraction});
            weights.push_back({clampIndex(static_cast<long long>(below) + 1), fraction});
        } else {
            // Every source sample the output's span touches, by how much of it lies inside.
            const double from = start + i * step, to = from + step;
            for (long long k = static_cast<long long>(std::floor(from)); k < to; ++k) {
                const double inside = std::min<double>(to, k + 1) - std::max<double>(from, k);
                if (inside > 0)
                    weights.push_back({clampIndex(k), inside});
            }
        }
        // Samples clamped onto the same index count once, with their weights together.
        std::vector<std::pair<int, double>> merged;
        for (const auto& w : weights) {
            if (!merged.empty() && merged.back().first == w.first) {
                merged.back().second += w.second;
            } else {
                merged.push_back(w);
            }
        }
        appendQuantised(result.taps, merged);
    }
    result.begin.push_back(static_cast<int>(result.taps.size()));
    return result;
}
