// The general 4x4 inverse: the form on pairs of doubles that every x86-64 processor runs, and
// the choice, once per process, of the wider form where AVX is there (the same bits either way).
#include "matrix_inverse.h"

#include <atomic>
#include <cmath>
#include <utility>

#include "cpu_features.h"

namespace {

// Two doubles, worked on element by element (one SSE2 operation on x86-64): a row operation
// on them rounds each element exactly as the same operation on one double does.
typedef double Double2 __attribute__((vector_size(2 * sizeof(double))));
constexpr int kPairs = 4;  // a row of the augmented matrix [M | I]: 8 doubles

struct AugmentedRow {
    Double2 pair[kPairs];
    double operator[](int j) const { return pair[j / 2][j % 2]; }
};

// The first pair of a row that step c of the elimination must still update: the left columns
// up to c are never read again (pivots and factors come from later columns, the answer from
// the right half), so their pairs drop out as the steps pass them.
constexpr int FirstLivePair(int c) { return c == 0 ? 0 : (c < 3 ? 1 : 2); }

}  // namespace

// Gauss-Jordan elimination with partial pivoting, in double, on the augmented matrix [in | I]:
// each pivot row is scaled by 1 / pivot and subtracted, f times, from every other row. The
// loops are unrolled so that the rows stay in registers; every element of the right half is
// rounded by the same operations in the same order as in the textbook loop.
cmatrix4 qv::math::InverseByPairs(const cmatrix4& in) {
    AugmentedRow a[4];
#pragma GCC unroll 4
    for (int i = 0; i < 4; ++i) {
        a[i].pair[0] = Double2{in.m[i][0], in.m[i][1]};
        a[i].pair[1] = Double2{in.m[i][2], in.m[i][3]};
        a[i].pair[2] = Double2{i == 0 ? 1.0 : 0.0, i == 1 ? 1.0 : 0.0};
        a[i].pair[3] = Double2{i == 2 ? 1.0 : 0.0, i == 3 ? 1.0 : 0.0};
    }
#pragma GCC unroll 4
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
#pragma GCC unroll 4
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
        if (std::fabs(a[pivot][c]) < kSingularPivot) return cmatrix4{};  // singular
        if (pivot != c) std::swap(a[c], a[pivot]);
        const double inv = 1.0 / a[c][c];
        const Double2 invPair = {inv, inv};
        const int first = FirstLivePair(c);
#pragma GCC unroll 4
        for (int k = first; k < kPairs; ++k) a[c].pair[k] *= invPair;
#pragma GCC unroll 4
        for (int r = 0; r < 4; ++r) {
            if (r == c) continue;
            const double f = a[r][c];
            if (f == 0.0) continue;
            const Double2 fPair = {f, f};
#pragma GCC unroll 4
            for (int k = first; k < kPairs; ++k) a[r].pair[k] -= fPair * a[c].pair[k];
        }
    }
    cmatrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r.m[i][j] = static_cast<float>(a[i][j + 4]);
    return r;
}

#if !defined(__x86_64__)
// No AVX form on other processors (HaveAvx() is false there): the pair form stands in.
cmatrix4 qv::math::InverseByQuads(const cmatrix4& in) { return InverseByPairs(in); }
#endif

namespace {

using InverseForm = cmatrix4 (*)(const cmatrix4&);

cmatrix4 ChooseFormAndInvert(const cmatrix4& in);

// The form Inverse runs: until the first call, the function that chooses it. Set without
// dynamic initialisation, so that it holds even for a call from another library's
// initialiser; a call in two threads at once may choose twice, the same form.
std::atomic<InverseForm> chosenForm{ChooseFormAndInvert};

cmatrix4 ChooseFormAndInvert(const cmatrix4& in) {
    const InverseForm form =
        qv::math::HaveAvx() ? qv::math::InverseByQuads : qv::math::InverseByPairs;
    chosenForm.store(form, std::memory_order_relaxed);
    return form(in);
}

}  // namespace

cmatrix4 Inverse(const cmatrix4& in) { return chosenForm.load(std::memory_order_relaxed)(in); }
