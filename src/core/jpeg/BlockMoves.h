#pragma once
// Internal to the lossless transform: one 8 x 8 block of coefficients moved
// the way its picture turns or mirrors.
#include <cstdio>  // jpeglib.h needs FILE

#include <jpeglib.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lumatrim::jpeg {

// Coefficient (u across, v down) of the result is the source's (v, u) when
// the axes swap; a mirror negates the odd frequencies along its direction.
template <bool kTransposes, bool kMirrorsColumns, bool kMirrorsRows>
void MoveBlock(const JCOEF* from, JCOEF* to) {
#if defined(__SSE2__)
  // A turn reads every coefficient of a 9 MP photo: eight rows of eight at a
  // time, transposed in registers.
  __m128i rows[DCTSIZE];
  for (int v = 0; v < DCTSIZE; ++v) rows[v] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + v * DCTSIZE));
  if constexpr (kTransposes) {
    __m128i pairs[DCTSIZE], quads[DCTSIZE];
    for (int i = 0; i < DCTSIZE / 2; ++i) {
      pairs[2 * i] = _mm_unpacklo_epi16(rows[2 * i], rows[2 * i + 1]);
      pairs[2 * i + 1] = _mm_unpackhi_epi16(rows[2 * i], rows[2 * i + 1]);
    }
    for (int half = 0; half < 2; ++half) {
      for (int i = 0; i < 2; ++i) {
        const __m128i low = pairs[4 * half + i], high = pairs[4 * half + i + 2];
        quads[4 * half + 2 * i] = _mm_unpacklo_epi32(low, high);
        quads[4 * half + 2 * i + 1] = _mm_unpackhi_epi32(low, high);
      }
    }
    for (int i = 0; i < DCTSIZE / 2; ++i) {
      rows[2 * i] = _mm_unpacklo_epi64(quads[i], quads[i + 4]);
      rows[2 * i + 1] = _mm_unpackhi_epi64(quads[i], quads[i + 4]);
    }
  }
  // Negation as (x ^ m) - m, m all ones in the lanes to negate.
  const __m128i oddLanes = _mm_set_epi16(-1, 0, -1, 0, -1, 0, -1, 0);
  const __m128i evenRowMask = kMirrorsColumns ? oddLanes : _mm_setzero_si128();
  const __m128i oddRowMask = kMirrorsRows ? _mm_xor_si128(evenRowMask, _mm_set1_epi16(-1)) : evenRowMask;
  for (int v = 0; v < DCTSIZE; ++v) {
    const __m128i mask = v % 2 == 1 ? oddRowMask : evenRowMask;
    const __m128i moved = _mm_sub_epi16(_mm_xor_si128(rows[v], mask), mask);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + v * DCTSIZE), moved);
  }
#else
  for (int v = 0; v < DCTSIZE; ++v) {
    for (int u = 0; u < DCTSIZE; ++u) {
      const JCOEF value = kTransposes ? from[u * DCTSIZE + v] : from[v * DCTSIZE + u];
      const bool negated = (kMirrorsColumns && u % 2 == 1) != (kMirrorsRows && v % 2 == 1);
      to[v * DCTSIZE + u] = negated ? static_cast<JCOEF>(-value) : value;
    }
  }
#endif
}

}  // namespace lumatrim::jpeg
