#include "rules/WideDiscSets.h"

#include "rules/DiscSets.h"

bool WideDiscSets::available() {
#if VANTRIXO_WIDE_DISC_SETS
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

#if VANTRIXO_WIDE_DISC_SETS

#include <immintrin.h>

// Compiled for AVX2 whatever the rest of the program is built for; the
// search calls these only once available() has said the processor has it.
#define WIDE [[gnu::target("avx2")]]
#define WIDE_INLINE [[gnu::target("avx2"), gnu::always_inline]] inline

namespace {

// Lanes 0 to 3 step by 8, 1, 7 and 9 bits: one column, one row and the two
// diagonals. Shifted left they go toward higher bits, right toward lower.
WIDE_INLINE __m256i steps() {
    return _mm256_set_epi64x(9, 7, 1, 8);
}
WIDE_INLINE __m256i upLanding() {
    return _mm256_set_epi64x(static_cast<int64_t>(~DiscSets::TOP_ROW),
                             static_cast<int64_t>(~DiscSets::BOTTOM_ROW),
                             static_cast<int64_t>(~DiscSets::TOP_ROW), -1);
}
WIDE_INLINE __m256i downLanding() {
    return _mm256_set_epi64x(static_cast<int64_t>(~DiscSets::BOTTOM_ROW),
                             static_cast<int64_t>(~DiscSets::TOP_ROW),
                             static_cast<int64_t>(~DiscSets::BOTTOM_ROW), -1);
}
WIDE_INLINE __m256i all(uint64_t cells) {
    return _mm256_set1_epi64x(static_cast<int64_t>(cells));
}

WIDE_INLINE uint64_t united(__m256i lanes) {
    __m128i half = _mm_or_si128(_mm256_castsi256_si128(lanes), _mm256_extracti128_si256(lanes, 1));
    half = _mm_or_si128(half, _mm_unpackhi_epi64(half, half));
    return static_cast<uint64_t>(_mm_cvtsi128_si64(half));
}

// Each lane's cells moved by its count of bits toward higher bits (UP) or
// lower ones.
template <bool UP>
WIDE_INLINE __m256i stepped(__m256i cells, __m256i counts) {
    return UP ? _mm256_sllv_epi64(cells, counts) : _mm256_srlv_epi64(cells, counts);
}

// The cells of `between` reached from a cell of `start` by steps through
// cells of `between` only: one step, then two, then four at a time, so a
// run of up to seven is found in three rounds.
template <bool UP>
WIDE_INLINE __m256i runs(__m256i start, __m256i between) {
    const __m256i one = steps();
    const __m256i two = _mm256_add_epi64(one, one);
    const __m256i four = _mm256_add_epi64(two, two);
    __m256i reach = _mm256_or_si256(start, _mm256_and_si256(between, stepped<UP>(start, one)));
    __m256i pass = _mm256_and_si256(between, stepped<UP>(between, one));
    reach = _mm256_or_si256(reach, _mm256_and_si256(pass, stepped<UP>(reach, two)));
    pass = _mm256_and_si256(pass, stepped<UP>(pass, two));
    reach = _mm256_or_si256(reach, _mm256_and_si256(pass, stepped<UP>(reach, four)));
    return _mm256_and_si256(reach, between);
}

// The cells of `end` one step beyond a run of `opposing` from `start`.
WIDE_INLINE uint64_t runEnds(uint64_t start, uint64_t opposing, uint64_t end) {
    const __m256i up = upLanding();
    const __m256i down = downLanding();
    const __m256i from = all(start);
    const __m256i through = all(opposing);
    const __m256i to = all(end);
    const __m256i ups = runs<true>(from, _mm256_and_si256(through, up));
    const __m256i downs = runs<false>(from, _mm256_and_si256(through, down));
    const __m256i step = steps();
    return united(
        _mm256_or_si256(_mm256_and_si256(_mm256_and_si256(stepped<true>(ups, step), up), to),
                        _mm256_and_si256(_mm256_and_si256(stepped<false>(downs, step), down), to)));
}

}  // namespace

WIDE uint64_t WideDiscSets::movesOf(uint64_t own, uint64_t opposing) {
    return runEnds(own, opposing, ~(own | opposing));
}

WIDE uint64_t WideDiscSets::anchorsOf(uint64_t own, uint64_t opposing) {
    return runEnds(~(own | opposing), opposing, own);
}

WIDE uint64_t WideDiscSets::turnable(uint64_t own, uint64_t opposing) {
    const __m256i up = _mm256_and_si256(all(opposing), upLanding());
    const __m256i down = _mm256_and_si256(all(opposing), downLanding());
    const __m256i empty = all(~(own | opposing));
    const __m256i mine = all(own);
    return united(
        _mm256_or_si256(_mm256_and_si256(runs<true>(empty, up), runs<false>(mine, down)),
                        _mm256_and_si256(runs<false>(empty, down), runs<true>(mine, up))));
}

WIDE uint64_t WideDiscSets::flipsOf(int32_t cell, uint64_t own, uint64_t opposing) {
    const uint64_t* rays = DiscSets::raysFrom(cell);
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rays));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rays + 4));
    // Codes 1, 3, 5 and 7 step up, 0, 2, 4 and 6 down.
    const __m256i upRays = _mm256_unpackhi_epi64(low, high);
    const __m256i downRays = _mm256_unpacklo_epi64(low, high);
    const __m256i through = all(opposing);
    const __m256i mine = all(own);
    const __m256i zero = _mm256_setzero_si256();
    // Going up the first cell that is not `opposing` is the lowest such bit.
    const __m256i upStops = _mm256_andnot_si256(through, upRays);
    const __m256i upFirst = _mm256_and_si256(upStops, _mm256_sub_epi64(zero, upStops));
    const __m256i upRun =
        _mm256_and_si256(upRays, _mm256_sub_epi64(upFirst, _mm256_set1_epi64x(1)));
    const __m256i upLost = _mm256_cmpeq_epi64(_mm256_and_si256(upFirst, mine), zero);
    // Going down it is the highest: smear it over every lower bit.
    const __m256i downStops = _mm256_andnot_si256(through, downRays);
    __m256i below = downStops;
    below = _mm256_or_si256(below, _mm256_srli_epi64(below, 1));
    below = _mm256_or_si256(below, _mm256_srli_epi64(below, 2));
    below = _mm256_or_si256(below, _mm256_srli_epi64(below, 4));
    below = _mm256_or_si256(below, _mm256_srli_epi64(below, 8));
    below = _mm256_or_si256(below, _mm256_srli_epi64(below, 16));
    below = _mm256_or_si256(below, _mm256_srli_epi64(below, 32));
    const __m256i downFirst = _mm256_andnot_si256(_mm256_srli_epi64(below, 1), below);
    const __m256i downRun = _mm256_andnot_si256(below, downRays);
    const __m256i downLost = _mm256_cmpeq_epi64(_mm256_and_si256(downFirst, mine), zero);
    return united(_mm256_or_si256(_mm256_andnot_si256(upLost, upRun),
                                  _mm256_andnot_si256(downLost, downRun)));
}

#endif
