// The default tables as data: record layout, rotations that are true rotations, the left side
// mirroring the right, and the left rows of the body poses mirroring the right rows.
#include <cmath>
#include <cstddef>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "Skeleton/BipPoseTables.h"
#include "Skeleton/BipTables.h"

namespace {

TEST(DefaultRecord, HasTheEightyEightByteLayout) {
    EXPECT_EQ(offsetof(BipDefaultRecord, name), 0u);
    EXPECT_EQ(offsetof(BipDefaultRecord, parent), 32u);
    EXPECT_EQ(offsetof(BipDefaultRecord, index), 36u);
    EXPECT_EQ(offsetof(BipDefaultRecord, rot), 40u);
    EXPECT_EQ(offsetof(BipDefaultRecord, pos), 76u);
}

// Rows of a rotation are unit length and mutually perpendicular; the tables carry about seven
// digits, so 1e-5 separates rounding from a mistyped digit.
void ExpectRotationRows(const BipDefaultRecord& rec) {
    const float kOrthoTol = 1e-5f;
    cpoint3 r[3];
    for (int i = 0; i < 3; ++i) r[i] = cpoint3(rec.rot[i][0], rec.rot[i][1], rec.rot[i][2]);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(DotProd(r[i], r[i]), 1.0f, kOrthoTol) << rec.name << " row " << i;
        for (int j = i + 1; j < 3; ++j)
            EXPECT_NEAR(DotProd(r[i], r[j]), 0.0f, kOrthoTol) << rec.name << " rows " << i << j;
    }
    // Right-handed: row 0 × row 1 = row 2.
    const cpoint3 z = CrossProd(r[0], r[1]);
    EXPECT_NEAR(z.x, r[2].x, kOrthoTol) << rec.name;
    EXPECT_NEAR(z.y, r[2].y, kOrthoTol) << rec.name;
    EXPECT_NEAR(z.z, r[2].z, kOrthoTol) << rec.name;
}

TEST(DefaultTables, EveryRotationIsARightHandedRotation) {
    for (const BipDefaultRecord& rec : kLowerBodyTable) ExpectRotationRows(rec);
    for (const BipDefaultRecord& rec : kUpperBodyTable) ExpectRotationRows(rec);
    for (const auto* tables :
         {&kRightFingerTables, &kLeftFingerTables, &kRightToeTables, &kLeftToeTables})
        for (int k = 1; k <= kMaxDigits; ++k)
            for (int r = 0; r < 3 * k; ++r) ExpectRotationRows((*tables)[k - 1][r]);
}

TEST(DefaultTables, BodyLeftAndRightStandMirroredAcrossX) {
    // Left and right records agree to about 2e-5 once x is negated.
    const float kMirrorTol = 3e-5f;
    // offset: index of a right record minus that of its left twin.
    auto expectMirror = [&](const BipDefaultRecord& l, const BipDefaultRecord& r, int offset) {
        EXPECT_NEAR(l.pos[0], -r.pos[0], kMirrorTol) << l.name;
        EXPECT_NEAR(l.pos[1], r.pos[1], kMirrorTol) << l.name;
        EXPECT_NEAR(l.pos[2], r.pos[2], kMirrorTol) << l.name;
        // Both tables list the centre bones first (records 0 and 1), then the left limb.
        // A limb bone hangs from its own side's twin, or both twins from the same centre bone
        // (or from the caller, -1).
        const int kFirstLimbRecord = 2;
        const int expectedRightParent = l.parent >= kFirstLimbRecord ? l.parent + offset : l.parent;
        EXPECT_EQ(r.parent, expectedRightParent) << l.name;
    };
    for (int i = 0; i < 3; ++i) expectMirror(kLowerBodyTable[2 + i], kLowerBodyTable[5 + i], 3);
    for (int i = 0; i < 4; ++i) expectMirror(kUpperBodyTable[2 + i], kUpperBodyTable[6 + i], 4);
}

TEST(DefaultTables, RecordsKnowTheirIndexAndParentsComeFirst) {
    for (int i = 0; i < kNumLowerBody; ++i) {
        EXPECT_EQ(kLowerBodyTable[i].index, i);
        EXPECT_LT(kLowerBodyTable[i].parent, i);
    }
    for (int i = 0; i < kNumUpperBody; ++i) {
        EXPECT_EQ(kUpperBodyTable[i].index, i);
        EXPECT_LT(kUpperBodyTable[i].parent, i);
    }
}

TEST(DigitTables, NamesParentsAndEmptyTails) {
    const BipDigitTable& fingers3 = kRightFingerTables[2];
    EXPECT_STREQ(fingers3[0].name, "Bip01 R Finger0");
    EXPECT_STREQ(fingers3[4].name, "Bip01 R Finger11");
    EXPECT_STREQ(fingers3[8].name, "Bip01 R Finger22");
    EXPECT_EQ(fingers3[6].parent, -1);
    EXPECT_EQ(fingers3[7].parent, 6);
    EXPECT_EQ(fingers3[8].parent, 7);
    EXPECT_EQ(fingers3[9].name[0], '\0');  // past 3 fingers
    EXPECT_STREQ(kLeftToeTables[4][14].name, "Bip01 L Toe42");
    EXPECT_STREQ(kRightToeTables[0][0].name, "Bip01 R Toe0");
    EXPECT_EQ(kRightToeTables[0][3].name[0], '\0');
}

TEST(DigitTables, LeftMirrorsRightAndLinksLieOnALine) {
    for (int k = 1; k <= kMaxDigits; ++k) {
        for (int r = 0; r < 3 * k; ++r) {
            for (const auto& [right, left] : {std::pair{&kRightFingerTables, &kLeftFingerTables},
                                              std::pair{&kRightToeTables, &kLeftToeTables}}) {
                const BipDefaultRecord& R = (*right)[k - 1][r];
                const BipDefaultRecord& L = (*left)[k - 1][r];
                std::string mirrored = R.name;
                mirrored[6] = 'L';  // "Bip01 R ..." → "Bip01 L ..."
                EXPECT_EQ(std::string(L.name), mirrored);
                EXPECT_EQ(L.parent, R.parent);
                EXPECT_FLOAT_EQ(L.pos[0], -R.pos[0]) << L.name;
                EXPECT_FLOAT_EQ(L.pos[1], R.pos[1]) << L.name;
                EXPECT_FLOAT_EQ(L.pos[2], R.pos[2]) << L.name;
            }
        }
        // Links 0, 1, 2 of a digit are evenly spaced: link 1 halfway between 0 and 2.
        for (int d = 0; d < k; ++d) {
            const BipDigitTable& t = kRightFingerTables[k - 1];
            for (int a = 0; a < 3; ++a)
                EXPECT_NEAR(t[3 * d + 1].pos[a], 0.5f * (t[3 * d].pos[a] + t[3 * d + 2].pos[a]),
                            1e-6f);
        }
    }
}

TEST(DigitTables, LeftFingerRotationIsTheRightOneMirrored) {
    // A reflection across x: negate the x column, then flip row 2 to stay right-handed. The
    // given left rows agree with that to about 5e-6.
    const BipDefaultRecord& R = kRightFingerTables[4][0];
    const BipDefaultRecord& L = kLeftFingerTables[4][0];
    const float kTol = 5e-6f;
    for (int i = 0; i < 3; ++i) {
        const float rowSign = i == 2 ? -1.0f : 1.0f;
        EXPECT_NEAR(L.rot[i][0], -rowSign * R.rot[i][0], kTol) << i;
        EXPECT_NEAR(L.rot[i][1], rowSign * R.rot[i][1], kTol) << i;
        EXPECT_NEAR(L.rot[i][2], rowSign * R.rot[i][2], kTol) << i;
    }
}

TEST(BodyPoseTables, RowsHoldTheirSlotAndUnitScale) {
    for (const BipBodyPose& pose : bodyPoseTables)
        for (int s = 0; s < kNumSlots; ++s) {
            EXPECT_EQ(pose[s].time, s);
            EXPECT_EQ(pose[s].scale, cpoint3(1.0f, 1.0f, 1.0f));
        }
}

TEST(BodyPoseTables, LeftRowsMirrorRightRows) {
    // A right rotation (x, y, z, w) goes to the left as (-x, -y, z, w), up to the sign of the
    // whole quaternion; the rows are given to five decimals.
    const float kRowTol = 2e-5f;
    for (int pose = 0; pose < kNumBodyPoses; ++pose) {
        for (int s = kSlotRThigh; s <= kSlotLast; ++s) {
            const bool legRight = s <= 19;
            const bool armRight = s >= kSlotRClavicle && s <= 63;
            if (!legRight && !armRight) continue;
            const cquat& r = bodyPoseTables[pose][s].rot;
            const cquat& l = bodyPoseTables[pose][legRight ? s + 18 : s + 19].rot;
            const cquat m(-r.x, -r.y, r.z, r.w);
            const float sign = DotProd(m, l) < 0.0f ? -1.0f : 1.0f;
            EXPECT_NEAR(l.x, sign * m.x, kRowTol) << "pose " << pose << " slot " << s;
            EXPECT_NEAR(l.y, sign * m.y, kRowTol) << "pose " << pose << " slot " << s;
            EXPECT_NEAR(l.z, sign * m.z, kRowTol) << "pose " << pose << " slot " << s;
            EXPECT_NEAR(l.w, sign * m.w, kRowTol) << "pose " << pose << " slot " << s;
        }
    }
}

TEST(BodyPoseTables, PosesDifferOnlyWhereSkinSpreadsLimbs) {
    const BipBodyPose& idle = bodyPoseTables[kBodyPoseIdle];
    const BipBodyPose& skin = bodyPoseTables[kBodyPoseSkin];
    EXPECT_EQ(idle[kSlotRoot].rot, skin[kSlotRoot].rot);
    EXPECT_EQ(idle[kSlotPelvis].rot, skin[kSlotPelvis].rot);
    EXPECT_NE(idle[kSlotRUpperArm].rot, skin[kSlotRUpperArm].rot);
    EXPECT_NE(idle[kSlotRFinger0].rot, skin[kSlotRFinger0].rot);
    EXPECT_EQ(idle[kSlotHead].rot, cquat());
    EXPECT_EQ(skin[kSlotNeck].rot, cquat());
}

}  // namespace
