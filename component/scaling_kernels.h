#pragma once
// The scaler's SIMD passes (nv12_picture.h), a whole row a call: converting picture rows to
// pixels, filtering two lines across at once and blending filtered rows into an output row,
// each in SSE2 and in AVX2 (chosen by `simd`). Filtered samples carry 6 fraction bits.
#include <cstdint>

#include "component/colour_matrix.h"
#include "component/nv12_picture.h"
#include "component/paired_taps.h"

// Two runs of bytes woven into one, a byte of each in turn.
void interleaveBytes(const uint8_t* a, const uint8_t* b, int count, uint8_t* out);

// Converts `count` pixels of picture row `row`, starting at column `left`. `stream`: write
// around the caches where the pixels allow, for rows that go straight into the large picture.
void convertPictureRow(const Nv12Image& image, const YuvCoefficients& k, int row, int left, int count, uint32_t* out,
                       Simd simd, bool stream);

// Two lines filtered across at once, from their samples interleaved byte by byte.
void filterLines(const PairedTaps& taps, const uint8_t* samples, int16_t* first, int16_t* second, Simd simd);

// Output row `output` of `width` pixels: its filtered rows of each plane blended by the row
// taps and converted, streamed where the row allows.
void convertFilteredRow(const PairedTaps& lumaRows, const PairedTaps& chromaRows, int output,
                        const int16_t* const* luma, const int16_t* const* u, const int16_t* const* v,
                        const YuvCoefficients& k, int width, uint32_t* out, Simd simd);

// The streamed rows are complete before anyone else reads them.
void finishStreamedRows();
