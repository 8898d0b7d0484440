// The rotations of several world matrices side by side: RotationOf (math_inline.h) with each
// operation done on all of them at once (N lanes, one matrix a lane). Every element is rounded
// by the same operation in the same order as the one-matrix code, so the answers are the same
// bits; only the instruction set differs between the sources that include this (a plain one,
// one built for AVX and one for AVX-512, none of them fusing a multiply with an add).
#pragma once

#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include "quorvane/math.h"

// Internal linkage: each including source gets its own build of the kernel for its own
// instruction set, and the linker never mixes them. (For the same reason the wide values
// passed between its functions never cross a library boundary, and the calling convention the
// compiler warns about for them on narrower instruction sets, -Wpsabi, does not matter; the
// including sources are built without that warning.)
namespace {

// N doubles or floats and their comparison masks, worked on element by element.
template <int N>
struct Lanes {
    typedef double D __attribute__((vector_size(N * sizeof(double))));
    typedef float F __attribute__((vector_size(N * sizeof(float))));
    typedef long long DMask __attribute__((vector_size(N * sizeof(long long))));
    typedef int FMask __attribute__((vector_size(N * sizeof(int))));
};
typedef Lanes<2>::D D2;
typedef Lanes<4>::D D4;
typedef Lanes<8>::D D8;
typedef Lanes<4>::F F4;
typedef Lanes<8>::F F8;

// v with f done on each of its halves.
template <class V, class Half>
inline V OnHalves(V v, Half (*f)(Half)) {
    Half lo, hi;
    std::memcpy(&lo, &v, sizeof lo);
    std::memcpy(&hi, reinterpret_cast<const char*>(&v) + sizeof lo, sizeof hi);
    lo = f(lo);
    hi = f(hi);
    std::memcpy(&v, &lo, sizeof lo);
    std::memcpy(reinterpret_cast<char*>(&v) + sizeof lo, &hi, sizeof hi);
    return v;
}

// Square roots element by element, each correctly rounded whatever the width it is taken in.
inline D2 Sqrt(D2 v) {
#if defined(__SSE2__)
    return _mm_sqrt_pd(v);
#else
    return D2{__builtin_sqrt(v[0]), __builtin_sqrt(v[1])};
#endif
}
inline D4 Sqrt(D4 v) {
#if defined(__AVX__)
    return _mm256_sqrt_pd(v);
#else
    return OnHalves<D4, D2>(v, Sqrt);
#endif
}
inline D8 Sqrt(D8 v) {
#if defined(__AVX512F__)
    return _mm512_maskz_sqrt_pd(0xFF, v);  // every lane (the unmasked form trips a false warning)
#else
    return OnHalves<D8, D4>(v, Sqrt);
#endif
}
inline F4 Sqrt(F4 v) {
#if defined(__SSE2__)
    return _mm_sqrt_ps(v);
#else
    return F4{__builtin_sqrtf(v[0]), __builtin_sqrtf(v[1]), __builtin_sqrtf(v[2]), __builtin_sqrtf(v[3])};
#endif
}
inline F8 Sqrt(F8 v) {
#if defined(__AVX__)
    return _mm256_sqrt_ps(v);
#else
    return OnHalves<F8, F4>(v, Sqrt);
#endif
}

// Element (i, j) of the N matrices, widened to double.
template <int N, size_t... K>
inline typename Lanes<N>::D ElementOf(const cmatrix4* const w[], int i, int j,
                                      std::index_sequence<K...>) {
    return typename Lanes<N>::D{static_cast<double>(w[K]->m[i][j])...};
}
template <int N>
inline typename Lanes<N>::D Element(const cmatrix4* const w[], int i, int j) {
    return ElementOf<N>(w, i, j, std::make_index_sequence<N>());
}

// One row of the N matrices normalised (m / length, or the identity's row where the length is
// not positive), as RotationOf does it: length = sqrt((a0² + a1²) + a2²).
template <int N>
inline void NormalisedRow(const cmatrix4* const w[], int i, typename Lanes<N>::D out[3]) {
    typedef typename Lanes<N>::D D;
    const D a0 = Element<N>(w, i, 0), a1 = Element<N>(w, i, 1), a2 = Element<N>(w, i, 2);
    const D len = Sqrt(a0 * a0 + a1 * a1 + a2 * a2);
    const typename Lanes<N>::DMask live = len > 0.0;
    const D zero{}, one = zero + 1.0;
    out[0] = live ? a0 / len : (i == 0 ? one : zero);
    out[1] = live ? a1 / len : (i == 1 ? one : zero);
    out[2] = live ? a2 / len : (i == 2 ? one : zero);
}

// out[k] = rotation of *w[k] with its rows normalised, for k < N.
template <int N>
inline void RotationsOfLanes(const cmatrix4* const w[], cquat out[]) {
    typedef typename Lanes<N>::D D;
    typedef typename Lanes<N>::F F;
    typedef typename Lanes<N>::DMask DMask;
    D r0[3], r1[3], r2[3];
    NormalisedRow<N>(w, 0, r0);
    NormalisedRow<N>(w, 1, r1);
    NormalisedRow<N>(w, 2, r2);
    const D m00 = r0[0], m01 = r0[1], m02 = r0[2];
    const D m10 = r1[0], m11 = r1[1], m12 = r1[2];
    const D m20 = r2[0], m21 = r2[1], m22 = r2[2];
    // The largest of w, x, y, z, tested in the textbook's order: w when the trace is positive,
    // else x when m00 leads, else y when m11 beats m22, else z.
    const D tr = m00 + m11 + m22;
    const DMask isW = tr > 0.0;
    const DMask isX = ~isW & (m00 > m11) & (m00 > m22);
    const DMask isY = ~isW & ~isX & (m11 > m22);
    const D radicand = isW   ? tr + 1.0
                       : isX ? 1.0 + m00 - m11 - m22
                       : isY ? 1.0 + m11 - m00 - m22
                             : 1.0 + m22 - m00 - m11;
    const D s = Sqrt(radicand) * 2.0;  // 4 × the largest
    const D d0 = (m21 - m12) / s, d1 = (m02 - m20) / s, d2 = (m10 - m01) / s;
    const D d3 = (m01 + m10) / s, d4 = (m02 + m20) / s, d5 = (m12 + m21) / s;
    const D big = 0.25 * s;
    const D x = isW ? d0 : isX ? big : isY ? d3 : d4;
    const D y = isW ? d1 : isX ? d3 : isY ? big : d5;
    const D z = isW ? d2 : isX ? d4 : isY ? d5 : big;
    const D qw = isW ? big : isX ? d0 : isY ? d1 : d2;
    // To float, then to unit length in float (a zero or not finite norm gives the identity).
    const F fx = __builtin_convertvector(x, F), fy = __builtin_convertvector(y, F);
    const F fz = __builtin_convertvector(z, F), fw = __builtin_convertvector(qw, F);
    const F n = Sqrt(fx * fx + fy * fy + fz * fz + fw * fw);
    const typename Lanes<N>::FMask live = n > 0.0f;
    float nx[N], ny[N], nz[N], nw[N];
    int lives[N];
    const F qx = fx / n, qy = fy / n, qz = fz / n, qn = fw / n;
    std::memcpy(nx, &qx, sizeof nx);
    std::memcpy(ny, &qy, sizeof ny);
    std::memcpy(nz, &qz, sizeof nz);
    std::memcpy(nw, &qn, sizeof nw);
    std::memcpy(lives, &live, sizeof lives);
    for (int k = 0; k < N; ++k) out[k] = lives[k] ? cquat{nx[k], ny[k], nz[k], nw[k]} : cquat{};
}

}  // namespace
