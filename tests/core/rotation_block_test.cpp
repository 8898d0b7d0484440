// The rotations of world matrices worked out four at a time (both builds of the kernel) against
// the textbook one at a time: identical bits, since a tree placed whole must answer exactly as
// a node evaluated on its own. Matrices of every kind the textbook's branches and guards meet.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "host/core/rotation_block.h"
#include "tests/common/plain_eval.h"

namespace {

constexpr int kRandomMatrices = 20000;

class RotationBlock : public ::testing::Test {
protected:
    std::mt19937 rng{77};
    float Uniform(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); }

    // A rotation about a random axis, scaled per row (negative and tiny scales too), moved.
    cmatrix4 RandomWorld() {
        const cquat q = QuatFromAngleAxis(Uniform(-180, 180),
                                          {Uniform(-1, 1), Uniform(-1, 1), Uniform(-1, 1)});
        cmatrix4 m = plain::RotationMatrix(q);
        for (int i = 0; i < 3; ++i) {
            const float s = std::pow(10.0f, Uniform(-3, 3)) * (Uniform(0, 1) < 0.2f ? -1.0f : 1.0f);
            for (int j = 0; j < 3; ++j) m.m[i][j] *= s;
        }
        m.SetTrans({Uniform(-100, 100), Uniform(-100, 100), Uniform(-100, 100)});
        return m;
    }

    // Matrices on the edges: half turns about each axis (x, y or z the largest), zero and
    // vanishing rows (a row that normalises to nothing), huge rows, not-a-number and infinite
    // elements, and a zero matrix (a quaternion of zero length).
    std::vector<cmatrix4> EdgeWorlds() {
        std::vector<cmatrix4> out;
        for (const cpoint3& axis : {cpoint3{1, 0, 0}, cpoint3{0, 1, 0}, cpoint3{0, 0, 1}})
            for (float deg : {179.0f, 180.0f, -179.5f}) out.push_back(plain::RotationMatrix(QuatFromAngleAxis(deg, axis)));
        const float special[] = {0.0f, -0.0f, 1e-30f, 1e30f, std::numeric_limits<float>::quiet_NaN(),
                                 std::numeric_limits<float>::infinity(), std::numeric_limits<float>::denorm_min()};
        for (float v : special) {
            for (int row = 0; row < 3; ++row) {
                cmatrix4 m = RandomWorld();
                for (int j = 0; j < 3; ++j) m.m[row][j] = v;
                out.push_back(m);
                cmatrix4 one = RandomWorld();
                one.m[row][row] = v;
                out.push_back(one);
            }
        }
        cmatrix4 zero;
        for (int i = 0; i < 3; ++i) zero.m[i][i] = 0.0f;
        out.push_back(zero);
        return out;
    }

    // Every matrix through a kernel four at a time, each answer against the textbook's.
    template <class Kernel>
    void ExpectTextbookBits(const std::vector<cmatrix4>& worlds, Kernel kernel) {
        for (size_t k = 0; k + 4 <= worlds.size(); k += 4) {
            const cmatrix4* block[4] = {&worlds[k], &worlds[k + 1], &worlds[k + 2], &worlds[k + 3]};
            cquat out[4];
            kernel(block, out);
            for (int i = 0; i < 4; ++i)
                ASSERT_TRUE(plain::SameBits(out[i], plain::RotationOf(*block[i]))) << "matrix " << k + i;
        }
    }

    std::vector<cmatrix4> AllWorlds() {
        std::vector<cmatrix4> worlds = EdgeWorlds();
        while (worlds.size() % 4 != 0) worlds.push_back(RandomWorld());
        // Edge cases also in every lane, beside ordinary matrices.
        const size_t edges = worlds.size();
        for (size_t e = 0; e < edges; ++e)
            for (int lane = 0; lane < 4; ++lane)
                for (int k = 0; k < 4; ++k) worlds.push_back(k == lane ? worlds[e] : RandomWorld());
        for (int n = 0; n < kRandomMatrices; ++n) worlds.push_back(RandomWorld());
        return worlds;
    }
};

TEST_F(RotationBlock, PlainKernelGivesTheTextbookBits) {
    ExpectTextbookBits(AllWorlds(), qv::math::RotationsOfFourPlain);
}

TEST_F(RotationBlock, AvxKernelGivesTheTextbookBits) {
    if (!qv::math::HaveAvx()) GTEST_SKIP() << "this processor has no AVX";
    ExpectTextbookBits(AllWorlds(), qv::math::RotationsOfFourAvx);
}

// Eight at a time: two blocks of four answered by the eight-lane kernel at once.
TEST_F(RotationBlock, Avx512KernelGivesTheTextbookBits) {
    if (!qv::math::HaveAvx512()) GTEST_SKIP() << "this processor has no AVX-512";
    ExpectTextbookBits(AllWorlds(), [](const cmatrix4* const block[4], cquat out[4]) {
        const cmatrix4* eight[8];
        cquat answers[8];
        for (int i = 0; i < 8; ++i) eight[i] = block[i % 4];
        qv::math::RotationsOfEightAvx512(eight, answers);
        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(plain::SameBits(answers[i], answers[i + 4])) << "lanes " << i << " and " << i + 4;
            out[i] = answers[i];
        }
    });
}

// Any count, blocks of four and the rest one by one.
TEST_F(RotationBlock, ManyAtOnceAnswerEveryMatrixWhateverTheCount) {
    const std::vector<cmatrix4> worlds = AllWorlds();
    for (int n : {0, 1, 3, 4, 7, 8, 9, 83}) {
        std::vector<const cmatrix4*> ptrs;
        for (int k = 0; k < n; ++k) ptrs.push_back(&worlds[worlds.size() - 1 - k]);
        std::vector<cquat> out(n);
        qv::math::RotationsOf(ptrs.data(), out.data(), n);
        for (int k = 0; k < n; ++k)
            ASSERT_TRUE(plain::SameBits(out[k], plain::RotationOf(*ptrs[k]))) << n << " matrices, #" << k;
    }
}

}  // namespace
