// The rotations of four world matrices side by side: RotationOf (math_inline.h) with each
// operation done on the four at once. Every element is rounded by the same operation in the
// same order as the one-matrix code, so the answers are the same bits; only the instruction
// set differs between the sources that include this (a plain one and one built for AVX).
#pragma once

#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include "quorvane/math.h"

// Internal linkage: each including source gets its own build of the kernel for its own
// instruction set, and the linker never mixes them. (For the same reason the four-double
// values passed between its functions never cross a library boundary, and the calling
// convention the compiler warns about for them without AVX does not matter.)
#pragma GCC diagnostic ignored "-Wpsabi"
namespace {

typedef double Double4 __attribute__((vector_size(4 * sizeof(double))));
typedef float Float4B __attribute__((vector_size(4 * sizeof(float))));
typedef long long Mask4 __attribute__((vector_size(4 * sizeof(long long))));
typedef int Mask4F __attribute__((vector_size(4 * sizeof(int))));

inline Double4 Sqrt4(Double4 v) {
#if defined(__AVX__)
    return _mm256_sqrt_pd(v);
#elif defined(__SSE2__)
    __m128d lo, hi;
    std::memcpy(&lo, &v, sizeof lo);
    std::memcpy(&hi, reinterpret_cast<const char*>(&v) + sizeof lo, sizeof hi);
    lo = _mm_sqrt_pd(lo);
    hi = _mm_sqrt_pd(hi);
    Double4 r;
    std::memcpy(&r, &lo, sizeof lo);
    std::memcpy(reinterpret_cast<char*>(&r) + sizeof lo, &hi, sizeof hi);
    return r;
#else
    return Double4{__builtin_sqrt(v[0]), __builtin_sqrt(v[1]), __builtin_sqrt(v[2]),
                   __builtin_sqrt(v[3])};
#endif
}

inline Float4B Sqrt4(Float4B v) {
#if defined(__SSE2__)
    return _mm_sqrt_ps(v);
#else
    return Float4B{__builtin_sqrtf(v[0]), __builtin_sqrtf(v[1]), __builtin_sqrtf(v[2]),
                   __builtin_sqrtf(v[3])};
#endif
}

inline Double4 Splat4(double v) { return Double4{v, v, v, v}; }

// Element (i, j) of the four matrices, widened to double.
inline Double4 Element(const cmatrix4* const w[4], int i, int j) {
    return Double4{w[0]->m[i][j], w[1]->m[i][j], w[2]->m[i][j], w[3]->m[i][j]};
}

// One row of the four normalised (m / length, or the identity's row where the length is not
// positive), as RotationOf does it: length = sqrt((a0² + a1²) + a2²).
inline void NormalisedRow(const cmatrix4* const w[4], int i, Double4 out[3]) {
    const Double4 a0 = Element(w, i, 0), a1 = Element(w, i, 1), a2 = Element(w, i, 2);
    const Double4 len = Sqrt4(a0 * a0 + a1 * a1 + a2 * a2);
    const Mask4 live = len > Splat4(0.0);
    const Double4 a[3] = {a0, a1, a2};
    for (int j = 0; j < 3; ++j) out[j] = live ? a[j] / len : Splat4(i == j ? 1.0 : 0.0);
}

// out[k] = rotation of *w[k] with its rows normalised, for k = 0..3.
inline void RotationsOfFour(const cmatrix4* const w[4], cquat out[4]) {
    Double4 r0[3], r1[3], r2[3];
    NormalisedRow(w, 0, r0);
    NormalisedRow(w, 1, r1);
    NormalisedRow(w, 2, r2);
    const Double4 m00 = r0[0], m01 = r0[1], m02 = r0[2];
    const Double4 m10 = r1[0], m11 = r1[1], m12 = r1[2];
    const Double4 m20 = r2[0], m21 = r2[1], m22 = r2[2];
    // The largest of w, x, y, z, tested in the textbook's order: w when the trace is positive,
    // else x when m00 leads, else y when m11 beats m22, else z.
    const Double4 one = Splat4(1.0);
    const Double4 tr = m00 + m11 + m22;
    const Mask4 isW = tr > Splat4(0.0);
    const Mask4 isX = ~isW & (m00 > m11) & (m00 > m22);
    const Mask4 isY = ~isW & ~isX & (m11 > m22);
    const Double4 radicand = isW   ? tr + one
                             : isX ? one + m00 - m11 - m22
                             : isY ? one + m11 - m00 - m22
                                   : one + m22 - m00 - m11;
    const Double4 s = Sqrt4(radicand) * Splat4(2.0);  // 4 × the largest
    const Double4 d0 = (m21 - m12) / s, d1 = (m02 - m20) / s, d2 = (m10 - m01) / s;
    const Double4 d3 = (m01 + m10) / s, d4 = (m02 + m20) / s, d5 = (m12 + m21) / s;
    const Double4 big = Splat4(0.25) * s;
    const Double4 x = isW ? d0 : isX ? big : isY ? d3 : d4;
    const Double4 y = isW ? d1 : isX ? d3 : isY ? big : d5;
    const Double4 z = isW ? d2 : isX ? d4 : isY ? d5 : big;
    const Double4 qw = isW ? big : isX ? d0 : isY ? d1 : d2;
    // To float, then to unit length in float (a zero or not finite norm gives the identity).
    const Float4B fx = __builtin_convertvector(x, Float4B), fy = __builtin_convertvector(y, Float4B);
    const Float4B fz = __builtin_convertvector(z, Float4B), fw = __builtin_convertvector(qw, Float4B);
    const Float4B n = Sqrt4(fx * fx + fy * fy + fz * fz + fw * fw);
    const Mask4F live = n > Float4B{0.0f, 0.0f, 0.0f, 0.0f};
    const Float4B nx = fx / n, ny = fy / n, nz = fz / n, nw = fw / n;
    for (int k = 0; k < 4; ++k) {
        out[k] = live[k] ? cquat{nx[k], ny[k], nz[k], nw[k]} : cquat{};
    }
}

}  // namespace
