#pragma once
// Which source samples, with which weights, make each output sample when a run of samples is
// resized: bilinear (the two samples nearest the output's centre) when enlarging, the average
// of the area each output covers when reducing. Weights are fixed point, weightOne in all.
#include <cstdint>
#include <vector>

inline constexpr int32_t weightOne = 1 << 15;

struct FilterTap {
    int index;  // source sample, within [0, sourceCount)
    int32_t weight;
};

struct FilterTaps {
    std::vector<FilterTap> taps;
    std::vector<int> begin;  // output i uses taps[begin[i] .. begin[i + 1])
};

// The source run [start, start + length) (in source samples, fractions allowed) spread over
// `outputs` samples; source indices are kept within [firstIndex, lastIndex].
FilterTaps filterTaps(double start, double length, int outputs, int firstIndex, int lastIndex);
