// Key tracks: ordering, replacement, removal, index rewrites and interpolation.
#include "core_test_support.h"

namespace {

ckey Key(int t, cpoint3 pos, cquat rot = {}, cpoint3 scale = {1, 1, 1}) {
    ckey k;
    k.time = t;
    k.pos = pos;
    k.rot = rot;
    k.scale = scale;
    return k;
}

std::vector<int> Times(const canim& a) {
    std::vector<int> out;
    ckey k;
    for (int i = 0; a.GetKeyAt(i, k); ++i) out.push_back(k.time);
    return out;
}

}  // namespace

TEST(KeyTrack, SetKeyInsertsInOrderAfterTheRestKeyAndReplacesAtSameTime) {
    canim a;
    ckey k;
    ASSERT_TRUE(a.GetKeyAt(0, k));  // a new track holds one rest key at 0
    EXPECT_EQ(k.time, 0);
    EXPECT_EQ(k.pos, cpoint3(0, 0, 0));
    EXPECT_EQ(k.rot, cquat());
    EXPECT_EQ(k.scale, cpoint3(1, 1, 1));
    a.SetKey(Key(20, {2, 0, 0}));
    a.SetKey(Key(10, {1, 0, 0}));
    a.SetKey(Key(-5, {9, 0, 0}));
    EXPECT_EQ(Times(a), (std::vector<int>{-5, 0, 10, 20}));
    a.SetKey(Key(10, {7, 0, 0}));
    EXPECT_EQ(a.NumKeys(), 4);
    ASSERT_TRUE(a.GetKey(10, k));
    EXPECT_EQ(k.pos.x, 7.0f);
    EXPECT_FALSE(a.GetKey(11, k));
    EXPECT_EQ(k.pos.x, 7.0f);  // untouched on a miss
}

TEST(KeyTrack, RemovesKeysAndRefusesBadIndexes) {
    canim a;
    for (int t = 10; t <= 50; t += 10) a.SetKey(Key(t, {}));
    EXPECT_EQ(a.RemoveKey(15), 0);
    EXPECT_EQ(a.RemoveKey(20), 1);
    EXPECT_EQ(Times(a), (std::vector<int>{0, 10, 30, 40, 50}));
    ckey k = Key(99, {5, 5, 5});
    EXPECT_EQ(a.GetKeyAt(5, k), 0);
    EXPECT_EQ(a.GetKeyAt(-1, k), 0);
    EXPECT_EQ(k.time, 99);
    EXPECT_EQ(a.SetKeyAt(5, k, 0), 0);
    EXPECT_EQ(a.NumKeys(), 5);
}

TEST(KeyTrack, IndexRewriteIsOrderedForTimedAccess) {
    canim a;
    a.SetNumKeys(3, 1);
    // Written as a restore would, but out of time order and with a repeated time.
    a.SetKeyAt(0, Key(30, {3, 0, 0}), 0);
    a.SetKeyAt(1, Key(10, {1, 0, 0}), 0);
    a.SetKeyAt(2, Key(30, {4, 0, 0}), 0);
    EXPECT_EQ(Times(a), (std::vector<int>{30, 10, 30}));  // stored as given
    ckey k;
    ASSERT_TRUE(a.GetKey(30, k));
    EXPECT_EQ(k.pos.x, 4.0f);  // the later of two keys at one time wins
    EXPECT_EQ(Times(a), (std::vector<int>{10, 30}));
    a.SetNumKeys(0, 1);
    EXPECT_EQ(a.GetInterpolateKey(5, k), 0);  // nothing to evaluate
    a.SetNumKeys(2, 1);                       // grows from nothing with fresh keys
    ASSERT_TRUE(a.GetInterpolateKey(5, k));
    EXPECT_EQ(k.scale, cpoint3(1, 1, 1));
}

TEST(KeyTrack, InterpolatesLinearlyAndClampsOutside) {
    canim a;
    a.SetKey(Key(10, {10, -20, 4}, QuatFromAngleAxis(90, {0, 0, 1}), {3, 1, 1}));
    ckey k;
    ASSERT_TRUE(a.GetInterpolateKey(5, k));
    EXPECT_EQ(k.time, 5);
    EXPECT_TRUE(PointNear(k.pos, {5, -10, 2}, kFloatTol));
    EXPECT_TRUE(PointNear(k.scale, {2, 1, 1}, kFloatTol));
    EXPECT_TRUE(SameRotation(k.rot, QuatFromAngleAxis(45, {0, 0, 1}), 1e-6f));
    ASSERT_TRUE(a.GetInterpolateKey(-7, k));
    EXPECT_EQ(k.time, -7);
    EXPECT_EQ(k.pos, cpoint3(0, 0, 0));
    ASSERT_TRUE(a.GetInterpolateKey(300, k));
    EXPECT_EQ(k.pos, cpoint3(10, -20, 4));
}

TEST(KeyTrack, RotationTakesTheShortArcBetweenKeys) {
    canim a;
    a.SetKey(Key(0, {}, QuatFromAngleAxis(170, {1, 0, 0})));
    a.SetKey(Key(20, {}, QuatFromAngleAxis(-170, {1, 0, 0})));  // 20° on, w of the other sign
    ckey k;
    a.GetInterpolateKey(10, k);
    EXPECT_TRUE(SameRotation(k.rot, QuatFromAngleAxis(180, {1, 0, 0}), 1e-6f));
}
