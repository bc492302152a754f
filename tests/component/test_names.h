#pragma once
// What the component's tests print for the component's own values.
#include "component/nv12_picture.h"
#include "component/screen_coverage.h"

#include <gtest/gtest.h>

#include <string>

inline const char* coverageName(Coverage c)
{
    return c == Coverage::whole ? "whole" : (c == Coverage::partly ? "partly" : "clear");
}

// The name of a case run once in each SIMD width.
inline std::string simdName(const testing::TestParamInfo<Simd>& info)
{
    return info.param == Simd::avx2 ? "avx2" : "sse2";
}
