#pragma once
// Filter taps (filter_taps.h) laid out for the picture scaler's SIMD passes (nv12_picture.h).
#include <cstdint>
#include <vector>

#include "component/filter_taps.h"

// How the SIMD passes read the samples of a group of outputs.
enum class GroupLoad : uint8_t {
    gathered,     // output by output
    everySample,  // the outputs start at consecutive samples: loaded straight
    everyOther,   // ... at every other sample
    shuffled,     // all the samples of the group lie within one 16-byte load, picked out by a shuffle (AVX2)
};

// Filter taps as the SIMD passes read them: every output weighs the same even number of
// neighbouring samples from its own first one (zero weights fill up), 14-bit weights in
// pairs. Outputs come in groups of `group`, the weights of a group's outputs side by side for
// each pair of taps; the last output repeats to fill the last group.
struct PairedTaps {
    static constexpr int columnGroup = 8;  // outputs of a column pass step: the group whose loads may be shuffled

    PairedTaps() = default;
    PairedTaps(const FilterTaps& taps, int firstIndex, int lastIndex, int group);
    int pairs = 0;                // tap pairs per output
    int outputs = 0;              // rounded up to the group
    bool spansAll = false;        // the window is wider than the samples: reading it needs a padded copy
    std::vector<int> first;       // each output's first sample
    std::vector<GroupLoad> load;  // per group
    std::vector<int> window;      // per shuffled group: the first sample of its load
    std::vector<uint8_t>
        pick;  // per group of eight and pair of taps, 32 bytes: the shuffle of the load into the samples of its outputs
    std::vector<int16_t> weight;  // group by group, pair by pair: two weights for each output of the group

private:
    void placeWeights(const std::vector<int32_t>& windowWeights, int output, int group);
    void chooseLoads(int firstIndex, int lastIndex, int group);
    void pickFromOneLoad(int groupIndex, int from);
};
