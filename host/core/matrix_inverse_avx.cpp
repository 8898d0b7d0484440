// The general 4x4 inverse on whole rows: each half of a row of the augmented matrix [M | I] is
// one AVX register of four doubles, and every row stays in a register from start to end.
#if defined(__x86_64__)
#include <immintrin.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>

#include "matrix_inverse.h"

namespace {

constexpr int kRows = 4;

// The augmented matrix [M | I] of the elimination: row r is left[r] (the columns of M) and
// right[r] (the columns of I, the inverse at the end). column[r] repeats, for the rows from
// the step's own down, the element of the column the step eliminates: the steps form these
// elements one after another (each pivot divides the next column), so they are also worked
// out one double at a time, by the same operations as in the rows, without waiting for a
// whole row and for an element to be taken out of it.
struct Augmented {
    __m256d left[kRows];
    __m256d right[kRows];
    double column[kRows];
};

// Whether a factor is zero (+0 or -0), tested on its bits: one integer test, which the row
// update and the next column's element share.
inline bool IsZero(double f) { return (std::bit_cast<uint64_t>(f) << 1) == 0; }

template <int A, int B>
[[gnu::target("avx"), gnu::always_inline]] inline void SwapRows(Augmented& a) {
    std::swap(a.left[A], a.left[B]);
    std::swap(a.right[A], a.right[B]);
    std::swap(a.column[A], a.column[B]);
}

// The factor of row R at step C: row[C], from the step's column for the rows below the pivot.
template <int C, int R>
[[gnu::target("avx"), gnu::always_inline]] inline double Factor(const Augmented& a) {
    if constexpr (R > C) return a.column[R];
    else return a.left[R][C];
}

// Row R of step C: the row minus f times the scaled pivot row, as a[r][k] -= f · a[c][k]
// rounds each element. A zero factor leaves the row as it is (not even a zero subtracted,
// which could turn a -0 into +0). At the last step only the right half is still read.
template <int C, int R>
[[gnu::target("avx"), gnu::always_inline]] inline void SubtractPivotRow(Augmented& a) {
    if constexpr (R != C) {
        const double f = Factor<C, R>(a);
        if (IsZero(f)) return;
        const __m256d factor = {f, f, f, f};
        if constexpr (C < kRows - 1) a.left[R] -= factor * a.left[C];
        a.right[R] -= factor * a.right[C];
    }
}

// Element C + 1 of row R > C after step C (the next step's column), by the same operations as
// SubtractPivotRow: row[C + 1] - f · (pivotRow[C + 1] · inv), or row[C + 1] for a zero f.
template <int C, int R>
[[gnu::target("avx"), gnu::always_inline]] inline double NextColumnElement(const Augmented& a,
                                                                          double scaled) {
    const double f = a.column[R];
    const double element = a.left[R][C + 1];
    return IsZero(f) ? element : element - f * scaled;
}

// The pivot of step C: the row of the largest |column[r]| of rows C.. (the first of equals, as
// the textbook's search) and that magnitude.
struct Pivot {
    int row;
    double magnitude;
};

template <int C>
[[gnu::target("avx"), gnu::always_inline]] inline Pivot FindPivot(const Augmented& a) {
    Pivot p{C, std::fabs(a.column[C])};
    if constexpr (C < 3)
        if (std::fabs(a.column[C + 1]) > p.magnitude) p = {C + 1, std::fabs(a.column[C + 1])};
    if constexpr (C < 2)
        if (std::fabs(a.column[C + 2]) > p.magnitude) p = {C + 2, std::fabs(a.column[C + 2])};
    if constexpr (C < 1)
        if (std::fabs(a.column[C + 3]) > p.magnitude) p = {C + 3, std::fabs(a.column[C + 3])};
    return p;
}

// Step C of the elimination: pivot search and swap, the pivot row scaled by 1 / pivot and
// subtracted from the other rows, and the next step's column. False when the matrix is
// singular.
template <int C>
[[gnu::target("avx"), gnu::always_inline]] inline bool EliminateColumn(Augmented& a) {
    if constexpr (C == kRows - 1) {
        // A placement (last column 0, 0, 0, 1) whose last row was no earlier pivot still has
        // that column: the pivot is exactly 1 (x · 1 is x, bit for bit) and every other row's
        // factor is zero (the row is left as it is), so the last step would change no bit.
        // Skipping it takes its division off the path from the last row to the answer.
        if (a.column[C] == 1.0 && a.left[0][C] == 0.0 && a.left[1][C] == 0.0 &&
            a.left[2][C] == 0.0)
            return true;
    }
    const Pivot pivot = FindPivot<C>(a);
    if (pivot.magnitude < qv::math::kSingularPivot) return false;
    // Each swap names its rows, so that the rows stay in registers.
    if constexpr (C < 3) if (pivot.row == C + 1) SwapRows<C, C + 1>(a);
    if constexpr (C < 2) if (pivot.row == C + 2) SwapRows<C, C + 2>(a);
    if constexpr (C < 1) if (pivot.row == C + 3) SwapRows<C, C + 3>(a);
    const double inv = 1.0 / a.column[C];
    double next[kRows] = {};
    if constexpr (C < kRows - 1) {
        const double scaled = a.left[C][C + 1] * inv;
        next[C + 1] = NextColumnElement<C, C + 1>(a, scaled);
        if constexpr (C + 2 < kRows) next[C + 2] = NextColumnElement<C, C + 2>(a, scaled);
        if constexpr (C + 3 < kRows) next[C + 3] = NextColumnElement<C, C + 3>(a, scaled);
    }
    const __m256d invRow = {inv, inv, inv, inv};
    if constexpr (C < kRows - 1) a.left[C] *= invRow;
    a.right[C] *= invRow;
    SubtractPivotRow<C, 0>(a);
    SubtractPivotRow<C, 1>(a);
    SubtractPivotRow<C, 2>(a);
    SubtractPivotRow<C, 3>(a);
    for (int r = C + 1; r < kRows; ++r) a.column[r] = next[r];
    return true;
}

}  // namespace

// Gauss-Jordan elimination with partial pivoting, in double, on [in | I], each element rounded
// by the same operations in the same order as by the pair form (products and differences of
// four lanes round as four of one lane; no fused multiply-add is allowed to form).
[[gnu::target("avx")]] cmatrix4 qv::math::InverseByQuads(const cmatrix4& in) {
    Augmented a;
    a.left[0] = _mm256_cvtps_pd(_mm_loadu_ps(in.m[0]));
    a.left[1] = _mm256_cvtps_pd(_mm_loadu_ps(in.m[1]));
    a.left[2] = _mm256_cvtps_pd(_mm_loadu_ps(in.m[2]));
    a.left[3] = _mm256_cvtps_pd(_mm_loadu_ps(in.m[3]));
    a.right[0] = _mm256_setr_pd(1.0, 0.0, 0.0, 0.0);
    a.right[1] = _mm256_setr_pd(0.0, 1.0, 0.0, 0.0);
    a.right[2] = _mm256_setr_pd(0.0, 0.0, 1.0, 0.0);
    a.right[3] = _mm256_setr_pd(0.0, 0.0, 0.0, 1.0);
    for (int r = 0; r < kRows; ++r) a.column[r] = in.m[r][0];
    if (!EliminateColumn<0>(a) || !EliminateColumn<1>(a) || !EliminateColumn<2>(a) ||
        !EliminateColumn<3>(a))
        return cmatrix4{};
    cmatrix4 r;
    _mm_storeu_ps(r.m[0], _mm256_cvtpd_ps(a.right[0]));
    _mm_storeu_ps(r.m[1], _mm256_cvtpd_ps(a.right[1]));
    _mm_storeu_ps(r.m[2], _mm256_cvtpd_ps(a.right[2]));
    _mm_storeu_ps(r.m[3], _mm256_cvtpd_ps(a.right[3]));
    return r;
}
#endif
