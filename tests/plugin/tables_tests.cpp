// The default tables as data: rotations that are true rotations, parents before children, and
// the left side mirroring the right.
#include <gtest/gtest.h>

#include <string>

#include "Skeleton/Bip/BipTables.h"

namespace {

// Rows of a rotation are unit length, mutually perpendicular and right-handed; the tables carry
// about seven digits, so 1e-5 separates rounding from a mistyped digit.
void ExpectRotationRows(const BipDefaultRecord& rec) {
    const float kOrthoTol = 1e-5f;
    cpoint3 r[3];
    for (int i = 0; i < 3; ++i) r[i] = cpoint3(rec.rot[i][0], rec.rot[i][1], rec.rot[i][2]);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(DotProd(r[i], r[i]), 1.0f, kOrthoTol) << rec.name << " row " << i;
        for (int j = i + 1; j < 3; ++j)
            EXPECT_NEAR(DotProd(r[i], r[j]), 0.0f, kOrthoTol) << rec.name;
    }
    const cpoint3 z = CrossProd(r[0], r[1]);  // right-handed: row 0 × row 1 = row 2
    EXPECT_NEAR(z.x, r[2].x, kOrthoTol) << rec.name;
    EXPECT_NEAR(z.y, r[2].y, kOrthoTol) << rec.name;
    EXPECT_NEAR(z.z, r[2].z, kOrthoTol) << rec.name;
}

TEST(DefaultTables, BodyRecordsAreRotationsListedParentsFirstAndMirroredAcrossX) {
    for (int i = 0; i < kNumLowerBody; ++i) {
        ExpectRotationRows(kLowerBodyTable[i]);
        EXPECT_EQ(kLowerBodyTable[i].index, i);
        EXPECT_LT(kLowerBodyTable[i].parent, i);
    }
    for (int i = 0; i < kNumUpperBody; ++i) {
        ExpectRotationRows(kUpperBodyTable[i]);
        EXPECT_EQ(kUpperBodyTable[i].index, i);
        EXPECT_LT(kUpperBodyTable[i].parent, i);
    }
    // Both tables list the centre bones first (records 0 and 1), then the left limb, then the
    // right one; left and right agree to about 2e-5 once x is negated. A limb bone hangs from
    // its own side's twin, or both twins from the same centre bone (or the caller, -1).
    auto mirrored = [](const BipDefaultRecord& l, const BipDefaultRecord& r, int offset) {
        EXPECT_NEAR(l.pos[0], -r.pos[0], 3e-5f) << l.name;
        EXPECT_NEAR(l.pos[1], r.pos[1], 3e-5f) << l.name;
        EXPECT_NEAR(l.pos[2], r.pos[2], 3e-5f) << l.name;
        EXPECT_EQ(r.parent, l.parent >= 2 ? l.parent + offset : l.parent) << l.name;
    };
    for (int i = 0; i < 3; ++i) mirrored(kLowerBodyTable[2 + i], kLowerBodyTable[5 + i], 3);
    for (int i = 0; i < 4; ++i) mirrored(kUpperBodyTable[2 + i], kUpperBodyTable[6 + i], 4);
}

TEST(DigitTables, LeftMirrorsRightAndLinksLieOnALine) {
    for (int k = 1; k <= kMaxDigits; ++k) {
        for (const auto& [right, left] : {std::pair{&kRightFingerTables, &kLeftFingerTables},
                                          std::pair{&kRightToeTables, &kLeftToeTables}}) {
            for (int r = 0; r < 3 * k; ++r) {
                const BipDefaultRecord& R = (*right)[k - 1][r];
                const BipDefaultRecord& L = (*left)[k - 1][r];
                ExpectRotationRows(R);
                ExpectRotationRows(L);
                std::string name = R.name;
                name[6] = 'L';  // "Bip01 R ..." → "Bip01 L ..."
                EXPECT_EQ(std::string(L.name), name);
                EXPECT_EQ(L.parent, R.parent);
                EXPECT_EQ(L.parent, r % 3 == 0 ? -1 : r - 1) << L.name;
                EXPECT_FLOAT_EQ(L.pos[0], -R.pos[0]) << L.name;
                EXPECT_FLOAT_EQ(L.pos[1], R.pos[1]) << L.name;
                EXPECT_FLOAT_EQ(L.pos[2], R.pos[2]) << L.name;
            }
            EXPECT_TRUE(k == kMaxDigits || (*right)[k - 1][3 * k].name[0] == '\0');  // empty tail
            // Links 0, 1, 2 of a digit are evenly spaced: link 1 halfway between 0 and 2.
            const BipDigitTable& t = (*right)[k - 1];
            for (int d = 0; d < k; ++d)
                for (int a = 0; a < 3; ++a)
                    EXPECT_NEAR(t[3 * d + 1].pos[a], 0.5f * (t[3 * d].pos[a] + t[3 * d + 2].pos[a]),
                                1e-6f);
        }
    }
    // A reflection across x: negate the x column, then flip row 2 to stay right-handed. The
    // given left rows agree with that to about 5e-6.
    const BipDefaultRecord& R = kRightFingerTables[4][0];
    const BipDefaultRecord& L = kLeftFingerTables[4][0];
    for (int i = 0; i < 3; ++i) {
        const float rowSign = i == 2 ? -1.0f : 1.0f;
        EXPECT_NEAR(L.rot[i][0], -rowSign * R.rot[i][0], 5e-6f) << i;
        EXPECT_NEAR(L.rot[i][1], rowSign * R.rot[i][1], 5e-6f) << i;
        EXPECT_NEAR(L.rot[i][2], rowSign * R.rot[i][2], 5e-6f) << i;
    }
}

}  // namespace
