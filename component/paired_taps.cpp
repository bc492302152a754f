#include "component/paired_taps.h"

#include <algorithm>

namespace {

// The most taps any output has.
int mostTaps(const FilterTaps& taps)
{
    int most = 0;
    for (size_t output = 0; output + 1 < taps.begin.size(); ++output)
        most = std::max(most, taps.begin[output + 1] - taps.begin[output]);
    return most;
}

// The first sample of a window of `span` samples from an output's first tap: the window holds
// the output's samples (neighbours: clamped repeats are merged) and stays within the samples
// [firstIndex, lastIndex] where they are enough.
int windowStart(int firstTap, int span, int firstIndex, int lastIndex)
{
    return std::max(std::min(firstTap, lastIndex - span + 1), firstIndex);
}

// The taps [from, to) as weights by their place in the window from `start`, from 15 bits to 14,
// the rounding made up on the largest so they still add up to one.
void windowWeights(const FilterTap* from, const FilterTap* to, int start, std::vector<int32_t>& weights)
{
    std::fill(weights.begin(), weights.end(), 0);
    int32_t sum = 0;
    size_t largest = 0;
    for (const FilterTap* tap = from; tap != to; ++tap) {
        const size_t at = size_t(tap->index - start);
        weights[at] = (tap->weight + 1) >> 1;
        sum += weights[at];
        if (weights[at] > weights[largest])
            largest = at;
    }
    weights[largest] += (weightOne >> 1) - sum;
}

// Whether the outputs of a group start `step` samples apart.
bool evenlyApart(const int* firsts, int group, int step)
{
    for (int j = 1; j < group; ++j) {
        if (firsts[j] != firsts[0] + step * j)
            return false;
    }
    return true;
}

}  // namespace

PairedTaps::PairedTaps(const FilterTaps& taps, int firstIndex, int lastIndex, int group)
{
    const int count = int(taps.begin.size()) - 1;
    if (count <= 0)
        return;
    pairs = (mostTaps(taps) + 1) / 2;
    const int span = 2 * pairs;
    spansAll = lastIndex - firstIndex + 1 < span;
    outputs = (count + group - 1) / group * group;
    first.resize(size_t(outputs));
    weight.assign(size_t(outputs) * span, 0);
    std::vector<int32_t> weights(static_cast<size_t>(span));
    for (int output = 0; output < outputs; ++output) {
        const int source = std::min(output, count - 1);  // the last output repeats to fill the last group
        const FilterTap* from = taps.taps.data() + taps.begin[source];
        const FilterTap* to = taps.taps.data() + taps.begin[source + 1];
        first[size_t(output)] = windowStart(from->index, span, firstIndex, lastIndex);
        windowWeights(from, to, first[size_t(output)], weights);
        placeWeights(weights, output, group);
    }
    chooseLoads(firstIndex, lastIndex, group);
}

// An output's window weights, pair by pair, beside those of the other outputs of its group.
void PairedTaps::placeWeights(const std::vector<int32_t>& windowWeights, int output, int group)
{
    const int groupIndex = output / group, inGroup = output % group;
    for (int p = 0; p < pairs; ++p) {
        int16_t* target = weight.data() + ((size_t(groupIndex) * pairs + p) * group + inGroup) * 2;
        target[0] = int16_t(windowWeights[size_t(2 * p)]);
        target[1] = int16_t(windowWeights[size_t(2 * p + 1)]);
    }
}

// Samples one or two apart (no resizing, halving) load straight rather than gathered; a
// group within 16 bytes of two interleaved lines (enlarging) is one load, shuffled.
void PairedTaps::chooseLoads(int firstIndex, int lastIndex, int group)
{
    const int groups = outputs / group;
    load.resize(size_t(groups));
    window.resize(size_t(groups));
    pick.assign(group == columnGroup ? size_t(groups) * pairs * 32 : 0, 0);
    const int readableEnd = 2 * (lastIndex + 1);  // bytes of two interleaved lines
    for (int g = 0; g < groups; ++g) {
        const int* firsts = first.data() + size_t(g) * group;
        const int neededEnd = 2 * (firsts[group - 1] + 2 * pairs);
        if (evenlyApart(firsts, group, 1)) {
            load[size_t(g)] = GroupLoad::everySample;
        } else if (evenlyApart(firsts, group, 2)) {
            load[size_t(g)] = GroupLoad::everyOther;
        } else if (group == columnGroup && !spansAll && neededEnd - 2 * firsts[0] <= 16 &&
                   readableEnd - 2 * firstIndex >= 16) {
            // The load ends within the samples: the picture's buffer may end with its last one.
            pickFromOneLoad(g, std::min(2 * firsts[0], readableEnd - 16));
        } else {
            load[size_t(g)] = GroupLoad::gathered;
        }
    }
}

// Group `groupIndex` as the 16 bytes of the interleaved lines from byte `from`, each pair of
// taps shuffled out of them into the four bytes of each output.
void PairedTaps::pickFromOneLoad(int groupIndex, int from)
{
    load[size_t(groupIndex)] = GroupLoad::shuffled;
    window[size_t(groupIndex)] = from / 2;
    const int* firsts = first.data() + size_t(groupIndex) * columnGroup;
    for (int p = 0; p < pairs; ++p) {
        uint8_t* bytes = pick.data() + (size_t(groupIndex) * pairs + p) * 32;
        for (int j = 0; j < columnGroup; ++j) {
            for (int b = 0; b < 4; ++b)
                bytes[16 * (j / 4) + 4 * (j % 4) + b] = uint8_t(2 * firsts[j] - from + 4 * p + b);
        }
    }
}
